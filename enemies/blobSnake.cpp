#include "enemies/blobSnake.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "entities/blobPlayer.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "gfx/Renderer.h"
#include "sound/frmDXSounds.h"

namespace {
// A square with a point on top; the point faces the way the snake flies.
const TVector3 HeadShape[5] = {{-15, 15, 0}, {-15, -15, 0}, {15, -15, 0}, {15, 15, 0}, {0, 25, 0}};

constexpr int SnakeTurn = 4;        // degrees a frame
constexpr int LineUpWithin = 15;    // degrees off the wanted heading that snap onto it
constexpr float ReachedWithin = 5;  // units from Target on both axes
constexpr float TailStartScale = 0.75f;
constexpr float TailScaleStep = 0.05f;
constexpr float TailAlphaLift = 0.125f;
constexpr float GlowSize = 25;
constexpr int BurstRounds = 4;  // per trail sample, one white and one magenta each
}  // namespace

TBlobSnake::TBlobSnake() { TBlobSnake::Create(); }

void TBlobSnake::Create() {
  TBlobEnemy::Create();  // inactive until the level manager switches it on
  Kind = BlobKind::Snake;
  Points = 1000;
  State = BlobState::Spawning;
  Radius = 25;  // only the head collides
  HeadColour = MakeColor(0.75f, 0, 0);
  TailColour = MakeColor(0.5f, 0, 1);
  BodyColour = HeadColour;
  SetOutline(HeadShape, 5);
  DyingLength = 50;

  SpawnShield = 25;
  SpawnScatter = 375;
  SpreadRate = 0.25f;
  OutlineWidth = 4;  // the head; the tail copies are drawn at EdgeWidth
  EdgeWidth = 2;
  EdgeColour = TailColour;
  PointsColour = TailColour;
  HitSound = &TFormSounds::PlaySnakeHit;
  DestroyedSound = &TFormSounds::PlaySnakeDestroyed;
  BlastAwardsPoints = true;

  Segments.fill(TVector3{});
  SegmentTimer = 0;
  WantedHeading = 0;
  TurnRate = SnakeTurn;
  TurnTotal = 0;
  OnCourse = false;
  HeadFlashShown = TailFlashShown = false;
}

// ---------------------------------------------------------------------------
// Spawning takes a single frame: no grow-in.

void TBlobSnake::UpdateSpawning() {
  ResetForSpawn();
  TurnTotal = 0;
  Heading = 0;
  OnCourse = false;
  State = BlobState::Alive;

  if (LivesLeft != Lives && !FixedSpawn) {
    // A respawn lands anywhere from -375 to 624; the first move's clamp pulls
    // it back inside the arena.
    Position.X = float(Random(1000) - SpawnScatter);
    Position.Y = float(Random(1000) - SpawnScatter);
  } else {
    Position = SpawnPosition;
  }
  Heading = float(Random(360));
  if (!Active) {
    Speed = SnakeSpeed;
    return;
  }

  // The tail of the previous life is gathered up at the new head.
  SegmentTimer = 0;
  Segments.fill(Position);
  TurnRate = Random(2) == 1 ? SnakeTurn : -SnakeTurn;
  const TVector3 player = PlayerPosition();
  Target.X = player.X;
  Target.Y = player.Y;
  WantedHeading = AngleToPointF(Position.X, Position.Y, Target.X, Target.Y);
  TurnTotal = 0;
  Speed = SnakeSpeed;
}

// ---------------------------------------------------------------------------
// Alive: steer, fly, sample the trail, draw head and tail.

void TBlobSnake::UpdateAlive() {
  Steer();
  PolarToXY(Velocity.X, Velocity.Y, Heading, Speed);
  // A hit snake stands still for the flash frames but keeps steering.
  if (HitFlash < 1) {
    Position.X += Velocity.X;
    Position.Y += Velocity.Y;
  }
  if (ClampToArena(Position)) {
    // Against the wall it turns straight at the ship and flies on.
    const TVector3 player = PlayerPosition();
    Heading = float(AngleToPointF(Position.X, Position.Y, player.X, player.Y));
    OnCourse = true;
  }
  TakeTrailSample();
  FlashHead();
}

void TBlobSnake::Steer() {
  if (OnCourse) {
    if (std::fabs(Target.X - Position.X) < ReachedWithin && std::fabs(Target.Y - Position.Y) < ReachedWithin) {
      // Got there: remember where the ship is now and turn towards it.
      const TVector3 player = PlayerPosition();
      Target.X = player.X;
      Target.Y = player.Y;
      OnCourse = false;
    }
    return;
  }
  TurnTotal += std::abs(TurnRate);
  if (TurnTotal > 360) {
    // A full circle without lining up: the target sits inside the turning
    // circle, so look for the ship again.
    const TVector3 player = PlayerPosition();
    Target.X = player.X;
    Target.Y = player.Y;
    TurnTotal = 0;
  }
  WantedHeading = AngleToPointF(Position.X, Position.Y, Target.X, Target.Y);
  if (std::abs(AngleDiff(int(Heading), WantedHeading)) < LineUpWithin) Heading = float(WantedHeading);
  if (Heading == float(WantedHeading))
    OnCourse = true;
  else
    Heading = float(WrapAngle(int(Heading + float(TurnRate))));
}

