#pragma once
// The fifteen sound effects of the bank, each synthesised from scratch.
#include "WaveFile.h"

namespace wavegen {

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

}  // namespace wavegen
