// The tools' per-frame entity check: what it lets stand beyond the bounds and
// for how long.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "enemies/blobGrunt.h"
#include "tests/support/TestGame.h"
#include "tools/pilot/EntityCheck.h"

namespace {
// An enemy flung by a well's one-sided pull to where the long runs saw one,
// checked on two frames in a row; `wellFirst` has a well on the first frame.
struct TFlingCase {
  const char* What;
  std::uint8_t State;
  bool WellFirst;
  bool FirstSane, SecondSane;
  const char* Why;  // what the failing frame says, or empty
};

TEST(EntityCheck, OnlyADyingEnemyMayStayOutOfBounds) {
  const TFlingCase cases[] = {
      {"a dying enemy is never clamped back", BlobState::Dying, true, true, true, ""},
      {"... nor needs a well nearby", BlobState::Dying, false, true, true, ""},
      {"a living one gets a frame after a well flung it", BlobState::Alive, true, true, false,
       "still out of bounds a frame after it left them"},
      {"a living one without a well", BlobState::Alive, false, false, false,
       "out of bounds with no gravity well to fling it"},
      {"a spawning one is held to the rule too", BlobState::Spawning, true, true, false,
       "still out of bounds a frame after it left them"},
  };
  for (const TFlingCase& c : cases) {
    SCOPED_TRACE(c.What);
    TTestGame t;
    TBlob* flung = TArrange(t.Host).World().Enemies().Adopt(std::make_unique<TBlobGrunt>());
    TBlob* well = TArrange(t.Host).World().Enemies().Adopt(std::make_unique<TBlobGrunt>());
    flung->State = c.State;
    flung->Position = TVector3{-0.12f, -2139.27f, 0};
    well->SetActive(c.WellFirst);
    TArrange(t.Host).World().GravityWells().Add(well);

    TEntityCheck check;
    char why[160] = "";
    EXPECT_EQ(check.Check(t.Host.World(), why, sizeof why), c.FirstSane) << why;
    if (!c.FirstSane) {
      EXPECT_NE(std::string(why).find(c.Why), std::string::npos) << why;
      continue;
    }
    well->SetActive(false);
    why[0] = 0;
    EXPECT_EQ(check.Check(t.Host.World(), why, sizeof why), c.SecondSane) << why;
    EXPECT_NE(std::string(why).find(c.Why), std::string::npos) << why;
    EXPECT_EQ(std::string(why).find("kind 2") != std::string::npos, !c.SecondSane) << why;
  }
}

TEST(EntityCheck, ADyingEnemyMustStillHoldFiniteNumbers) {
  TTestGame t;
  TBlob* e = TArrange(t.Host).World().Enemies().Adopt(std::make_unique<TBlobGrunt>());
  e->State = BlobState::Dying;
  e->Position = TVector3{1e30f, 0, 0};
  TEntityCheck check;
  char why[160] = "";
  EXPECT_TRUE(check.Check(t.Host.World(), why, sizeof why)) << why;
  e->Position.X = e->Position.X * 1e30f;  // overflows to infinity
  EXPECT_FALSE(check.Check(t.Host.World(), why, sizeof why));
  EXPECT_NE(std::string(why).find("a number is not finite"), std::string::npos) << why;
}
}  // namespace
