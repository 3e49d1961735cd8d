#include "app/QuadrovoltMain.h"

#include <cmath>
#include <filesystem>

#include "app/AtomicFile.h"
#include "app/GameConstants.h"
#include "app/SaveFile.h"
#include "app/World.h"
#include "enemies/blobPickup.h"
#include "entities/blobBullet.h"
#include "entities/blobPlayer.h"
#include "gfx/GLPrinter.h"
#include "gfx/MS3DObj.h"
#include "gfx/ParticleEngine.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "gfx/Renderer.h"
#include "gfx/geometryGrid.h"
#include "levels/LevelManager.h"
#include "sound/frmDXSounds.h"

TQuadrovoltMain::TQuadrovoltMain(TSoundDevice& soundDevice, TJoystick& joystick, std::string savePath)
    : Progress(std::move(savePath)),
      Arena(std::make_unique<TWorld>(soundDevice)),
      Session(joystick, Progress.SavePath(), ReplayLastName, ReplayBestName) {
  Arena->Printer().SetText(TitleScrollerText());
  Session.ScriptDrawnFrom(Arena->ScriptDrawnFrom());
  Arena->LevelManager().OnLevelComplete = TBlobEvent::Bind<&TQuadrovoltMain::OnLevelComplete>(this);

  LoadGame();
}

TQuadrovoltMain::~TQuadrovoltMain() {
  // Closing the window mid-game ends the game: its replay is kept too.
  if (Session.InGame()) FinishGame();
  // Quitting mid-game, or closing the window, keeps a new best score.
  SaveIfChanged();
}

void TQuadrovoltMain::SetSoundOn(bool on) { Arena->Sounds().SetSoundOn(on); }

void TQuadrovoltMain::SaveGame() {
  if (Watching()) return;  // a replay is only watched: the record stays the player's
  Progress.Save();
}

bool TQuadrovoltMain::TakeBetterSavedRecord() { return Progress.TakeBetterSavedRecord(); }

void TQuadrovoltMain::SaveIfChanged() {
  if (Progress.Changed()) SaveGame();
}

void TQuadrovoltMain::LoadGame() { Progress.Load(); }

void TQuadrovoltMain::SetState(std::uint8_t newState) {
  if (newState == GameState::Title && Session.InGame()) GameEnded();
  State = newState;
  if (newState != GameState::Title) {
    Arena->Sounds().StopIntro();
    IntroPlaying = false;
    return;
  }
  // Escape out of a game keeps a new best score, as a game over would.
  SaveIfChanged();
  Arena->LevelManager().Reset();
  Arena->Particles().Clear();
  Arena->Player().Position = TVector3{};
  CursorX = CursorY = 0;
  for (TBlob* b : Arena->Bullets()) b->SetActive(false);
  Arena->Grid().Initialise();
  StateTimer = GameOverFrames;
}

void TQuadrovoltMain::OnLevelComplete(TBlob*) {
  Arena->Sounds().PlayNewLevel();
  ++Level;
  if (Level > Arena->LevelManager().LevelCount - 1) Level = 1;
  if (Progress.LevelReached(Level)) SaveGame();
}

