#include "enemies/blobEnemy.h"

#include <cmath>

#include "entities/blobPlayer.h"
#include "gfx/GLPrinter.h"
#include "gfx/MS3DObj.h"
#include "gfx/ParticleEngine.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "gfx/Renderer.h"
#include "sound/frmDXSounds.h"

void TBlobEnemy::Create() {
  TBlob::Create();
  OnDestroyed = TBlobEvent();
  Sounds = nullptr;
  Player = nullptr;
  Particles = nullptr;
  Printer = nullptr;
  GlowModel = nullptr;

  Shield = 0;
  HitFlash = 0;
  DyingCounter = 0;
  DyingLength = 50;
  Spread = 0;
  Vertices.fill(TVector3{});
  EdgeNormals.fill(TVector3{});
  VertexCount = 0;

  SpawnPosition = TVector3{};
  LivesLeft = 0;
  Lives = 0;
  FixedSpawn = false;
  SpawnExtra = TVector3{};
  BodyColour = MakeColor(1, 1, 1);

  // The grunt's numbers; kinds change what differs.
  SpawnShield = 5;
  SpawnScatter = 500;
  SpreadRate = 0.05f;
  OutlineWidth = 1;
  EdgeWidth = 2;
  EdgeColour = MakeColor(0, 0, 0.6f);
  PointsColour = BodyColour;
  GlowScale = MakeVector(22 * 1.3f, 24 * 1.3f, 0);
  FlashPulseFactor = 4;
  HitSound = nullptr;
  DestroyedSound = nullptr;
  BlastAwardsPoints = false;
  Burst = TDeathBurst();
  Picture = TEnemyPicture();
}

void TBlobEnemy::SetSpawn(const TVector3& position, int lives, bool fixedSpawn, const TVector3& extra) {
  SpawnPosition = position;
  Lives = LivesLeft = lives;
  FixedSpawn = fixedSpawn;
  SpawnExtra = extra;
}

void TBlobEnemy::Update() {
  Shown = BlobShown::Nothing;  // until this frame takes its picture
  switch (State) {
    case BlobState::Spawning: UpdateSpawning(); break;
    case BlobState::Alive: UpdateAlive(); break;
    case BlobState::Dying: UpdateDying(); break;
    default: break;
  }
}

// ---------------------------------------------------------------------------
// The three frames of the life cycle.

void TBlobEnemy::UpdateSpawning() {
  Speed = 1.0f;
  PlaceForSpawn();
  ResetForSpawn();
  if (!Active) return;
  SpawningFrame();
  GrowIn();
}

void TBlobEnemy::UpdateAlive() {
  float scale;
  if (HitFlash > 0) {
    // Hit reaction: a faster, bigger throb with sparks.
    PingPong(PulseScale, PulseStep, PulseMin, PulseMax, FlashPulseFactor);
    scale = 1.4f * PulseScale;
    --HitFlash;
    EmitHitSparks();
  } else {
    PingPong(PulseScale, PulseStep, PulseMin, PulseMax, 1.0f);
    scale = PulseScale;
  }
  AdvanceBody();
  // Drawn where it stands before this frame's move.
  TakePicture(BlobShown::Alive, scale);

  AdvanceSpeed();
  // While the flash lasts the enemy is knocked back, away from the ship.
  float step = 0.5f * Speed;
  if (HitFlash > 0) step = -step;
  Chase(step);
  ClampToArena(Position);
}

void TBlobEnemy::UpdateDying() {
  if (CountDownDying()) return;
  if (DyingCounter == DyingLength - 1) EmitDeathBurst();
  Spread += SpreadRate;
  TakePicture(BlobShown::Dying, 1);
}

// ---------------------------------------------------------------------------
// The pictures.

void TBlobEnemy::TakePicture(std::uint8_t shown, float scale) {
  Shown = shown;
  Picture.At = Position;
  Picture.Scale = scale;
  Picture.Pulse = PulseScale;
  Picture.Progress = DyingProgress();
  Picture.Spread = Spread;
}

void TBlobEnemy::Draw() const {
  switch (Shown) {
    case BlobShown::Spawning: DrawSpawning(); break;
    case BlobShown::Alive: DrawAlive(); break;
    case BlobShown::Dying: DrawDying(); break;
    default: break;
  }
}

