#include "app/GameHost.h"

#include "app/FrameController.h"
#include "app/QuadrovoltMain.h"
#include "app/WindowMessages.h"
#include "entities/blobPlayer.h"

TGameHost::TGameHost(TSoundDevice& sound, const THostOptions& options)
    : GameObject(std::make_unique<TQuadrovoltMain>(sound, Joystick, options.SavePath)),
      Frame(std::make_unique<TFrameController>(GameObject.get())) {
  TQuadrovoltMain& game = *GameObject;
  game.InputMode = options.ControlMode;
  game.SetSoundOn(options.SoundOn);
  game.KeepReplays = options.KeepReplays;
  game.ReportFinalLine = options.ReportFinalLine;
  game.GridEnabled = options.Grid;
  game.Assists = options.Assists;
  if (options.AllLevelsOpen) game.MaxLevel = 40;
}

// The game object saves and writes its replays as it goes away.
TGameHost::~TGameHost() {
  Frame.reset();
  GameObject.reset();
}

void TGameHost::Input(const TInputEvent& e) { Looping = Frame->HandleInput(e) && Looping; }

void TGameHost::KeyDown(int vk) { Looping = Frame->HandleMessage(Msg::KeyDown, unsigned(vk), 0) && Looping; }

void TGameHost::KeyUp(int vk) { Looping = Frame->HandleMessage(Msg::KeyUp, unsigned(vk), 0) && Looping; }

void TGameHost::Button(bool left, bool down) {
  const unsigned message =
      left ? (down ? Msg::LButtonDown : Msg::LButtonUp) : (down ? Msg::RButtonDown : Msg::RButtonUp);
  Looping = Frame->HandleMessage(message, 0, 0) && Looping;
}

void TGameHost::PointerAt(int x, int y) {
  Looping = Frame->HandleMessage(Msg::MouseMove, 0, Msg::MakePoint(x, y)) && Looping;
}

void TGameHost::SetJoystick(const TJoyReading& reading) { Joystick.Reading = reading; }

bool TGameHost::Step() {
  Looping = Frame->Step() && Looping;
  return Frame->Stepped();
}

void TGameHost::Render() const { Frame->Render(); }

void TGameHost::Tick() { Looping = Frame->Tick() && Looping; }

void TGameHost::Idle() { Looping = Frame->IdleCheck() && Looping; }

void TGameHost::SetPicture(const TPicturePlace& place) {
  TQuadrovoltMain& game = *GameObject;
  game.ScreenWidth = place.Width;
  game.ScreenHeight = place.Height;
  game.ViewportX = place.Left;
  game.ViewportY = place.Bottom;
}

void TGameHost::SetControlMode(std::uint8_t mode) { GameObject->InputMode = mode; }

void TGameHost::SetSoundOn(bool on) { GameObject->SetSoundOn(on); }

void TGameHost::ChooseStartLevel(int level) { GameObject->LevelSelectOffset = level - 5; }

void TGameHost::PlayNextGameOnSeed(std::uint64_t seed) { GameObject->NextGameSeed = seed; }

void TGameHost::ShowBoard(const TBoardView& view) { GameObject->Board = view; }

void TGameHost::Watch(TReplay replay) { GameObject->StartWatching(std::move(replay)); }

void TGameHost::FinishGame() { GameObject->FinishGame(); }

void TGameHost::EndSession() {
  GameObject->FinishGame();
  GameObject->SaveIfChanged();
}

bool TGameHost::WriteRecording(const std::string& path) const { return GameObject->Recorder.Write(path.c_str()); }

bool TGameHost::Paused() const { return GameObject->Paused; }
bool TGameHost::WantsQuit() const { return !Looping; }
bool TGameHost::Watching() const { return GameObject->Watching(); }
bool TGameHost::Recording() const { return GameObject->Recorder.Recording(); }
std::uint8_t TGameHost::State() const { return GameObject->State; }
int TGameHost::Level() const { return GameObject->Level; }
int TGameHost::Score() const { return GameObject->Player->Score; }
int TGameHost::Damage() const { return GameObject->Player->Damage; }
int TGameHost::HiScore() const { return GameObject->HiScore; }
int TGameHost::MaxLevel() const { return GameObject->MaxLevel; }
const TReplayResult& TGameHost::LastResult() const { return GameObject->LastResult; }
std::uint32_t TGameHost::ReplayDivergedAt() const { return GameObject->ReplayDivergedAt; }
