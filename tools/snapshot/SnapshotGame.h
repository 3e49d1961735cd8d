#pragma once
// The game as the snapshot tool plays it: the windowless game with every
// level open, drawn through whatever renderer is installed, the picture laid
// out as the game window lays it out at that size, and the automatic pilot
// flying.
#include "tools/harness/WindowlessGame.h"
#include "tools/pilot/AutoPilot.h"
#include "tools/snapshot/SnapshotOptions.h"

class TSnapshotGame {
 public:
  explicit TSnapshotGame(const TSnapshotOptions& options);

  // Starts the asked level (unless the title was asked for) and runs the
  // asked number of frames; only the last one is drawn, and left drawn.
  void Run();
  // One more frame of the pilot, drawn.
  void Step();

  TGameHost& Host() { return Windowless.Host(); }

 private:
  static TWindowlessSetup Setup(const TSnapshotOptions& options);
  // One frame of the pilot, not drawn.
  void Advance();

  TSnapshotOptions Options;
  TWindowlessGame Windowless;
  TAutoPilot Pilot;
  int FrameNumber = 0;
};
