#pragma once
// The automatic pilot of the developer tools (headless runner, snapshots,
// benchmarks): it starts a game on a chosen level, holds fire, swings the
// mouse target round the arena and, unless mortal, repairs the ship each frame
// and holds its damage so a run never ends in game over. With bombs it holds
// Space with bombs to spare, so a shockwave is always running.
class TQuadrovoltMain;
class TFrameController;

struct TAutoPilotOptions {
  int Level = 1;
  int Bullets = 1;
  bool Bombs = false;
  bool Mortal = false;
};

class TAutoPilot {
 public:
  TAutoPilot(TQuadrovoltMain& game, TFrameController& frame, const TAutoPilotOptions& options)
      : Game(game), Frame(frame), Options(options) {}

  // On the title: scroll the strip to the start level.
  void ShowLevel();
  // On the title: show the start level, then fire.
  void StartGame();
  // Before the tick of frame number f (counted from 0).
  void BeforeTick(int f);

 private:
  TQuadrovoltMain& Game;
  TFrameController& Frame;
  TAutoPilotOptions Options;
};
