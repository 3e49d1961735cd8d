// The checks a submission passes before and after its re-play, the names a
// board takes, the secrets' handling and the service's command line.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "app/Replay.h"
#include "server/PlayerName.h"
#include "server/Secrets.h"
#include "server/ServiceOptions.h"
#include "server/http/BoardCache.h"
#include "server/http/BoardPage.h"
#include "server/http/RateLimiter.h"
#include "server/referee/SubmissionJudge.h"

namespace {
// A replay with a header of our choosing and a given number of ticks.
std::string MadeReplay(std::uint64_t seed, std::uint32_t ticks, const TReplayAssists& assists = {},
                       std::uint32_t version = GameVersion) {
  TReplayHeader h;
  h.GameVersion = version;
  h.ScriptState = h.PlaySeed = seed;
  h.Assists = assists;
  h.Ticks = ticks;
  std::vector<std::uint8_t> stream;
  for (std::uint32_t left = ticks; left > 0;) {
    const std::uint32_t run = std::min<std::uint32_t>(left, 128);
    stream.push_back(std::uint8_t(run - 1));
    left -= run;
  }
  const std::string path = ::testing::TempDir() + "/made.rpl";
  EXPECT_TRUE(WriteReplayFile(path.c_str(), h, stream.data(), stream.size(), nullptr, 0));
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TJob GoodJob(std::uint32_t ticks = 1000) {
  TJob j;
  j.TicketState = TicketState::Ok;
  j.Seed = 99;
  j.IssuedAt = 1000000;
  j.ReceivedAt = j.IssuedAt + ticks * 10 + 500;  // a little after the game's length
  j.Replay = MadeReplay(99, ticks);
  return j;
}

TReplayer Scores(int score, bool* called = nullptr) {
  return [score, called](const std::string&) {
    if (called) *called = true;
    TReplayOutcome o;
    o.Finished = true;
    o.Result.Score = score;
    o.Result.Level = 3;
    o.Result.Frames = 1000;
    return o;
  };
}

TEST(SubmissionJudge, RefusesEachCheatWithItsReason) {
  TReplayOutcome diverged;
  diverged.Failure = "replay diverges at tick 500";
  const TReplayer divergent = [&](const std::string&) { return diverged; };
  struct TCase {
    const char* What;
    std::function<void(TJob&)> Change;
    TReplayer Replay;
    std::string Reason;  // the start of it
  } cases[] = {
      {"ticket used", [](TJob& j) { j.TicketState = TicketState::Used; }, Scores(10), "ticket already used"},
      {"ticket expired", [](TJob& j) { j.TicketState = TicketState::Expired; }, Scores(10), "ticket expired"},
      {"ticket unknown", [](TJob& j) { j.TicketState = TicketState::Unknown; }, Scores(10), "ticket unknown"},
      {"damaged file", [](TJob& j) { j.Replay[j.Replay.size() - 1] ^= 1; }, Scores(10), "bad checksum"},
      {"other seed", [](TJob& j) { j.Seed = 98; }, Scores(10), "wrong seed for the ticket"},
      {"assists",
       [](TJob& j) {
         j.Replay = MadeReplay(99, 1000, TReplayAssists{0, true, true});
       },
       Scores(10), "made with developer assists (no damage, bombs)"},
      {"other version", [](TJob& j) { j.Replay = MadeReplay(99, 1000, {}, GameVersion - 1); }, Scores(10),
       "recorded by game version"},
      {"twice the clock's speed", [](TJob& j) { j.ReceivedAt = j.IssuedAt + 5000; }, Scores(10),
       "played faster than the clock: 10.0 s of play 5.0 s after its ticket"},
      {"diverges", [](TJob&) {}, divergent, "replay diverges at tick 500"},
      {"claimed score", [](TJob& j) { j.ClaimedScore = 5000; }, Scores(3200),
       "claimed score 5000, the game scores 3200"},
  };
  for (const TCase& c : cases) {
    TJob job = GoodJob();
    c.Change(job);
    const TVerdict v = JudgeSubmission(job, TClockRule{}, c.Replay);
    EXPECT_FALSE(v.Accepted) << c.What;
    EXPECT_EQ(v.Reason.substr(0, c.Reason.size()), c.Reason) << c.What << ": " << v.Reason;
  }
}

TEST(SubmissionJudge, TakesTheComputedScoreAndToleratesSlowPlay) {
  TJob job = GoodJob();
  job.ClaimedScore = 3200;
  bool replayed = false;
  TVerdict v = JudgeSubmission(job, TClockRule{}, Scores(3200, &replayed));
  EXPECT_TRUE(replayed);
  EXPECT_TRUE(v.Accepted) << v.Reason;
  EXPECT_EQ(v.Score, 3200);
  EXPECT_EQ(v.Level, 3);
  // An hour of wall time for ten seconds of play: pauses, a slow machine.
  job.ReceivedAt = job.IssuedAt + 3600 * 1000;
  EXPECT_TRUE(JudgeSubmission(job, TClockRule{}, Scores(3200)).Accepted);
  // Within the tolerance: 10 s of play 8.5 s after the ticket.
  job.ReceivedAt = job.IssuedAt + 8500;
  EXPECT_TRUE(JudgeSubmission(job, TClockRule{}, Scores(3200)).Accepted);
  job.ReceivedAt = job.IssuedAt + 7500;
  EXPECT_FALSE(JudgeSubmission(job, TClockRule{}, Scores(3200)).Accepted);
}

TEST(SubmissionJudge, NoReplayIsPlayedWhenTheHeaderAlreadyFails) {
  TJob job = GoodJob();
  job.Seed = 1;
  bool replayed = false;
  JudgeSubmission(job, TClockRule{}, Scores(0, &replayed));
  EXPECT_FALSE(replayed);
}

TEST(BoardName, TrimsAndTakesOnlyTheSafeSet) {
  const struct {
    const char* Raw;
    const char* Name;  // nullptr: refused
  } cases[] = {{"  Ada  ", "Ada"},
               {"R2-D2_v.1", "R2-D2_v.1"},
               {"abcdefghijkl", "abcdefghijkl"},
               {"abcdefghijklm", nullptr},
               {"", nullptr},
               {"   ", nullptr},
               {"O'Brien", nullptr},
               {"\"x\"", nullptr},
               {"a;DROP", nullptr},
               {"<b>", nullptr},
               {"tab\there", nullptr},
               {"nul\x01", nullptr},
               {"J\xc3\xb6rg", nullptr}};
  for (const auto& c : cases) {
    const std::optional<std::string> name = BoardName(c.Raw);
    if (c.Name)
      EXPECT_EQ(name.value_or("<refused>"), c.Name) << c.Raw;
    else
      EXPECT_FALSE(name) << c.Raw;
  }
}

TEST(Secrets, KeysHashBase64AndTokens) {
  // SHA-256 of the sixteen bytes 00..0f.
  EXPECT_EQ(PlayerKeyHash("000102030405060708090a0b0c0d0e0f").value_or(""),
            "be45cb2605bf36bebde684841a28f0fd43c69850a3dce5fedba69928ee3a8991");
  EXPECT_EQ(PlayerKeyHash("000102030405060708090A0B0C0D0E0F"), PlayerKeyHash("000102030405060708090a0b0c0d0e0f"));
  EXPECT_FALSE(PlayerKeyHash("00010203"));
  EXPECT_FALSE(PlayerKeyHash("zz0102030405060708090a0b0c0d0e0f"));
  EXPECT_EQ(DecodeBase64("aGVsbG8=").value_or(""), "hello");
  EXPECT_EQ(DecodeBase64("aGk=").value_or(""), "hi");
  EXPECT_EQ(DecodeBase64("AAEC").value_or(""), std::string("\0\1\2", 3));
  EXPECT_FALSE(DecodeBase64("aGVsbG8"));
  EXPECT_FALSE(DecodeBase64("aGV$bG8="));
  EXPECT_NE(FreshSeed(), 0u);
  EXPECT_NE(FreshToken(), FreshToken());
  EXPECT_EQ(FreshToken().size(), 32u);
  EXPECT_TRUE(SameSecret("token", "token"));
  EXPECT_FALSE(SameSecret("token", "tokeN"));
  EXPECT_FALSE(SameSecret("token", "token2"));
}

TEST(BoardPage, EscapesNamesAndLinksEachReplay) {
  TBoardRow row;
  row.Rank = 1;
  row.Id = 7;
  row.Name = "<script>'&\"";
  row.Score = 1234;
  const std::string html = BoardPageHtml({row}, "all");
  EXPECT_EQ(html.find("<script>"), std::string::npos);
  EXPECT_NE(html.find("&lt;script&gt;&#39;&amp;&quot;"), std::string::npos);
  EXPECT_NE(html.find("href=\"/api/entries/7/replay\""), std::string::npos);
  EXPECT_NE(html.find("href=\"/play/?watch=/api/entries/7/replay\""), std::string::npos);
}

TEST(BoardPage, TheWeekStartsOnMondayUtc) {
  constexpr std::int64_t Day = 86400000;
  // 2026-12-10 is a Thursday; its week began on Monday 2026-12-07.
  const std::int64_t thursday = 20797 * Day + 15 * 3600 * 1000;
  EXPECT_EQ(UtcDay(thursday), "2026-12-10");
  EXPECT_EQ(UtcDay(WeekStartMs(thursday)), "2026-12-07");
  EXPECT_EQ(WeekStartMs(thursday) % Day, 0);
  EXPECT_EQ(WeekStartMs(20794 * Day), 20794 * Day) << "Monday 00:00 is its own week's start";
  EXPECT_EQ(WeekStartMs(20794 * Day - 1), 20787 * Day) << "Sunday 23:59 is the week before";
}

TEST(RateLimiter, BurstsThenTheRateThenRefills) {
  TRateLimiter limiter(5);
  const auto t0 = std::chrono::steady_clock::now();
  int allowed = 0;
  for (int i = 0; i < 20; ++i) allowed += limiter.Allow("a", t0);
  EXPECT_EQ(allowed, 10) << "a burst of twice the rate";
  EXPECT_TRUE(limiter.Allow("b", t0)) << "another address has its own bucket";
  EXPECT_FALSE(limiter.Allow("a", t0 + std::chrono::milliseconds(100)));
  EXPECT_TRUE(limiter.Allow("a", t0 + std::chrono::milliseconds(250)));
  TRateLimiter none(0);
  for (int i = 0; i < 1000; ++i) ASSERT_TRUE(none.Allow("a", t0));
}

TEST(ServiceOptions, ParsesAndRefuses) {
  auto parse = [](std::vector<std::string> args, TServiceOptions& o, std::string& why) {
    std::vector<char*> argv = {const_cast<char*>("quadrovolt-scores")};
    for (std::string& a : args) argv.push_back(a.data());
    return ParseServiceOptions(int(argv.size()), argv.data(), 1, o, why);
  };
  TServiceOptions o;
  std::string why;
  ASSERT_TRUE(parse({"--listen", "127.0.0.1:0", "--workers", "3", "--lease", "5", "--cpu-cap", "2"}, o, why)) << why;
  EXPECT_EQ(o.Host, "127.0.0.1");
  EXPECT_EQ(o.Port, 0);
  EXPECT_EQ(o.Workers, 3);
  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{{"--nope"},
                                                                                   {"--listen", "8470"},
                                                                                   {"--listen", "h:99999"},
                                                                                   {"--workers", "0"},
                                                                                   {"--workers", "2x"},
                                                                                   {"--cpu-cap", "0"},
                                                                                   {"--db"}}) {
    TServiceOptions fresh;
    EXPECT_FALSE(parse(bad, fresh, why)) << bad[0];
  }
}
}  // namespace

