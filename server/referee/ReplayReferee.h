#pragma once
// Plays a submitted replay to its end with the game's own core: no picture,
// no sound, a folder of its own, exactly as the headless runner watches one.
// This runs in a child process of the service (see RefereeProcess.h), which
// keeps the core's per-process state (its random generator, the current
// renderer) to one game at a time, and lets the kernel cap its CPU time.
#include <cstdint>
#include <string>

#include "app/Replay.h"

struct TReplayOutcome {
  bool Finished = false;         // played to its last tick, as recorded
  std::string Failure;           // otherwise why not, in one line
  std::uint32_t DivergedAt = 0;  // the tick it parted from its checkpoints
  TReplayResult Result;          // the final line's figures when Finished
  double Seconds = 0;            // time spent re-playing
};

TReplayOutcome ReplayToTheEnd(const std::string& bytes);
