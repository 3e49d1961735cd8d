#include "tools/pilot/EntityCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "app/World.h"
#include "entities/blob.h"
#include "entities/blobPlayer.h"
#include "gfx/ParticleEngine.h"
#include "gfx/PdxLib3D.h"
#include "gfx/geometryGrid.h"

namespace {
constexpr float EntityBound = 2000.0f;

bool Finite(const TVector3& v) { return std::isfinite(v.X) && std::isfinite(v.Y) && std::isfinite(v.Z); }

// Every number of the entity base that moves or scales it.
bool AllFinite(const TBlob& b) {
  return Finite(b.Position) && Finite(b.Velocity) && Finite(b.Target) && std::isfinite(b.Size) &&
         std::isfinite(b.PulseScale) && std::isfinite(b.Speed) && std::isfinite(b.Heading) && std::isfinite(b.Radius) &&
         std::isfinite(b.GridMass) && std::isfinite(b.WellMass());
}

// Every number of a particle that moves it.
bool AllFinite(const TParticle& p) { return Finite(p.Position) && Finite(p.Velocity) && std::isfinite(p.Speed); }

bool Within(const TVector3& p, float bound) { return std::fabs(p.X) <= bound && std::fabs(p.Y) <= bound; }

bool AnyActive(const TBlobList& list) {
  for (const TBlob* b : list)
    if (b->Active) return true;
  return false;
}

bool Broken(char* why, std::size_t whySize, const char* what, const TBlob& b, const char* rule) {
  std::snprintf(why, whySize, "%s (kind %d) stands at (%g, %g): %s", what, b.Kind, b.Position.X, b.Position.Y, rule);
  return false;
}
}  // namespace

bool TEntityCheck::InBounds(const TBlob& b, float bound, bool wellsActive, const char* what, char* why,
                            std::size_t whySize) {
  if (!AllFinite(b)) return Broken(why, whySize, what, b, "a number is not finite");
  if (Within(b.Position, bound)) return true;
  if (std::find(Flung.begin(), Flung.end(), &b) != Flung.end())
    return Broken(why, whySize, what, b, "still out of bounds a frame after it left them");
  if (!wellsActive) return Broken(why, whySize, what, b, "out of bounds with no gravity well to fling it");
  FlungNow.push_back(&b);
  return true;
}

bool TEntityCheck::Check(const TWorld& world, char* why, std::size_t whySize) {
  FlungNow.clear();
  const bool wells = AnyActive(world.GravityWells());
  const TBlobPlayer& ship = world.Player();
  if (!InBounds(ship, ArenaHalf, wells, "the ship", why, whySize)) return false;
  for (const TBlob* e : world.Enemies()) {
    const float bound = e->State == BlobState::Dying ? std::numeric_limits<float>::infinity() : EntityBound;
    if (e->Active && !InBounds(*e, bound, wells, "an enemy", why, whySize)) return false;
  }
  for (const TBlob* b : world.Bullets())
    if (b->Active && !InBounds(*b, EntityBound, wells, "a bullet", why, whySize)) return false;
  Flung.swap(FlungNow);

  const TParticleEngine& particles = world.Particles();
  for (int i = 0; i < particles.Count(); ++i)
    if (particles[i].Active && !AllFinite(particles[i])) {
      std::snprintf(why, whySize, "a particle stands at (%g, %g): a number is not finite", particles[i].Position.X,
                    particles[i].Position.Y);
      return false;
    }
  // The whole lattice at once; only a broken one is searched for the point.
  const TGeometryGrid& grid = world.Grid();
  if (!grid.AllFinite())
    for (int i = 0; i < TGeometryGrid::Size; ++i)
      for (int j = 0; j < TGeometryGrid::Size; ++j) {
        const TGridPoint p = grid.Point(i, j);
        if (!Finite(p.Position) || !Finite(p.Velocity) || !std::isfinite(p.K)) {
          std::snprintf(why, whySize, "a grid point stands at (%g, %g): a number is not finite", p.Position.X,
                        p.Position.Y);
          return false;
        }
      }
  return true;
}

bool EntitiesSane(const TWorld& world, char* why, std::size_t whySize) {
  static TEntityCheck check;
  return check.Check(world, why, whySize);
}
