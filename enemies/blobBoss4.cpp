#include "enemies/blobBoss4.h"

#include <cmath>

#include "entities/blobPlayer.h"
#include "gfx/MS3DObj.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "gfx/Renderer.h"
#include "sound/frmDXSounds.h"

namespace {
constexpr int RingPoints = 31;
constexpr float GrowSlack = 0.001f;
const TVector3 White{1, 1, 1};
const TVector3 Yellow{1, 1, 0};
}  // namespace

TBlobBoss4::TBlobBoss4() : CoreModel(nullptr) { TBlobBoss4::Create(); }

void TBlobBoss4::Create() {
  TBlobBoss::Create();
  // A pooled boss keeps its tentacles and only sets them back.
  Tentacles.Reset();
  Kind = BlobKind::Boss4;
  BodyColour = MakeColor(0, 0, 1);
  PointsColour = BodyColour;
  Points = 5000;
  State = BlobState::Spawning;
  SetActive(false);
  Radius = OutlineRadius;
  SetActive(true);
  SpinX = 0;
  SpinZ = 0;
  ShownSpinX = ShownSpinZ = 0;
  ShownTentacles = 0;
  ReachTimer = 0;
  CoreModel = nullptr;

  // The outline is the wide ring the wreck flies apart as.
  TVector3 ring[RingPoints];
  for (int i = 0; i < RingPoints; ++i) {
    const TVector3& d = DirTable[12 * i];
    ring[i] = MakeVector(OutlineRadius * d.X, OutlineRadius * d.Y, 0);
  }
  SetOutline(ring, RingPoints);
  DyingLength = 50;

  SpawnShield = 150;
  SpawnFullSize = 5.0f;  // a spawn of 125 frames
  DrawAtPosition = false;
}

void TBlobBoss4::UpdateSpawning() {
  TBlobBoss::UpdateSpawning();
  // 125 steps of 0.04 add up to a hair under 5 in single precision; the
  // grow-in still ends on its 125th frame.
  if (Active && State == BlobState::Spawning && Size > SpawnFullSize - GrowSlack) {
    Size = SpawnFullSize;
    State = BlobState::Alive;
  }
}

void TBlobBoss4::ResetBoss() {
  ReachTimer = 0;
  Radius = CoreRadius;
}

void TBlobBoss4::AdvanceAlive() {
  if (!Tentacles.Reaching) ++ReachTimer;
  // A new reach once the last tentacle is fully back and the delay is over.
  if (ReachTimer > ReachDelay && Tentacles.ReachStep == 0 && Player) {
    ReachTimer = 0;
    Tentacles.TargetX = RoundInt(Player->Position.X);
    Tentacles.TargetY = RoundInt(Player->Position.Y);
    Tentacles.Reaching = true;
  }
}

void TBlobBoss4::DrawSpawning() const {
  TRenderer& gl = GL();
  gl.PushMatrix();
  gl.Color(BodyColour.X, BodyColour.Y, BodyColour.Z, 1);
  gl.LineWidth(1);
  DrawBody();
  gl.PopMatrix();
}

void TBlobBoss4::AdvanceBody() {
  ShownSpinX = SpinX;
  ShownSpinZ = SpinZ;
  SpinX += 1;
  SpinZ += 0.5f;
  Tentacles.Update();
  // A tentacle severed later in the step still shows in this picture.
  ShownTentacles = 0;
  for (int i = 0; i < TMultiBezier::TentacleCount; ++i)
    if (!Tentacles.Tentacles[i].Destroyed()) ShownTentacles |= 1u << i;
}

void TBlobBoss4::DrawBody() const {
  DrawCore();
  DrawHalo();
  DrawTentacles();
}

void TBlobBoss4::DrawCore() const {
  TRenderer& gl = GL();
  gl.LineWidth(1);
  gl.PushMatrix();
  gl.Scale(4, 4, 4);
  gl.Rotate(ShownSpinX, 1, 0, 0);
  gl.Rotate(ShownSpinZ, 0, 0, 1);
  // Outlines in the colour already set.
  if (CoreModel) CoreModel->Draw(true);
  gl.PopMatrix();
}

void TBlobBoss4::DrawHalo() const {
  for (int i = 0; i < 4; ++i) DrawGlow(TVector3{}, 96, 96, 96, Yellow, White);
}

void TBlobBoss4::DrawTentacles() const {
  TRenderer& gl = GL();
  for (int i = 0; i < TMultiBezier::TentacleCount; ++i) {
    if (!(ShownTentacles & (1u << i))) continue;
    const TMultiBezier::TTentacle& t = Tentacles.Tentacles[i];
    for (int k = 0; k < TMultiBezier::SubCount; ++k) {
      const TVector3 at{t.Sub[k].X, t.Sub[k].Y, 0};
      // Squares shrinking from the root to the tip.
      const float s = 3 - 0.3f * k;
      gl.PushMatrix();
      gl.Translate(at.X, at.Y, 0);
      gl.Scale(s, s, 3);
      gl.Color(BodyColour.X, BodyColour.Y, BodyColour.Z, 1);
      gl.Begin(TPrimitive::LineLoop);
      gl.Vertex(-5, 5, 0);
      gl.Vertex(-5, -5, 0);
      gl.Vertex(5, -5, 0);
      gl.Vertex(5, 5, 0);
      gl.End();
      gl.PopMatrix();
      DrawGlow(at, 48, 48, 48, BodyColour, White);
      // The tip glows yellow.
      if (k == TMultiBezier::SubCount - 1)
        for (int g = 0; g < 3; ++g) DrawGlow(at, 48, 48, 48, Yellow, White);
    }
  }
}

void TBlobBoss4::EmitHitSparks() {
  Emit(Position, false, Target, 1, MakeColor(1, 0, 0), false, 10, Random(25), 50, 100, 8);
  Emit(Position, false, Target, 1, MakeColor(1, 1, 0), false, 10, Random(25), 50, 100, 8);
}

void TBlobBoss4::UpdateDying() {
  Size = 0;
  TBlobBoss::UpdateDying();
}

void TBlobBoss4::Hit() {
  if (State != BlobState::Alive || Tentacles.LiveCount() > 0) return;
  TBlobBoss::Hit();
}

bool TBlobBoss4::HitTest(TBlob* other, float, float) {
  if (!other) return false;
  for (TMultiBezier::TTentacle& t : Tentacles.Tentacles) {
    if (t.Destroyed()) continue;
    const TMultiBezier::TPoint2& tip = t.Sub[TMultiBezier::SubCount - 1];
    if (std::fabs(tip.X - other->Position.X) >= TipReach || std::fabs(tip.Y - other->Position.Y) >= TipReach) continue;
    ++t.Hits;
    other->SetActive(false);
    if (t.Destroyed()) BurstTentacle(t);
    PlaySound(&TFormSounds::PlayPodHit);
    return true;
  }
  return false;
}

void TBlobBoss4::BurstTentacle(const TMultiBezier::TTentacle& t) const {
  for (const TMultiBezier::TPoint2& p : t.Sub)
    for (int i = 0; i < 8; ++i) Emit(TVector3{p.X, p.Y, 0}, false, Target, 2, BodyColour, false, 5, 11, 50, 100, 8);
}
