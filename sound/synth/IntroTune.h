#pragma once
// The title-screen music: a 28.5 s stereo loop.
#include "sound/synth/WaveFile.h"

namespace synth {

TWaveData MakeIntro();

}  // namespace synth
