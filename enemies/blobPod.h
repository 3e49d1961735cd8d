#pragma once
// TBlobPod: the big green four-pointed star. It drifts after the ship at a
// quarter unit a frame on each axis, takes 25 hits and is worth 5000; however
// it dies, the level manager bursts it into twelve pod children.
#include "enemies/blobEnemy.h"

class TBlobPod : public TBlobEnemy {
 public:
  static constexpr int StarPoints = 8;

  TBlobPod();
  void Create() override;

  int BlinkCounter;  // runs down while the hit flash lasts
  int BlinkPeriod;   // what it is reloaded with
  float SpinAngle;   // rotation of the outline, degrees

  // The kind's numbers, set by Create.
  float SpinStep;    // degrees turned per alive frame
  float SpeedGain;   // added to Speed per alive frame
  float SpeedLimit;  // above this, Speed becomes SpeedReset
  float SpeedReset;

 protected:
  // Lays out the star at the given half size, with its edge normals.
  void SetStar(float halfSize);

  void UpdateSpawning() override;
  void AdvanceBody() override;         // turns the star by SpinStep
  void DrawSpawning() const override;  // the opening outline, with its glow
  void DrawBody() const override;      // the star, turned by SpinAngle
  void EmitHitSparks() override;       // one spark of its own colour per flash frame
  void AdvanceSpeed() override;
};
