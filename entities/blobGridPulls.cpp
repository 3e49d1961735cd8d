// The grid's dealings with entities: what it reads of them each step (the
// bullets that push the lattice, the wells and warpers that pull it) and the
// wells' pull on the ship and on other entities. Here rather than in gfx/,
// since only entities know entities; the lattice itself works on numbers.
#include <cmath>

#include "entities/blob.h"
#include "gfx/geometryGrid.h"

namespace {
constexpr float EntityDepth = -0.01f;  // the ship and entities are pulled towards the lattice plane
constexpr float PlayerCap = 0.1f;
constexpr float EntityCap = 1.0f;

// The pull of a mass at (tx, ty, tz) with strength s on something at `at`:
// s*d/r^2 in the plane, s*dz/r^3 in depth. False when the two coincide: there
// is no direction to pull in, and dividing by r would poison the position.
struct TPull {
  float X, Y, Z;
};

bool PullTowards(const TVector3& at, float tx, float ty, float tz, float s, TPull& pull) {
  const float dx = tx - at.X, dy = ty - at.Y, dz = tz - at.Z;
  const float r2 = dx * dx + dy * dy + dz * dz;
  if (!(r2 > 0)) return false;
  const float r = std::sqrt(r2);
  pull.X = s * dx / r2;
  pull.Y = s * dy / r2;
  pull.Z = s * (dz / r) / r2;  // s*dz/r^3, ordered so it cannot underflow to 0/0
  return true;
}

// Wells pull from above only up to the cap; a pull the other way is not cut.
float CapFromAbove(float v, float cap) { return v > cap ? cap : v; }

// One well pulling one entity, capped towards +X, +Y and +Z only.
void PullByWell(TBlob& victim, const TBlob& well, float gravity, float divisor, float cap) {
  TPull pull;
  const float s = gravity * well.WellMass() / divisor;
  if (!PullTowards(victim.Position, well.Position.X, well.Position.Y, EntityDepth, s, pull)) return;
  victim.Position.X += CapFromAbove(pull.X, cap);
  victim.Position.Y += CapFromAbove(pull.Y, cap);
  victim.Position.Z += CapFromAbove(pull.Z, cap) / TGeometryGrid::DepthDamp;
}
}  // namespace

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