namespace {
TEST(BoardCache, KeepsABoardForItsTimeAndReadsItAgainAfterAChange) {
  TBoardCache cache(std::chrono::milliseconds(200));
  int reads = 0;
  auto fetch = [&] {
    ++reads;
    TBoardRow row;
    row.Score = reads;
    return std::vector<TBoardRow>{row};
  };
  EXPECT_EQ(cache.Board(0, 100, fetch).at(0).Score, 1);
  EXPECT_EQ(cache.Board(0, 100, fetch).at(0).Score, 1) << "read again within its time";
  EXPECT_EQ(cache.Board(5, 100, fetch).at(0).Score, 2) << "another period is another board";
  EXPECT_EQ(cache.Board(0, 10, fetch).at(0).Score, 3) << "another limit is another board";
  cache.Clear();
  EXPECT_EQ(cache.Board(0, 100, fetch).at(0).Score, 4) << "the first reader after a change reads it again";
  std::this_thread::sleep_for(std::chrono::milliseconds(250));
  // While one reader reads it again, another is given the board it had.
  int during = 0;
  EXPECT_EQ(cache
                .Board(0, 100,
                       [&] {
                         during = cache.Board(0, 100, fetch).at(0).Score;
                         return fetch();
                       })
                .at(0)
                .Score,
            5);
  EXPECT_EQ(during, 4);
  EXPECT_EQ(cache.Board(0, 100, fetch).at(0).Score, 5);
  // A change while a board is read: that board is handed out, then read again.
  EXPECT_EQ(cache
                .Board(1, 1,
                       [&] {
                         cache.Clear();
                         return fetch();
                       })
                .at(0)
                .Score,
            6);
  EXPECT_EQ(cache.Board(1, 1, fetch).at(0).Score, 7);
}
}  // namespace
