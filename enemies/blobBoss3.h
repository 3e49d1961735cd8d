#pragma once
// TBlobBoss3: the monolith of level 20. A dark-blue slab, 400 by 200 and 80
// deep, that turns slowly about its centre, swells between 1 and 3.5 times its
// size and holds a field of 500 stars streaming across it, each faster and
// brighter on every pass. Bullets that strike the slab burst in sparks.
// 250 hits, 5000 points; a bomb destroys it without points.
//
// Radius is the turning clock here: the slab stands at Radius x 10 degrees.
#include <array>

#include "enemies/blobBoss.h"

class TBlobBoss3 : public TBlobBoss {
 public:
  static constexpr int StarCount = 500;
  static constexpr float HalfWidth = 200;
  static constexpr float HalfHeight = 100;
  static constexpr float Depth = 80;

  struct TStar {
    float X = 0, Y = 0, Z = 0;
    int Size = 1;  // 1 or 2
    float Speed = 0;
    float R = 0, G = 0, B = 0;
  };

  TBlobBoss3();
  void Create() override;

  // Inside the turned, pulsing slab? A bullet found inside bounces back 20
  // steps, bursts in eight sparks and is spent. The point is taken relative
  // to the boss, so the slab can stand anywhere.
  bool HitTest(TBlob* other, float x, float y) override;

  // Turns and scales the slab for this frame into Corners.
  void TurnCorners();
  // The slab's angle in degrees (the stars turn by the same).
  float TurnAngle() const { return Radius * 10; }

  std::array<TStar, StarCount> Stars;  // filled by Create, kept over respawns
  std::array<TVector3, 4> Corners;     // the slab turned and scaled this frame

 protected:
  void ResetBoss() override;
  void AdvanceAlive() override;
  void AdvanceBody() override;  // the corners turned, the stars moved on
  void DrawBody() const override;
  void EmitHitSparks() override {}  // a hit only blinks

 private:
  void FillStars();
  void MoveStars();
  void DrawStars() const;
  void BurstBullet(TBlob& bullet) const;
};
