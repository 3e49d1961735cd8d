// One step per 10 ms, and a late step never triggers a catch-up burst.
#include <gtest/gtest.h>

#include "app/TickClock.h"

TEST(TickClock, StepsEveryTenMilliseconds) {
  TTickClock clock(1000);
  EXPECT_FALSE(clock.Due(1009));
  EXPECT_EQ(clock.Wait(1004), 6u);
  EXPECT_TRUE(clock.Due(1010));
  clock.Stepped(1013);  // a 3 ms step
  EXPECT_FALSE(clock.Due(1019));
  EXPECT_TRUE(clock.Due(1020)) << "the pace holds whatever the step took";
}

TEST(TickClock, ALateStepDropsTheTicksItMissed) {
  TTickClock clock(0);
  ASSERT_TRUE(clock.Due(10));
  clock.Stepped(45);  // a 35 ms step: ticks 20, 30 and 40 are gone
  EXPECT_FALSE(clock.Due(45));
  EXPECT_FALSE(clock.Due(54));
  EXPECT_TRUE(clock.Due(55));
  int steps = 0;
  for (std::uint64_t t = 55; t < 100; ++t)
    if (clock.Due(t)) {
      ++steps;
      clock.Stepped(t);
    }
  EXPECT_EQ(steps, 5) << "55, 65, 75, 85, 95: no burst";
}
