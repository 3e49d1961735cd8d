#pragma once
// The title-screen music: a 28.5 s stereo loop.
#include "WaveFile.h"

namespace wavegen {

TWaveData MakeIntro();

}  // namespace wavegen
