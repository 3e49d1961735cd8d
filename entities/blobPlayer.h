#pragma once
// The ship the player flies. The game object moves, fires and draws it; it has
// no lives, only damage: past 100 the game is over.
#include "entities/blob.h"

class TBlobPlayer : public TBlob {
 public:
  TBlobPlayer();
  void Create() override;

  // One point of damage per frame of contact.
  void Hit() override { Damage += 1; }

  // Body and gun at Position, as the player sees them.
  void DrawShip();

  int BurstCooldown;
  int FireCountdown;
  int FireDelay;
  int Damage;
  int BulletLevel;
  int GraviBombs;
  int Invulnerable;
};
