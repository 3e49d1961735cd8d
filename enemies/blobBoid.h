#pragma once
// TBlobBoid: the small spinning magenta diamond worth 75 points. Every active
// boid in the enemy list belongs to one flock: each is drawn to the centre of
// the others, matches their average velocity, and is pulled towards the ship
// by a pull that grows the longer it lives until it sits on the ship. One hit
// kills it; a bomb kill still scores.
#include "enemies/blobEnemy.h"

class TBlobList;

// A point or velocity in the arena plane, as the flock sees it.
struct TFlockVector {
  float X = 0;
  float Y = 0;
};

class TBlobBoid : public TBlobEnemy {
 public:
  static constexpr float StartPull = 240;  // divisor of the pull to the ship at spawn
  static constexpr float PullGrowth = 0.5f;
  static constexpr float StrongestPull = 1.0f;

  TBlobBoid();
  void Create() override;

  TFlockVector FlockPosition;  // copied to Position every frame
  TFlockVector FlockVelocity;  // 0.01 on both axes at spawn
  TBlobList* Flock;            // the level manager's enemy list; not owned
  float SpinAngle;             // rotation of the drawing, degrees
  float PlayerPull;            // divisor of the pull towards the ship, never below 1

  // One step of flocking and of the pull to the ship; Position follows.
  // Walks Flock once and allocates nothing.
  void UpdateFlock();

 protected:
  void UpdateSpawning() override;
  void UpdateAlive() override;
  void DrawSpawning() const override;  // the opening outline, with its glow
  void DrawAlive() const override;     // turned by SpinAngle
  void DrawAliveGlow() const override;
};
