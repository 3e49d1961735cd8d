#include "enemies/blobGruntXY.h"

#include "gfx/PdxLib3D.h"
#include "sound/frmDXSounds.h"

namespace {
const TVector3 Square[4] = {{-20, 20, 0}, {-20, -20, 0}, {20, -20, 0}, {20, 20, 0}};
}

TBlobGruntXY::TBlobGruntXY() { TBlobGruntXY::Create(); }

void TBlobGruntXY::Create() {
  TBlobEnemy::Create();
  Kind = BlobKind::GruntXY;
  Points = 100;
  State = BlobState::Spawning;
  SetActive(false);
  Radius = 25;
  SetActive(true);
  BodyColour = MakeColor(0, 1, 1);
  SetOutline(Square, 4);
  DyingLength = 50;

  PointsColour = BodyColour;
  EdgeColour = BodyColour;
  HitSound = &TFormSounds::PlayGruntHit;
  BlastAwardsPoints = true;
  // Seventeen pairs of dark and bright cyan.
  Burst.Rounds = 17;
  Burst.ColourCount = 2;
  Burst.Colours[0] = MakeColor(0, 0.5f, 0.5f);
  Burst.Colours[1] = MakeColor(0, 1, 1);
}
