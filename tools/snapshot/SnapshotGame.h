#pragma once
// The game as the snapshot tool plays it: silent sound, no joystick, a save
// file of its own in the temporary folder, every level open, and the
// automatic pilot flying. Draws through whatever renderer is installed.
#include <memory>
#include <string>

#include "app/FrameController.h"
#include "app/Joystick.h"
#include "app/QuadrovoltMain.h"
#include "sound/SilentSoundDevice.h"
#include "tools/pilot/AutoPilot.h"
#include "tools/snapshot/SnapshotOptions.h"

class TSnapshotGame {
 public:
  explicit TSnapshotGame(const TSnapshotOptions& options);
  ~TSnapshotGame();

  // Seeds the generator, starts the asked level (unless the title was asked
  // for) and runs the asked number of frames; the last one is left drawn.
  void Run();
  // One more frame of the pilot.
  void Step();

  TQuadrovoltMain& Game() { return *GameObject; }

 private:
  TSnapshotOptions Options;
  TSilentSoundDevice Sound;
  TNoJoystick Joystick;
  std::string SavePath;
  std::unique_ptr<TQuadrovoltMain> GameObject;
  std::unique_ptr<TFrameController> Frame;
  std::unique_ptr<TAutoPilot> Pilot;
  int FrameNumber = 0;
};
