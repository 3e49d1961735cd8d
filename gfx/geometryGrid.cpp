#include "gfx/geometryGrid.h"

#include <algorithm>
#include <cmath>

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
constexpr float DepthDamp = 1500.0f;   // depth pulls are far weaker than plane pulls
constexpr float WellDepth = -50.0f;    // wells and warpers pull from below the lattice
constexpr float EntityDepth = -0.01f;  // the ship and entities are pulled towards the lattice plane

constexpr float StartRadius = 50.0f;
constexpr float RingWidth = 20.0f;
constexpr float RingGrowth = 0.0026f;
constexpr int RingLimit = 200000;

constexpr float PlayerCap = 0.1f;
constexpr float EntityCap = 1.0f;

// The pull of a mass at (tx, ty, tz) with strength s on something at `at`:
// s*d/r^2 in the plane, s*dz/r^3 in depth. False when the two coincide: there
// is no direction to pull in, and dividing by r would poison the position.
struct TPull {
  float X, Y, Z;
};

inline bool PullTowards(const TVector3& at, float tx, float ty, float tz, float s, TPull& pull) {
  const float dx = tx - at.X, dy = ty - at.Y, dz = tz - at.Z;
  const float r2 = dx * dx + dy * dy + dz * dz;
  if (!(r2 > 0)) return false;
  const float r = std::sqrt(r2);
  pull.X = s * dx / r2;
  pull.Y = s * dy / r2;
  pull.Z = s * (dz / r) / r2;  // s*dz/r^3, ordered so it cannot underflow to 0/0
  return true;
}

inline void Attract(TGridPoint& p, float tx, float ty, float s) {
  TPull pull;
  if (!PullTowards(p.Position, tx, ty, WellDepth, s, pull)) return;
  p.Position.X += pull.X;
  p.Position.Y += pull.Y;
  p.Position.Z += pull.Z / DepthDamp;
}

// Pushes p along d (length r) by f/r: away from the source when f < 0.
inline void PushAlong(TGridPoint& p, float dx, float dy, float dz, float r, float f, float depthDamp) {
  const float k = f / r;
  p.Position.X += k * dx;
  p.Position.Y += k * dy;
  p.Position.Z += (k * dz) / depthDamp;
}

// Wells pull from above only up to the cap; a pull the other way is not cut.
inline float CapFromAbove(float v, float cap) { return v > cap ? cap : v; }

// One well pulling one entity, capped towards +X, +Y and +Z only.
void PullByWell(TBlob& victim, const TBlob& well, float gravity, float divisor, float cap) {
  TPull pull;
  const float s = gravity * well.WellMass() / divisor;
  if (!PullTowards(victim.Position, well.Position.X, well.Position.Y, EntityDepth, s, pull)) return;
  victim.Position.X += CapFromAbove(pull.X, cap);
  victim.Position.Y += CapFromAbove(pull.Y, cap);
  victim.Position.Z += CapFromAbove(pull.Z, cap) / DepthDamp;
}
}  // namespace

TGeometryGrid::TGeometryGrid() {
  Shots.reserve(64);
  RowShots.reserve(64);
  NearShots.reserve(64);
  ShotDistance.reserve(64);
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
  for (int i = 0; i < Size; ++i)
    for (int j = 0; j < Size; ++j) {
      TGridPoint& p = Lattice[i][j];
      p.Rest = TVector3{float(i) * Spacing - ArenaHalf, float(j) * Spacing - ArenaHalf, LatticeZ};
      p.Position = p.Rest;
      Before[i][j] = p.Rest;
      p.Velocity = TVector3{};
      p.Acceleration = TVector3{};
      p.K = RestStiffness;
    }
  Push = 45000;
  Centre = TVector3{0, 0, WellDepth};
  Damping = 0.92f;
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
      const TVector3& p = Lattice[i][j].Position;
      const TVector3& right = Before[i + 1][j];
      const TVector3& up = Before[i][j + 1];
      gl.Vertex(p.X, p.Y, p.Z);
      gl.Vertex(right.X, right.Y, right.Z);
      gl.Vertex(p.X, p.Y, p.Z);
      gl.Vertex(up.X, up.Y, up.Z);
    }
  gl.End();
  gl.PopMatrix();
}

