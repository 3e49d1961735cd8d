#include "pilot/PilotCurve.h"

#include <cmath>

#include "app/GameConstants.h"
#include "app/GameHost.h"

TPilotPoint PilotTargetAt(int frame, int width, int height) {
  const double a = frame * 0.013;
  double x = 512 + 380 * std::cos(a), y = 384 + 300 * std::sin(a * 1.7);
  // Scaled only when the picture is not the game's own, so that every run in
  // the game's picture drags the target to the very same pixels.
  if (width != 1024 || height != 768) x = x * width / 1024, y = y * height / 768;
  return {int(x), int(y)};
}

void StartPilotGame(TGameHost& host, int level, bool bombs) {
  host.ChooseStartLevel(level);
  host.Button(true, true);
  if (bombs) host.KeyDown(VK::Space);
}

void SwingPilotTarget(TGameHost& host, int frame, int width, int height) {
  if (frame % PilotSwingFrames != 0) return;
  const TPilotPoint p = PilotTargetAt(frame, width, height);
  host.PointerAt(p.X, p.Y);
  host.Button(false, true);
  host.Button(false, false);
}
