#pragma once
// What the snapshot tool is asked to picture: a level after some frames of
// the automatic pilot (or the title screen), at a seed, a size and a control
// mode, with the mouse cursor optionally held at a place in the arena.
#include <cstdint>
#include <string>

#include "tools/CommandLine.h"

struct TSnapshotOptions {
  int Level = 1;
  int Frames = 100;
  unsigned long Seed = 1;
  int Width = 1024;
  int Height = 768;
  std::uint8_t Mode = 1;  // the game's input modes: 0 keyboard, 1 mouse, 2 joystick
  bool HoldCursor = false;
  int CursorX = 0;  // arena units
  int CursorY = 0;
  bool Title = false;
  std::string Out;
  // How the pilot plays (the benchmarks and the backend comparison set these).
  int Bullets = 1;
  bool Bombs = false;
};

// The tool's command line, filling these options as it is read.
TCommandLine SnapshotCommandLine(TSnapshotOptions& options);
// Reads the command line (argv[0] is the program). False, with the reason,
// for an unknown option, a missing or malformed value or one out of range
// (and for --help, which the tool answers before this).
bool ParseSnapshotOptions(int argc, const char* const* argv, TSnapshotOptions& options, std::string& error);
