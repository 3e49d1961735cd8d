// The page's replays, natively through the host: a game that ends offers its
// replay once, and that replay picked as a file plays again to the same final
// line; a file that is not a replay is refused; a pick during a game waits
// for the title.
#include <gtest/gtest.h>

#include "app/GameConstants.h"
#include "platform/web/PageReplays.h"
#include "tools/harness/WindowlessGame.h"

namespace {
class PageReplays : public ::testing::Test {
 protected:
  static TWindowlessSetup Options() {
    TWindowlessSetup setup;
    setup.Seed = 7;
    setup.Host.KeepReplays = false;
    setup.Host.ControlMode = InputModes::Mouse;
    return setup;
  }
  // Ticks, the page looking after each; how many offers it made.
  int Run(int ticks) {
    int offers = 0;
    for (int i = 0; i < ticks; ++i) {
      Host->Tick();
      offers += Replays.AfterFrame(*Host) ? 1 : 0;
    }
    return offers;
  }
  void StartAGame() {
    Host->Button(true, true);
    for (int i = 0; i < 2000 && Host->State() != GameState::Playing; ++i) Run(1);
    Host->Button(true, false);
    ASSERT_EQ(Host->State(), GameState::Playing);
  }

  TWindowlessGame Windowless{Options()};
  TGameHost* Host = &Windowless.Host();
  TPageReplays Replays;
};
}  // namespace

TEST_F(PageReplays, AnEndedGameIsOfferedAndPlaysAgainToItsFinalLine) {
  EXPECT_EQ(Run(150), 0);
  StartAGame();
  for (int i = 0; i < 4; ++i) {
    Host->PointerAt(100 + 150 * i, 600 - 90 * i);
    EXPECT_EQ(Run(60), 0);
  }
  Host->FinishGame();
  EXPECT_EQ(Run(1), 1);
  EXPECT_EQ(Run(50), 0);  // once
  char line[160];
  FormatFinalLine(Host->LastResult(), line, sizeof line);
  const std::string played = line;
  EXPECT_EQ(Replays.FinalLine(), played);
  EXPECT_NE(played.find("final: frame 24"), std::string::npos) << played;

  const std::vector<std::uint8_t> offer = Replays.Offer();
  std::string why;
  ASSERT_TRUE(Replays.Pick(offer.data(), offer.size(), why)) << why;
  Run(1);
  ASSERT_TRUE(Host->Watching());
  EXPECT_FALSE(Replays.WatchPending());
  for (int i = 0; i < 5000 && Host->Watching(); ++i) EXPECT_EQ(Run(1), 0);  // watching offers nothing
  EXPECT_FALSE(Host->Watching());
  EXPECT_EQ(Replays.FinalLine(), played);
}

TEST_F(PageReplays, NotAReplayIsRefusedAndAPickWaitsForTheTitle) {
  std::string why;
  const std::uint8_t junk[] = {'Q', 'V', 'R', 'E', 'P', 'L', 'A', 'Y', 1, 0, 2};
  EXPECT_FALSE(Replays.Pick(junk, sizeof junk, why));
  EXPECT_FALSE(why.empty());
  EXPECT_FALSE(Replays.Pick(nullptr, 0, why));
  EXPECT_FALSE(Replays.WatchPending());

  Run(150);
  StartAGame();
  Run(300);
  Host->FinishGame();
  Run(1);
  const std::vector<std::uint8_t> offer = Replays.Offer();
  ASSERT_FALSE(offer.empty());
  const std::string firstLine = Replays.FinalLine();
  // A damaged copy (one byte changed) is refused: the file's hash says so.
  std::vector<std::uint8_t> damaged = offer;
  damaged[ReplayHeaderSize + 2] ^= 0x40;
  EXPECT_FALSE(Replays.Pick(damaged.data(), damaged.size(), why));

  StartAGame();
  ASSERT_TRUE(Replays.Pick(offer.data(), offer.size(), why)) << why;
  Run(200);
  EXPECT_FALSE(Host->Watching());  // the player's game goes on
  EXPECT_TRUE(Replays.WatchPending());
  Host->FinishGame();
  EXPECT_EQ(Run(1), 1);
  EXPECT_NE(Replays.FinalLine(), firstLine);  // the second game's
  Run(1);
  EXPECT_TRUE(Host->Watching());
  for (int i = 0; i < 5000 && Host->Watching(); ++i) Run(1);
  EXPECT_EQ(Replays.FinalLine(), firstLine);  // the watched one's
}
