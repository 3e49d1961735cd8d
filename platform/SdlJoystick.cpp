#include "platform/SdlJoystick.h"

#include <algorithm>

#include "app/JoystickCalibration.h"

TSdlJoystick::TSdlJoystick() { SDL_AddEventWatch(WatchDevices, this); }

TSdlJoystick::~TSdlJoystick() {
  SDL_DelEventWatch(WatchDevices, this);
  Close();
}

int SDLCALL TSdlJoystick::WatchDevices(void* self, SDL_Event* event) {
  if (event->type == SDL_JOYDEVICEADDED || event->type == SDL_JOYDEVICEREMOVED)
    static_cast<TSdlJoystick*>(self)->DevicesChanged = true;
  return 1;
}

bool TSdlJoystick::Open() {
  for (int i = 0; i < SDL_NumJoysticks(); ++i) {
    if (SDL_IsGameController(i)) {
      Controller = SDL_GameControllerOpen(i);
      if (Controller) return true;
    }
    Stick = SDL_JoystickOpen(i);
    if (Stick) return true;
  }
  return false;
}

void TSdlJoystick::Close() {
  if (Controller) SDL_GameControllerClose(Controller);
  if (Stick) SDL_JoystickClose(Stick);
  Controller = nullptr;
  Stick = nullptr;
}

bool TSdlJoystick::Read(TJoyInfo& info) {
  // Fresh readings, and the news of pads plugged in or pulled out.
  SDL_GameControllerUpdate();
  if (Controller && !SDL_GameControllerGetAttached(Controller)) Close();
  if (Stick && !SDL_JoystickGetAttached(Stick)) Close();
  // Opening a device is slow: look for one only when SDL says the set of
  // pads changed, never every frame.
  if (!Controller && !Stick && !(DevicesChanged.exchange(false) && Open())) return false;

  if (Controller)
    ReadController(info);
  else
    ReadRawStick(info);
  return true;
}

void TSdlJoystick::ReadController(TJoyInfo& info) {
  auto axis = [this](SDL_GameControllerAxis a) { return int(SDL_GameControllerGetAxis(Controller, a)); };
  auto button = [this](SDL_GameControllerButton b) { return SDL_GameControllerGetButton(Controller, b) != 0; };
  TPadRaw pad;
  pad.LeftX = axis(SDL_CONTROLLER_AXIS_LEFTX);
  pad.LeftY = axis(SDL_CONTROLLER_AXIS_LEFTY);
  pad.RightX = axis(SDL_CONTROLLER_AXIS_RIGHTX);
  pad.RightY = axis(SDL_CONTROLLER_AXIS_RIGHTY);
  pad.RightTrigger = axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
  pad.West = button(SDL_CONTROLLER_BUTTON_X);
  pad.North = button(SDL_CONTROLLER_BUTTON_Y);
  pad.South = button(SDL_CONTROLLER_BUTTON_A);
  pad.East = button(SDL_CONTROLLER_BUTTON_B);
  info = ReadStandardPad(pad);
}

void TSdlJoystick::ReadRawStick(TJoyInfo& info) {
  int axes[3];
  bool buttons[4];
  const int axisCount = std::min(SDL_JoystickNumAxes(Stick), 3);
  const int buttonCount = std::min(SDL_JoystickNumButtons(Stick), 4);
  for (int a = 0; a < axisCount; ++a) axes[a] = SDL_JoystickGetAxis(Stick, a);
  for (int b = 0; b < buttonCount; ++b) buttons[b] = SDL_JoystickGetButton(Stick, b) != 0;
  info = ReadPlainJoystick(axes, size_t(std::max(axisCount, 0)), buttons, size_t(std::max(buttonCount, 0)));
}
