#pragma once
// The game's pace: one step every 10 ms. A timer that fires while a step is
// still running leaves one tick waiting, however many times it fired: a step
// that overran is followed at once by the next, and the ticks beyond that one
// are gone, never made up in a burst.
#include <cstdint>

class TTickClock {
 public:
  static constexpr std::uint64_t StepMs = 10;

  explicit TTickClock(std::uint64_t nowMs) : Next(nowMs + StepMs) {}

  bool Due(std::uint64_t nowMs) const { return nowMs >= Next; }
  // Milliseconds until the next step is due (0 when it is due now).
  std::uint64_t Wait(std::uint64_t nowMs) const { return nowMs >= Next ? 0 : Next - nowMs; }
  // A step has just been run and finished at nowMs.
  void Stepped(std::uint64_t nowMs) {
    Next += StepMs;
    if (nowMs > Next) Next = nowMs;
  }

 private:
  std::uint64_t Next;
};