void TBlobEnemy::DrawAlive() const {
  TRenderer& gl = GL();
  gl.PushMatrix();
  gl.Translate(Picture.At.X, Picture.At.Y, Picture.At.Z);
  gl.Scale(Picture.Scale, Picture.Scale, Picture.Scale);
  gl.Color(BodyColour.X, BodyColour.Y, BodyColour.Z, 1);
  DrawBody();
  gl.PopMatrix();
  DrawAliveGlow();
}

void TBlobEnemy::DrawDying() const {
  DrawDyingText(Picture.Progress);
  DrawFlyingEdges(Picture.Progress);
}

// ---------------------------------------------------------------------------
// Collisions.

void TBlobEnemy::Hit() {
  if (State != BlobState::Alive) return;
  HitFlash = 10;
  --Shield;
  if (Shield > 0) {
    PlaySound(HitSound);
    return;
  }
  PlaySound(DestroyedSound ? DestroyedSound : HitSound);
  Die(true);
}

void TBlobEnemy::Blast() {
  if (State != BlobState::Alive) return;
  if (BlastAwardsPoints && Player) Player->Score += Points;
  Shield = 0;
  Die(false);
}

void TBlobEnemy::Absorb() {
  if (State != BlobState::Alive) return;
  Shield = 0;
  --Shield;
  Die(false);
}

void TBlobEnemy::Die(bool awardPoints) {
  OnDestroyed.Fire(this);
  if (awardPoints && Player) Player->Score += Points;
  State = BlobState::Dying;
}

// ---------------------------------------------------------------------------
// Default hooks.

void TBlobEnemy::SpawningFrame() { TakePicture(BlobShown::Spawning, Size); }

void TBlobEnemy::DrawSpawning() const {
  TRenderer& gl = GL();
  gl.PushMatrix();
  gl.Translate(Picture.At.X, Picture.At.Y, Picture.At.Z);
  // Opens from a horizontal line to full height.
  gl.Scale(1, Picture.Scale, Picture.Scale);
  gl.Color(BodyColour.X, BodyColour.Y, BodyColour.Z, 1);
  gl.LineWidth(1);
  DrawOutline();
  gl.PopMatrix();
}

void TBlobEnemy::DrawBody() const {
  GL().LineWidth(OutlineWidth);
  DrawOutline();
}

void TBlobEnemy::DrawAliveGlow() const {
  DrawGlow(Picture.At, GlowScale.X * Picture.Pulse, GlowScale.Y * Picture.Pulse, 0, BodyColour, MakeColor(1, 1, 1));
}

void TBlobEnemy::EmitHitSparks() {
  if (!Particles) return;
  Emit(Position, false, Target, 5, MakeColor(1, 0, 0), false, 5, Random(6), 50, 100, 8);
  Emit(Position, false, Target, 5, MakeColor(1, 1, 0), false, 5, Random(6), 50, 100, 8);
}

void TBlobEnemy::AdvanceSpeed() {
  Speed += 0.005f;
  if (Speed > 5.0f) Speed = 5.0f;
}

void TBlobEnemy::Chase(float step) {
  if (!Player) return;
  if (Player->Position.X > Position.X)
    Position.X += step;
  else if (Player->Position.X < Position.X)
    Position.X -= step;
  if (Player->Position.Y > Position.Y)
    Position.Y += step;
  else if (Player->Position.Y < Position.Y)
    Position.Y -= step;
}

void TBlobEnemy::DrawDyingText(float t) const {
  if (!Printer) return;
  Printer->PrintNumber(Points, Picture.At, TVector3{}, MakeVector(1 - t / 4, 1 - t, 1),
                       MakeColor4(PointsColour.X, PointsColour.Y, PointsColour.Z, 1 - t));
}

void TBlobEnemy::EmitDeathBurst() {
  if (!Particles) return;
  for (int i = 0; i < Burst.Rounds; ++i) {
    if (Burst.ColourCount == 0) {
      Emit(Position, false, Target, Burst.Style, BodyColour, Burst.RandomSpeed, Burst.SpeedMin, Burst.Speed,
           Burst.LifeMin, Burst.LifeMax, Burst.TailBase);
      continue;
    }
    for (int c = 0; c < Burst.ColourCount && c < 2; ++c)
      Emit(Position, false, Target, Burst.Style, Burst.Colours[c], Burst.RandomSpeed, Burst.SpeedMin, Burst.Speed,
           Burst.LifeMin, Burst.LifeMax, Burst.TailBase);
  }
}

// ---------------------------------------------------------------------------
// Helpers.

