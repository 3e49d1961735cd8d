#pragma once
// A whole game object for tests: silent sound, a scripted joystick, the
// recording renderer, a fixed seed and a save file in a temporary folder.
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/FrameController.h"
#include "app/QuadrovoltMain.h"
#include "app/WindowMessages.h"
#include "entities/blobPlayer.h"
#include "gfx/Random.h"
#include "gfx/RecordingRenderer.h"
#include "sound/RecordingSoundDevice.h"

class TScriptedJoystick : public TJoystick {
 public:
  bool Present = true;
  TJoyInfo Next;
  bool Read(TJoyInfo& info) override {
    if (!Present) return false;
    info = Next;
    return true;
  }
};

struct TTestGame {
  // The scripted joystick unless a test brings its own.
  explicit TTestGame(std::uint8_t inputMode = InputModes::Mouse, TJoystick* joystick = nullptr) {
    static int serial = 0;
    Dir = std::filesystem::temp_directory_path() /
          ("quadrovolt-game-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
    std::filesystem::create_directories(Dir);
    RandomSeed(1234);
    SetRenderer(&Recorder);
    Game = std::make_unique<TQuadrovoltMain>(Sound, joystick ? *joystick : Joystick, (Dir / "QUADROVOLT.DAT").string());
    Game->InputMode = inputMode;
    Frame = std::make_unique<TFrameController>(Game.get());
  }
  ~TTestGame() {
    Frame.reset();
    Game.reset();
    SetRenderer(nullptr);
    std::filesystem::remove_all(Dir);
  }

  void Key(int vk, bool down) { Frame->HandleMessage(down ? Msg::KeyDown : Msg::KeyUp, unsigned(vk), 0); }
  void Tap(int vk) {
    Key(vk, true);
    Key(vk, false);
  }
  void Click(bool down) { Frame->HandleMessage(down ? Msg::LButtonDown : Msg::LButtonUp, 0, 0); }
  // Runs n ticks; the recorder keeps only the last frame.
  void Run(int n) {
    for (int i = 0; i < n; ++i) {
      Recorder.Reset();
      Frame->Tick();
    }
  }
  // From the title into play with a click (mouse mode).
  void StartPlaying() {
    Game->StateTimer = 0;
    Click(true);
    Run(1);
    Click(false);
  }
  TBlobPlayer& Player() { return *Game->Player; }

  std::filesystem::path Dir;
  TRecordingRenderer Recorder;
  TRecordingSoundDevice Sound;
  TScriptedJoystick Joystick;
  std::unique_ptr<TQuadrovoltMain> Game;
  std::unique_ptr<TFrameController> Frame;
};
