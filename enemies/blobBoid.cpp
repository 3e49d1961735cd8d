#include "enemies/blobBoid.h"

#include <cmath>

#include "entities/blobList.h"
#include "entities/blobPlayer.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Renderer.h"
#include "sound/frmDXSounds.h"

namespace {
const TVector3 Diamond[4] = {{0, 15, 0}, {-15, 0, 0}, {0, -15, 0}, {15, 0, 0}};

constexpr float SpinRate = 4;           // degrees a frame
constexpr float CohesionDivisor = 400;  // how gently it drifts to the others' centre
constexpr float AlignmentDivisor = 8;   // how gently it matches their velocity
constexpr float CohesionWeight = 1.0f;
constexpr float NearWeight = 4.0f;
constexpr float AlignmentWeight = 0.1f;
constexpr float NearWithin = 0.7f;    // per axis
constexpr float MaxForward = 2.0f;    // flock speed limit towards +X or +Y
constexpr float MaxBackward = -4.0f;  // and towards -X or -Y
constexpr float SpawnFlockVelocity = 0.01f;

float Limit(float v) {
  if (v > MaxForward) return MaxForward;
  if (v < MaxBackward) return MaxBackward;
  return v;
}
}  // namespace

TBlobBoid::TBlobBoid() { TBlobBoid::Create(); }

void TBlobBoid::Create() {
  TBlobEnemy::Create();
  Kind = BlobKind::Boid;
  Points = 75;
  State = BlobState::Spawning;
  SetActive(false);
  Radius = 12;
  SetActive(true);
  BodyColour = MakeColor(1, 0, 1);
  SetOutline(Diamond, 4);
  DyingLength = 75;

  SpawnShield = 1;
  SpawnScatter = 375;
  SpreadRate = 0.2f;
  OutlineWidth = 2;
  EdgeWidth = 2;
  EdgeColour = BodyColour;
  PointsColour = BodyColour;
  GlowScale = MakeVector(45, 45, 0);
  FlashPulseFactor = 4;
  HitSound = &TFormSounds::PlayBoidHit;  // also on the one hit that kills
  DestroyedSound = nullptr;
  BlastAwardsPoints = true;
  Burst = TDeathBurst();  // 17 sparks of the body colour

  FlockPosition = TFlockVector();
  FlockVelocity = TFlockVector();
  Flock = nullptr;
  SpinAngle = 0;
  PlayerPull = StartPull;
}

// ---------------------------------------------------------------------------

void TBlobBoid::UpdateSpawning() {
  SpinAngle = 0;
  PlayerPull = StartPull;
  ResetForSpawn();
  if (!Active) return;
  if (Size == 0) {
    // First spawning frame: the spawn point, or anywhere on a respawn; the
    // flock sees it there from now on, barely moving.
    PlaceForSpawn();
    FlockPosition = {Position.X, Position.Y};
    FlockVelocity = {SpawnFlockVelocity, SpawnFlockVelocity};
  }
  SpawningFrame();
  GrowIn();
}

void TBlobBoid::UpdateAlive() {
  // The ship's pull grows stronger every frame it lives.
  PlayerPull -= PullGrowth;
  if (PlayerPull < StrongestPull) PlayerPull = StrongestPull;

  SpinAngle += SpinRate;
  if (SpinAngle > 360) SpinAngle -= 360;
  float scale;
  if (HitFlash < 1) {
    PingPong(PulseScale, PulseStep, PulseMin, PulseMax, 1.0f);
    scale = PulseScale;
  } else {
    PingPong(PulseScale, PulseStep, PulseMin, PulseMax, FlashPulseFactor);
    scale = 1.4f * PulseScale;
    --HitFlash;
    EmitHitSparks();
  }
  TakePicture(BlobShown::Alive, scale);

  UpdateFlock();
  ClampToArena(Position);
  FlockPosition = {Position.X, Position.Y};
}

void TBlobBoid::DrawSpawning() const {
  TBlobEnemy::DrawSpawning();
  DrawAliveGlow();
}

void TBlobBoid::DrawAlive() const {
  TRenderer& gl = GL();
  gl.PushMatrix();
  gl.Translate(Picture.At.X, Picture.At.Y, Picture.At.Z);
  gl.Rotate(SpinAngle, 0, 0, 1);
  gl.Scale(Picture.Scale, Picture.Scale, Picture.Scale);
  gl.Color(BodyColour.X, BodyColour.Y, BodyColour.Z, 1);
  DrawBody();
  gl.PopMatrix();
  DrawAliveGlow();
}

void TBlobBoid::DrawAliveGlow() const { DrawGlow(Picture.At, GlowScale.X, GlowScale.Y, 0, BodyColour, BodyColour); }

// ---------------------------------------------------------------------------
// Flocking. The others are every active boid of the list but this one,
// spawning and dying ones included. The sums over the others are divided by
// the whole flock's size, this boid included, so a lone boid drifts slowly
// towards the arena centre and slows down.

void TBlobBoid::UpdateFlock() {
  int n = Active ? 1 : 0;
  TFlockVector sumPos, sumVel, near;
  if (Flock) {
    for (TBlob* blob : *Flock) {
      if (blob == this || !blob->Active || blob->Kind != BlobKind::Boid) continue;
      // Kind 5 is only ever a boid.
      const TBlobBoid& other = static_cast<const TBlobBoid&>(*blob);
      ++n;
      sumPos.X += other.FlockPosition.X;
      sumPos.Y += other.FlockPosition.Y;
      sumVel.X += other.FlockVelocity.X;
      sumVel.Y += other.FlockVelocity.Y;
      // Very close on an axis: that offset counts heavily on that axis.
      const float dx = other.FlockPosition.X - FlockPosition.X;
      const float dy = other.FlockPosition.Y - FlockPosition.Y;
      if (std::fabs(dx) < NearWithin) near.X += dx;
      if (std::fabs(dy) < NearWithin) near.Y += dy;
    }
  }
  if (n < 1) return;

  const float cohX = (sumPos.X / n - FlockPosition.X) / CohesionDivisor;
  const float cohY = (sumPos.Y / n - FlockPosition.Y) / CohesionDivisor;
  const float aliX = (sumVel.X / n - FlockVelocity.X) / AlignmentDivisor;
  const float aliY = (sumVel.Y / n - FlockVelocity.Y) / AlignmentDivisor;
  FlockVelocity.X = Limit(FlockVelocity.X + CohesionWeight * cohX + NearWeight * near.X + AlignmentWeight * aliX);
  FlockVelocity.Y = Limit(FlockVelocity.Y + CohesionWeight * cohY + NearWeight * near.Y + AlignmentWeight * aliY);
  FlockPosition.X += FlockVelocity.X;
  FlockPosition.Y += FlockVelocity.Y;

  if (Player) {
    FlockPosition.X += (Player->Position.X - FlockPosition.X) / PlayerPull;
    FlockPosition.Y += (Player->Position.Y - FlockPosition.Y) / PlayerPull;
  }
  Position.X = FlockPosition.X;
  Position.Y = FlockPosition.Y;
}