void TGeometryGrid::Update() {
  const float bulletForce = -Gravity * BulletPush;
  const float ringForce = -Gravity * RingPush;
  const float reach2 = BulletReach * BulletReach;

  for (int i = 0; i < Size; ++i)
    for (int j = 0; j < Size; ++j) Before[i][j] = Lattice[i][j].Position;
  GatherSources();

  // The last row and column are never moved: they only end the lines.
  for (int j = 0; j < Size - 1; ++j) {
    ShotsNearRow(j, bulletForce);
    for (int i = 0; i < Size - 1; ++i) {
      if (i % Stretch == 0) ShotsNearStretch(i, j, bulletForce);
      TGridPoint& p = Lattice[i][j];
      bool disturbed = false;

      // Bullets shove the lattice aside as they fly over it.
      for (const int b : NearShots) {
        const TVector3& bullet = Shots[b];
        const float dx = bullet.X - p.Position.X;
        if (dx >= BulletReach || dx <= -BulletReach) continue;
        const float dy = bullet.Y - p.Position.Y;
        if (dy >= BulletReach || dy <= -BulletReach) continue;
        const float dz = bullet.Z - p.Position.Z;
        const float r2 = dx * dx + dy * dy + dz * dz;
        if (r2 >= reach2) continue;
        const float r = std::sqrt(r2);
        if (!(r < BulletReach)) continue;
        disturbed = true;
        // A bullet dead on the point has no direction to push in.
        if (r > 0) PushAlong(p, dx, dy, dz, r, bulletForce, PushDepthDamp);
      }

      // The gravi-bomb ring: its radius grows with every point processed.
      if (ShockwaveActive) {
        ShockwaveWidth = RingWidth;
        ShockwaveGrowth = RingGrowth;
        ShockwaveLimit = RingLimit;
        const float dx = ShockwaveCentre.X - p.Position.X;
        const float dy = ShockwaveCentre.Y - p.Position.Y;
        const float dz = ShockwaveCentre.Z - p.Position.Z;
        const float r = std::sqrt(dx * dx + dy * dy + dz * dz);
        ShockwaveRadius += ShockwaveGrowth;
        ++ShockwaveSteps;
        if (ShockwaveSteps > ShockwaveLimit) {
          ShockwaveRadius = StartRadius;
          ShockwaveSteps = 0;
          ShockwaveActive = false;
        }
        if (r > ShockwaveRadius - ShockwaveWidth && r < ShockwaveRadius && r > 0) {
          PushAlong(p, dx, dy, dz, r, ringForce, PushDepthDamp);
          disturbed = true;
        }
      }

      // Points left alone are pushed from (or, after a hit, sucked to) the
      // ship and pulled by the gravitars.
      if (!disturbed) {
        const float s = -Gravity * Push;
        if (s != 0) Attract(p, Centre.X, Centre.Y, s);  // Centre.Z is the well depth
        p.K = PulledStiffness;
        for (const TPuller& well : WellPulls) Attract(p, well.X, well.Y, well.Strength);
      }

      // Black holes and bosses bend the lattice even under a bullet or the ring.
      for (const TPuller& warper : WarperPulls) Attract(p, warper.X, warper.Y, warper.Strength);
      if (!WarperPulls.empty()) p.K = PulledStiffness;

      // The spring back to the rest place, damped.
      p.Acceleration.X = (p.Rest.X - p.Position.X) * p.K;
      p.Acceleration.Y = (p.Rest.Y - p.Position.Y) * p.K;
      p.Acceleration.Z = (p.Rest.Z - p.Position.Z) * p.K;
      p.Velocity.X = (p.Velocity.X + p.Acceleration.X) * Damping;
      p.Velocity.Y = (p.Velocity.Y + p.Acceleration.Y) * Damping;
      p.Velocity.Z = (p.Velocity.Z + p.Acceleration.Z) * Damping;
      p.Position.X += p.Velocity.X;
      p.Position.Y += p.Velocity.Y;
      p.Position.Z += p.Velocity.Z;

      p.K -= StiffnessDecay;
      if (p.K < StiffnessFloor) p.K = StiffnessFloor;
    }
  }
}

