#include "enemies/blobBoss2.h"

#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "gfx/Renderer.h"

TBlobBoss2::TBlobBoss2() { TBlobBoss2::Create(); }

void TBlobBoss2::Create() {
  TBlobBoss::Create();
  Kind = BlobKind::Boss2;
  EmitAngle = 0;
  EmitRate = 0;
  BodyColour = MakeColor(0, 0, 1);
  Points = 5000;
  State = BlobState::Spawning;
  SetActive(false);
  Radius = 1.0f;
  SetActive(true);

  // A unit circle in 12-degree steps; the drawing scales it by Radius. The
  // last vertex closes the circle, so its edge back to the first is empty.
  TVector3 circle[RingVertices];
  for (int i = 0; i < RingVertices; ++i) circle[i] = MakeVector(DirTable[12 * i].X, DirTable[12 * i].Y, 0);
  SetOutline(circle, RingVertices);
  DyingLength = 50;

  SpawnShield = 250;
  PointsColour = BodyColour;
}

void TBlobBoss2::ResetBoss() {
  Radius = 1.0f;
  EmitRate = 0;
}

void TBlobBoss2::AdvanceAlive() {
  // No upper bound: left alone it fills the arena.
  Radius += 0.2f;
}

void TBlobBoss2::AdvanceBody() { EmitSparks(); }

void TBlobBoss2::DrawBody() const {
  TRenderer& gl = GL();
  gl.LineWidth(4);
  gl.Scale(Radius, Radius, 1);
  DrawEdgeSegments(0);
}

void TBlobBoss2::EmitSparks() {
  EmitRate += 0.01f;
  if (EmitRate > MaxEmitRate) EmitRate = MaxEmitRate;
  const int bursts = RoundInt(EmitRate);
  for (int n = 0; n < bursts; ++n) {
    // From the rim, 4 units outside it.
    const float reach = Radius + 4;
    const TVector3 p =
        MakeVector(Position.X + reach * DirTable[EmitAngle].X, Position.Y + reach * DirTable[EmitAngle].Y, Position.Z);
    // The rim point wanders round in random steps; the sparks leave at right
    // angles to it.
    EmitAngle += Random(12);
    if (EmitAngle > 359) EmitAngle = 0;
    EmitAngle -= 90;
    NormalizeAngle(EmitAngle);
    const TVector3 dir = DirTable[EmitAngle];

    const TVector3 blue1 = MakeColor(Random() / 2, Random() / 2, 1);
    Emit(p, true, dir, 6, blue1, true, 4, 8, 100, Random(250), 1);
    const TVector3 blue2 = MakeColor(Random() / 2, Random() / 2, 1);
    Emit(p, true, dir, 5, blue2, true, 4, 8, 100, Random(250), 1);
    const TVector3 white = MakeColor(1, Random() / 2, 1);
    const int whiteLife = Random(250);
    Emit(p, true, dir, 1, white, true, 8, 20, 100, whiteLife, 24 + Random(16));
    const TVector3 violet = MakeColor(Random() / 2, 0, 1);
    const int violetLife = Random(250);
    Emit(p, true, dir, 1, violet, true, 8, 20, 100, violetLife, 24 + Random(16));
  }
}
