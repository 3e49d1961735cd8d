#pragma once
// Reads a RIFF WAVE held in memory. Throws EWaveInvalid for anything that is
// not a complete, sane PCM wave; never reads outside the given bytes.
#include <cstddef>
#include <cstdint>

#include "sound/Wave.h"

TWave ReadWave(const std::uint8_t* bytes, std::size_t size);
