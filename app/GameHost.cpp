#include "app/GameHost.h"

#include "app/QuadrovoltMain.h"
#include "app/World.h"
#include "entities/blobPlayer.h"
#include "gfx/ParticleEngine.h"

TGameHost::TGameHost(TSoundDevice& sound, const THostOptions& options)
    : GameObject(std::make_unique<TQuadrovoltMain>(sound, Joystick, options.SavePath)) {
  Joystick.Reading = &Next.Joystick;
  TQuadrovoltMain& game = *GameObject;
  game.InputMode = options.ControlMode;
  game.SetSoundOn(options.SoundOn);
  game.KeepReplays = options.KeepReplays;
  game.ReportFinalLine = options.ReportFinalLine;
  game.GridEnabled = options.Grid;
  game.Assists = options.Assists;
  if (options.AllLevelsOpen) game.Progress.OpenEveryLevel(40);
}

// The game object saves and writes its replays as it goes away.
TGameHost::~TGameHost() { GameObject.reset(); }

void TGameHost::Input(const TInputEvent& e) {
  using E = TInputEvent::TKind;
  switch (e.Kind) {
    case E::KeyDown: Next.Press(e.Key); break;
    case E::OtherKeyDown: Next.Press(-1); break;
    case E::KeyUp: Next.Release(e.Key); break;
    case E::LeftDown:
    case E::LeftUp: Next.Button(true, e.Kind == E::LeftDown); break;
    case E::RightDown:
    case E::RightUp: Next.Button(false, e.Kind == E::RightDown); break;
    case E::Cursor: Next.Cursor(e.X, e.Y); break;
  }
}

void TGameHost::EscapeRule() {
  // The game has seen the event first; Escape counts from the one after it.
  if (!HeldKeys[VK::Escape]) return;
  if (GameObject->State != GameState::Quit)
    GameObject->SetState(GameState::Title);
  else
    Looping = false;
}

void TGameHost::Deliver(const TInputEvent& e) {
  using E = TInputEvent::TKind;
  GameObject->TakeInput(e);
  EscapeRule();
  switch (e.Kind) {
    case E::KeyDown:
    case E::KeyUp: HeldKeys[std::size_t(e.Key)] = e.Kind == E::KeyDown; break;
    case E::LeftDown:
    case E::LeftUp: HeldLeft = e.Kind == E::LeftDown; break;
    case E::RightDown:
    case E::RightUp: HeldRight = e.Kind == E::RightDown; break;
    case E::Cursor: HeldCursorSet = true, HeldCursorX = e.X, HeldCursorY = e.Y; break;
    default: break;
  }
}

bool TGameHost::Step(const TTickInput& input) {
  using E = TInputEvent::TKind;
  Joystick.Reading = &input.Joystick;
  for (int i = 0; i < input.EventCount && i < TTickInput::MaxEvents; ++i) Deliver(input.Events[i]);
  // What is held but no event said (a host that sets the held state, or
  // events past the limit): pressed or released now, after the events.
  for (std::size_t k = 0; k < HeldKeys.size(); ++k)
    if (HeldKeys[k] != input.Keys[k]) Deliver(TInputEvent{input.Keys[k] ? E::KeyDown : E::KeyUp, int(k), 0, 0});
  if (HeldLeft != input.Left) Deliver(TInputEvent{input.Left ? E::LeftDown : E::LeftUp, 0, 0, 0});
  if (HeldRight != input.Right) Deliver(TInputEvent{input.Right ? E::RightDown : E::RightUp, 0, 0, 0});
  if (input.CursorSet && (!HeldCursorSet || HeldCursorX != input.CursorX || HeldCursorY != input.CursorY))
    Deliver(TInputEvent{E::Cursor, 0, input.CursorX, input.CursorY});
  // The tick itself: the replay's count moves on, Escape held counts again,
  // then the game steps unless it is paused.
  GameObject->TickBegins();
  EscapeRule();
  const bool steps = Looping && !GameObject->Paused;
  if (steps) GameObject->Step();
  Joystick.Reading = &Next.Joystick;
  return steps;
}

