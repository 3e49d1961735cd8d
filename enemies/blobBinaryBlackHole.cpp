#include "enemies/blobBinaryBlackHole.h"

#include "entities/blobPlayer.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "gfx/Renderer.h"
#include "sound/frmDXSounds.h"

TBlobBinaryBlackHole::TBlobBinaryBlackHole() { TBlobBinaryBlackHole::Create(); }

void TBlobBinaryBlackHole::Create() {
  TBlobEnemy::Create();
  OrbitAngle = 0;
  Kind = BlobKind::BlackHole;
  BodyColour = MakeColor(0, 0, 0.5f);
  Collapsed = false;
  Points = 50;
  State = BlobState::Spawning;
  SetActive(false);
  Radius = RingRadius;
  SetActive(true);
  SwirlRadius = 0;
  SwirlAngle = 0;
  SwirlDir = 1;
  BlinkCounter = 0;
  BlinkPeriod = 8;
  OrbitRadius = StartOrbit;

  TVector3 ring[RingVertices];
  for (int i = 0; i < RingVertices; ++i)
    ring[i] = MakeVector(RingRadius * DirTable[12 * i].X, RingRadius * DirTable[12 * i].Y, 0);
  SetOutline(ring, RingVertices);
  DyingLength = 50;

  SpawnShield = 500;
  PointsColour = BodyColour;
  HitSound = &TFormSounds::PlayGruntHit;
  Burst = TDeathBurst();  // 17 of the body colour
}

// ---------------------------------------------------------------------------
// The three frames.

void TBlobBinaryBlackHole::UpdateSpawning() {
  Collapsed = false;
  GridMass = 0;
  OrbitRadius = StartOrbit;
  BlinkPeriod = 8;
  BlinkCounter = 0;
  Speed = 1.0f;
  // The row's angle may be anything; the orbit works in whole degrees 0..359.
  OrbitAngle %= 360;
  if (OrbitAngle < 0) OrbitAngle += 360;

  if (LivesLeft == Lives) {
    // First spawn: at the start angle of the orbit.
    Position = SpawnPosition;
    PlaceOnOrbit();
  } else {
    // Respawns appear anywhere; the first alive frame puts them back on the orbit.
    PlaceForSpawn();
  }
  ResetForSpawn();
  if (!Active) return;

  EmitSwirl();
  TakePicture(BlobShown::Spawning, 1);
  GrowIn();
}

void TBlobBinaryBlackHole::UpdateAlive() {
  // Anticlockwise round the centre, one degree a frame.
  ++OrbitAngle;
  if (OrbitAngle > 359) OrbitAngle = 0;

  GridMass += GridMassStep;
  if (GridMass > GridMassPeak) GridMass = 0;

  float scale;
  if (HitFlash < 1) {
    PingPong(PulseScale, PulseStep, PulseMin, PulseMax, 1.0f);
    scale = PulseScale;
  } else {
    CountDownBlink();
    PingPong(PulseScale, PulseStep, PulseMin, PulseMax, FlashPulseFactor);
    scale = 1.4f * PulseScale;
    --HitFlash;
    EmitHitSparks();
  }
  EmitSwirl();
  TakePicture(BlobShown::Alive, scale);

  PlaceOnOrbit();
  OrbitRadius -= OrbitShrink;
  if (OrbitRadius < CollapseOrbit) {
    // Reached the centre: no points, and nothing counted yet; the blow lands
    // when the explosion ends.
    Collapsed = true;
    State = BlobState::Dying;
  }
  ClampToArena(Position);
}

void TBlobBinaryBlackHole::UpdateDying() {
  --DyingCounter;
  if (DyingCounter < 1) {
    if (Collapsed && Player) {
      // The collapse counts towards the quota once its blow has landed, and
      // only when the ship lived through it: a level whose quota needs the
      // collapse is not left waiting, and one the blow ends is not passed.
      Player->TakeDamage(CollapseDamage);
      if (Player->Alive()) OnDestroyed.Fire(this);
    }
    Size = 0;
    --LivesLeft;
    if (LivesLeft < 1) SetActive(false);
    State = BlobState::Spawning;
    return;
  }

  // The ring swells by 8 percent a frame.
  const float s = 1.4f * PulseScale;
  PulseScale *= 1.08f;
  EmitSwirl();
  TakePicture(BlobShown::Dying, s);
  if (DyingCounter == DyingLength - 1) EmitDeathBurst();
}

