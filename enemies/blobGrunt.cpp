#include "enemies/blobGrunt.h"

#include <cmath>

#include "entities/blobPlayer.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "sound/frmDXSounds.h"

namespace {
const TVector3 Square[4] = {{-20, 20, 0}, {-20, -20, 0}, {20, -20, 0}, {20, 20, 0}};
}

TBlobGrunt::TBlobGrunt() { TBlobGrunt::Create(); }

void TBlobGrunt::Create() {
  TBlobEnemy::Create();
  Kind = BlobKind::Grunt;
  Points = 50;
  State = BlobState::Spawning;
  SetActive(false);
  Radius = 25;
  SetActive(true);
  BodyColour = MakeColor(0, 0, 1);
  SetOutline(Square, 4);
  DyingLength = 50;
  FollowX = false;

  PointsColour = BodyColour;
  EdgeColour = MakeColor(0, 0, 0.6f);
  HitSound = &TFormSounds::PlayGruntHit;
  BlastAwardsPoints = false;
  Burst.Rounds = 17;  // of the body colour
}

void TBlobGrunt::UpdateSpawning() {
  // Drawn anew every spawning frame; the last draw picks the first axis.
  FollowX = Random() >= 0.5f;
  TBlobEnemy::UpdateSpawning();
}

void TBlobGrunt::Chase(float step) {
  if (!Player) return;
  const float target = FollowX ? Player->Position.X : Player->Position.Y;
  float& own = FollowX ? Position.X : Position.Y;
  // Level with the ship on this axis: switch axis, standing still this frame.
  if (std::fabs(target - own) < 1.0f) {
    FollowX = !FollowX;
    return;
  }
  if (target > own)
    own += step;
  else if (target < own)
    own -= step;
}
