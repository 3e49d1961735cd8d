#pragma once
// TBlobGravitar: the black disc worth 10000. It creeps after the ship in slow
// surges and is a gravity well: its Mass ramps up while it lives and the grid
// pulls the lattice, the ship, bullets and other enemies towards it. Every
// hit collapses that pull; fifty hits destroy it.
#include "enemies/blobEnemy.h"

class TBlobGravitar : public TBlobEnemy {
 public:
  static constexpr int RimPoints = 15;            // around the disc, 25 degrees apart
  static constexpr float MassGain = 10000.0f;     // per alive frame
  static constexpr float MassLimit = 5000000.0f;  // past this the ramp starts again

  TBlobGravitar();
  void Create() override;

  // The grid reads the pull through this.
  float WellMass() const override { return Mass; }

  // A hit also drops the pull to nothing.
  void Hit() override;
  // Another well never swallows a gravitar.
  void Absorb() override {}

  float Mass;  // gravity strength: 0 while spawning, ramping while alive

 protected:
  void UpdateSpawning() override;
  void UpdateAlive() override;
  void SpawningFrame() override;  // sounds its arrival on the first
  void DrawSpawning() const override;
  void DrawBody() const override;         // a filled disc in the current colour
  void DrawAliveGlow() const override {}  // a black hole shows no glow
  void EmitHitSparks() override;          // a ring of blue sparks flying outward
  void AdvanceSpeed() override;           // surges up to 1, then back to a crawl
};
