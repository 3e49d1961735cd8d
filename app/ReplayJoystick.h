#pragma once
// The joystick the game object reads: the device, with every reading handed
// to the recorder while a game is recorded, or, while a replay plays, the
// replay's readings in place of the device's.
#include "app/Joystick.h"
#include "app/ReplayPlayer.h"
#include "app/ReplayRecorder.h"

class TReplayJoystick : public TJoystick {
 public:
  explicit TReplayJoystick(TJoystick& device) : Device(device) {}

  bool Read(TJoyInfo& info) override {
    if (Player) return Player->ReadJoystick(info);
    const bool ok = Device.Read(info);
    if (Recorder) Recorder->JoystickRead(ok, info);
    return ok;
  }

  TJoystick& Device;
  TReplayRecorder* Recorder = nullptr;
  TReplayPlayer* Player = nullptr;
};