void TBlobSnake::TakeTrailSample() {
  if (++SegmentTimer < SegmentEvery) return;
  SegmentTimer = 0;
  // The newest sample goes in front and is then shifted along with the rest,
  // so the first two elements hold the same point right after a sample.
  Segments[0] = Position;
  for (int i = SegmentCount - 1; i >= 1; --i) Segments[i] = Segments[i - 1];
}

void TBlobSnake::AtSegment(int i) const {
  TRenderer& gl = GL();
  gl.Translate(Segments[i].X, Segments[i].Y, Segments[i].Z);
  gl.Rotate(Heading - 90, 0, 0, 1);
}

void TBlobSnake::AtTailCopy(int i, float s) const {
  TRenderer& gl = GL();
  gl.PushMatrix();
  AtSegment(i);
  gl.Scale(-s, -s, -s);
}

void TBlobSnake::FlashHead() {
  // A hit head throbs between full and three-quarter size every four frames.
  const float s = (HitFlash > 0 && (HitFlash & 4) == 0) ? 1.0f : 0.75f;
  HeadFlashShown = HitFlash > 0;
  if (HitFlash > 0) {
    Emit(Position, false, Target, 5, HeadColour, false, 5, Random(6), 50, 100, 8);
    Emit(Position, false, Target, 5, TailColour, false, 5, Random(6), 50, 100, 8);
    --HitFlash;
  }
  TailFlashShown = HitFlash >= 1;
  TakePicture(BlobShown::Alive, s);
}

void TBlobSnake::DrawAlive() const {
  DrawHead();
  DrawTail();
}

void TBlobSnake::DrawHead() const {
  TRenderer& gl = GL();
  gl.PushMatrix();
  AtSegment(0);
  const float s = Picture.Scale;
  gl.Scale(s, s, s);
  gl.Color(HeadColour.X, HeadColour.Y, HeadColour.Z, HeadFlashShown ? 0.5f : 1);
  gl.LineWidth(OutlineWidth);
  DrawOutline();
  gl.PopMatrix();
  DrawGlow(Segments[0], GlowSize, GlowSize, 0, TailColour, TailColour);
}

void TBlobSnake::DrawTail() const {
  TRenderer& gl = GL();
  const bool flashing = TailFlashShown;
  float s = TailStartScale;
  for (int i = TailFirst; i < SegmentCount; i += 2) {
    // Every copy smaller and fainter than the one before.
    AtTailCopy(i, s);
    s -= TailScaleStep;
    if (flashing)
      gl.Color(1, 1, 1, s + TailAlphaLift);
    else
      gl.Color(TailColour.X, TailColour.Y, TailColour.Z, s + TailAlphaLift);
    gl.LineWidth(EdgeWidth);
    DrawOutline();
    gl.PopMatrix();
    DrawGlow(Segments[i], GlowSize, GlowSize, 0, TailColour, TailColour);
  }
}

// ---------------------------------------------------------------------------
// Dying: head and tail break into flying edges, the points float up, and the
// whole body bursts into sparks on the first frame.

void TBlobSnake::UpdateDying() {
  if (CountDownDying()) return;
  Spread += SpreadRate;
  TakePicture(BlobShown::Dying, 1);
  if (DyingCounter == DyingLength - 1) EmitBodyBurst();
}

void TBlobSnake::DrawDying() const {
  DrawWreck(Picture.Progress);
  DrawDyingText(Picture.Progress);
}

void TBlobSnake::DrawWreck(float t) const {
  TRenderer& gl = GL();
  gl.PushMatrix();
  AtSegment(0);
  gl.Scale(TailStartScale, TailStartScale, TailStartScale);
  gl.Color(TailColour.X, TailColour.Y, TailColour.Z, 0.3f * (1 - t));
  gl.LineWidth(OutlineWidth);
  DrawEdgesApart();
  gl.PopMatrix();

  float s = TailStartScale;
  for (int i = TailFirst; i < SegmentCount; i += 2) {
    AtTailCopy(i, s);
    s -= TailScaleStep;
    // The smaller copies fade out first; GL would clamp below zero anyway.
    const float alpha = std::max(0.0f, s + TailAlphaLift - 0.75f * t);
    gl.Color(TailColour.X, TailColour.Y, TailColour.Z, alpha);
    gl.LineWidth(EdgeWidth);
    DrawEdgesApart();
    gl.PopMatrix();
  }
}

void TBlobSnake::DrawEdgesApart() const { DrawEdgeSegments(Picture.Spread); }

void TBlobSnake::EmitBodyBurst() {
  if (!Particles) return;
  for (const TVector3& at : Segments)
    for (int round = 0; round < BurstRounds; ++round) {
      Emit(at, false, at, 4, MakeColor(1, 1, 1), true, 5, 11, 50, 100, 8);
      Emit(at, false, at, 4, MakeColor(1, 0, 1), true, 5, 11, 50, 100, 8);
    }
}

TVector3 TBlobSnake::PlayerPosition() const { return Player ? Player->Position : Target; }
