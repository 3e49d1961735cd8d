#include "app/QuadrovoltMain.h"

#include <cmath>
#include <filesystem>

#include "app/AtomicFile.h"
#include "app/GameConstants.h"
#include "app/SaveFile.h"
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

namespace {
constexpr TIntRect ArenaRect{-500, 500, 500, -500};

std::unique_ptr<TMS3DObj> LoadModel(const char* memoName) {
  auto model = std::make_unique<TMS3DObj>();
  model->LoadFromMemo(memoName);
  return model;
}
}  // namespace

TQuadrovoltMain::TQuadrovoltMain(TSoundDevice& soundDevice, TJoystick& joystick, std::string savePath)
    : Progress(std::move(savePath)), Joystick(joystick) {
  ModelSphereTile = LoadModel("MemoSphereTile16x16");
  ModelRectFrame = LoadModel("MemoRectFrame16x16");
  ModelGeoSphere = LoadModel("MemoGeoSphere");

  Grid = std::make_unique<TGeometryGrid>();

  Printer = std::make_unique<TGLPrinter>();
  Printer->SetText(TitleScrollerText());

  FormSounds = std::make_unique<TFormSounds>(soundDevice);

  Particles = std::make_unique<TParticleEngine>(ArenaRect);
  Particles->Model = ModelSphereTile.get();

  Player = std::make_unique<TBlobPlayer>();
  Player->Radius = 25;
  Player->Damage = 0;

  Grid->Repulsors = &Bullets;
  for (int i = 0; i < BulletCount; ++i) Bullets.Adopt(std::make_unique<TBlobBullet>());
  Grid->Wells = &GravityWells;
  Grid->Attractors = &GridWarpers;
  Grid->Player = Player.get();

  // The level script draws its random positions now: a replay keeps this
  // state so that it can draw the same script again.
  ScriptState = RandomState();
  LevelManager = std::make_unique<TLevelManager>();
  LevelManager->Sounds = FormSounds.get();
  LevelManager->Player = Player.get();
  LevelManager->Particles = Particles.get();
  LevelManager->Printer = Printer.get();
  LevelManager->Enemies = &Enemies;
  LevelManager->ModelSphereTile = ModelSphereTile.get();
  LevelManager->ModelRectFrame = ModelRectFrame.get();
  LevelManager->ModelGeoSphere = ModelGeoSphere.get();
  LevelManager->GravityWells = &GravityWells;
  LevelManager->GridWarpers = &GridWarpers;
  LevelManager->OnLevelComplete = TBlobEvent::Bind<&TQuadrovoltMain::OnLevelComplete>(this);

  LoadGame();

  Joystick.Recorder = &Recorder;
  const auto folder = std::filesystem::path(Progress.SavePath()).parent_path();
  ReplayLastPath = (folder / ReplayLastName).string();
  ReplayBestPath = (folder / ReplayBestName).string();
  RemoveStaleTemporary(ReplayLastPath.c_str());
  RemoveStaleTemporary(ReplayBestPath.c_str());
}

TQuadrovoltMain::~TQuadrovoltMain() {
  // Closing the window mid-game ends the game: its replay is kept too.
  if (InGame) FinishGame();
  // Quitting mid-game, or closing the window, keeps a new best score.
  SaveIfChanged();
  // The manager and the grid only borrow the lists; let go of them first.
  LevelManager.reset();
  Grid.reset();
}

void TQuadrovoltMain::SetSoundOn(bool on) { FormSounds->SetSoundOn(on); }

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
  if (newState == GameState::Title && InGame) GameEnded();
  State = newState;
  if (newState != GameState::Title) {
    FormSounds->StopIntro();
    IntroPlaying = false;
    return;
  }
  // Escape out of a game keeps a new best score, as a game over would.
  SaveIfChanged();
  LevelManager->Reset();
  Particles->Clear();
  Player->Position = TVector3{};
  CursorX = CursorY = 0;
  for (TBlob* b : Bullets) b->SetActive(false);
  Grid->Initialise();
  StateTimer = GameOverFrames;
}

void TQuadrovoltMain::OnLevelComplete(TBlob*) {
  FormSounds->PlayNewLevel();
  ++Level;
  if (Level > LevelManager->LevelCount - 1) Level = 1;
  if (Progress.LevelReached(Level)) SaveGame();
}