// ---------------------------------------------------------------------------
// Collisions.

void TBlobBinaryBlackHole::Blast() {
  if (State != BlobState::Alive) return;
  PlaySound(HitSound);
  HitFlash = 10;
  Shield -= BlastDamage;
  if (Shield > 0) return;
  Die(true);
}

// ---------------------------------------------------------------------------
// Drawing.

void TBlobBinaryBlackHole::DrawSpawning() const {
  TRenderer& gl = GL();
  gl.PushMatrix();
  gl.Translate(Picture.At.X, Picture.At.Y, Picture.At.Z);
  gl.Color(BodyColour.X, BodyColour.Y, BodyColour.Z, 1);
  DrawRing();
  gl.PopMatrix();
  RestoreBlending();
}

void TBlobBinaryBlackHole::DrawAlive() const {
  TRenderer& gl = GL();
  gl.PushMatrix();
  gl.Translate(Picture.At.X, Picture.At.Y, Picture.At.Z);
  gl.Scale(Picture.Scale, Picture.Scale, Picture.Scale);
  gl.Color(BodyColour.X, BodyColour.Y, BodyColour.Z, 1);
  DrawRing();
  gl.PopMatrix();
  RestoreBlending();
}

void TBlobBinaryBlackHole::DrawDying() const {
  // White when it collapsed.
  const TVector3 c = Collapsed ? MakeColor(1, 1, 1) : MakeColor(0, 0, 1);
  TRenderer& gl = GL();
  gl.Color(c.X, c.Y, c.Z, 1);
  gl.PushMatrix();
  gl.Translate(Picture.At.X, Picture.At.Y, Picture.At.Z);
  gl.Scale(Picture.Scale, Picture.Scale, Picture.Scale);
  DrawRing();
  gl.PopMatrix();
  DrawDyingText(Picture.Progress);
}

void TBlobBinaryBlackHole::DrawRing() const {
  GL().LineWidth(2);
  DrawEdgeSegments(0);
}

void TBlobBinaryBlackHole::EmitSwirl() {
  for (int i = 0; i < SwirlSteps; ++i) {
    // A slowly widening spiral.
    SwirlRadius += Random(2);
    if (SwirlRadius > 359) {
      SwirlRadius = 359;
      SwirlDir = -1;
    } else if (SwirlRadius < 0) {
      SwirlRadius = 0;
      SwirlDir = 1;
    }
    const float d = float(SwirlRadius / 12);
    const TVector3 p =
        MakeVector(Position.X + d * DirTable[SwirlAngle].X, Position.Y + d * DirTable[SwirlAngle].Y, Position.Z);
    ++SwirlAngle;
    if (SwirlAngle > 359) SwirlAngle = 0;
    // The sparks fly off along the spiral.
    const TVector3 dir = DirTable[SwirlAngle];
    Emit(p, true, dir, 4, MakeColor(0, 0, 1), true, 1, 12, 10, Random(25), 8);
    Emit(p, true, dir, 9, MakeColor(1, 1, 1), true, 1, 12, 10, Random(25), 8);
  }
}

void TBlobBinaryBlackHole::CountDownBlink() {
  --BlinkCounter;
  if (BlinkCounter <= 0) BlinkCounter = BlinkPeriod;
}

void TBlobBinaryBlackHole::PlaceOnOrbit() {
  Position.X = DirTable[OrbitAngle].X * OrbitRadius;
  Position.Y = DirTable[OrbitAngle].Y * OrbitRadius;
}

// The blending a glow leaves behind, though the hole draws none.
void TBlobBinaryBlackHole::RestoreBlending() {
  TRenderer& gl = GL();
  gl.Disable(TCapability::Lighting);
  gl.Enable(TCapability::Blend);
  gl.BlendFunc(TBlendMode::AlphaOneMinusAlpha);
}
