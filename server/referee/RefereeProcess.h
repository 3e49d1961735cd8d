#pragma once
// Re-plays a replay in a child process: this same program started as
// `quadrovolt-scores referee --cpu-seconds N`, the replay on its standard
// input and one JSON line of its outcome on its standard output.
//
// A child per job keeps each game's core state (the random generator, the
// current renderer: one per process) apart from every other job's, so any
// number of workers re-play at once; the kernel holds each to its CPU-time
// cap (RLIMIT_CPU); and a replay that crashed the core would take only its
// child with it, never the service.
#include <string>

#include "server/referee/ReplayReferee.h"

struct TRefereeLimits {
  int CpuSeconds = 600;
  std::string Program = "/proc/self/exe";  // a quadrovolt-scores (tests start the built one)
};

// In the service: runs the child and reads its outcome. A child killed by
// its CPU cap, or that crashed, is a Failure saying so.
TReplayOutcome RefereeInChild(const std::string& bytes, const TRefereeLimits& limits);
// In the child: reads the replay from standard input, re-plays it and writes
// the outcome. Returns the exit code.
int RunRefereeChild(int cpuSeconds);
// The outcome as the child writes it, and read back.
std::string OutcomeJson(const TReplayOutcome& outcome);
bool OutcomeFromJson(const std::string& line, TReplayOutcome& outcome);
