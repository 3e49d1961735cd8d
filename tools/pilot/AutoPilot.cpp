#include "tools/pilot/AutoPilot.h"

#include <cmath>

#include "app/FrameController.h"
#include "app/QuadrovoltMain.h"
#include "app/WindowMessages.h"
#include "entities/blobPlayer.h"

void TAutoPilot::ShowLevel() { Game.LevelSelectOffset = Options.Level - 5; }

void TAutoPilot::StartGame() {
  ShowLevel();
  Frame.HandleMessage(Msg::LButtonDown, 0, 0);
  if (Options.Bombs) Frame.HandleMessage(Msg::KeyDown, VK::Space, 0);
}

void TAutoPilot::BeforeTick(int f) {
  if (f % 50 == 0) {
    // Swing the target round the arena and drag it there with the right button.
    const double a = f * 0.013;
    const int x = int(512 + 380 * std::cos(a)), y = int(384 + 300 * std::sin(a * 1.7));
    Frame.HandleMessage(Msg::MouseMove, 0, Msg::MakePoint(x, y));
    Frame.HandleMessage(Msg::RButtonDown, 0, 0);
    Frame.HandleMessage(Msg::RButtonUp, 0, 0);
  }
  if (Game.State == GameState::Playing) {
    Game.Player->BulletLevel = Options.Bullets;
    if (!Options.Mortal) {
      Game.Player->Damage = 0;
      Game.Player->DamageHeld = true;  // no blow of the frame can end the run
    }
    if (Options.Bombs) Game.Player->GraviBombs = 9;
  }
}
