#pragma once
// TBlobBinaryBlackHole: a small dark-blue ring orbiting the arena centre on a
// slowly shrinking circle, trailing a swirl of blue and white sparks and
// bending the grid with a pulsing mass. It takes 500 hits (a gravi-bomb counts
// as six). Left alone until its orbit reaches the centre it collapses, and
// when that explosion ends the ship takes 100 damage; a collapse scores no
// points, and counts towards the level's quota only if the ship survives it.
#include "enemies/blobEnemy.h"

class TBlobBinaryBlackHole : public TBlobEnemy {
 public:
  static constexpr int RingVertices = 31;
  static constexpr float RingRadius = 25.0f;
  static constexpr float StartOrbit = 400.0f;
  static constexpr float OrbitShrink = 0.2f;
  static constexpr float CollapseOrbit = 10.0f;
  static constexpr int CollapseDamage = 100;
  static constexpr int BlastDamage = 6;  // shield points a gravi-bomb takes
  static constexpr int SwirlSteps = 12;  // spark pairs per drawn frame
  static constexpr float GridMassStep = 10000.0f;
  static constexpr float GridMassPeak = 5000000.0f;

  TBlobBinaryBlackHole();
  void Create() override;

  // A gravi-bomb is six hits: flash, sound, and points if it destroys.
  void Blast() override;

  int SwirlRadius;  // 0..359; the swirl reaches SwirlRadius div 12 units out
  int SwirlAngle;   // 0..359, one step per spark pair
  int SwirlDir;     // 1 widening, -1 once the swirl is full (steers nothing)
  int BlinkCounter;
  int BlinkPeriod;
  bool Collapsed;  // the orbit reached the centre
  int OrbitAngle;  // degrees 0..359; the level row gives the start
  float OrbitRadius;

 protected:
  void UpdateSpawning() override;
  void UpdateAlive() override;
  void UpdateDying() override;
  void DrawSpawning() const override;
  void DrawAlive() const override;
  void DrawDying() const override;

 private:
  // The ring's outline in the current transform.
  void DrawRing() const;
  void EmitSwirl();
  void CountDownBlink();
  void PlaceOnOrbit();
  static void RestoreBlending();
};
