#pragma once
// The fifteen sound effects of the bank, each synthesised from scratch.
#include "sound/synth/WaveFile.h"

namespace synth {

TWaveData MakePlayerShoot();
TWaveData MakeGruntHit();
TWaveData MakeBoidHit();
TWaveData MakeSnakeHit();
TWaveData MakeSnakeDestroyed();
TWaveData MakeGravitarHit();
TWaveData MakeGravitarDestroyed();
TWaveData MakePodHit();
TWaveData MakePodDestroyed();
TWaveData MakePodChildHit();
TWaveData MakePodChildDestroyed();
TWaveData MakePlayerHit();
TWaveData MakeNewLevel();
TWaveData MakeGravitarSpawned();
TWaveData MakeGraviBomb();

}  // namespace synth
