#pragma once
// The game's pace: one step every 10 ms. A step that comes late is not made
// up for: the clock skips the ticks it missed instead of running a burst.
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
    if (nowMs >= Next) Next = nowMs + StepMs;
  }

 private:
  std::uint64_t Next;
};