void TQuadrovoltMain::Step() {
  // The HUD shows the figures as they stood before this step.
  Shown.State = State;
  Shown.Hud = State != GameState::Title;
  Shown.Score = Arena->Player().Score;
  Shown.HiScore = Progress.HiScore();
  Shown.GraviBombs = Arena->Player().GraviBombs;
  Shown.Damage = Arena->Player().Damage;
  Shown.Watching = Watching();

  switch (State) {
    case GameState::Title:
      if (!IntroPlaying) {
        Arena->Sounds().PlayIntro();
        IntroPlaying = true;
      }
      TitleFrame();
      ResetPlayerForTitle();
      if (--StateTimer < 0) StateTimer = 0;
      break;

    case GameState::Playing:
      if (Keys[VK::Space] && !Arena->Grid().ShockwaveActive && Arena->Player().GraviBombs > 0) {
        Arena->Sounds().PlayGraviBomb();
        Arena->Grid().AddShockwave(Arena->Player().Position);
        --Arena->Player().GraviBombs;
      }
      if (IntroPlaying) {
        Arena->Sounds().StopIntro();
        IntroPlaying = false;
      }
      Arena->LevelManager().Update(Level);
      PlayFrame();
      TakeCursorPicture();
      if (Arena->Player().Damage > 100) {
        Arena->Player().Wrecked = true;
        for (TBlob* well : Arena->GravityWells()) well->SetActive(false);
        SetState(GameState::GameOver);
        StateTimer = GameOverFrames;
      }
      Progress.ScoreReached(Arena->Player().Score);
      break;

    case GameState::GameOver:
      Arena->LevelManager().Update(Level);
      PlayFrame();
      TakeCursorPicture();
      if (--StateTimer <= 0) {
        SaveGame();
        SetState(GameState::Title);
        StateTimer = GameOverFrames;
      }
      break;

    default: break;
  }
}

void TQuadrovoltMain::Render() const {
  TRenderer& gl = GL();
  gl.BeginFrameState();
  gl.Viewport(ViewportX, ViewportY, ScreenWidth, ScreenHeight);
  gl.Frustum(-1, 1, -1, 1, 1, 1000);
  gl.Enable(TCapability::Blend);
  gl.BlendFunc(TBlendMode::AlphaOneMinusAlpha);
  gl.ClearFrame();
  gl.LoadIdentity();
  gl.Translate(0, 0, -540);  // the camera looks down at the whole arena
  gl.Disable(TCapability::Lighting);
  gl.Color(1, 1, 1, 1);
  gl.LineWidth(2);

  if (Shown.Hud) DrawHud();
  switch (Shown.State) {
    case GameState::Title: DrawTitle(); break;
    case GameState::Playing:
    case GameState::GameOver:
      DrawArena();
      DrawCursorAndGlow();
      break;
    default: break;
  }
}

void TQuadrovoltMain::DrawArena() const {
  if (Shown.Grid) Arena->Grid().Draw();
  if (Shown.TargetCross) DrawTargetCross();
  if (Shown.Ship) TBlobPlayer::DrawShipAt(Shown.ShipAt, Shown.ShipHeading, Shown.ShipAim);
  DrawArenaBorder();
  for (const TBlob* e : Arena->Enemies()) e->Draw();
  for (const TBlob* b : Arena->Bullets()) b->Draw();
  Arena->Particles().Draw();
}

void TQuadrovoltMain::ResetPlayerForTitle() {
  Arena->Player().Position = TVector3{};
  Arena->Player().Target = TVector3{};
  Arena->Player().Score = 0;
  Arena->Player().Speed = 4;
  Arena->Player().Damage = 0;
  Arena->Player().DamageHeld = false;
  Arena->Player().Wrecked = false;
  Arena->Player().BulletLevel = 1;
  Arena->Player().GraviBombs = 1;
}

bool TQuadrovoltMain::FireFlag() const {
  switch (InputMode) {
    case InputModes::Keyboard: return KeyFire;
    case InputModes::Mouse: return MouseLeft;
    default: return JoyFire;
  }
}

