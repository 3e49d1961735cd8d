#pragma once
// Every spark, trail and debris piece: a fixed pool of 1000 particles.
// Emitting takes the first free one; a request with none free is dropped.
#include <array>
#include <cstdint>
#include <memory>

#include "entities/blob.h"
#include "gfx/PdxLib3DTypes.h"

class TMS3DObj;

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
  TBlob& operator[](int i) { return Pool[i]; }
  const TBlob& operator[](int i) const { return Pool[i]; }
  int ActiveCount() const;

  TIntRect Bounds;
  TMS3DObj* Model = nullptr;  // drawn, flattened, for styles 7 to 10

 private:
  std::unique_ptr<TBlob[]> Pool;
};
