// The score board's ticket inside the page, natively through the host: the
// seed held goes to the next game started from the title and to that game
// only, a dropped one to none, a replay watched leaves it for the game after,
// a game made anew gets it too; a game ends ticketed only when its replay
// was played on the ticket's seed.
#include <gtest/gtest.h>

#include <memory>

#include "platform/web/PageBoard.h"
#include "platform/web/PageReplays.h"
#include "tools/harness/WindowlessGame.h"

namespace {
constexpr std::uint64_t Ticket = 0x9e3779b97f4a7c15ull, Later = 1234567890123ull;

class PageBoard : public ::testing::Test {
 protected:
  static TWindowlessSetup Options() {
    TWindowlessSetup setup;
    setup.Seed = 11;
    setup.Host.KeepReplays = false;
    setup.Host.ControlMode = InputModes::Mouse;
    return setup;
  }
  // Ticks as the page runs them; the news of each frame gathered.
  TPageBoard::TNews Run(int ticks) {
    TPageBoard::TNews all;
    for (int i = 0; i < ticks; ++i) {
      Host->Tick();
      const bool offered = Replays.AfterFrame(*Host);
      const TPageBoard::TNews n = Board.AfterFrame(*Host, offered ? &Replays.Offer() : nullptr);
      if (n.Started) all.Started = true, all.StartedOn = n.StartedOn;
      if (n.Ended) all.Ended = true, all.EndedOn = n.EndedOn, all.Score = n.Score;
      all.TitleShown = all.TitleShown || n.TitleShown;
    }
    return all;
  }
  TPageBoard::TNews StartAGame() {
    Host->Button(true, true);
    TPageBoard::TNews n;
    for (int i = 0; i < 2000 && Host->State() != GameState::Playing; ++i) n = Run(1);
    Host->Button(true, false);
    EXPECT_EQ(Host->State(), GameState::Playing);
    return n;
  }
  TPageBoard::TNews EndTheGame() {
    Run(250);
    Host->FinishGame();
    return Run(1);
  }
  TReplayHeader OfferedHeader() const {
    TReplay replay;
    std::string why;
    EXPECT_TRUE(ParseReplay(Replays.Offer().data(), Replays.Offer().size(), replay, why)) << why;
    return replay.Header;
  }

  std::unique_ptr<TWindowlessGame> Windowless = std::make_unique<TWindowlessGame>(Options());
  TGameHost* Host = &Windowless->Host();
  TPageReplays Replays;
  TPageBoard Board;
};
}  // namespace

TEST_F(PageBoard, TheTicketHeldPlaysTheNextGameAndThatGameOnly) {
  EXPECT_TRUE(Run(30).TitleShown);
  Board.Hold(Ticket);
  Run(30);
  const TPageBoard::TNews started = StartAGame();
  EXPECT_TRUE(started.Started);
  EXPECT_EQ(started.StartedOn, Ticket);
  EXPECT_EQ(Board.HeldSeed(), 0u);  // used up
  const TPageBoard::TNews ended = EndTheGame();
  ASSERT_TRUE(ended.Ended);
  EXPECT_EQ(ended.EndedOn, Ticket);
  EXPECT_EQ(ended.Score, Host->LastResult().Score);
  EXPECT_EQ(OfferedHeader().PlaySeed, Ticket);
  EXPECT_EQ(OfferedHeader().ScriptState, Ticket);
  EXPECT_TRUE(ended.TitleShown || Run(300).TitleShown);

  // The next game, with no ticket held, is played offline on a seed of its own.
  const TPageBoard::TNews offline = StartAGame();
  EXPECT_TRUE(offline.Started);
  EXPECT_EQ(offline.StartedOn, 0u);
  const TPageBoard::TNews over = EndTheGame();
  ASSERT_TRUE(over.Ended);
  EXPECT_EQ(over.EndedOn, 0u);
  EXPECT_NE(OfferedHeader().PlaySeed, Ticket);
}

TEST_F(PageBoard, ADroppedTicketPlaysNoGame) {
  Board.Hold(Ticket);
  Run(10);
  Board.Hold(0);  // sharing turned off on the title
  Run(10);
  const TPageBoard::TNews started = StartAGame();
  EXPECT_EQ(started.StartedOn, 0u);
  EXPECT_EQ(EndTheGame().EndedOn, 0u);
  EXPECT_NE(OfferedHeader().PlaySeed, Ticket);
}

TEST_F(PageBoard, AReplayWatchedLeavesTheTicketForTheGameAfter) {
  Run(20);
  StartAGame();
  EndTheGame();
  const std::vector<std::uint8_t> offline = Replays.Offer();
  Board.Hold(Later);
  std::string why;
  ASSERT_TRUE(Replays.Pick(offline.data(), offline.size(), why)) << why;
  Run(1);
  ASSERT_TRUE(Host->Watching());
  TPageBoard::TNews watched;
  for (int i = 0; i < 5000 && Host->Watching(); ++i) {
    const TPageBoard::TNews n = Run(1);
    EXPECT_FALSE(n.Started || n.Ended) << "at " << i;  // a watched game is neither
    watched.TitleShown = watched.TitleShown || n.TitleShown;
  }
  EXPECT_TRUE(watched.TitleShown);
  EXPECT_EQ(Board.HeldSeed(), Later);
  EXPECT_EQ(StartAGame().StartedOn, Later);
  EXPECT_EQ(EndTheGame().EndedOn, Later);
}

TEST_F(PageBoard, AGameMadeAnewGetsTheTicketHeld) {
  Board.Hold(Ticket);
  Run(10);
  // The player ended on the title and came back: another game object.
  Windowless.reset();
  Windowless = std::make_unique<TWindowlessGame>(Options());
  Host = &Windowless->Host();
  Run(10);
  EXPECT_EQ(StartAGame().StartedOn, Ticket);
  EXPECT_EQ(EndTheGame().EndedOn, Ticket);
  EXPECT_EQ(OfferedHeader().PlaySeed, Ticket);
}

TEST(PageBoardReplay, OnlyAReplayOnOneSeedNamesIt) {
  const std::vector<std::uint8_t> junk = {'n', 'o', 't', ' ', 'a', ' ', 'r', 'e', 'p', 'l', 'a', 'y'};
  EXPECT_EQ(TPageBoard::PlayedOn(junk), 0u);
  EXPECT_EQ(TPageBoard::PlayedOn({}), 0u);
}
