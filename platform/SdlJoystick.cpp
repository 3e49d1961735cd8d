#include "platform/SdlJoystick.h"

namespace {
// SDL's -32768..32767 to the game's 0..65535 with 32767 at rest.
unsigned ToAxis(Sint16 v) {
  int scaled = int(v) + 32767;
  return unsigned(scaled < 0 ? 0 : (scaled > 65535 ? 65535 : scaled));
}
}  // namespace

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
  if (Controller && !SDL_GameControllerGetAttached(Controller)) Close();
  if (Stick && !SDL_JoystickGetAttached(Stick)) Close();
  if (!Controller && !Stick && !Open()) return false;

  SDL_GameControllerUpdate();
  if (Controller) {
    info.XPos = ToAxis(SDL_GameControllerGetAxis(Controller, SDL_CONTROLLER_AXIS_LEFTX));
    info.YPos = ToAxis(SDL_GameControllerGetAxis(Controller, SDL_CONTROLLER_AXIS_LEFTY));
    info.ZPos = 32767;
    info.Buttons = (SDL_GameControllerGetButton(Controller, SDL_CONTROLLER_BUTTON_X) ? 1u : 0u) |
                   (SDL_GameControllerGetButton(Controller, SDL_CONTROLLER_BUTTON_Y) ? 2u : 0u) |
                   (SDL_GameControllerGetButton(Controller, SDL_CONTROLLER_BUTTON_A) ? 4u : 0u) |
                   (SDL_GameControllerGetButton(Controller, SDL_CONTROLLER_BUTTON_B) ? 8u : 0u);
    return true;
  }
  info.XPos = SDL_JoystickNumAxes(Stick) > 0 ? ToAxis(SDL_JoystickGetAxis(Stick, 0)) : 32767;
  info.YPos = SDL_JoystickNumAxes(Stick) > 1 ? ToAxis(SDL_JoystickGetAxis(Stick, 1)) : 32767;
  info.ZPos = SDL_JoystickNumAxes(Stick) > 2 ? ToAxis(SDL_JoystickGetAxis(Stick, 2)) : 32767;
  info.Buttons = 0;
  for (int b = 0; b < 4 && b < SDL_JoystickNumButtons(Stick); ++b)
    if (SDL_JoystickGetButton(Stick, b)) info.Buttons |= 1u << b;
  return true;
}