bool TGameHost::Step() {
  const bool stepped = Step(Next);
  Next.NextTick();
  return stepped;
}

void TGameHost::Render() const { GameObject->Render(); }

void TGameHost::Tick() {
  if (Step()) Render();
}

void TGameHost::Idle() {
  if (HeldKeys[VK::Escape] && GameObject->State == GameState::Quit) Looping = false;
}

void TGameHost::SetPicture(const TPicturePlace& place) {
  Place = place;
  TQuadrovoltMain& game = *GameObject;
  game.ScreenWidth = place.Width;
  game.ScreenHeight = place.Height;
  game.ViewportX = place.Left;
  game.ViewportY = place.Bottom;
}

void TGameHost::SetControlMode(std::uint8_t mode) { GameObject->InputMode = mode; }

void TGameHost::SetSoundOn(bool on) { GameObject->SetSoundOn(on); }

void TGameHost::ChooseStartLevel(int level) { GameObject->ShowStartLevel(level); }

void TGameHost::PlayNextGameOnSeed(std::uint64_t seed) { GameObject->PlayNextGameOnSeed(seed); }

void TGameHost::ShowBoard(const TBoardView& view) { GameObject->ShowBoard(view); }

void TGameHost::Watch(TReplay replay) { GameObject->StartWatching(std::move(replay)); }

void TGameHost::FinishGame() { GameObject->FinishGame(); }

void TGameHost::EndSession() {
  GameObject->FinishGame();
  GameObject->SaveIfChanged();
}

bool TGameHost::WriteRecording(const std::string& path) const {
  return GameObject->Replays().Recorder().Write(path.c_str());
}

std::vector<std::uint8_t> TGameHost::RecordingBytes() const { return GameObject->Replays().Recorder().Bytes(); }

bool TGameHost::Paused() const { return GameObject->Paused; }
bool TGameHost::WantsQuit() const { return !Looping; }
bool TGameHost::Watching() const { return GameObject->Watching(); }
bool TGameHost::Recording() const { return GameObject->Replays().Recorder().Recording(); }
std::uint8_t TGameHost::State() const { return GameObject->State; }
std::uint8_t TGameHost::ControlMode() const { return GameObject->InputMode; }
int TGameHost::Level() const { return GameObject->Level; }
int TGameHost::Score() const { return GameObject->World().Player().Score; }
int TGameHost::Damage() const { return GameObject->World().Player().Damage; }
int TGameHost::HiScore() const { return GameObject->Progress.HiScore(); }
int TGameHost::MaxLevel() const { return GameObject->Progress.MaxLevel(); }
const TReplayResult& TGameHost::LastResult() const { return GameObject->Replays().LastResult(); }
std::uint32_t TGameHost::ReplayDivergedAt() const { return GameObject->Replays().DivergedAt(); }

TGameHost::TShipReport TGameHost::Ship() const {
  const TBlobPlayer& p = GameObject->World().Player();
  return TShipReport{p.Position.X, p.Position.Y, p.AimAngle, GameObject->JoyFire, p.GraviBombs};
}

int TGameHost::EnemySlots() const { return GameObject->World().Enemies().Count(); }

int TGameHost::ActiveEnemies() const {
  int active = 0;
  for (const TBlob* e : GameObject->World().Enemies()) active += e->Active;
  return active;
}

int TGameHost::ActiveBullets() const {
  int active = 0;
  for (const TBlob* b : GameObject->World().Bullets()) active += b->Active;
  return active;
}

std::uint32_t TGameHost::RecordedTicks() const { return GameObject->Replays().Recorder().Ticks(); }

int TGameHost::ActiveParticles() const { return GameObject->World().Particles().ActiveCount(); }

const TWorld& TGameHost::World() const { return GameObject->World(); }
