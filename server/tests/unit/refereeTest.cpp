// The referee re-plays real games: recorded here with the automatic pilot on
// a ticket's seed, then played again alone in this process and in child
// processes, several at once, which must all come out the same.
#include <gtest/gtest.h>

#include <fstream>
#include <future>
#include <iterator>

#include "server/referee/RefereeProcess.h"
#include "server/tools/TicketedGame.h"
#include "tools/harness/TempFolder.h"

namespace {
// A game on a seed, as a player's client records it (no assists, unless a
// tool's game is wanted), and its final line's figures.
std::string Recorded(std::uint64_t seed, int frames, int level, TReplayResult& result, bool assists = false) {
  TTempFolder folder;
  const std::string path = (folder.Path() / "game.rpl").string();
  EXPECT_TRUE(RecordTicketedGame(TTicketedGame{seed, frames, level, assists}, path, result));
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TRefereeLimits Child() {
  TRefereeLimits limits;
  limits.CpuSeconds = 60;
  limits.Program = QUADROVOLT_SCORES_PROGRAM;
  return limits;
}

void ExpectSame(const TReplayResult& a, const TReplayResult& b, const std::string& what) {
  EXPECT_EQ(a.Frames, b.Frames) << what;
  EXPECT_EQ(a.Level, b.Level) << what;
  EXPECT_EQ(a.Score, b.Score) << what;
  EXPECT_EQ(a.Damage, b.Damage) << what;
  EXPECT_EQ(a.Checksum, b.Checksum) << what;
}

TEST(Referee, ReplaysATicketedGameToItsRecordedEnd) {
  TReplayResult recorded;
  const std::string bytes = Recorded(0x5eed5eed12345ull, 600, 1, recorded);
  TReplay parsed;
  std::string why;
  ASSERT_TRUE(ParseReplay(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), parsed, why)) << why;
  EXPECT_EQ(parsed.Header.ScriptState, 0x5eed5eed12345ull);
  EXPECT_EQ(parsed.Header.PlaySeed, 0x5eed5eed12345ull);
  EXPECT_FALSE(parsed.Header.Assists.Any()) << "a player's game carries no assists";
  const TReplayOutcome here = ReplayToTheEnd(bytes);
  ASSERT_TRUE(here.Finished) << here.Failure;
  ExpectSame(here.Result, recorded, "re-played here");
  const TReplayOutcome child = RefereeInChild(bytes, Child());
  ASSERT_TRUE(child.Finished) << child.Failure;
  ExpectSame(child.Result, recorded, "re-played in a child");
}

TEST(Referee, SeveralAtOnceGiveWhatEachGivesAlone) {
  // Busy games from later levels with the pilot's full fire, on four seeds.
  std::vector<std::string> games;
  std::vector<TReplayResult> alone;
  for (int i = 0; i < 4; ++i) {
    TReplayResult r;
    games.push_back(Recorded(1000 + i, 1500, 10 + 7 * i, r, true));
    const TReplayOutcome o = ReplayToTheEnd(games.back());
    ASSERT_TRUE(o.Finished) << o.Failure;
    ExpectSame(o.Result, r, "alone");
    alone.push_back(o.Result);
  }
  std::vector<std::future<TReplayOutcome>> together;
  for (int round = 0; round < 2; ++round)
    for (const std::string& g : games)
      together.push_back(std::async(std::launch::async, [&g] { return RefereeInChild(g, Child()); }));
  for (std::size_t i = 0; i < together.size(); ++i) {
    const TReplayOutcome o = together[i].get();
    ASSERT_TRUE(o.Finished) << o.Failure;
    ExpectSame(o.Result, alone[i % 4], "game " + std::to_string(i % 4) + " among eight at once");
  }
}

TEST(Referee, AGameOverItsCpuCapIsStopped) {
  TReplayResult r;
  // Long enough that its re-play needs well over the cap, however fast the
  // step gets: about 3 s of CPU at 70 us a tick.
  const std::string busy = Recorded(31, 40000, 20, r, true);
  TRefereeLimits tight = Child();
  tight.CpuSeconds = 1;
  // The killed child's game folder goes with it: nothing is left in TMPDIR.
  TTempFolder tmp;
  const char* was = std::getenv("TMPDIR");
  const std::string before = was ? was : "";
  setenv("TMPDIR", tmp.Path().c_str(), 1);
  const TReplayOutcome o = RefereeInChild(busy, tight);
  if (was)
    setenv("TMPDIR", before.c_str(), 1);
  else
    unsetenv("TMPDIR");
  EXPECT_FALSE(o.Finished);
  EXPECT_EQ(o.Failure, "re-playing it took more than the 1 s of CPU allowed");
  EXPECT_TRUE(std::filesystem::is_empty(tmp.Path())) << "a killed re-play left its files behind";
}

TEST(Referee, SaysWhatItCouldNotPlay) {
  TReplayResult r;
  std::string bytes = Recorded(77, 300, 1, r);
  bytes.resize(bytes.size() / 2);
  const TReplayOutcome cut = RefereeInChild(bytes, Child());
  EXPECT_FALSE(cut.Finished);
  EXPECT_FALSE(cut.Failure.empty());
  const TReplayOutcome nothing = RefereeInChild("", Child());
  EXPECT_EQ(nothing.Failure, "too short to be a replay");
  TRefereeLimits missing = Child();
  missing.Program = "/nonexistent/quadrovolt-scores";
  EXPECT_FALSE(RefereeInChild(bytes, missing).Finished);
}
}  // namespace
