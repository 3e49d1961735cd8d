#include "enemies/blobBoss3.h"

#include <algorithm>
#include <cmath>

#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "gfx/Renderer.h"

namespace {
// The slab's own degree-to-radian factor (pi to three places).
constexpr double DegToRad = 3.142 / 180.0;

const TVector3 Slab[4] = {{-TBlobBoss3::HalfWidth, -TBlobBoss3::HalfHeight, 0},
                          {TBlobBoss3::HalfWidth, -TBlobBoss3::HalfHeight, 0},
                          {TBlobBoss3::HalfWidth, TBlobBoss3::HalfHeight, 0},
                          {-TBlobBoss3::HalfWidth, TBlobBoss3::HalfHeight, 0}};
}  // namespace

TBlobBoss3::TBlobBoss3() { TBlobBoss3::Create(); }

void TBlobBoss3::Create() {
  TBlobBoss::Create();
  Kind = BlobKind::Boss3;
  FillStars();
  BodyColour = MakeColor(0, 0, 1);
  PointsColour = BodyColour;
  Points = 5000;
  State = BlobState::Spawning;
  SetActive(false);
  Radius = 1.0f;
  SetActive(true);
  SetOutline(Slab, 4);
  Corners.fill(TVector3{});
  DyingLength = 50;

  SpawnShield = 250;
  // The slab swells at its own pace whether hit or not.
  FlashPulseFactor = 1;
}

void TBlobBoss3::FillStars() {
  for (TStar& s : Stars) {
    s.X = float(Random(400) - 200);
    s.Y = float(Random(200) - 100);
    s.Z = float(-Random(80));
    s.Size = Random(2) + 1;
    s.Speed = 2 * Random() + 0.1f;
    s.R = 0;
    s.G = 0;
    s.B = Random() + 0.2f;
  }
}

void TBlobBoss3::ResetBoss() {
  Radius = 1.0f;
  PulseScale = 1.0f;
  PulseMin = 1.0f;
  PulseMax = 3.5f;
  PulseStep = 0.005f;
}

void TBlobBoss3::AdvanceAlive() {
  Radius += 0.02f;  // 0.2 degrees a frame
}

void TBlobBoss3::TurnCorners() {
  const double theta = double(TurnAngle()) * DegToRad;
  const double c = std::cos(theta), s = std::sin(theta);
  for (int i = 0; i < 4; ++i) {
    const double x = Vertices[i].X, y = Vertices[i].Y;
    Corners[i] = MakeVector(float((c * x - s * y) * PulseScale), float((s * x + c * y) * PulseScale), 0);
  }
}

void TBlobBoss3::AdvanceBody() {
  TurnCorners();
  MoveStars();
}

void TBlobBoss3::DrawBody() const {
  TRenderer& gl = GL();
  gl.Color(0, 0, 0.5f, 1);
  gl.LineWidth(2);

  // Front face, back face 80 deeper, and the four edges joining them.
  gl.Begin(TPrimitive::LineLoop);
  for (const TVector3& c : Corners) gl.Vertex(c.X, c.Y, c.Z);
  gl.End();
  gl.Begin(TPrimitive::LineLoop);
  for (const TVector3& c : Corners) gl.Vertex(c.X, c.Y, c.Z - Depth);
  gl.End();
  gl.Begin(TPrimitive::Lines);
  for (const TVector3& c : Corners) {
    gl.Vertex(c.X, c.Y, c.Z);
    gl.Vertex(c.X, c.Y, c.Z - Depth);
  }
  gl.End();

  // The stars turn with the slab through the matrix.
  gl.Rotate(TurnAngle(), 0, 0, 1);
  DrawStars();
}

void TBlobBoss3::MoveStars() {
  for (TStar& s : Stars) {
    s.X += s.Speed;
    if (s.X > HalfWidth) {
      // Round again, a little faster and brighter each pass.
      s.X = -HalfWidth;
      s.Speed += 0.2f;
      s.R = std::min(s.R + 0.2f, 1.0f);
      s.G = std::min(s.G + 0.2f, 1.0f);
      s.B = std::min(s.B + 0.2f, 1.0f);
    }
  }
}

void TBlobBoss3::DrawStars() const {
  TRenderer& gl = GL();
  gl.Color(1, 1, 1, 1);
  gl.PointSize(2);
  gl.Begin(TPrimitive::Points);
  for (const TStar& s : Stars) {
    gl.Color(s.R, s.G, s.B, 1);
    gl.Vertex(s.X * PulseScale, s.Y * PulseScale, s.Z);
  }
  gl.End();
}

bool TBlobBoss3::HitTest(TBlob* other, float x, float y) {
  TurnCorners();
  const float px = x - Position.X, py = y - Position.Y;
  // Inside when the point is on the same side of all four edges.
  int negative = 0;
  for (int i = 0; i < 4; ++i) {
    const TVector3& a = Corners[i];
    const TVector3& b = Corners[(i + 1) % 4];
    const float c = -(b.Y - a.Y) * (a.X - px) + (b.X - a.X) * (a.Y - py);
    if (c < 0) ++negative;
  }
  const bool inside = negative == 0 || negative == 4;
  if (inside && other && other->Kind == BlobKind::Bullet) BurstBullet(*other);
  return inside;
}

void TBlobBoss3::BurstBullet(TBlob& bullet) const {
  // Thrown back the way it came, then spent in a shower of sparks.
  bullet.Velocity.X = -bullet.Velocity.X;
  bullet.Velocity.Y = -bullet.Velocity.Y;
  bullet.Velocity.Z = -bullet.Velocity.Z;
  bullet.Position.X += 20 * bullet.Velocity.X;
  bullet.Position.Y += 20 * bullet.Velocity.Y;
  for (int i = 0; i < 4; ++i) {
    Emit(bullet.Position, false, bullet.Target, 5, MakeColor(0, 1, 1), true, 6, 10, 50, 100, 8);
    Emit(bullet.Position, false, bullet.Target, 4, MakeColor(1, 1, 1), true, 6, 10, 50, 100, 8);
  }
  bullet.SetActive(false);
}
