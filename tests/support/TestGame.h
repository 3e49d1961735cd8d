#pragma once
// A whole game for tests: the windowless game with the recording renderer and
// sound device, a fixed seed, a pad scripted by the test (or a real one read
// before every tick) and its own folder. Input goes through the host as any
// host's would; Game is the game object, read only; TArrange sets up a situation.
#include <filesystem>

#include "app/GameConstants.h"
#include "app/QuadrovoltMain.h"
#include "app/World.h"
#include "entities/blobPlayer.h"
#include "gfx/RecordingRenderer.h"
#include "sound/RecordingSoundDevice.h"
#include "tests/support/Arrange.h"
#include "tools/harness/WindowlessGame.h"

struct TTestGame {
  // The seed also draws the level script.
  explicit TTestGame(std::uint8_t inputMode = InputModes::Mouse, TJoystick* pad = nullptr, std::uint64_t seed = 1234)
      : Pad(pad),
        Windowless(Setup(inputMode, seed)),
        Host(Windowless.Host()),
        Game(&TArrange(Host).ReadOnly()),
        Dir(Windowless.Folder()) {}

  void Key(int vk, bool down) { down ? Host.KeyDown(vk) : Host.KeyUp(vk); }
  void Tap(int vk) {
    Key(vk, true);
    Key(vk, false);
  }
  void Click(bool down) { Host.Button(true, down); }
  // The pad as the test set it (or the real one as it reads now), then read.
  void PushJoystick() {
    if (Pad) Joystick.Ok = Pad->Read(Joystick.Info);
    Host.SetJoystick(Joystick);
  }
  void ReadJoystick() {
    PushJoystick();
    TArrange(Host).ReadJoystick();
  }
  // Runs n ticks; the recorder keeps only the last frame.
  void Run(int n) {
    for (int i = 0; i < n; ++i) {
      Recorder.Reset();
      PushJoystick();
      Host.Tick();
    }
  }
  // From the title into play with a click (mouse mode).
  void StartPlaying() {
    TArrange(Host).TitleReadyForFire();
    Click(true);
    Run(1);
    Click(false);
  }
  // The window closes: the game object goes (saving as it goes); its folder stays.
  void Close() { Windowless.Close(); }
  TBlobPlayer& Player() { return TArrange(Host).World().Player(); }

  TWindowlessSetup Setup(std::uint8_t inputMode, std::uint64_t seed) {
    TWindowlessSetup setup;
    setup.Host.ControlMode = inputMode;
    setup.Seed = seed, setup.Renderer = &Recorder, setup.Sound = &Sound;
    return setup;
  }

  TRecordingRenderer Recorder;
  TRecordingSoundDevice Sound;
  TJoyReading Joystick{true, {}};
  TJoystick* Pad;
  TWindowlessGame Windowless;
  TGameHost& Host;
  const TQuadrovoltMain* Game;  // read only: a situation is set up through TArrange
  std::filesystem::path Dir;
};
