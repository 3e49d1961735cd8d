#pragma once
// The ship the player flies. The game object moves, fires and draws it; it has
// no lives, only damage: past 100 the game is over.
#include "entities/blob.h"

class TBlobPlayer : public TBlob {
 public:
  TBlobPlayer();
  void Create() override;

  static constexpr int MaxDamage = 100;  // more than this ends the game

  // One point of damage per frame of contact.
  void Hit() override { TakeDamage(1); }
  // Every blow goes through here, so that a held ship never passes what it can
  // take, however many blows land in one frame.
  void TakeDamage(int amount) {
    Damage += amount;
    if (DamageHeld && Damage > MaxDamage) Damage = MaxDamage;
  }
  // Still flying: not wrecked, and damage within what the ship can take.
  bool Alive() const { return !Wrecked && Damage <= MaxDamage; }

  // Body and gun at Position, as the player sees them.
  void DrawShip() const { DrawShipAt(Position, Heading, AimAngle); }
  // The ship in a pose it held: where, which way it flew and where it aimed.
  static void DrawShipAt(const TVector3& at, float heading, int aim);

  int BurstCooldown;
  int FireCountdown;
  int FireDelay;
  int Damage;
  int BulletLevel;
  int GraviBombs;
  int Invulnerable;
  bool DamageHeld;  // the developers' assist: no blow takes Damage past MaxDamage
  bool Wrecked;     // damage has ended this game (the game-over pause)
};
