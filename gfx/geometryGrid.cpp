#include "gfx/geometryGrid.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "gfx/PdxLib3D.h"
#include "gfx/Renderer.h"

namespace {
constexpr float Spacing = 20.4f;
constexpr float LatticeZ = -0.01f;
constexpr float RestStiffness = 0.02f;    // a point freshly put at rest
constexpr float PulledStiffness = 0.01f;  // a point something pulled this frame
constexpr float StiffnessDecay = 0.000001f;
constexpr float StiffnessFloor = 0.00000001f;

constexpr float BulletReach = 30.0f;
constexpr float BulletPush = 4400.0f;
constexpr float PushDepthDamp = 256.0f;  // bullets and the ring barely move it in depth
constexpr float RingPush = 6000.0f;
constexpr float DepthDamp = TGeometryGrid::DepthDamp;
constexpr float WellDepth = -50.0f;  // wells and warpers pull from below the lattice

constexpr float StartRadius = 50.0f;
constexpr float RingWidth = 20.0f;
constexpr float RingGrowth = 0.0026f;
constexpr int RingLimit = 200000;

}  // namespace

TGeometryGrid::TGeometryGrid() {
  Shots.reserve(64);
  RowShots.reserve(64);
  NearShots.reserve(64);
  ShotDistance.reserve(64);
  StretchDistance.reserve(64);
  WellPulls.reserve(16);
  WarperPulls.reserve(16);
  Initialise();
}

void TGeometryGrid::Initialise() {
  ShockwaveCentre = TVector3{};
  ShockwaveActive = false;
  ShockwaveRadius = StartRadius;
  ShockwaveWidth = RingWidth;
  ShockwaveGrowth = RingGrowth;
  ShockwaveSteps = 0;
  ShockwaveLimit = RingLimit;
  Gravity = 0.001f;
  for (int j = 0; j < Size; ++j)
    for (int i = 0; i < Size; ++i) {
      const int n = Index(i, j);
      L.RX[n] = L.PX[n] = L.BeforeX[n] = float(i) * Spacing - ArenaHalf;
      L.RY[n] = L.PY[n] = L.BeforeY[n] = float(j) * Spacing - ArenaHalf;
      L.RZ[n] = L.PZ[n] = L.BeforeZ[n] = LatticeZ;
      L.VX[n] = L.VY[n] = L.VZ[n] = 0;
      L.AX[n] = L.AY[n] = L.AZ[n] = 0;
      L.K[n] = RestStiffness;
    }
  Push = 45000;
  Centre = TVector3{0, 0, WellDepth};
  Damping = 0.92f;
}

TGridPoint TGeometryGrid::Point(int i, int j) const {
  const int n = Index(i, j);
  TGridPoint p;
  p.Position = TVector3{L.PX[n], L.PY[n], L.PZ[n]};
  p.Rest = TVector3{L.RX[n], L.RY[n], L.RZ[n]};
  p.Velocity = TVector3{L.VX[n], L.VY[n], L.VZ[n]};
  p.Acceleration = TVector3{L.AX[n], L.AY[n], L.AZ[n]};
  p.K = L.K[n];
  return p;
}

void TGeometryGrid::PlacePoint(int i, int j, const TVector3& position) {
  const int n = Index(i, j);
  L.PX[n] = position.X;
  L.PY[n] = position.Y;
  L.PZ[n] = position.Z;
}

bool TGeometryGrid::AllFinite() const {
  // A number is not finite when its exponent bits are all ones, and only
  // then does one more in the lowest exponent bit carry into the sign bit:
  // one pass of whole-number sums over every array, with no branch to stop it.
  const float* arrays[] = {L.PX, L.PY, L.PZ, L.VX, L.VY, L.VZ, L.K};
  std::uint32_t carried = 0;
  for (const float* a : arrays)
    for (int n = 0; n < Points; ++n) {
      std::uint32_t bits;
      std::memcpy(&bits, &a[n], sizeof bits);
      carried |= (bits & 0x7f800000u) + 0x00800000u;
    }
  return (carried & 0x80000000u) == 0;
}

void TGeometryGrid::UpdateAndDraw() {
  Update();
  Draw();
}

