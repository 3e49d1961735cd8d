#pragma once
// The sound bank's sixteen waves, listed once, in item order: the name each
// is looked up by and whether it loops. The bank's table and its indices, the
// synthesiser's recipes and the build's list of wave files are all made from
// this list (cmake/Assets.cmake reads the names from this file).
//   X(Name, Looped)
#define QUADROVOLT_BANK_WAVES(X) \
  X(PlayerShoot, false)          \
  X(GruntHit, false)             \
  X(BoidHit, false)              \
  X(SnakeHit, false)             \
  X(SnakeDestroyed, false)       \
  X(GravitarHit, false)          \
  X(GravitarDestroyed, false)    \
  X(PodHit, false)               \
  X(PodDestroyed, false)         \
  X(PodChildHit, false)          \
  X(PodChildDestroyed, false)    \
  X(PlayerHit, false)            \
  X(NewLevel, false)             \
  X(GravitarSpawned, false)      \
  X(Intro, true)                 \
  X(GraviBomb, false)
