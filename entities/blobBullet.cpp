#include "entities/blobBullet.h"

#include <cmath>

#include "gfx/ParticleEngine.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Renderer.h"

TBlobBullet::TBlobBullet() { TBlobBullet::Create(); }

void TBlobBullet::Create() {
  TBlob::Create();
  Kind = BlobKind::Bullet;
  Points = 50;
  Radius = ShotRadius;
  ShownAt = ShownVelocity = TVector3{};
}

void TBlobBullet::Launch(const TVector3& from, float angle) {
  Radius = ShotRadius;
  Position = from;
  NormalizeAngleF(angle);
  int whole = int(std::trunc(angle));
  Velocity = DirTable[whole];
  Velocity.X /= 1.25f;
  Velocity.Y /= 1.25f;
  Velocity.Z /= 1.25f;
  Direction = whole;
  Speed = 0;
  SetActive(true);
  Life = 0;
}

namespace {
// Reflects one coordinate off the arena wall; true when it touched.
bool BounceOffWall(float& pos, float& velocity) {
  if (pos > ArenaHalf) {
    velocity = -velocity;
    pos = ArenaHalf + 12 * velocity;
    return true;
  }
  if (pos < -ArenaHalf) {
    velocity = -velocity;
    pos = -ArenaHalf + 12 * velocity;
    return true;
  }
  return false;
}
}  // namespace

void TBlobBullet::Fly(const TBlobList& enemies, TParticleEngine* particles) {
  // A bullet that touched something is spent, but finishes this frame.
  if (CollideWithList(enemies, this, TBlobEvent()) > 0) SetActive(false);

  Position.X += 10 * Velocity.X;
  Position.Y += 10 * Velocity.Y;

  bool wall = BounceOffWall(Position.X, Velocity.X);
  wall = BounceOffWall(Position.Y, Velocity.Y) || wall;
  if (wall) {
    SetActive(false);
    if (particles) {
      for (int i = 0; i < 17; ++i) {
        particles->AddParticle(Position, false, Target, 4, TVector3{1, 0, 0}, true, 6, 10, 50, 100, 8);
        particles->AddParticle(Position, false, Target, 4, TVector3{1, 1, 0}, true, 6, 10, 50, 100, 8);
      }
    }
  }

  if (++Life > MaxLife) SetActive(false);
  Shown = BlobShown::Alive;
  ShownAt = Position;
  ShownVelocity = Velocity;
}

void TBlobBullet::Draw() const {
  if (Shown == BlobShown::Nothing) return;
  // A yellow streak trailing behind the shot.
  TRenderer& gl = GL();
  gl.PushMatrix();
  gl.Translate(ShownAt.X, ShownAt.Y, ShownAt.Z);
  gl.LineWidth(3);
  gl.Color(1, 1, 0, 1);
  gl.Begin(TPrimitive::Lines);
  gl.Vertex(-16 * ShownVelocity.X, -16 * ShownVelocity.Y, 0);
  gl.Vertex(0, 0, 0);
  gl.End();
  gl.PopMatrix();
}
