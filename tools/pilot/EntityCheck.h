#pragma once
// What "every entity is sane" means for the developer tools' long runs, checked
// after every frame:
//  - no NaN or infinite number in the ship, the bullets, the enemies, the
//    particles or the grid: positions, velocities, targets, sizes, pulses,
//    speeds, headings, radii and masses;
//  - the ship inside the arena (-500..500 on X and Y);
//  - every active enemy and bullet within 2,000 units of the centre on X and Y,
//    but for a dying enemy: only a living one is clamped back into the arena,
//    so one flung out while it dies may stay out until its explosion ends.
// One exception follows the game: a gravity well pulls what passes it with a
// force capped from one side only, so a bullet (or anything else it pulls)
// skimming past a gravitar can be flung far out for one frame. That is the
// game's own behaviour, and the next frame's wall test brings a bullet back to
// the wall and spends it. So an entity may stand beyond its bound for the one
// frame after a well was about to fling it; still beyond it the frame after is
// a fault.
#include <cstddef>
#include <vector>

class TBlob;
class TWorld;

class TEntityCheck {
 public:
  // True when the frame just run is sane. Otherwise writes one line saying
  // which entity broke which rule and where.
  bool Check(const TWorld& world, char* why, std::size_t whySize);

 private:
  bool InBounds(const TBlob& b, float bound, bool wellsActive, const char* what, char* why, std::size_t whySize);

  std::vector<const TBlob*> Flung;     // beyond their bound after the last frame
  std::vector<const TBlob*> FlungNow;  // ... after this one
};

// The same check through one instance kept for the run: a tool plays one game.
bool EntitiesSane(const TWorld& world, char* why, std::size_t whySize);