void TGeometryGrid::Draw() const {
  TRenderer& gl = GL();
  gl.PointSize(1);
  gl.LineWidth(1);
  gl.Color(0, 0, 1, 0.4f);
  gl.PushMatrix();
  // Every segment of the lattice in one batch: the same picture as a pair per
  // point, at a fraction of the calls.
  gl.Begin(TPrimitive::Lines);
  // The last row and column only end the lines.
  for (int j = 0; j < Size - 1; ++j)
    for (int i = 0; i < Size - 1; ++i) {
      const int n = Index(i, j), right = Index(i + 1, j), up = Index(i, j + 1);
      gl.Vertex(L.PX[n], L.PY[n], L.PZ[n]);
      gl.Vertex(L.BeforeX[right], L.BeforeY[right], L.BeforeZ[right]);
      gl.Vertex(L.PX[n], L.PY[n], L.PZ[n]);
      gl.Vertex(L.BeforeX[up], L.BeforeY[up], L.BeforeZ[up]);
    }
  gl.End();
  gl.PopMatrix();
}

// Every point of the lattice but the last row and column (which only end the
// lines) takes, in this order: the bullets' pushes, the ring's, then (when
// neither pushed it) the push from the ship and the wells' pulls, the
// warpers' pulls, and the damped spring back to its rest place. A point's
// steps read nothing of any other point, so the lattice is worked through a
// row at a time, each step over the whole row before the next: every point
// sees the same operations in the same order as one at a time. Only the
// ring's radius runs from point to point, and its step keeps that order.
void TGeometryGrid::Update() {
  std::memcpy(L.BeforeX, L.PX, sizeof L.PX);
  std::memcpy(L.BeforeY, L.PY, sizeof L.PY);
  std::memcpy(L.BeforeZ, L.PZ, sizeof L.PZ);
  GatherSources();
  for (int j = 0; j < Size - 1; ++j) {
    for (int i = 0; i < Size - 1; ++i) Alone[i] = 1;
    PushRowByShots(j, -Gravity * BulletPush);
    if (ShockwaveActive) PushRowByRing(j, -Gravity * RingPush);
    PullAndSpringRow(j);
  }
}

namespace {
// The bullets a row (or a stretch) of the lattice keeps, given how far each
// lies outside the band (or box) its points stand in. Its points stand where
// the last step left them until their turn, and a push moves a point at most
// |force| on each axis; so a bullet farther than the reach plus every push the nearer ones
// could give cannot pass a point's own test, and leaving it out changes
// nothing. The margin those kept lie within: it grows with every bullet it
// takes in, until it takes in no more.
float KeptMargin(const float* distance, int count, float force) {
  const float push = std::fabs(force);
  std::size_t near = 0, within = 0;
  float margin;
  do {
    near = within;
    // One unit spare for the rounding of the point's own subtraction.
    margin = BulletReach + push * float(near) + 1.0f;
    within = 0;
    for (int c = 0; c < count; ++c) within += distance[c] < margin;
  } while (within > near);
  return margin;
}
}  // namespace

