#pragma once
// The page's automatic pilot (developer option pilot=1): it starts a game on
// the chosen level with fire held, and every half second drags the ship's
// target to a new point on a curve round the arena, as the desktop tools'
// pilot does. It works through the host alone; the game's own assists keep
// the ship unharmed, so a timing run never ends in game over.
#include <cmath>

#include "app/GameConstants.h"
#include "app/GameHost.h"

class TWebPilot {
 public:
  explicit TWebPilot(int level) : Level(level < 1 ? 1 : level) {}

  // Before each step; width and height are the picture's, in pixels.
  void BeforeTick(TGameHost& host, int width, int height) {
    if (host.State() == GameState::Title && !Started) {
      host.ChooseStartLevel(Level);
      host.Button(true, true);  // held from now on: the title starts, the gun fires
      host.KeyDown(VK::Space);  // bombs whenever one is ready
      Started = true;
    }
    if (Frame++ % 50 == 0) {
      const double a = Frame * 0.013;
      const int x = int((512 + 380 * std::cos(a)) * width / 1024),
                y = int((384 + 300 * std::sin(a * 1.7)) * height / 768);
      host.PointerAt(x, y);
      host.Button(false, true);
      host.Button(false, false);
    }
  }

 private:
  int Level;
  bool Started = false;
  int Frame = 0;
};