void TBlobEnemy::SetOutline(const TVector3* vertices, int count) {
  if (count < 0) count = 0;
  if (count > MaxOutline) count = MaxOutline;
  VertexCount = count;
  for (int i = 0; i < count; ++i) Vertices[i] = vertices[i];
  for (int i = 0; i < count; ++i) {
    const TVector3& a = Vertices[i];
    const TVector3& b = Vertices[(i + 1) % count];
    EdgeNormals[i] = MakeVector(-(b.Y - a.Y), b.X - a.X, 0);
  }
}

void TBlobEnemy::PlaceForSpawn() {
  if (LivesLeft == Lives || FixedSpawn) {
    Position = SpawnPosition;
  } else if (Size == 0) {
    // First frame of a respawn: anywhere in the arena.
    Position.X = float(Random(1000) - SpawnScatter);
    Position.Y = float(Random(1000) - SpawnScatter);
  }
}

void TBlobEnemy::ResetForSpawn() {
  Shield = SpawnShield;
  HitFlash = 0;
  DyingCounter = DyingLength;
  Spread = 0;
  PulseScale = 1.0f;
  PulseMin = 0.75f;
  PulseMax = 1.0f;
  PulseStep = 0.01f;
}

void TBlobEnemy::GrowIn(float full) {
  Size += 0.04f;
  if (Size > full) {
    Size = full;
    State = BlobState::Alive;
  }
}

bool TBlobEnemy::CountDownDying() {
  --DyingCounter;
  if (DyingCounter > 0) return false;
  Size = 0;
  --LivesLeft;
  if (LivesLeft <= 0) SetActive(false);
  State = BlobState::Spawning;
  return true;
}

float TBlobEnemy::DyingProgress() const {
  if (DyingLength <= 0) return 1;
  return float(DyingLength - DyingCounter) / float(DyingLength);
}

void TBlobEnemy::DrawOutline() const {
  TRenderer& gl = GL();
  gl.Begin(TPrimitive::LineLoop);
  for (int i = 0; i < VertexCount; ++i) gl.Vertex(Vertices[i].X, Vertices[i].Y, Vertices[i].Z);
  gl.End();
}

void TBlobEnemy::DrawFlyingEdges(float t) const {
  TRenderer& gl = GL();
  gl.PushMatrix();
  gl.Color(EdgeColour.X, EdgeColour.Y, EdgeColour.Z, 1 - t);
  gl.LineWidth(EdgeWidth);
  gl.Translate(Picture.At.X, Picture.At.Y, Picture.At.Z);
  // Each side flies straight out along its normal.
  DrawEdgeSegments(Picture.Spread);
  gl.PopMatrix();
}

void TBlobEnemy::DrawEdgeSegments(float spread) const {
  TRenderer& gl = GL();
  gl.Begin(TPrimitive::Lines);
  for (int i = 0; i < VertexCount; ++i) {
    const TVector3& a = Vertices[i];
    const TVector3& b = Vertices[(i + 1) % VertexCount];
    const float dx = spread * EdgeNormals[i].X, dy = spread * EdgeNormals[i].Y;
    gl.Vertex(a.X - dx, a.Y - dy, a.Z);
    gl.Vertex(b.X - dx, b.Y - dy, b.Z);
  }
  gl.End();
}

void TBlobEnemy::DrawGlow(const TVector3& at, float sx, float sy, float sz, const TVector3& ambient,
                          const TVector3& diffuse) const {
  TRenderer& gl = GL();
  // Lit by the material's ambient colour alone.
  gl.Enable(TCapability::Lighting);
  gl.Disable(TCapability::Light0);
  gl.PushMatrix();
  gl.Translate(at.X, at.Y, at.Z);
  gl.Scale(sx, sy, sz);
  if (GlowModel) GlowModel->DrawColoured(ambient, diffuse);
  gl.PopMatrix();
  gl.Disable(TCapability::Lighting);
  gl.Enable(TCapability::Blend);
  gl.BlendFunc(TBlendMode::AlphaOneMinusAlpha);
}

void TBlobEnemy::PlaySound(TSoundProc sound) const {
  if (Sounds && sound) (Sounds->*sound)();
}

void TBlobEnemy::Emit(const TVector3& pos, bool useDir, const TVector3& dir, std::uint8_t style, const TVector3& colour,
                      bool randomSpeed, int speedMin, int speed, int lifeMin, int lifeMax, int tailBase) const {
  if (Particles)
    Particles->AddParticle(pos, useDir, dir, style, colour, randomSpeed, speedMin, speed, lifeMin, lifeMax, tailBase);
}
