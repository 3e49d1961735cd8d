#pragma once
// One of the ship's 48 pooled shots. The game object moves, collides and
// draws bullets itself; a bullet is never updated, hit or absorbed.
#include "entities/blob.h"

class TParticleEngine;

class TBlobBullet : public TBlob {
 public:
  static constexpr float ShotRadius = 4;
  static constexpr int MaxLife = 200;

  TBlobBullet();
  void Create() override;

  // Sets off from the ship along the given heading in degrees.
  void Launch(const TVector3& from, float angle);
  // One frame of flight: hit enemies, move, burst at a wall, age.
  void Fly(const TBlobList& enemies, TParticleEngine* particles);
  // The streak where the last flight left it (even when that spent it).
  void Draw() const override;

 private:
  TVector3 ShownAt, ShownVelocity;
};
