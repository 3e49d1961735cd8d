#include "enemies/blobBoss.h"

#include "gfx/PdxLib3D.h"
#include "gfx/Renderer.h"
#include "sound/frmDXSounds.h"

void TBlobBoss::Create() {
  TBlobEnemy::Create();
  BlinkCounter = 0;
  BlinkPeriod = 8;
  DrawAtPosition = true;
  SpawnFullSize = 1.0f;

  SpawnShield = 250;
  HitSound = &TFormSounds::PlayGruntHit;
  DestroyedSound = nullptr;
  BlastAwardsPoints = false;
  FlashPulseFactor = 4;
  EdgeColour = MakeColor(0, 0, 0.6f);
  EdgeWidth = 2;
  SpreadRate = 0.05f;
  Burst = TDeathBurst();  // 17 of the body colour
}

void TBlobBoss::UpdateSpawning() {
  BlinkPeriod = 8;
  BlinkCounter = 0;
  Speed = 1.0f;
  PlaceForSpawn();
  ResetForSpawn();
  ResetBoss();
  if (!Active) return;
  SpawningFrame();
  GrowIn(SpawnFullSize);
}

void TBlobBoss::SpawningFrame() {
  TBlobEnemy::SpawningFrame();
  AdvanceBody();
}

void TBlobBoss::UpdateAlive() {
  AdvanceAlive();
  PulseGridMass();

  if (HitFlash < 1) {
    PingPong(PulseScale, PulseStep, PulseMin, PulseMax, 1.0f);
  } else {
    CountDownBlink();
    PingPong(PulseScale, PulseStep, PulseMin, PulseMax, FlashPulseFactor);
    --HitFlash;
    EmitHitSparks();
  }
  AdvanceBody();
  TakePicture(BlobShown::Alive, 1);

  // Bosses stand where they spawned; this only keeps a stray one in play.
  ClampToArena(Position);
}

void TBlobBoss::DrawAlive() const {
  TRenderer& gl = GL();
  gl.PushMatrix();
  if (DrawAtPosition) gl.Translate(Picture.At.X, Picture.At.Y, Picture.At.Z);
  gl.Color(BodyColour.X, BodyColour.Y, BodyColour.Z, 1);
  DrawBody();
  gl.PopMatrix();
}

void TBlobBoss::DrawSpawning() const {
  TRenderer& gl = GL();
  gl.PushMatrix();
  if (DrawAtPosition) gl.Translate(Picture.At.X, Picture.At.Y, Picture.At.Z);
  // Opens from a horizontal line to full height.
  gl.Scale(1, Picture.Scale, Picture.Scale);
  gl.Color(BodyColour.X, BodyColour.Y, BodyColour.Z, 1);
  DrawBody();
  gl.PopMatrix();
}

void TBlobBoss::PulseGridMass() {
  GridMass += GridMassStep;
  if (GridMass > GridMassPeak) GridMass = 0;
}

void TBlobBoss::CountDownBlink() {
  --BlinkCounter;
  if (BlinkCounter <= 0) BlinkCounter = BlinkPeriod;
}