void TQuadrovoltMain::Step() {
  // The HUD shows the figures as they stood before this step.
  Shown.State = State;
  Shown.Hud = State != GameState::Title;
  Shown.Score = Player->Score;
  Shown.HiScore = Progress.HiScore();
  Shown.GraviBombs = Player->GraviBombs;
  Shown.Damage = Player->Damage;
  Shown.Watching = Watching();

  switch (State) {
    case GameState::Title:
      if (!IntroPlaying) {
        FormSounds->PlayIntro();
        IntroPlaying = true;
      }
      TitleFrame();
      ResetPlayerForTitle();
      if (--StateTimer < 0) StateTimer = 0;
      break;

    case GameState::Playing:
      if (Keys[VK::Space] && !Grid->ShockwaveActive && Player->GraviBombs > 0) {
        FormSounds->PlayGraviBomb();
        Grid->AddShockwave(Player->Position);
        --Player->GraviBombs;
      }
      if (IntroPlaying) {
        FormSounds->StopIntro();
        IntroPlaying = false;
      }
      LevelManager->Update(Level);
      PlayFrame();
      TakeCursorPicture();
      if (Player->Damage > 100) {
        Player->Wrecked = true;
        for (TBlob* well : GravityWells) well->SetActive(false);
        SetState(GameState::GameOver);
        StateTimer = GameOverFrames;
      }
      Progress.ScoreReached(Player->Score);
      break;

    case GameState::GameOver:
      LevelManager->Update(Level);
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
  if (Shown.Grid) Grid->Draw();
  if (Shown.TargetCross) DrawTargetCross();
  if (Shown.Ship) TBlobPlayer::DrawShipAt(Shown.ShipAt, Shown.ShipHeading, Shown.ShipAim);
  DrawArenaBorder();
  for (const TBlob* e : Enemies) e->Draw();
  for (const TBlob* b : Bullets) b->Draw();
  Particles->Draw();
}

void TQuadrovoltMain::ResetPlayerForTitle() {
  Player->Position = TVector3{};
  Player->Target = TVector3{};
  Player->Score = 0;
  Player->Speed = 4;
  Player->Damage = 0;
  Player->DamageHeld = false;
  Player->Wrecked = false;
  Player->BulletLevel = 1;
  Player->GraviBombs = 1;
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
  TBlobPlayer& player = *Player;

  Shown.Grid = GridEnabled;
  if (GridEnabled) Grid->Update();

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
      Particles->AddParticle(player.Position, true, DirTable[angle], grey ? 4 : 8,
                             grey ? TVector3{0.9f, 0.9f, 0.9f} : TVector3{0.9f, 0.9f, 0}, true, 4, 6, 10, 250, 8);
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
      FormSounds->PlayPlayerShoot();
      switch (player.BulletLevel) {
        case 1: FireBullet(0); break;
        case 2: FireBullet(1), FireBullet(-1); break;
        case 3: FireBullet(1), FireBullet(0), FireBullet(-1); break;
        default: break;
      }
    }
  }

  if (MouseRight) player.Target = TVector3{float(CursorX), float(CursorY), 0};

  Grid->SetPush(0);

  UpdateEntities();

  // Only a bullet that flies this step shows.
  for (TBlob* b : Bullets) b->Shown = BlobShown::Nothing;
  if (!gameOver) {
    for (TBlob* b : Bullets)
      if (b->Active) static_cast<TBlobBullet*>(b)->Fly(Enemies, Particles.get());
    Grid->PullEntities(Enemies, GravityWells, 8);
    Grid->PullEntities(Bullets, GravityWells, 1);
    Grid->PullPlayer(GravityWells, 1);
  }

  Particles->Update();
  Grid->SetCentre(RoundInt(player.Position.X), RoundInt(player.Position.Y));
  if (InGame) FoldChecksum();
}

void TQuadrovoltMain::UpdateEntities() {
  TBlobPlayer& player = *Player;
  // Walked by index: a pod's death may append its children while we go.
  for (int i = 0; i < Enemies.Count(); ++i) {
    TBlob* e = Enemies[i];
    if (e->Active)
      e->Update();
    else
      e->Shown = BlobShown::Nothing;
    if (!e->Active || e->Kind == BlobKind::Message || e->State != BlobState::Alive) continue;

    if (Grid->ShockwaveActive && CirclesOverlap(e->Position.X, e->Position.Y, e->Radius, Grid->ShockwaveCentre.X,
                                                Grid->ShockwaveCentre.Y, Grid->ShockwaveRadius))
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
  TBlobPlayer& player = *Player;
  FormSounds->PlayPlayerHit();
  Grid->SetPush(-4000000);
  if (player.BurstCooldown > 0) {
    --player.BurstCooldown;
    return;
  }
  player.BurstCooldown = 20;
  for (int i = 0; i < 8; ++i) {
    const TVector3& d = DirTable[Random(360)];
    TVector3 pos{player.Position.X + 20 * d.X, player.Position.Y + 20 * d.Y, player.Position.Z + 20 * d.Z};
    Particles->AddParticle(pos, true, d, 10, TVector3{1, 1, 1}, true, 2, 4, 50, 500, 8);
  }
}

void TQuadrovoltMain::FireBullet(int spread) {
  for (TBlob* b : Bullets) {
    if (b->Active) continue;
    static_cast<TBlobBullet*>(b)->Launch(Player->Position, float(Player->AimAngle + spread));
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
  Shown.GlowAt = Player->Position;
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
  ModelSphereTile->DrawColoured(TVector3{0.3f, 0.3f, 0.3f}, TVector3{0.3f, 0.3f, 0.3f});
  gl.PopMatrix();

  if (Shown.Cursor) {
    gl.PushMatrix();
    gl.Translate(float(Shown.CursorX), float(Shown.CursorY), 0);
    gl.PushMatrix();
    gl.Scale(25, 25, 0);
    ModelSphereTile->DrawColoured(TVector3{0.3f, 0.3f, 0}, TVector3{0.3f, 0.3f, 0});
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
