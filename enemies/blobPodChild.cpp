#include "enemies/blobPodChild.h"

#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "sound/frmDXSounds.h"

TBlobPodChild::TBlobPodChild() { TBlobPodChild::Create(); }

void TBlobPodChild::Create() {
  TBlobPod::Create();
  Kind = BlobKind::PodChild;
  Points = 250;
  State = BlobState::Spawning;
  SetActive(false);
  Radius = 10;
  SetActive(true);
  const float r = Random(), g = Random(), b = Random();
  BodyColour = MakeColor(r, g, b);
  SetStar(10);
  DyingLength = 50;

  SpinStep = 4;
  // From 1 at the end of the grow-in to 5 after 80 alive frames.
  SpeedGain = 0.05f;
  SpeedLimit = 5.0f;
  SpeedReset = 5.0f;

  SpawnShield = 5;
  HitSound = &TFormSounds::PlayPodChildHit;
  DestroyedSound = &TFormSounds::PlayPodChildDestroyed;
  PointsColour = BodyColour;
  EdgeColour = BodyColour;
}
