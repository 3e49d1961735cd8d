#pragma once
// TBlobBoss: the life every boss lives. A boss never moves by itself, bends
// the geometry grid with a mass that swells to 5,000,000 and drops back to 0
// every 500 alive frames, takes its damage through a hit flash that speeds
// its pulse up, and explodes like a grunt with its points floating up.
//
// The frames, for every boss:
//   spawning  BlinkPeriod 8, BlinkCounter 0, Speed 1, the spawn place, shield,
//             flash, explosion and pulse back to their spawn values, then
//             ResetBoss(); if Active: its picture, AdvanceBody(), and grow by
//             0.04 a frame until Size passes SpawnFullSize, when it is alive.
//   alive     AdvanceAlive(); the grid mass pulse; no flash: the pulse at its
//             own pace; flash: blink countdown, the pulse FlashPulseFactor
//             times as fast, one flash frame less, EmitHitSparks();
//             AdvanceBody(); its picture; keep to the arena. The picture: push
//             the matrix (translated to Position when DrawAtPosition), colour
//             BodyColour, DrawBody(), pop.
//   dying     the enemy explosion: points text in PointsColour, the burst on
//             the first frame, the outline's edges flying apart.
//   Hit       GruntHit, flash 10, one shield point; the last awards Points.
//   Blast     destroyed outright, no points.   Absorb: destroyed, no points.
//
// Hooks a boss fills in (each has a plain default):
//   ResetBoss()     the kind's own values at every spawning frame (Radius,
//                   emit rate, turning clock, a pulse of its own...). Runs
//                   after the shared reset, so it may override the pulse.
//   DrawSpawning()  default: push, translate to Position, scale (1, Size,
//                   Size), colour BodyColour, DrawBody(), pop.
//   AdvanceAlive()  first step of every alive frame (growth, turning, reach
//                   timers); default nothing.
//   AdvanceBody()   what the body does in every spawning and alive frame
//                   (sparks, stars, tentacles); default nothing.
//   DrawBody()      the body inside the alive matrix; colour is already set.
//   EmitHitSparks() once per flash frame; default the grunt's red and yellow
//                   sparks. Override empty for a boss that shows none.
// Data a boss sets in its Create after TBlobBoss::Create():
//   SpawnShield, BodyColour/PointsColour, the outline (SetOutline), Burst,
//   FlashPulseFactor (1 for a pulse that ignores hits), DrawAtPosition (false
//   for a boss drawn at the arena origin), SpawnFullSize (Size at which the
//   spawn ends). Hit, Blast, Absorb, HitTest and UpdateDying stay virtual for
//   the bosses whose rules differ.
#include "enemies/blobEnemy.h"

class TBlobBoss : public TBlobEnemy {
 public:
  static constexpr float GridMassStep = 10000.0f;
  static constexpr float GridMassPeak = 5000000.0f;

  // Shared boss numbers: shield 250, no points on a bomb, GruntHit on hits.
  void Create() override;

  int BlinkCounter;  // counts down during a flash, reloaded from BlinkPeriod
  int BlinkPeriod;

  bool DrawAtPosition;  // alive and spawning frames translate to Position
  float SpawnFullSize;  // Size at which the spawn ends

 protected:
  void UpdateSpawning() override;
  void UpdateAlive() override;
  // A boss's body moves in its spawning frames too.
  void SpawningFrame() override;
  void DrawSpawning() const override;
  void DrawAlive() const override;

  virtual void ResetBoss() {}
  virtual void AdvanceAlive() {}

  // The grid mass rises by GridMassStep a frame; past the peak it drops to 0.
  void PulseGridMass();
  // One frame of the hit blink: down by one, reloaded from BlinkPeriod at 0.
  void CountDownBlink();
};
