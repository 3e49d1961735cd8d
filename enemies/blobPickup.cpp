#include "enemies/blobPickup.h"

#include "entities/blobPlayer.h"
#include "gfx/GLPrinter.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Renderer.h"
#include "sound/frmDXSounds.h"

namespace {
const TVector3 Square[4] = {{-20, 20, 0}, {-20, -20, 0}, {20, -20, 0}, {20, 20, 0}};

struct TPickupLook {
  std::string_view Name;
  std::string_view Abbrev;
  TVector3 Body;
  TVector3 Text;
};

const TPickupLook Looks[PickupKinds::Count] = {
    {"Velocity x 1", "Vx1", {0.25f, 0.5f, 0}, {1, 1, 1}}, {"Velocity x 2", "Vx2", {0.5f, 0.75f, 0}, {1, 1, 1}},
    {"Velocity x 3", "Vx3", {0.75f, 1, 0}, {1, 1, 1}},    {"Energy x 10", "E10", {1, 0, 1}, {1, 1, 0}},
    {"Energy x 50", "E50", {1, 0, 1}, {1, 1, 1}},         {"Bullet x 1", "Bx1", {0, 0, 1}, {1, 0, 1}},
    {"Bullet x 2", "Bx2", {0, 0, 1}, {1, 0, 1}},          {"Bullet x 3", "Bx3", {0, 0, 1}, {1, 0, 1}},
    {"Gravi Bomb", "GrB", {0, 0, 1}, {1, 1, 1}},
};

void Repair(TBlobPlayer& player, int amount) {
  player.Damage -= amount;
  if (player.Damage < 0) player.Damage = 0;
}
}  // namespace

void ApplyPickup(TBlobPlayer& player, std::uint8_t kind) {
  switch (kind) {
    case PickupKinds::Velocity1: player.Speed = 4; break;
    case PickupKinds::Velocity2: player.Speed = 6; break;
    case PickupKinds::Velocity3: player.Speed = 8; break;
    case PickupKinds::Energy10: Repair(player, 10); break;
    case PickupKinds::Energy50: Repair(player, 50); break;
    case PickupKinds::Bullet1: player.BulletLevel = 1; break;
    case PickupKinds::Bullet2: player.BulletLevel = 2; break;
    case PickupKinds::Bullet3: player.BulletLevel = 3; break;
    case PickupKinds::GraviBomb: player.GraviBombs += 1; break;
    default: break;
  }
}

TBlobPickup::TBlobPickup() { TBlobPickup::Create(); }

void TBlobPickup::Create() {
  TBlobEnemy::Create();
  Kind = BlobKind::Pickup;
  BodyColour = MakeColor(1, 1, 1);
  Points = 0;
  State = BlobState::Spawning;
  SetActive(false);
  Radius = 1;
  SetActive(true);
  SetOutline(Square, 4);  // only seen when it flies apart
  DyingLength = 50;

  Age = 0;
  FadeTimer = 0;
  TextColour = MakeColor(1, 1, 1);
  PickupName = {};
  PickupAbbrev = {};
  SpinAngle = 0;
  ShownAngle = 0;
  Collected = false;
  PickupKind = 0;

  EdgeColour = MakeColor(0, 0, 0.6f);
  HitSound = &TFormSounds::PlayGruntHit;
  BlastAwardsPoints = false;
  Burst.Rounds = 17;  // of the body colour
}

void TBlobPickup::SetSpawn(const TVector3& position, int lives, bool fixedSpawn, const TVector3& extra) {
  TBlobEnemy::SetSpawn(position, lives, fixedSpawn, extra);
  Age = 0;
  FadeTimer = 0;
  // A kind the table does not know keeps the blank look and gives nothing.
  if (PickupKind < PickupKinds::Count) {
    const TPickupLook& look = Looks[PickupKind];
    PickupName = look.Name;
    PickupAbbrev = look.Abbrev;
    BodyColour = look.Body;
    TextColour = look.Text;
  }
}

void TBlobPickup::Collect() {
  if (State != BlobState::Alive) return;
  Shield = 0;
  OnDestroyed.Fire(this);
  Collected = true;
  State = BlobState::Dying;
}

void TBlobPickup::UpdateSpawning() {
  SpinAngle = 0;
  Collected = false;  // shot, bombed or absorbed pickups leave it false: no name shown
  Speed = 1.0f;       // a pickup never moves
  PlaceForSpawn();
  ResetForSpawn();
  if (!Active) return;
  ShowPickup();
  GrowIn();
}

void TBlobPickup::UpdateAlive() {
  if (HitFlash > 0) {
    --HitFlash;
    EmitHitSparks();
  }
  ShowPickup();
  ClampToArena(Position);
}

void TBlobPickup::DrawDyingText(float t) const {
  if (!Collected || !Printer) return;
  const TVector3 at = MakeVector(Picture.At.X - 5.0f * float(PickupName.size()), Picture.At.Y, Picture.At.Z);
  Printer->PrintText(PickupName, at, TVector3{}, MakeVector(1 - t / 4, 1 - t, 1),
                     MakeColor4(TextColour.X, TextColour.Y, TextColour.Z, 1 - t));
}

void TBlobPickup::ShowPickup() {
  ++Age;
  if (Age > MaxAge) {
    // Left alone too long: gone, with no explosion and no OnDestroyed.
    SetActive(false);
    return;
  }
  if (Age > BlinkAge) {
    // 5 frames shown, 6 hidden.
    --FadeTimer;
    if (FadeTimer < 0) FadeTimer = 10;
    if (FadeTimer <= 5) return;
  }
  // The frames turn before the label does.
  ShownAngle = SpinAngle;
  SpinAngle += 4;
  TakePicture(State == BlobState::Spawning ? BlobShown::Spawning : BlobShown::Alive, 1);
}

void TBlobPickup::DrawPickup() const {
  DrawFrame(ShownAngle, 1, 1, 0);
  DrawFrame(ShownAngle, 0, 0, 1);

  TRenderer& gl = GL();
  gl.PushMatrix();
  gl.Translate(Picture.At.X, Picture.At.Y, Picture.At.Z);
  gl.Rotate(ShownAngle + 4, 0, 1, 0);
  if (Printer) Printer->PrintAt(2, TextColour, -12, 0, MakeVector(0.75f, 0.5f, 1), PickupAbbrev);
  gl.PopMatrix();
}

void TBlobPickup::DrawFrame(float angle, float ax, float ay, float az) const {
  TRenderer& gl = GL();
  gl.PushMatrix();
  gl.Translate(Picture.At.X, Picture.At.Y, Picture.At.Z);
  gl.Rotate(angle, ax, ay, az);
  gl.LineWidth(1);
  gl.Color(BodyColour.X, BodyColour.Y, BodyColour.Z, 1);
  gl.Begin(TPrimitive::LineLoop);
  gl.Vertex(-12, 15, 0);
  gl.Vertex(-12, -15, 0);
  gl.Vertex(12, -15, 0);
  gl.Vertex(12, 15, 0);
  gl.End();
  gl.PopMatrix();
}
