#pragma once
// The automatic pilot of the developer tools (headless runner, snapshots,
// benchmarks): it starts a game on a chosen level, holds fire and swings the
// mouse target round the arena, all through the host (the moves are the
// core's pilot/PilotCurve.h, which the page's pilot makes too). What it asks beyond
// that (unless mortal, a ship repaired each frame so a run never ends in game
// over; wider fire; with bombs, Space held with bombs to spare so a shockwave
// is always running) are the game's assists, given when the game is made.
#include "app/Replay.h"

class TGameHost;

struct TAutoPilotOptions {
  int Level = 1;
  int Bullets = 1;
  bool Bombs = false;
  bool Mortal = false;
  // The assists the game must hold for this pilot (THostOptions::Assists).
  TReplayAssists Assists() const { return TReplayAssists{Bullets, !Mortal, Bombs}; }
};

class TAutoPilot {
 public:
  TAutoPilot(TGameHost& host, const TAutoPilotOptions& options) : Host(host), Options(options) {}

  // On the title: scroll the strip to the start level.
  void ShowLevel();
  // On the title: show the start level, then fire.
  void StartGame();
  // Before the tick of frame number f (counted from 0).
  void BeforeTick(int f);

 private:
  TGameHost& Host;
  TAutoPilotOptions Options;
};
