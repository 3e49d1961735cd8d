#pragma once
// The joystick through SDL: a game controller when SDL knows the pad (west,
// north, south and east face buttons are buttons 1 to 4), a raw joystick
// otherwise. A pad plugged in while the game runs is picked up on the next read.
#include <SDL.h>

#include "app/Joystick.h"

class TSdlJoystick : public TJoystick {
 public:
  ~TSdlJoystick() override { Close(); }
  bool Read(TJoyInfo& info) override;

 private:
  bool Open();
  void Close();

  SDL_GameController* Controller = nullptr;
  SDL_Joystick* Stick = nullptr;
};
