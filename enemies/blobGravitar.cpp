#include "enemies/blobGravitar.h"

#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "gfx/Renderer.h"
#include "sound/frmDXSounds.h"

TBlobGravitar::TBlobGravitar() { TBlobGravitar::Create(); }

void TBlobGravitar::Create() {
  TBlobEnemy::Create();
  Kind = BlobKind::Gravitar;
  Points = 10000;
  State = BlobState::Spawning;
  SetActive(false);
  Radius = 25;
  SetActive(true);
  BodyColour = MakeColor(0, 0, 0);
  Mass = 0;

  // The rim at 0, 25, ..., 350 degrees, then the centre: the explosion's
  // outline runs round the rim, in to the centre and back out.
  TVector3 outline[RimPoints + 1];
  for (int i = 0; i < RimPoints; ++i) {
    const TVector3& d = DirTable[i * 25];
    outline[i] = MakeVector(d.X * 25, d.Y * 25, d.Z * 25);
  }
  outline[RimPoints] = TVector3{};
  SetOutline(outline, RimPoints + 1);
  DyingLength = 50;

  SpawnShield = 50;
  FlashPulseFactor = 8;
  HitSound = &TFormSounds::PlayGravitarHit;
  DestroyedSound = &TFormSounds::PlayGravitarDestroyed;
  BlastAwardsPoints = true;
  PointsColour = MakeColor(1, 1, 1);
  // The black outline flies apart fast and thick against the white burst.
  EdgeColour = BodyColour;
  EdgeWidth = 4;
  SpreadRate = 0.5f;
  Burst = TDeathBurst();
  Burst.Rounds = 80;
  Burst.Style = 2;
  Burst.RandomSpeed = true;
  Burst.SpeedMin = 6;
  Burst.Speed = 12;
  Burst.ColourCount = 1;
  Burst.Colours[0] = MakeColor(1, 1, 1);
}

void TBlobGravitar::Hit() {
  if (State == BlobState::Alive) Mass = 0;
  TBlobEnemy::Hit();
}

void TBlobGravitar::UpdateSpawning() {
  // No pull until it is fully there.
  Mass = 0;
  TBlobEnemy::UpdateSpawning();
}

void TBlobGravitar::UpdateAlive() {
  Mass += MassGain;
  if (Mass > MassLimit) Mass = 0;
  TBlobEnemy::UpdateAlive();
}

void TBlobGravitar::SpawningFrame() {
  if (Size == 0) PlaySound(&TFormSounds::PlayGravitarSpawned);
  TBlobEnemy::SpawningFrame();
}

void TBlobGravitar::DrawSpawning() const {
  TRenderer& gl = GL();
  gl.PushMatrix();
  gl.Translate(Picture.At.X, Picture.At.Y, Picture.At.Z);
  gl.Scale(1, Picture.Scale, Picture.Scale);
  gl.Color(BodyColour.X, BodyColour.Y, BodyColour.Z, 1);
  DrawBody();
  gl.PopMatrix();
}

void TBlobGravitar::DrawBody() const {
  TRenderer& gl = GL();
  const TVector3& c = Vertices[RimPoints];
  gl.Begin(TPrimitive::Triangles);
  for (int i = 0; i < RimPoints; ++i) {
    const TVector3& a = Vertices[i];
    const TVector3& b = Vertices[(i + 1) % RimPoints];
    gl.Vertex(c.X, c.Y, c.Z);
    gl.Vertex(a.X, a.Y, a.Z);
    gl.Vertex(b.X, b.Y, b.Z);
  }
  gl.End();
}

void TBlobGravitar::EmitHitSparks() {
  if (!Particles) return;
  for (int i = 0; i < 8; ++i) {
    const TVector3& d = DirTable[Random(360)];
    const TVector3 at = MakeVector(Position.X + 20 * d.X, Position.Y + 20 * d.Y, Position.Z + 20 * d.Z);
    Emit(at, true, d, 10, MakeColor(0, 0, 1), true, 2, 4, 50, 500, 8);
  }
}

void TBlobGravitar::AdvanceSpeed() {
  Speed += 0.005f;
  if (Speed > 1.0f) Speed = 0.1f;
}
