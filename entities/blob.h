#pragma once
// TBlob: everything that moves in the arena — the ship, its bullets, every
// enemy, pickup and message, and every particle. Entities are made once and
// recycled; a dead one is simply not Active.
#include <cstdint>

#include "entities/blobEvent.h"
#include "entities/blobList.h"
#include "gfx/PdxLib3DTypes.h"

// Kind ids (1, 6, 7 and 8 are unused).
namespace BlobKind {
constexpr std::uint8_t Player = 0;  // also particles
constexpr std::uint8_t Grunt = 2;
constexpr std::uint8_t GruntXY = 3;
constexpr std::uint8_t Snake = 4;
constexpr std::uint8_t Boid = 5;
constexpr std::uint8_t Message = 9;
constexpr std::uint8_t Pod = 10;
constexpr std::uint8_t PodChild = 11;
constexpr std::uint8_t Gravitar = 12;
constexpr std::uint8_t BlackHole = 13;
constexpr std::uint8_t Pickup = 14;
constexpr std::uint8_t Boss2 = 15;
constexpr std::uint8_t Boss3 = 16;
constexpr std::uint8_t Bullet = 17;
constexpr std::uint8_t Boss4 = 18;
}  // namespace BlobKind

// What an entity's last update left to show (Shown): nothing, or the picture
// of the life state it was in when the picture was taken.
namespace BlobShown {
constexpr std::uint8_t Nothing = 0;
constexpr std::uint8_t Spawning = 1;
constexpr std::uint8_t Alive = 2;
constexpr std::uint8_t Dying = 3;
}  // namespace BlobShown

// Life states shared by every enemy.
namespace BlobState {
constexpr std::uint8_t Spawning = 0;
constexpr std::uint8_t Alive = 1;
constexpr std::uint8_t Dying = 3;
}  // namespace BlobState

class TBlob {
 public:
  TBlob();
  virtual ~TBlob() = default;
  TBlob(const TBlob&) = delete;
  TBlob& operator=(const TBlob&) = delete;

  // The virtual constructor: puts every field back to its starting value so a
  // pooled, inactive instance can be reused. Classes extend it.
  virtual void Create();

  // One step: moves, collides, emits; never draws.
  virtual void Update() {}
  // The picture the last update left (Shown), as it was then; changes nothing.
  virtual void Draw() const {}
  virtual void Hit() {}
  virtual void Blast() {}
  virtual void Absorb() {}
  virtual bool HitTest(TBlob* other, float x, float y);
  // Strength of a gravity well (the gravitar's Mass); 0 for everything else.
  virtual float WellMass() const { return 0; }

  void SetActive(bool value) { Active = value; }

  // Self is a player bullet: hits every entity of the list it touches.
  int CollideWithList(const TBlobList& list, TBlob* shooter, const TBlobEvent& onHit);
  // Circle test of Self against Other; on contact Other's Hit, then OnHit.
  int CollideWith(TBlob* other, const TBlobEvent& onHit = TBlobEvent());
  bool Overlaps(const TBlob* other) const;
  void BounceInRect(const TIntRect& r);

  float GridMass;
  int Points;
  int Score;
  int Counter;
  std::uint8_t Style;
  int TailLength;
  std::uint8_t Kind;
  std::uint8_t Flag;
  int Step;
  TVector3 Colour;
  int Direction;
  std::uint8_t State;
  int LifeMin, LifeMax;
  float Size;
  int Life;
  int Angle;
  bool AtTarget;
  float PulseScale;
  float PulseMin, PulseMax;
  float PulseStep;
  TVector3 Target;
  float Radius;
  bool Active;
  TVector3 Position;
  float Heading;
  TVector3 Velocity;
  float Speed;
  float Alpha;
  int AimAngle;
  int HeadingDeg;
  // Set by an update that leaves a picture, cleared by one that leaves none;
  // the game clears it for an entity it does not update, which shows nothing.
  std::uint8_t Shown;
};
