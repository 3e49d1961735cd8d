#pragma once
// A PCM wave's samples as Web Audio wants them: floats in -1..1, one block
// per channel (all of channel 0's frames, then channel 1's). No emscripten
// here, so the conversion is tested natively.
#include <vector>

#include "sound/Wave.h"

// False, with the samples left empty, for a wave Web Audio cannot be given:
// no frames, no channels, a rate it refuses, or samples that are neither
// 8-bit unsigned nor 16-bit signed.
bool WaveToPlanarFloats(const TWave& wave, std::vector<float>& samples);
