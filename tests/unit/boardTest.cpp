// The score board as the game keeps it: the sharing settings file, the
// outbox of games waiting to be sent, and the verdict line's words.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "board/BoardOutbox.h"
#include "board/BoardSettings.h"
#include "board/BoardView.h"
#include "tools/harness/TempFolder.h"

namespace {
std::string Read(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
void Write(const std::filesystem::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

TPendingGame Game(const std::string& ticket, std::size_t bytes, std::uint8_t fill = 7) {
  return TPendingGame{ticket, "Ada B.", std::string(32, 'a'), 4250, std::vector<std::uint8_t>(bytes, fill)};
}
}  // namespace

TEST(BoardSettings, NamesFollowTheBoardsRule) {
  const struct {
    const char* In;
    const char* Out;
  } cases[] = {{"Ada", "Ada"},
               {"  Ada  ", "Ada"},
               {"a.b-c_d 9", "a.b-c_d 9"},
               {"123456789012", "123456789012"},
               {"1234567890123", ""},
               {"", ""},
               {"   ", ""},
               {"Zoë", ""},
               {"a/b", ""},
               {"tab\there", ""},
               {"<script>", ""},
               {" twelve chars ", "twelve chars"}};
  for (const auto& c : cases) EXPECT_EQ(BoardName(c.In), c.Out) << '"' << c.In << '"';
}

TEST(BoardSettings, KeysAreFreshHexAndChecked) {
  const std::string a = NewPlayerKey(), b = NewPlayerKey();
  EXPECT_TRUE(IsPlayerKey(a)) << a;
  EXPECT_NE(a, b);
  EXPECT_FALSE(IsPlayerKey(std::string(31, 'a')));
  EXPECT_FALSE(IsPlayerKey(std::string(32, 'A')));
  EXPECT_FALSE(IsPlayerKey(std::string(31, 'a') + "g"));
}

TEST(BoardSettings, RoundTripThroughTheFile) {
  TTempFolder dir;
  const std::string path = (dir.Path() / BoardSettingsFileName).string();
  std::vector<std::string> complaints;
  const TBoardSettings fresh = LoadBoardSettings(path, complaints);
  EXPECT_FALSE(fresh.Sharing) << "sharing is off until the player turns it on";
  EXPECT_EQ(fresh.Address, DefaultBoardAddress);
  EXPECT_TRUE(IsPlayerKey(fresh.Key));
  EXPECT_TRUE(complaints.empty());

  TBoardSettings s;
  s.Sharing = true;
  s.Name = "Ada B.";
  s.Key = "0123456789abcdef0123456789abcdef";
  s.Address = "http://scores.example:9000";
  ASSERT_TRUE(SaveBoardSettings(path, s));
  const TBoardSettings back = LoadBoardSettings(path, complaints);
  EXPECT_TRUE(complaints.empty()) << complaints[0];
  EXPECT_TRUE(back.Sharing);
  EXPECT_EQ(back.Name, s.Name);
  EXPECT_EQ(back.Key, s.Key);
  EXPECT_EQ(back.Address, s.Address);
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

// A session keeps the file only when it changes something: a player who never
// shares gets none, one who does keeps one file that is not rewritten.
TEST(BoardSettings, KeptOnlyWhenTheyChangeTheFile) {
  TTempFolder dir;
  const std::string path = (dir.Path() / BoardSettingsFileName).string();
  std::vector<std::string> complaints;
  TBoardSettings s = LoadBoardSettings(path, complaints);
  ASSERT_TRUE(KeepBoardSettings(path, s));
  EXPECT_FALSE(std::filesystem::exists(path)) << "sharing never turned on: no file";

  s.Name = "Ada";
  ASSERT_TRUE(KeepBoardSettings(path, s));
  ASSERT_TRUE(std::filesystem::exists(path)) << "a name chosen is kept even with sharing off";
  EXPECT_EQ(LoadBoardSettings(path, complaints).Key, s.Key) << "the key made at the first start is the one kept";

  // Unchanged: the file is left as it is (a stranger's byte in it shows a rewrite).
  Write(path, Read(path) + "# kept\n");
  ASSERT_TRUE(KeepBoardSettings(path, LoadBoardSettings(path, complaints)));
  EXPECT_NE(Read(path).find("# kept"), std::string::npos);
  s.Sharing = true;
  ASSERT_TRUE(KeepBoardSettings(path, s));
  EXPECT_TRUE(LoadBoardSettings(path, complaints).Sharing);
  EXPECT_EQ(Read(path), FormatBoardSettings(s));

  // A file written by hand without a key: the key made on reading is kept.
  Write(path, "sharing = on\nname = Ada\n");
  const TBoardSettings handWritten = LoadBoardSettings(path, complaints);
  ASSERT_TRUE(KeepBoardSettings(path, handWritten));
  EXPECT_EQ(LoadBoardSettings(path, complaints).Key, handWritten.Key);
}

TEST(BoardSettings, BadLinesAreSkippedAndSaid) {
  std::vector<std::string> complaints;
  const TBoardSettings s = ParseBoardSettings(
      "# comment\n\nsharing = on\nname = far too long a name\nkey = XYZ\naddress = ftp://nope\ncolour = red\n"
      "just words\nsharing = maybe\n",
      complaints);
  EXPECT_EQ(complaints.size(), 6u);
  ASSERT_FALSE(complaints.empty());
  EXPECT_EQ(complaints[0].rfind("line 4: ", 0), 0u) << complaints[0];
  EXPECT_FALSE(s.Sharing) << "no name the board takes: nothing may be sent";
  EXPECT_EQ(s.Name, "");
  EXPECT_TRUE(IsPlayerKey(s.Key)) << "a bad key is made afresh";
  EXPECT_EQ(s.Address, DefaultBoardAddress);

  complaints.clear();
  const TBoardSettings ok = ParseBoardSettings("sharing=on\r\nname =  Bo \r\n", complaints);
  EXPECT_TRUE(complaints.empty());
  EXPECT_TRUE(ok.Sharing);
  EXPECT_EQ(ok.Name, "Bo");
}

TEST(BoardSettings, TheEnvironmentChoosesTheAddress) {
  TBoardSettings s;
  s.Address = "http://kept:1";
  ::unsetenv(BoardAddressVariable);
  EXPECT_EQ(BoardAddress(s), "http://kept:1");
  ::setenv(BoardAddressVariable, "http://127.0.0.1:5555", 1);
  EXPECT_EQ(BoardAddress(s), "http://127.0.0.1:5555");
  ::unsetenv(BoardAddressVariable);
}

TEST(BoardOutbox, RoundTripKeepsEveryGame) {
  TTempFolder dir;
  const std::string path = (dir.Path() / BoardOutboxFileName).string();
  TBoardOutbox box;
  std::string why;
  EXPECT_TRUE(box.Load(path, why)) << "no file: nothing waits";
  EXPECT_TRUE(box.Empty());
  ASSERT_TRUE(box.Add(Game("t1", 300, 1)));
  ASSERT_TRUE(box.Add(Game("t2", 70000, 2)));
  ASSERT_TRUE(box.Save(path));
  TBoardOutbox back;
  ASSERT_TRUE(back.Load(path, why)) << why;
  ASSERT_EQ(back.Games().size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    const TPendingGame &a = box.Games()[i], &b = back.Games()[i];
    EXPECT_EQ(a.Ticket, b.Ticket);
    EXPECT_EQ(a.Name, b.Name);
    EXPECT_EQ(a.Key, b.Key);
    EXPECT_EQ(a.ClaimedScore, b.ClaimedScore);
    EXPECT_EQ(a.Replay, b.Replay);
  }
  back.Remove("t1");
  ASSERT_EQ(back.Games().size(), 1u);
  EXPECT_EQ(back.Games()[0].Ticket, "t2");
}

TEST(BoardOutbox, IsBoundedAndTakesOneGamePerTicket) {
  TBoardOutbox box;
  EXPECT_FALSE(box.Add(Game("big", TBoardOutbox::MaxReplayBytes + 1)));
  EXPECT_FALSE(box.Add(Game("empty", 0)));
  for (std::size_t i = 0; i < TBoardOutbox::MaxGames + 3; ++i) EXPECT_TRUE(box.Add(Game("t" + std::to_string(i), 10)));
  ASSERT_EQ(box.Games().size(), TBoardOutbox::MaxGames);
  EXPECT_EQ(box.Games().front().Ticket, "t3") << "the oldest make room";
  box.Add(Game("t5", 20));
  EXPECT_EQ(box.Games().size(), TBoardOutbox::MaxGames);
  EXPECT_EQ(box.Games().back().Replay.size(), 20u);
}

TEST(BoardOutbox, ADamagedFileIsSetAsideNotTrusted) {
  TBoardOutbox box;
  box.Add(Game("t1", 500));
  box.Add(Game("t2", 500));
  const std::vector<std::uint8_t> good = box.Encode();
  std::vector<TPendingGame> out;
  ASSERT_TRUE(TBoardOutbox::Decode(good.data(), good.size(), out));
  EXPECT_EQ(out.size(), 2u);
  // Every cut and every flipped byte is refused.
  for (std::size_t n = 0; n < good.size(); n += 37) {
    EXPECT_FALSE(TBoardOutbox::Decode(good.data(), n, out)) << "cut at " << n;
    std::vector<std::uint8_t> bad = good;
    bad[n] ^= 0x40;
    EXPECT_FALSE(TBoardOutbox::Decode(bad.data(), bad.size(), out)) << "byte " << n;
    EXPECT_TRUE(out.empty());
  }

  TTempFolder dir;
  const std::string path = (dir.Path() / BoardOutboxFileName).string();
  Write(path, std::string(reinterpret_cast<const char*>(good.data()), good.size() - 3));
  TBoardOutbox loaded;
  std::string why;
  EXPECT_FALSE(loaded.Load(path, why));
  EXPECT_TRUE(loaded.Empty());
  EXPECT_NE(why.find("set aside"), std::string::npos) << why;
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(Read(path + ".damaged").size(), good.size() - 3);
  // The next save starts a sound file again.
  ASSERT_TRUE(box.Save(path));
  EXPECT_TRUE(loaded.Load(path, why));
  EXPECT_EQ(loaded.Games().size(), 2u);
}

TEST(BoardView, VerdictWords) {
  const struct {
    TVerdict V;
    const char* Words;
  } cases[] = {
      {{TVerdictKind::None, 0, ""}, ""},
      {{TVerdictKind::Queued, 0, ""}, "queued"},
      {{TVerdictKind::Accepted, 12, ""}, "accepted: rank 12 this week"},
      {{TVerdictKind::Accepted, 0, ""}, "accepted"},
      {{TVerdictKind::Refused, 0, "replay diverges at tick 1500"}, "refused: replay diverges at tick 1500"},
      {{TVerdictKind::NoTicket, 0, ""}, "not eligible: offline"},
      {{TVerdictKind::WaitingOffline, 0, ""}, "not sent yet: offline"},
  };
  for (const auto& c : cases) EXPECT_EQ(VerdictWords(c.V), c.Words);
}
