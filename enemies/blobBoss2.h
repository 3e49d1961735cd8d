#pragma once
// TBlobBoss2: the Circle Of Fear. A thick blue ring that stands where it
// spawned and grows without limit, spraying an ever thicker fountain of blue,
// white and violet sparks off its rim. 250 hits and 5000 points; a gravi-bomb
// destroys it outright but scores nothing. Bullets and the ship touch it as a
// circle of its current Radius.
#include "enemies/blobBoss.h"

class TBlobBoss2 : public TBlobBoss {
 public:
  static constexpr int RingVertices = 31;
  static constexpr float MaxEmitRate = 16.0f;

  TBlobBoss2();
  void Create() override;

  int EmitAngle;   // rim point of the next spark burst, degrees 0..359
  float EmitRate;  // bursts per drawn frame (rounded), 0 at spawn, up to 16

 protected:
  void ResetBoss() override;
  void AdvanceAlive() override;
  void AdvanceBody() override;  // the sparks off the rim
  void DrawBody() const override;

 private:
  void EmitSparks();
};
