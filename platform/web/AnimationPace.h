#pragma once
// The game's pace in a web page. The browser wakes the page once per display
// refresh, not every 10 ms, so each wake-up runs the 10 ms steps the clock
// says are due, one step each, and the game keeps exactly one step per tick.
// At most a few run in one wake-up: after a stall (a hidden tab, a slow
// frame) the steps beyond those are dropped, never caught up in a burst, so
// the game slows down rather than jumping ahead. No emscripten here: the
// rule is tested natively.
#include <cstdint>

class TAnimationPace {
 public:
  static constexpr double StepMs = 10.0;
  // Enough for a 30 Hz display to keep the game at full speed.
  static constexpr int MaxStepsPerFrame = 4;

  explicit TAnimationPace(double nowMs) : Next(nowMs + StepMs) {}

  // How many steps to run now, at nowMs (a clock in milliseconds that never
  // goes back); the clock counts them as run.
  int StepsDue(double nowMs) {
    if (nowMs < Next) return 0;
    const double behind = (nowMs - Next) / StepMs;
    if (behind >= MaxStepsPerFrame - 1) {
      // More are due than one wake-up may run: run the most it may, and the
      // clock starts again from now; the rest are gone.
      Next = nowMs + StepMs;
      Dropped += std::uint64_t(behind) + 1 - MaxStepsPerFrame;
      return MaxStepsPerFrame;
    }
    const int steps = int(behind) + 1;
    Next += steps * StepMs;
    return steps;
  }

  // Steps that were due but dropped since the page started.
  std::uint64_t DroppedSteps() const { return Dropped; }

 private:
  double Next;
  std::uint64_t Dropped = 0;
};
