#include "enemies/blobPod.h"

#include "gfx/PdxLib3D.h"
#include "gfx/Renderer.h"
#include "sound/frmDXSounds.h"

TBlobPod::TBlobPod() { TBlobPod::Create(); }

void TBlobPod::Create() {
  TBlobEnemy::Create();
  Kind = BlobKind::Pod;
  Points = 5000;
  State = BlobState::Spawning;
  SetActive(false);
  Radius = 20;
  SetActive(true);
  BodyColour = MakeColor(0, 1, 0);
  SetStar(20);
  DyingLength = 50;

  BlinkCounter = 0;
  BlinkPeriod = 8;
  SpinAngle = 0;
  SpinStep = 0;  // the pod is never turned
  // The first alive frame drops it from 1 to 0.5, where it stays.
  SpeedGain = 0.005f;
  SpeedLimit = 0.25f;
  SpeedReset = 0.5f;

  SpawnShield = 25;
  OutlineWidth = 2;
  GlowScale = MakeVector(44 * 1.3f, 44 * 1.3f, 0);
  FlashPulseFactor = 4;
  HitSound = &TFormSounds::PlayPodHit;
  DestroyedSound = &TFormSounds::PlayPodDestroyed;
  BlastAwardsPoints = true;
  PointsColour = BodyColour;
  EdgeColour = BodyColour;
  Burst = TDeathBurst();
  Burst.Rounds = 64;  // of the body colour
  Burst.Style = 1;
  Burst.RandomSpeed = true;
  Burst.SpeedMin = 8;
  Burst.Speed = 12;
}

void TBlobPod::SetStar(float halfSize) {
  // Four points at the corners, pinched in halfway along each side.
  const float h = halfSize, p = halfSize / 2;
  const TVector3 star[StarPoints] = {{-h, h, 0}, {-p, 0, 0}, {-h, -h, 0}, {0, -p, 0},
                                     {h, -h, 0}, {p, 0, 0},  {h, h, 0},   {0, p, 0}};
  SetOutline(star, StarPoints);
}

void TBlobPod::UpdateSpawning() {
  SpinAngle = 0;
  BlinkPeriod = 8;
  BlinkCounter = 0;
  TBlobEnemy::UpdateSpawning();
}

void TBlobPod::DrawSpawning() const {
  TBlobEnemy::DrawSpawning();
  DrawAliveGlow();
}

void TBlobPod::AdvanceBody() {
  SpinAngle += SpinStep;
  if (SpinAngle >= 360) SpinAngle -= 360;
}

void TBlobPod::DrawBody() const {
  GL().LineWidth(OutlineWidth);
  GL().Rotate(SpinAngle, 0, 0, 1);
  DrawOutline();
}

void TBlobPod::EmitHitSparks() {
  --BlinkCounter;
  if (BlinkCounter <= 0) BlinkCounter = BlinkPeriod;
  Emit(Position, false, Target, 9, BodyColour, true, 2, 4, 100, 200, 8);
}

void TBlobPod::AdvanceSpeed() {
  Speed += SpeedGain;
  if (Speed > SpeedLimit) Speed = SpeedReset;
}
