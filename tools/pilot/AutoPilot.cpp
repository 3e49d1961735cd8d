#include "tools/pilot/AutoPilot.h"

#include <cmath>

#include "app/GameConstants.h"
#include "app/GameHost.h"

void TAutoPilot::ShowLevel() { Host.ChooseStartLevel(Options.Level); }

void TAutoPilot::StartGame() {
  ShowLevel();
  Host.Button(true, true);
  if (Options.Bombs) Host.KeyDown(VK::Space);
}

void TAutoPilot::BeforeTick(int f) {
  if (f % 50 != 0) return;
  // Swing the target round the arena and drag it there with the right button.
  const double a = f * 0.013;
  Host.PointerAt(int(512 + 380 * std::cos(a)), int(384 + 300 * std::sin(a * 1.7)));
  Host.Button(false, true);
  Host.Button(false, false);
}