void TQuadrovoltMain::PlayFrame() {
  const bool gameOver = State == GameState::GameOver;
  TBlobPlayer& player = Arena->Player();

  Shown.Grid = GridEnabled;
  if (GridEnabled) Arena->Grid().Update();

  Shown.TargetCross = false;
  bool moving = false;
  if (!gameOver) {
    const TVector3 before = player.Position;
    switch (InputMode) {
      case InputModes::Keyboard: ReadKeyboard(); break;
      case InputModes::Mouse: MoveByMouse(); break;
      default: ReadJoystick(); break;
    }
    moving = before.X != player.Position.X || before.Y != player.Position.Y;
  }
  const bool fire = FireFlag();

  PolarToXY(player.Velocity.X, player.Velocity.Y, player.Heading, player.Speed);
  ClampToArena(player.Position);

  // Exhaust: sparks thrown backwards while the ship flies. In mouse mode the
  // ship is idle on its target; with keys or stick, whenever it did not move.
  const bool idle = InputMode == InputModes::Mouse ? player.AtTarget : !moving;
  if (!gameOver && !idle) {
    for (int i = 0; i < 5; ++i) {
      int angle = WrapAngle(int(player.Heading) + 180 + Random(30) - 15);
      bool grey = Random() < 0.5f;
      Arena->Particles().AddParticle(player.Position, true, DirTable[angle], grey ? 4 : 8,
                                     grey ? TVector3{0.9f, 0.9f, 0.9f} : TVector3{0.9f, 0.9f, 0}, true, 4, 6, 10, 250,
                                     8);
    }
  }

  if (!gameOver && InputMode == InputModes::Mouse)
    player.AimAngle = AngleToPoint(RoundInt(player.Position.X), RoundInt(player.Position.Y), CursorX, CursorY);

  // Blinks while protected: shown on every fifth frame.
  if (player.Invulnerable > 0) --player.Invulnerable;
  Shown.Ship = player.Invulnerable % 5 == 0;
  Shown.ShipAt = player.Position;
  Shown.ShipHeading = player.Heading;
  Shown.ShipAim = player.AimAngle;

  if (!gameOver && fire) {
    if (--player.FireCountdown < 1) {
      player.FireCountdown = player.FireDelay;
      Arena->Sounds().PlayPlayerShoot();
      switch (player.BulletLevel) {
        case 1: FireBullet(0); break;
        case 2: FireBullet(1), FireBullet(-1); break;
        case 3: FireBullet(1), FireBullet(0), FireBullet(-1); break;
        default: break;
      }
    }
  }

  if (MouseRight) player.Target = TVector3{float(CursorX), float(CursorY), 0};

  Arena->Grid().SetPush(0);

  UpdateEntities();

  // Only a bullet that flies this step shows.
  for (TBlob* b : Arena->Bullets()) b->Shown = BlobShown::Nothing;
  if (!gameOver) {
    for (TBlob* b : Arena->Bullets())
      if (b->Active) static_cast<TBlobBullet*>(b)->Fly(Arena->Enemies(), &Arena->Particles());
    Arena->Grid().PullEntities(Arena->Enemies(), Arena->GravityWells(), 8);
    Arena->Grid().PullEntities(Arena->Bullets(), Arena->GravityWells(), 1);
    Arena->Grid().PullPlayer(Arena->GravityWells(), 1);
  }

  Arena->Particles().Update();
  Arena->Grid().SetCentre(RoundInt(player.Position.X), RoundInt(player.Position.Y));
  if (Session.InGame()) FoldChecksum();
}

void TQuadrovoltMain::UpdateEntities() {
  TBlobPlayer& player = Arena->Player();
  // Walked by index: a pod's death may append its children while we go.
  for (int i = 0; i < Arena->Enemies().Count(); ++i) {
    TBlob* e = Arena->Enemies()[i];
    if (e->Active)
      e->Update();
    else
      e->Shown = BlobShown::Nothing;
    if (!e->Active || e->Kind == BlobKind::Message || e->State != BlobState::Alive) continue;

    if (Arena->Grid().ShockwaveActive &&
        CirclesOverlap(e->Position.X, e->Position.Y, e->Radius, Arena->Grid().ShockwaveCentre.X,
                       Arena->Grid().ShockwaveCentre.Y, Arena->Grid().ShockwaveRadius))
      e->Blast();

    // While protected the ship passes through everything but pickups.
    if (player.Invulnerable > 0 && e->Kind != BlobKind::Pickup) continue;

    if (e->Kind == BlobKind::Boss3 || e->Kind == BlobKind::Boss4) {
      if (!e->HitTest(&player, player.Position.X, player.Position.Y)) continue;
      player.Hit();
      player.Hit();
    } else {
      if (e->CollideWith(&player) == 0) continue;
      if (e->Kind == BlobKind::Pickup) {
        auto* pickup = static_cast<TBlobPickup*>(e);
        ApplyPickup(player, pickup->PickupKind);
        pickup->Collect();
      }
    }
    ShipContact();
  }
}