// Bullets shove the lattice aside as they fly over it. A point can only be
// pushed by the row's bullets, so by no more pushes than there are of them:
// it stays within the row's margin of where it stood on X too, and a stretch
// of the row needs only those of the row's bullets that lie within the
// margin of where its points stood.
void TGeometryGrid::PushRowByShots(int j, float force) {
  const float margin = ShotsNearRow(j, force);
  if (RowShots.empty()) return;
  const float reach2 = BulletReach * BulletReach;
  for (int i0 = 0; i0 < Size - 1; i0 += Stretch) {
    const int i1 = std::min(i0 + Stretch, Size - 1);
    // A point at no number is never pushed: it leaves the bounds alone.
    float low = INFINITY, high = -INFINITY;
    for (int i = i0; i < i1; ++i) {
      const float x = L.PX[Index(i, j)];
      if (x < low) low = x;
      if (x > high) high = x;
    }
    NearShots.resize(RowShots.size());
    StretchDistance.resize(RowShots.size());
    int near = 0;
    for (const int b : RowShots) {
      NearShots[near] = b;
      near += std::max(low - Shots[b].X, Shots[b].X - high) < margin;
    }
    if (near == 0) continue;
    // Those few may still be many where the lattice is bunched up: the
    // stretch's own margin, from how far each lies outside the box its points
    // stand in, keeps only the ones that can reach it.
    if (near > 1) {
      float lowY = INFINITY, highY = -INFINITY;
      for (int i = i0; i < i1; ++i) {
        const float y = L.PY[Index(i, j)];
        if (y < lowY) lowY = y;
        if (y > highY) highY = y;
      }
      for (int c = 0; c < near; ++c) {
        const TVector3& shot = Shots[NearShots[c]];
        StretchDistance[c] = std::max(std::max(low - shot.X, shot.X - high), std::max(lowY - shot.Y, shot.Y - highY));
      }
      const float tight = KeptMargin(StretchDistance.data(), near, force);
      int kept = 0;
      for (int c = 0; c < near; ++c) {
        NearShots[kept] = NearShots[c];
        kept += StretchDistance[c] < tight;
      }
      near = kept;
    }
    for (int i = i0; i < i1; ++i) {
      const int n = Index(i, j);
      float px = L.PX[n], py = L.PY[n], pz = L.PZ[n];
      bool disturbed = false;
      for (int c = 0; c < near; ++c) {
        const int b = NearShots[c];
        const TVector3& bullet = Shots[b];
        const float dx = bullet.X - px;
        if (dx >= BulletReach || dx <= -BulletReach) continue;
        const float dy = bullet.Y - py;
        if (dy >= BulletReach || dy <= -BulletReach) continue;
        const float dz = bullet.Z - pz;
        const float r2 = dx * dx + dy * dy + dz * dz;
        if (r2 >= reach2) continue;
        const float r = std::sqrt(r2);
        if (!(r < BulletReach)) continue;
        disturbed = true;
        // A bullet dead on the point has no direction to push in.
        if (r > 0) {
          const float k = force / r;
          px += k * dx;
          py += k * dy;
          pz += (k * dz) / PushDepthDamp;
        }
      }
      L.PX[n] = px, L.PY[n] = py, L.PZ[n] = pz;
      Alone[i] = !disturbed;
    }
  }
}

// The gravi-bomb ring: its radius grows with every point processed.
void TGeometryGrid::PushRowByRing(int j, float force) {
  const int row = Index(0, j);
  float dxs[Size], dys[Size], dzs[Size], rs[Size];
  for (int i = 0; i < Size - 1; ++i) {
    dxs[i] = ShockwaveCentre.X - L.PX[row + i];
    dys[i] = ShockwaveCentre.Y - L.PY[row + i];
    dzs[i] = ShockwaveCentre.Z - L.PZ[row + i];
    rs[i] = std::sqrt(dxs[i] * dxs[i] + dys[i] * dys[i] + dzs[i] * dzs[i]);
  }
  // While it runs its width, growth and limit are set again at every point:
  // to the same constants, so once for the row.
  ShockwaveWidth = RingWidth;
  ShockwaveGrowth = RingGrowth;
  ShockwaveLimit = RingLimit;
  float radius = ShockwaveRadius;
  int steps = ShockwaveSteps;
  for (int i = 0; i < Size - 1; ++i) {
    radius += RingGrowth;
    const bool ends = ++steps > RingLimit;
    if (ends) radius = StartRadius, steps = 0;
    const float r = rs[i];
    if (r > radius - RingWidth && r < radius && r > 0) {
      const int n = row + i;
      const float k = force / r;
      L.PX[n] += k * dxs[i];
      L.PY[n] += k * dys[i];
      L.PZ[n] += (k * dzs[i]) / PushDepthDamp;
      Alone[i] = 0;
    }
    if (ends) {
      ShockwaveActive = false;
      break;
    }
  }
  ShockwaveRadius = radius;
  ShockwaveSteps = steps;
}

