#include "tools/pilot/EntityCheck.h"

#include <cmath>
#include <cstdio>

#include "app/QuadrovoltMain.h"
#include "entities/blob.h"
#include "entities/blobPlayer.h"

namespace {
// Nothing in play may leave the arena by far or lose its position to a NaN.
bool Sane(const TBlob& b) {
  const TVector3& p = b.Position;
  return std::isfinite(p.X) && std::isfinite(p.Y) && std::isfinite(p.Z) && std::fabs(p.X) < 1000 &&
         std::fabs(p.Y) < 1000;
}
}  // namespace

bool EntitiesSane(const TQuadrovoltMain& game, char* why, std::size_t whySize) {
  for (TBlob* e : game.Enemies)
    if (e->Active && !Sane(*e)) {
      std::snprintf(why, whySize, "a kind %d entity stands at (%g, %g)", e->Kind, e->Position.X, e->Position.Y);
      return false;
    }
  for (TBlob* b : game.Bullets)
    if (b->Active && !Sane(*b)) {
      std::snprintf(why, whySize, "a bullet stands at (%g, %g)", b->Position.X, b->Position.Y);
      return false;
    }
  if (!Sane(*game.Player)) {
    std::snprintf(why, whySize, "the ship stands at (%g, %g)", game.Player->Position.X, game.Player->Position.Y);
    return false;
  }
  return true;
}
