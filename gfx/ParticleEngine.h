#pragma once
// Every spark, trail and debris piece: a fixed pool of 1000 particles.
// Emitting takes the first free one; a request with none free is dropped.
#include <cstdint>
#include <memory>

#include "gfx/PdxLib3DTypes.h"

class TMS3DObj;

// One particle: only what a spark needs of an entity's fields, with the
// values a fresh entity starts with.
struct TParticle {
  bool Active = false;
  TVector3 Position{};
  TVector3 Velocity{};  // unit direction of travel
  float Speed = 0;      // distance along Velocity per frame
  TVector3 Colour{1, 1, 1};
  float Alpha = 0;
  std::uint8_t Style = 3;
  int TailLength = 0;
  int Life = 0;
  int LifeMin = 0, LifeMax = 0;

  // Back to the starting values, inactive.
  void Create() { *this = TParticle{}; }
  void SetActive(bool value) { Active = value; }
  // Beyond a wall: onto it, that part of the direction reversed, and one step
  // by the new direction (not by the speed).
  void BounceInRect(const TIntRect& r);
};

class TParticleEngine {
 public:
  static constexpr int PoolSize = 1000;

  explicit TParticleEngine(const TIntRect& bounds);

  void AddParticle(const TVector3& pos, bool useDir, const TVector3& dir, std::uint8_t style, const TVector3& colour,
                   bool randomSpeed, int speedMin, int speed, int lifeMin, int lifeMax, int tailBase);
  // One step of every particle; Draw shows them as the step left them.
  void Update();
  void Draw() const;
  // Both at once.
  void UpdateAndDraw();
  void Clear();

  int Count() const { return PoolSize; }
  // A particle handed out to be changed may be freed by its holder: the
  // search for the first free one starts from the beginning again.
  TParticle& operator[](int i) {
    FirstFree = 0;
    return Pool[i];
  }
  const TParticle& operator[](int i) const { return Pool[i]; }
  int ActiveCount() const;

  TIntRect Bounds;
  TMS3DObj* Model = nullptr;  // drawn, flattened, for styles 7 to 10

 private:
  std::unique_ptr<TParticle[]> Pool;
  // Every particle below this one is live: the first free one is here or
  // after it (PoolSize when the pool is full). Emission takes the first free
  // particle without walking the live ones before it each time.
  int FirstFree = 0;
};
