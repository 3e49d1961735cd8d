// One step per 10 ms; a step that overran is followed at once by one step
// for all the ticks it missed, never by a catch-up burst or an idle tick.
#include <gtest/gtest.h>

#include <vector>

#include "app/TickClock.h"

namespace {
// The start times of the steps a loop runs from time 0 to `until` when each
// step takes what `took` gives for the step's index.
template <typename Took>
std::vector<std::uint64_t> StepStarts(std::uint64_t until, Took took) {
  TTickClock clock(0);
  std::vector<std::uint64_t> starts;
  for (std::uint64_t t = 0; t < until;) {
    if (!clock.Due(t)) {
      t += clock.Wait(t);
      continue;
    }
    starts.push_back(t);
    t += took(starts.size() - 1);
    clock.Stepped(t);
  }
  return starts;
}
}  // namespace

TEST(TickClock, StepsEveryTenMilliseconds) {
  TTickClock clock(1000);
  EXPECT_FALSE(clock.Due(1009));
  EXPECT_EQ(clock.Wait(1004), 6u);
  EXPECT_TRUE(clock.Due(1010));
  clock.Stepped(1013);  // a 3 ms step
  EXPECT_FALSE(clock.Due(1019));
  EXPECT_TRUE(clock.Due(1020)) << "the pace holds whatever the step took";
  clock.Stepped(1030);  // a step that ends just as the next tick comes
  EXPECT_FALSE(clock.Due(1029));
  EXPECT_TRUE(clock.Due(1030));
}

TEST(TickClock, StepsThatOverrunRunBackToBackWithoutABurst) {
  struct Case {
    const char* What;
    std::uint64_t StepMs;
    std::vector<std::uint64_t> Starts;
  } cases[] = {
      {"quick steps keep the 10 ms pace", 3, {10, 20, 30, 40, 50, 60, 70, 80, 90}},
      {"12 ms steps follow each other at once", 12, {10, 22, 34, 46, 58, 70, 82, 94}},
      {"25 ms steps drop the ticks they miss", 25, {10, 35, 60, 85}},
  };
  for (const Case& c : cases) EXPECT_EQ(StepStarts(100, [&](std::size_t) { return c.StepMs; }), c.Starts) << c.What;
}

TEST(TickClock, ALateStepIsFollowedByOneStepForTheTicksItMissed) {
  // The first step takes 35 ms: ticks 20, 30 and 40 come while it runs and
  // leave one step waiting, run at 45; the pace goes on from there.
  const auto starts = StepStarts(100, [](std::size_t i) { return i == 0 ? 35 : 2; });
  const std::vector<std::uint64_t> expected = {10, 45, 55, 65, 75, 85, 95};
  EXPECT_EQ(starts, expected);
}