void TQuadrovoltMain::ShipContact() {
  TBlobPlayer& player = Arena->Player();
  Arena->Sounds().PlayPlayerHit();
  Arena->Grid().SetPush(-4000000);
  if (player.BurstCooldown > 0) {
    --player.BurstCooldown;
    return;
  }
  player.BurstCooldown = 20;
  for (int i = 0; i < 8; ++i) {
    const TVector3& d = DirTable[Random(360)];
    TVector3 pos{player.Position.X + 20 * d.X, player.Position.Y + 20 * d.Y, player.Position.Z + 20 * d.Z};
    Arena->Particles().AddParticle(pos, true, d, 10, TVector3{1, 1, 1}, true, 2, 4, 50, 500, 8);
  }
}

void TQuadrovoltMain::FireBullet(int spread) {
  for (TBlob* b : Arena->Bullets()) {
    if (b->Active) continue;
    static_cast<TBlobBullet*>(b)->Launch(Arena->Player().Position, float(Arena->Player().AimAngle + spread));
    return;
  }
}

void TQuadrovoltMain::DrawArenaBorder() const {
  TRenderer& gl = GL();
  gl.Color(1, 1, 1, 1);
  gl.LineWidth(4);
  gl.Begin(TPrimitive::LineLoop);
  gl.Vertex(-500, 500, 0);
  gl.Vertex(-500, -500, 0);
  gl.Vertex(500, -500, 0);
  gl.Vertex(500, 500, 0);
  gl.End();
}

void TQuadrovoltMain::TakeCursorPicture() {
  Shown.GlowAt = Arena->Player().Position;
  Shown.Cursor = InputMode == InputModes::Mouse;
  Shown.CursorX = CursorX;
  Shown.CursorY = CursorY;
}

void TQuadrovoltMain::DrawCursorAndGlow() const {
  TRenderer& gl = GL();
  gl.Enable(TCapability::Lighting);
  gl.Disable(TCapability::Light0);
  gl.LightAmbient(0.3f, 0.3f, 0.3f, 0);

  gl.PushMatrix();
  gl.Translate(Shown.GlowAt.X, Shown.GlowAt.Y, Shown.GlowAt.Z);
  gl.Scale(25, 25, 0);
  Arena->ModelSphereTile().DrawColoured(TVector3{0.3f, 0.3f, 0.3f}, TVector3{0.3f, 0.3f, 0.3f});
  gl.PopMatrix();

  if (Shown.Cursor) {
    gl.PushMatrix();
    gl.Translate(float(Shown.CursorX), float(Shown.CursorY), 0);
    gl.PushMatrix();
    gl.Scale(25, 25, 0);
    Arena->ModelSphereTile().DrawColoured(TVector3{0.3f, 0.3f, 0}, TVector3{0.3f, 0.3f, 0});
    gl.PopMatrix();
    gl.Disable(TCapability::Lighting);
    gl.Color(1, 1, 0, 1);
    gl.LineWidth(2);
    gl.Begin(TPrimitive::Lines);
    gl.Vertex(-10, 10, 0);
    gl.Vertex(10, -10, 0);
    gl.Vertex(10, 10, 0);
    gl.Vertex(-10, -10, 0);
    gl.End();
    gl.PopMatrix();
  }

  gl.Disable(TCapability::Lighting);
  gl.Enable(TCapability::Blend);
  gl.BlendFunc(TBlendMode::AlphaOneMinusAlpha);
}
