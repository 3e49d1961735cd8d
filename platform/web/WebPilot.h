#pragma once
// The page's automatic pilot (developer option pilot=1): the desktop tools'
// pilot (pilot/PilotCurve.h) in a picture of the page's size. It starts a game
// on the chosen level with fire held and bombs whenever one is ready, and
// swings the ship's target round the arena. The game's own assists keep the
// ship unharmed, so a timing run never ends in game over.
#include "app/GameConstants.h"
#include "app/GameHost.h"
#include "pilot/PilotCurve.h"

class TWebPilot {
 public:
  explicit TWebPilot(int level) : Level(level < 1 ? 1 : level) {}

  // Before each step; width and height are the picture's, in pixels.
  void BeforeTick(TGameHost& host, int width, int height) {
    if (host.State() == GameState::Title && !Started) {
      StartPilotGame(host, Level, true);
      Started = true;
    }
    SwingPilotTarget(host, Frame++, width, height);
  }

 private:
  int Level;
  bool Started = false;
  int Frame = 0;
};