namespace {
// One attraction of a row of points towards (tx, ty, WellDepth) with
// strength s: s*d/r^2 in the plane, s*dz/r^3 in depth, /DepthDamp. Only the
// points `pulled` says; none that coincides with the mass (no direction to
// pull in, and dividing by r would poison the position). Written as a choice
// per point rather than a jump, so the compiler works on several points at
// once; each point's arithmetic is the same, in the same order.
void AttractRow(float* __restrict px, float* __restrict py, float* __restrict pz, const int* __restrict pulled,
                int count, float tx, float ty, float s) {
  for (int i = 0; i < count; ++i) {
    const float dx = tx - px[i], dy = ty - py[i], dz = WellDepth - pz[i];
    const float r2 = dx * dx + dy * dy + dz * dz;
    const float r = std::sqrt(r2);
    const float pullX = s * dx / r2, pullY = s * dy / r2, pullZ = s * (dz / r) / r2;
    const bool moved = (pulled[i] != 0) & (r2 > 0);
    px[i] = moved ? px[i] + pullX : px[i];
    py[i] = moved ? py[i] + pullY : py[i];
    pz[i] = moved ? pz[i] + pullZ / DepthDamp : pz[i];
  }
}

// The damped spring back to the rest place, and the stiffness's decay.
void SpringRow(float* __restrict px, float* __restrict py, float* __restrict pz, const float* __restrict rx,
               const float* __restrict ry, const float* __restrict rz, float* __restrict vx, float* __restrict vy,
               float* __restrict vz, float* __restrict ax, float* __restrict ay, float* __restrict az,
               float* __restrict k, int count, float damping) {
  for (int i = 0; i < count; ++i) {
    ax[i] = (rx[i] - px[i]) * k[i];
    ay[i] = (ry[i] - py[i]) * k[i];
    az[i] = (rz[i] - pz[i]) * k[i];
    vx[i] = (vx[i] + ax[i]) * damping;
    vy[i] = (vy[i] + ay[i]) * damping;
    vz[i] = (vz[i] + az[i]) * damping;
    px[i] += vx[i];
    py[i] += vy[i];
    pz[i] += vz[i];
    const float decayed = k[i] - StiffnessDecay;
    k[i] = decayed < StiffnessFloor ? StiffnessFloor : decayed;
  }
}
}  // namespace

void TGeometryGrid::PullAndSpringRow(int j) {
  const int row = Index(0, j), count = Size - 1;
  float *px = L.PX + row, *py = L.PY + row, *pz = L.PZ + row, *k = L.K + row;
  // Points left alone are pushed from (or, after a hit, sucked to) the ship
  // and pulled by the gravitars.
  const int* alone = Alone;
  static constexpr auto all = [] {
    std::array<int, Size> ones{};
    ones.fill(1);
    return ones;
  }();
  const float s = -Gravity * Push;
  if (s != 0) AttractRow(px, py, pz, alone, count, Centre.X, Centre.Y, s);  // Centre.Z is the well depth
  for (int i = 0; i < count; ++i) k[i] = alone[i] != 0 ? PulledStiffness : k[i];
  for (const TPuller& well : WellPulls) AttractRow(px, py, pz, alone, count, well.X, well.Y, well.Strength);
  // Black holes and bosses bend the lattice even under a bullet or the ring.
  for (const TPuller& warper : WarperPulls)
    AttractRow(px, py, pz, all.data(), count, warper.X, warper.Y, warper.Strength);
  if (!WarperPulls.empty())
    for (int i = 0; i < count; ++i) k[i] = PulledStiffness;
  SpringRow(px, py, pz, L.RX + row, L.RY + row, L.RZ + row, L.VX + row, L.VY + row, L.VZ + row, L.AX + row, L.AY + row,
            L.AZ + row, k, count, Damping);
}

float TGeometryGrid::ShotsNearRow(int j, float force) {
  RowShots.clear();
  if (Shots.empty()) return 0;
  // A point at no number is never pushed: it leaves the bounds alone.
  float low = INFINITY, high = -INFINITY;
  for (int i = 0; i < Size - 1; ++i) {
    const float y = L.PY[Index(i, j)];
    if (y < low) low = y;
    if (y > high) high = y;
  }
  ShotDistance.resize(Shots.size());
  for (std::size_t b = 0; b < Shots.size(); ++b) ShotDistance[b] = std::max(low - Shots[b].Y, Shots[b].Y - high);
  const float margin = KeptMargin(ShotDistance.data(), int(ShotDistance.size()), force);
  for (int b = 0; b < int(Shots.size()); ++b)
    if (ShotDistance[b] < margin) RowShots.push_back(b);
  return margin;
}

void TGeometryGrid::AddShockwave(const TVector3& pos) {
  if (ShockwaveActive) return;  // one ring at a time; the running one goes on
  ShockwaveCentre = pos;
  ShockwaveActive = true;
}

void TGeometryGrid::SetCentre(int x, int y) {
  Centre.X = float(x);
  Centre.Y = float(y);
}

void TGeometryGrid::SetPush(float value) { Push = value; }
