#pragma once
// TBlobBoss4: the final boss of level 40. A tumbling geo-sphere in a yellow
// halo at the arena centre, with twelve tentacles of glowing squares waving
// around it; every hundred frames or so one lashes out towards the ship.
// Bullets must first sever all twelve tentacles (16 hits at each tip) before
// the core takes damage (150 hits). The gravi-bomb does nothing to it.
// 5000 points.
//
// The core and tentacles are drawn about the arena origin, where the script
// places this boss.
#include "enemies/blobBoss.h"
#include "enemies/multiBezier.h"

class TBlobBoss4 : public TBlobBoss {
 public:
  static constexpr float OutlineRadius = 400;  // the wreck's flying ring
  static constexpr float CoreRadius = 80;      // what bullets hit once the tentacles are gone
  static constexpr int ReachDelay = 100;       // frames between reaches
  static constexpr float TipReach = 20;        // a tip is hit within this on X and Y

  TBlobBoss4();
  void Create() override;

  // A bullet hit: only once every tentacle is severed does the core take it.
  void Hit() override;
  // Immune to the gravi-bomb.
  void Blast() override {}
  // A bullet (or the ship) at a standing tentacle's tip: that tentacle takes
  // the hit and the bullet is spent.
  bool HitTest(TBlob* other, float x, float y) override;

  // Owned and kept for the instance's life; Create resets it in place.
  TMultiBezier Tentacles;
  float SpinX;          // the core's tumble about X, +1 a drawn frame
  float SpinZ;          // and about Z, +0.5
  int ReachTimer;       // frames since the last reach ended
  TMS3DObj* CoreModel;  // the geo-sphere; borrowed

 protected:
  void UpdateSpawning() override;
  void ResetBoss() override;
  void AdvanceAlive() override;
  void AdvanceBody() override;  // the core tumbles, the tentacles wave
  void DrawSpawning() const override;
  void DrawBody() const override;
  void EmitHitSparks() override;
  void UpdateDying() override;

 private:
  void DrawCore() const;
  void DrawHalo() const;
  void DrawTentacles() const;
  // The tumble and the standing tentacles (a bit each) of the last picture.
  float ShownSpinX = 0, ShownSpinZ = 0;
  std::uint32_t ShownTentacles = 0;
  void BurstTentacle(const TMultiBezier::TTentacle& t) const;
};
