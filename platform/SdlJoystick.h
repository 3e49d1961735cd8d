#pragma once
// The joystick through SDL: a game controller when SDL knows the pad (west,
// north, south and east face buttons are buttons 1 to 4, the right stick and
// right trigger come too), a raw joystick otherwise (its first two axes move,
// the third is the z axis). Both sticks are calibrated so that rest reads
// exact centre. The first pad found is used; one plugged in while the game
// runs is picked up on the next read, one pulled out is dropped.
#include <SDL.h>

#include <atomic>

#include "app/Joystick.h"

class TSdlJoystick : public TJoystick {
 public:
  TSdlJoystick();
  ~TSdlJoystick() override;
  TSdlJoystick(const TSdlJoystick&) = delete;
  TSdlJoystick& operator=(const TSdlJoystick&) = delete;

  bool Read(TJoyInfo& info) override;

 private:
  static int SDLCALL WatchDevices(void* self, SDL_Event* event);
  bool Open();
  void Close();
  void ReadController(TJoyInfo& info);
  void ReadRawStick(TJoyInfo& info);

  SDL_GameController* Controller = nullptr;
  SDL_Joystick* Stick = nullptr;
  // Set when SDL reports a pad plugged in or pulled out (and at the start):
  // only then is it worth looking for one to open.
  std::atomic<bool> DevicesChanged{true};
};