void TGeometryGrid::GatherSources() {
  Shots.clear();
  WellPulls.clear();
  WarperPulls.clear();
  if (Repulsors)
    for (const TBlob* b : *Repulsors)
      if (b->Active) Shots.push_back(b->Position);
  if (Wells)
    for (const TBlob* w : *Wells)
      if (w->Active) WellPulls.push_back({w->Position.X, w->Position.Y, Gravity * w->WellMass()});
  if (Attractors)
    for (const TBlob* a : *Attractors)
      if (a->Active) WarperPulls.push_back({a->Position.X, a->Position.Y, Gravity * a->GridMass});
}

namespace {
// The bullets a stretch of the lattice keeps, given how far each lies
// outside the box its points stand in (on its farther axis). Its points stand
// where the last step left them until their turn, and a push moves a point at
// most |force| on each axis; so a bullet farther than the reach plus every
// push the nearer ones could give cannot pass a point's own test, and leaving
// it out changes nothing. The margin those kept lie within: it grows with
// every bullet it takes in, until it takes in no more.
float KeptMargin(const std::vector<float>& distance, float force) {
  const float push = std::fabs(force);
  std::size_t near = 0, within = 0;
  float margin;
  do {
    near = within;
    // One unit spare for the rounding of the point's own subtraction.
    margin = BulletReach + push * float(near) + 1.0f;
    within = 0;
    for (const float d : distance) within += d < margin;
  } while (within > near);
  return margin;
}
}  // namespace

void TGeometryGrid::ShotsNearRow(int j, float force) {
  RowShots.clear();
  if (Shots.empty()) return;
  // A point at no number is never pushed: it leaves the bounds alone.
  float low = INFINITY, high = -INFINITY;
  for (int i = 0; i < Size - 1; ++i) {
    const float y = Lattice[i][j].Position.Y;
    if (y < low) low = y;
    if (y > high) high = y;
  }
  ShotDistance.clear();
  for (const TVector3& s : Shots) ShotDistance.push_back(std::max(low - s.Y, s.Y - high));
  const float margin = KeptMargin(ShotDistance, force);
  for (int b = 0; b < int(Shots.size()); ++b)
    if (ShotDistance[b] < margin) RowShots.push_back(b);
}

void TGeometryGrid::ShotsNearStretch(int i0, int j, float force) {
  // Only the row's bullets can reach it; they keep their order.
  NearShots.clear();
  if (RowShots.empty()) return;
  float lowX = INFINITY, highX = -INFINITY, lowY = INFINITY, highY = -INFINITY;
  for (int i = i0; i < i0 + Stretch && i < Size - 1; ++i) {
    const TVector3& at = Lattice[i][j].Position;
    if (at.X < lowX) lowX = at.X;
    if (at.X > highX) highX = at.X;
    if (at.Y < lowY) lowY = at.Y;
    if (at.Y > highY) highY = at.Y;
  }
  ShotDistance.clear();
  for (const int b : RowShots) {
    const TVector3& s = Shots[b];
    ShotDistance.push_back(std::max(std::max(lowX - s.X, s.X - highX), std::max(lowY - s.Y, s.Y - highY)));
  }
  const float margin = KeptMargin(ShotDistance, force);
  for (int k = 0; k < int(RowShots.size()); ++k)
    if (ShotDistance[k] < margin) NearShots.push_back(RowShots[k]);
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

void TGeometryGrid::PullPlayer(const TBlobList& wells, float divisor) {
  if (!Player) return;
  for (int w = 0; w < wells.Count(); ++w) {
    const TBlob& well = *wells[w];
    if (well.Active) PullByWell(*Player, well, Gravity, divisor, PlayerCap);
  }
}

void TGeometryGrid::PullEntities(const TBlobList& victims, const TBlobList& wells, float divisor) {
  for (int w = 0; w < wells.Count(); ++w) {
    TBlob& well = *wells[w];
    if (!well.Active) continue;
    for (int v = 0; v < victims.Count(); ++v) {
      TBlob& victim = *victims[v];
      // Wells never swallow each other, and messages float through everything.
      if (!victim.Active || victim.Kind == BlobKind::Gravitar || victim.Kind == BlobKind::Message) continue;
      if (well.Overlaps(&victim)) victim.Absorb();
      PullByWell(victim, well, Gravity, divisor, EntityCap);
    }
  }
}
