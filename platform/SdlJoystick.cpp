#include "platform/SdlJoystick.h"

#include "platform/JoystickCalibration.h"

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
  auto button = [this](SDL_GameControllerButton b, unsigned bit) {
    return SDL_GameControllerGetButton(Controller, b) ? bit : 0u;
  };
  const TStickReading left = CalibrateStick(axis(SDL_CONTROLLER_AXIS_LEFTX), axis(SDL_CONTROLLER_AXIS_LEFTY));
  const TStickReading right = CalibrateStick(axis(SDL_CONTROLLER_AXIS_RIGHTX), axis(SDL_CONTROLLER_AXIS_RIGHTY));
  info.XPos = left.X;
  info.YPos = left.Y;
  info.ZPos = AxisCentre;
  info.Buttons = button(SDL_CONTROLLER_BUTTON_X, 1) | button(SDL_CONTROLLER_BUTTON_Y, 2) |
                 button(SDL_CONTROLLER_BUTTON_A, 4) | button(SDL_CONTROLLER_BUTTON_B, 8);
  info.RightX = right.X;
  info.RightY = right.Y;
  info.RightTrigger = CalibrateTrigger(axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT));
}

void TSdlJoystick::ReadRawStick(TJoyInfo& info) {
  // Which raw axes form a second stick differs from device to device (on a
  // flight stick the third is a throttle), so a raw joystick has none.
  const int axes = SDL_JoystickNumAxes(Stick);
  const TStickReading stick =
      CalibrateStick(axes > 0 ? SDL_JoystickGetAxis(Stick, 0) : 0, axes > 1 ? SDL_JoystickGetAxis(Stick, 1) : 0);
  info.XPos = stick.X;
  info.YPos = stick.Y;
  info.ZPos = axes > 2 ? ScaleAxis(SDL_JoystickGetAxis(Stick, 2)) : AxisCentre;
  info.Buttons = 0;
  for (int b = 0; b < 4 && b < SDL_JoystickNumButtons(Stick); ++b)
    if (SDL_JoystickGetButton(Stick, b)) info.Buttons |= 1u << b;
  info.RightX = AxisCentre;
  info.RightY = AxisCentre;
  info.RightTrigger = 0;
}
