#pragma once
// The browser's pads (the Gamepad API) read for the game as the desktop reads
// SDL's: a pad with the standard mapping flies with its left stick, aims with
// its right, fires with its right trigger and has its face buttons as the
// game's four; any other pad is a plain joystick (first two axes, first four
// buttons). The first connected pad is read; one plugged in or pulled out
// is picked up or dropped on the next frame.
#include "app/JoystickCalibration.h"
#include "app/Replay.h"

class TWebGamepad {
 public:
  // The pad as it reads now; Ok false when no pad is connected.
  TJoyReading Read();

 private:
  TPadChoice Choice;
};
