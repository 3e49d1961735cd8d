// Replays: a recorded game plays back the same in a fresh game object and in
// the one that recorded it, in every control mode; the files are written
// safely; R on the title watches one without touching the player's record;
// damaged files are refused with a reason.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/Replay.h"
#include "app/SaveFile.h"
#include "levels/LevelManager.h"
#include "tests/support/Arrange.h"
#include "tests/support/TestGame.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Plays one game from the title with input that changes every few frames
// (keys, pause under P with its repeats, cursor, buttons, joystick readings
// that come and go), then leaves it with Escape. `variant` makes another game;
// `armed` flies with three bullets and bombs to spare, to clear levels.
void PlayScriptedGame(TTestGame& t, int frames, int variant = 0, int startLevel = 1, bool armed = false) {
  TArrange arrange(t.Host);
  arrange.TitleReadyForFire();
  arrange.OpenLevelsUpTo(startLevel);
  arrange.ShowStartLevel(startLevel);
  arrange.Assists(TReplayAssists{armed ? 3 : 0, true, armed});  // the whole script is played, whatever it flies into
  if (armed) t.Key(VK::Space, true);
  t.Joystick.Ok = true;
  t.Joystick.Info = TJoyInfo{};
  // The fire input of every mode is held when the game starts.
  t.Key(VK::Z, true);
  t.Click(true);
  t.Joystick.Info.Buttons = 1;
  t.Run(1);
  ASSERT_EQ(t.Host.State(), GameState::Playing);
  for (int f = 0; f < frames; ++f) {
    const int k = f + 17 * variant;
    if (k % 23 == 0) t.Key(VK::Left, (k / 23) % 2 == 0);
    if (k % 31 == 0) t.Key(VK::Up, (k / 31) % 2 == 0);
    if (k % 40 == 5) t.Key(VK::Left, true);  // a repeat of a held key
    if (f == 200) t.Key(VK::P, true);        // paused
    if (f == 203) t.Key(VK::P, true);        // its repeat: running again
    if (f == 206) t.Key(VK::X, true);        // another key under P: paused
    if (f == 230) t.Key(VK::P, false);
    if (f == 240) t.Tap(VK::P);  // running again
    if (f == 300 && !armed) t.Tap(VK::Space);
    if (k % 7 == 0) t.Host.PointerAt(512 + (k * 37) % 400 - 200, 384 + (k * 53) % 300 - 150);
    if (k % 50 == 0) t.Host.Button(false, true);
    if (k % 50 == 3) t.Host.Button(false, false);
    if (k % 90 == 60) t.Click(false);
    if (k % 90 == 0) t.Click(true);
    TJoyInfo& j = t.Joystick.Info;
    j.XPos = unsigned(32767 + ((k * 911) % 60000) - 30000);
    if (k % 3 == 0) j.YPos = unsigned((k * 313) % 65536);
    j.Buttons = unsigned((k / 13) % 16);
    j.RightX = unsigned((k * 7) % 65536), j.RightTrigger = unsigned(k % 2 ? 0 : 65535);
    t.Joystick.Ok = k % 97 > 10;  // unplugged now and then
    t.Run(1);
  }
  // Escape ends the game at what follows it in the tick's input: its release
  // in the same tick, or the tick itself.
  t.Key(VK::Escape, true);
  if (variant % 2 == 0) t.Run(1);
  t.Key(VK::Escape, false);
  t.Run(1);
  ASSERT_EQ(t.Host.State(), GameState::Title);
  arrange.Assists(TReplayAssists{});
  t.Key(VK::Space, false);
  t.Key(VK::Z, false);
  t.Click(false);
}

TReplay LoadOrFail(const fs::path& p) {
  TReplay r;
  std::string why;
  EXPECT_TRUE(LoadReplayFile(p.string(), r, why)) << why;
  return r;
}

// Watches a replay to its end in this game object; how it came out.
TReplayResult WatchToTheEnd(TTestGame& t, TReplay replay) {
  t.Host.Watch(std::move(replay));
  EXPECT_TRUE(t.Host.Watching());
  for (int guard = 0; t.Host.Watching() && guard < 100000; ++guard) t.Run(1);
  EXPECT_EQ(t.Host.State(), GameState::Title);
  return t.Game->Replays().LastResult();
}

void ExpectSameGame(const TReplayResult& a, const TReplayResult& b) {
  EXPECT_EQ(a.Frames, b.Frames);
  EXPECT_EQ(a.Level, b.Level);
  EXPECT_EQ(a.Score, b.Score);
  EXPECT_EQ(a.Damage, b.Damage);
  EXPECT_EQ(a.Checksum, b.Checksum);
}

}  // namespace

TEST(Replay, EveryModeReplaysExactlyHereAndInAFreshGame) {
  for (std::uint8_t mode : {InputModes::Keyboard, InputModes::Mouse, InputModes::Joystick}) {
    SCOPED_TRACE(int(mode));
    // Recorded after an earlier game, under a level script of its own.
    TTestGame rec(mode, nullptr, 77);
    PlayScriptedGame(rec, 400, 1, 4);
    PlayScriptedGame(rec, 700);
    const TReplayResult recorded = rec.Game->Replays().LastResult();
    EXPECT_EQ(recorded.Frames, 701u) << "the tick after Escape counts, undrawn";
    const TReplay replay = LoadOrFail(rec.Dir / TQuadrovoltMain::ReplayLastName);
    EXPECT_EQ(replay.Header.Ticks, 701u);
    EXPECT_EQ(replay.Header.InputMode, mode);

    TTestGame fresh(InputModes::Mouse);
    const std::uint64_t freshScript = fresh.Game->Replays().ScriptState();
    const auto freshRows = fresh.Game->World().LevelManager().Spawns.size();
    ExpectSameGame(WatchToTheEnd(fresh, replay), recorded);
    EXPECT_EQ(fresh.Host.ControlMode(), InputModes::Mouse) << "the player's own mode comes back";
    EXPECT_EQ(fresh.Game->Replays().ScriptState(), freshScript) << "and so does the player's own level script";
    EXPECT_EQ(fresh.Game->World().LevelManager().Spawns.size(), freshRows);

    ExpectSameGame(WatchToTheEnd(rec, replay), recorded);
  }
}

TEST(Replay, ADifferentInputOrSeedMakesADifferentGame) {
  TTestGame rec(InputModes::Mouse);
  PlayScriptedGame(rec, 600);
  TReplay replay = LoadOrFail(rec.Dir / TQuadrovoltMain::ReplayLastName);
  const TReplayResult recorded = rec.Game->Replays().LastResult();
  TReplay reseeded = replay;
  reseeded.Header.PlaySeed ^= 1;
  EXPECT_NE(WatchToTheEnd(rec, reseeded).Checksum, recorded.Checksum);
  TReplay rescripted = replay;
  rescripted.Header.ScriptState ^= 1;
  EXPECT_NE(WatchToTheEnd(rec, rescripted).Checksum, recorded.Checksum);
  TReplay moved = replay;
  moved.Header.Start.CursorX += 40;  // every later cursor position moves with it
  EXPECT_NE(WatchToTheEnd(rec, moved).Checksum, recorded.Checksum);
}

TEST(Replay, GameOverEndsTheRecordingAndItsReplayAtTheSameFrame) {
  TTestGame rec(InputModes::Keyboard);
  TArrange(rec.Host).TitleReadyForFire();
  rec.Key(VK::Z, true);
  rec.Run(1);
  rec.Key(VK::Right, true);
  rec.Run(150);
  rec.Player().Invulnerable = 0;
  rec.Player().Damage = 101;  // as if rammed: the game-over pause follows
  for (int i = 0; i < 300 && rec.Host.State() != GameState::Title; ++i) rec.Run(1);
  ASSERT_EQ(rec.Host.State(), GameState::Title);
  const TReplayResult recorded = rec.Game->Replays().LastResult();
  // The damage was written into the game, not input: the replay dies later or
  // not at all, but it ends where its input ends.
  TTestGame fresh;
  const TReplayResult replayed = WatchToTheEnd(fresh, LoadOrFail(rec.Dir / TQuadrovoltMain::ReplayLastName));
  EXPECT_EQ(replayed.Frames, recorded.Frames);
  EXPECT_EQ(recorded.Frames, 150u + 1 + TQuadrovoltMain::GameOverFrames);
}

TEST(Replay, FilesLandBesideTheSaveFileAndAFailedWriteKeepsTheOldOnes) {
  TTestGame t;
  const fs::path last = t.Dir / TQuadrovoltMain::ReplayLastName, best = t.Dir / TQuadrovoltMain::ReplayBestName;
  TArrange(t.Host).BestScore(1000000);  // out of reach: not a new best
  PlayScriptedGame(t, 300);
  ASSERT_TRUE(fs::exists(last));
  EXPECT_FALSE(fs::exists(best));
  const auto first = ReadBytes(last);

  TArrange(t.Host).BestScore(0);
  fs::remove(t.Dir / SaveFile::DefaultFileName);  // and the record out of reach with it
  PlayScriptedGame(t, 500, 2);
  ASSERT_GT(t.Game->Replays().LastResult().Score, 0) << "the scripted game shoots something down";
  ASSERT_TRUE(fs::exists(best)) << "a new best score keeps its game";
  EXPECT_EQ(ReadBytes(best), ReadBytes(last));
  EXPECT_NE(ReadBytes(last), first);
  // The game ended is still the recording the host hands out without a file
  // (the page offers it, the board sends it), byte for byte.
  EXPECT_EQ(t.Host.RecordingBytes(), ReadBytes(last));

  // A temporary that cannot be made (a folder in its way): the old files stay
  // whole and the game goes on.
  const auto before = ReadBytes(last);
  fs::create_directories(last.string() + ".tmp");
  PlayScriptedGame(t, 200, 3);
  EXPECT_EQ(ReadBytes(last), before);
  // A folder where the replay goes: it cannot be written, and the game says so.
  fs::remove(last.string() + ".tmp");
  fs::remove(last);
  fs::create_directories(last / "in-the-way");
  testing::internal::CaptureStderr();
  PlayScriptedGame(t, 100, 4);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("could not write the replay " + last.string() + ": "), std::string::npos) << said;
  t.StartPlaying();
  t.Run(5);
  EXPECT_EQ(t.Host.State(), GameState::Playing);
}

TEST(Replay, RWatchesTheBestGameAndLeavesTheRecordAlone) {
  TTestGame t;
  const fs::path save = t.Dir / SaveFile::DefaultFileName;
  PlayScriptedGame(t, 1500, 2, 1, true);  // a best (the first score beats 0)
  const TReplayResult best = t.Game->Replays().LastResult();
  ASSERT_GT(best.Score, 0);
  ASSERT_GT(best.Level, 1) << "it cleared a level, which saves a new highest level";
  TArrange(t.Host).BestScore(1000000);  // the next one is no best
  PlayScriptedGame(t, 300);
  const auto lastBytes = ReadBytes(t.Dir / TQuadrovoltMain::ReplayLastName);
  // As if the record had been lost: a replay must not win it back.
  fs::remove(save);
  TArrange(t.Host).ReloadSave();
  ASSERT_EQ(t.Host.HiScore(), 0);
  const int maxLevel = t.Host.MaxLevel();

  t.Tap('R');
  t.Run(1);  // the step that takes R plays the replay's first tick
  ASSERT_TRUE(t.Host.Watching());
  EXPECT_EQ(t.Host.State(), GameState::Playing);
  t.Run(49);
  t.Tap('R');  // a key the replay did not hold is pressed: back to the title
  t.Run(1);
  EXPECT_FALSE(t.Host.Watching());
  EXPECT_EQ(t.Host.State(), GameState::Title);
  EXPECT_EQ(t.Game->Replays().LastResult().Frames, 50u);

  // A locked level in the middle of the strip: the title's choice stays the
  // level chosen before.
  ASSERT_EQ(maxLevel, 1);
  TArrange(t.Host).ShowStartLevel(17);
  t.Run(1);
  ASSERT_EQ(t.Game->Title().SelectedLevel(), -1);
  // R on a paused title plays the replay, every frame of it drawn.
  t.Tap(VK::P);
  t.Run(1);
  ASSERT_TRUE(t.Host.Paused());
  const int level = t.Host.Level(), offset = t.Game->Title().StripOffset();
  t.Tap('R');
  t.Run(1);
  EXPECT_FALSE(t.Host.Paused());
  for (int i = 0; i < 100000 && t.Host.Watching(); ++i) t.Run(1);
  ExpectSameGame(t.Game->Replays().LastResult(), best);
  EXPECT_EQ(t.Game->Replays().DivergedAt(), 0u);
  EXPECT_EQ(t.Host.HiScore(), 0);
  EXPECT_EQ(t.Host.MaxLevel(), maxLevel);
  // The title's choice is the player's again, not the level the replay ended on.
  EXPECT_EQ(t.Host.Level(), level);
  EXPECT_EQ(t.Game->Title().StripOffset(), offset);
  EXPECT_FALSE(fs::exists(save)) << "watching never saves";
  EXPECT_EQ(ReadBytes(t.Dir / TQuadrovoltMain::ReplayLastName), lastBytes);

  // Watching ends with a click too, and a held key's repeats do not end it.
  t.Key('R', true);
  t.Run(3);
  t.Key('R', true);
  t.Run(1);
  EXPECT_TRUE(t.Host.Watching());
  t.Key('R', false);
  t.Click(true);
  t.Run(1);
  EXPECT_FALSE(t.Host.Watching());
  t.Click(false);

  t.StartPlaying();
  EXPECT_EQ(t.Host.Level(), level);
}

TEST(Replay, RWithoutAGoodFileLeavesTheTitleAndSaysWhy) {
  TTestGame t;
  t.Run(2);
  const fs::path best = t.Dir / TQuadrovoltMain::ReplayBestName, last = t.Dir / TQuadrovoltMain::ReplayLastName;
  // What R says on standard error, one line.
  auto refusal = [&] {
    testing::internal::CaptureStderr();
    t.Tap('R');
    t.Run(1);
    EXPECT_FALSE(t.Host.Watching());
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    return said;
  };
  EXPECT_NE(refusal().find("no replay to watch: " + best.string() + ": cannot be opened"), std::string::npos);
  std::ofstream(best) << "QVREPLAY but not really";
  EXPECT_NE(refusal().find(best.string() + ": too short"), std::string::npos);
  // A named pipe, a folder: refused at once, never waited on.
  fs::remove(best);
  ASSERT_EQ(::mkfifo(best.c_str(), 0600), 0);
  fs::create_directories(last);
  const std::string said = refusal();
  EXPECT_NE(said.find(best.string() + ": not a regular file"), std::string::npos) << said;
  EXPECT_NE(said.find(last.string() + ": not a regular file"), std::string::npos) << said;
  TReplay r;
  std::string why;
  EXPECT_FALSE(LoadReplayFile("/dev/zero", r, why));
  EXPECT_EQ(why, "not a regular file");
  EXPECT_EQ(t.Host.State(), GameState::Title);
  t.Run(2);
  EXPECT_EQ(t.Host.State(), GameState::Title);
}

TEST(Replay, AnEditedInputSaysAtWhichCheckpointItParted) {
  TTestGame rec(InputModes::Mouse);
  PlayScriptedGame(rec, 1600);
  const TReplayResult recorded = rec.Game->Replays().LastResult();
  const TReplay replay = LoadOrFail(rec.Dir / TQuadrovoltMain::ReplayLastName);
  ASSERT_EQ(replay.Checkpoints.size(), 4u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(replay.Checkpoints[i].Tick, 500u * (i + 1));
  EXPECT_EQ(replay.Checkpoints[3].Tick, recorded.Frames) << "and one at the end";
  EXPECT_EQ(replay.Checkpoints[3].Checksum, recorded.Checksum);
  ExpectSameGame(WatchToTheEnd(rec, replay), recorded);
  EXPECT_EQ(rec.Game->Replays().DivergedAt(), 0u);

  // The first right click after tick 600 made a left button release instead:
  // the ship is not sent to the cursor, and the game parts there.
  TReplayDecoder d(replay.Stream.data(), replay.Stream.size(), replay.Header.Start);
  TReplayOp op;
  std::uint32_t ticks = 0;
  std::size_t at = 0;
  while (!at && d.Next(op)) {
    if (op.Kind == TReplayOp::TKind::Ticks) ticks += std::uint32_t(op.Count);
    if (ticks > 600 && op.Kind == TReplayOp::TKind::Event && op.Event.Kind == TInputEvent::TKind::RightDown)
      at = d.Offset() - 1;
  }
  ASSERT_NE(at, 0u);
  ASSERT_LT(ticks, 1000u);
  TReplay edited = replay;
  edited.Stream[at] = ReplayCode::LeftUp;
  testing::internal::CaptureStderr();
  WatchToTheEnd(rec, edited);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "replay diverges at tick 1000\n");
  EXPECT_EQ(rec.Game->Replays().DivergedAt(), 1000u);
  EXPECT_EQ(rec.Game->Replays().LastResult().Frames, 1000u) << "it stops where it parted";

  // Only the end is checked after the last checkpoint: a different start
  // cursor parts at once, and a spoilt final checksum at the very end.
  TReplay late = replay;
  late.Checkpoints[3].Checksum ^= 1;
  testing::internal::CaptureStderr();
  WatchToTheEnd(rec, late);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(rec.Game->Replays().DivergedAt(), recorded.Frames);
}

// ---------------------------------------------------------------------------
// The reader, on bytes a recorder wrote and on every way of spoiling them.

namespace {
std::uint64_t Fnv(const std::uint8_t* p, std::size_t n) {
  std::uint64_t h = 0xCBF29CE484222325ull;
  for (std::size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 0x100000001B3ull;
  return h;
}
// After an edit, a hash that matches again, so the check behind it is reached.
void Rehash(std::vector<std::uint8_t>& f) {
  const std::uint64_t h = Fnv(f.data(), f.size() - 8);
  for (int i = 0; i < 8; ++i) f[f.size() - 8 + i] = std::uint8_t(h >> (8 * i));
}
void Put32(std::vector<std::uint8_t>& f, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) f[at + i] = std::uint8_t(v >> (8 * i));
}
// A file around a hand-made input stream and checkpoints.
std::vector<std::uint8_t> WithStream(std::vector<std::uint8_t> file, const std::vector<std::uint8_t>& stream,
                                     std::uint32_t ticks, const std::vector<TReplayCheckpoint>& marks = {}) {
  file.resize(ReplayHeaderSize);
  file.insert(file.end(), stream.begin(), stream.end());
  for (const TReplayCheckpoint& c : marks) ReplayEncode::Checkpoint(file, c);
  file.resize(file.size() + 8);
  Put32(file, ReplayField::Ticks.Offset, ticks);
  Put32(file, ReplayField::StreamLength.Offset, std::uint32_t(stream.size()));
  Put32(file, ReplayField::Checkpoints.Offset, std::uint32_t(marks.size()));
  Rehash(file);
  return file;
}
// An input stream of nothing but that many ticks.
std::vector<std::uint8_t> TicksStream(std::uint32_t ticks) {
  std::vector<std::uint8_t> stream(ticks / 128, ReplayCode::TicksLast);
  if (ticks % 128) stream.push_back(std::uint8_t(ticks % 128 - 1));
  return stream;
}
bool Parses(const std::vector<std::uint8_t>& f, std::string& why) {
  TReplay r;
  return ParseReplay(f.data(), f.size(), r, why);
}
}  // namespace

TEST(ReplayFile, RefusesDamagedFilesWithAReason) {
  TTestGame t(InputModes::Joystick);
  PlayScriptedGame(t, 250);
  const auto good = ReadBytes(t.Dir / TQuadrovoltMain::ReplayLastName);
  std::string why;
  ASSERT_TRUE(Parses(good, why)) << why;

  // Every truncation and every single flipped bit is refused.
  for (std::size_t n = 0; n < good.size(); ++n) {
    std::vector<std::uint8_t> cut(good.begin(), good.begin() + std::ptrdiff_t(n));
    EXPECT_FALSE(Parses(cut, why)) << n;
    auto flipped = good;
    flipped[n] ^= std::uint8_t(1 << (n % 8));
    EXPECT_FALSE(Parses(flipped, why)) << n;
    EXPECT_FALSE(why.empty());
  }
  TReplay none;
  EXPECT_FALSE(ParseReplay(nullptr, 0, none, why));

  struct TCase {
    const char* Name;
    std::vector<std::uint8_t> File;
    const char* Reason;
  };
  auto edit = [&](std::size_t at, std::uint8_t v) {
    auto f = good;
    f[at] = v;
    Rehash(f);
    return f;
  };
  auto longer = good;
  longer.insert(longer.end() - 8, 0x00);
  Rehash(longer);
  const TCase cases[] = {
      {"bad hash",
       [&] {
         auto f = good;
         f.back() ^= 1;
         return f;
       }(),
       "bad checksum"},
      {"magic", edit(0, 'X'), "magic"},
      {"future format", edit(ReplayField::FormatVersion.Offset, 3), "format version 3"},
      {"level 0", edit(ReplayField::StartLevel.Offset, 0), "start level"},
      {"level 41", edit(ReplayField::StartLevel.Offset, 41), "start level"},
      {"control mode", edit(ReplayField::InputMode.Offset, 3), "control mode"},
      {"start flags", edit(ReplayField::StartButtons.Offset, 0x10), "start flags"},
      {"start stick past its travel", edit(ReplayField::StartJoystick.Offset + 2, 0x01), "out of range"},
      {"start trigger at 2^31", edit(ReplayField::StartJoystick.Offset + 6 * 4 + 3, 0x80), "out of range"},
      {"one frame too many counted",
       [&] {
         auto f = good;
         Put32(f, ReplayField::Ticks.Offset, t.Game->Replays().LastResult().Frames + 1);
         Rehash(f);
         return f;
       }(),
       "fewer frames"},
      {"absurd frame count",
       [&] {
         auto f = good;
         Put32(f, ReplayField::Ticks.Offset, 0xFFFFFFFF);
         Rehash(f);
         return f;
       }(),
       "two hours"},
      // Sound in every other way, but longer than anyone plays: refused
      // before it can keep a player or the board's referee busy for days.
      {"a tick past two hours", WithStream(good, TicksStream(MaxReplayTicks + 1), MaxReplayTicks + 1), "two hours"},
      {"absurd stream length",
       [&] {
         auto f = good;
         Put32(f, ReplayField::StreamLength.Offset, 0xFFFFFFF0);
         Rehash(f);
         return f;
       }(),
       "truncated"},
      {"a byte more", longer, "trailing bytes"},
      {"a frame more", WithStream(good, {0x00, 0x00}, 1), "more frames"},
      {"no frames", WithStream(good, {}, 0), "without a single frame"},
      {"unknown code", WithStream(good, {0x00, 0x9A, 0x00}, 2), "unknown code"},
      {"cut key", WithStream(good, {0x00, 0x80}, 1), "middle of a key"},
      {"endless number", WithStream(good, {0x87, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}, 1), "too large"},
      {"cursor off the map",
       WithStream(good, {0x87, 0xFE, 0xFF, 0xFF, 0xFF, 0x0F, 0x00, 0x87, 0xFE, 0xFF, 0xFF, 0xFF, 0x0F, 0x00, 0x00}, 1),
       "outside"},
      {"reading before a frame", WithStream(good, {0x89, 0x80, 0x00}, 1), "outside a frame"},
      {"reading after input", WithStream(good, {0x00, 0x83, 0x89, 0x80, 0x00}, 2), "outside a frame"},
      {"input after the last frame", WithStream(good, {0x00, 0x83}, 1), "after the last frame"},
      {"many readings", WithStream(good, {0x00, 0x88, 0x10, 0x89, 0x80}, 1), "too many"},
      {"many repeats", WithStream(good, {0x00, 0x88, 0x11}, 1), "too many"},
      // Readings past a stick's travel would overflow the controls' sums.
      {"stick at 65536", WithStream(good, {0x00, 0x89, 0x81, 0x80, 0x80, 0x04}, 1), "out of range"},
      {"stick at 2^31", WithStream(good, {0x00, 0x89, 0x82, 0x80, 0x80, 0x80, 0x80, 0x08}, 1), "out of range"},
      {"checkpoint count past the end",
       [&] {
         auto f = good;
         Put32(f, ReplayField::Checkpoints.Offset, 0x40000000);
         Rehash(f);
         return f;
       }(),
       "truncated"},
      {"checkpoint after the end", WithStream(good, {0x01}, 2, {{3, 0}}), "checkpoint"},
      {"checkpoint at tick 0", WithStream(good, {0x01}, 2, {{0, 0}}), "checkpoint"},
      {"checkpoints out of order", WithStream(good, {0x01}, 2, {{2, 0}, {1, 0}}), "checkpoint"},
  };
  for (const TCase& c : cases) {
    why.clear();
    EXPECT_FALSE(Parses(c.File, why)) << c.Name;
    EXPECT_NE(why.find(c.Reason), std::string::npos) << c.Name << ": " << why;
    EXPECT_EQ(why.find('\n'), std::string::npos) << "one line";
  }
  // The same hand-made streams are read when they are sound, a stick at the
  // end of its travel included.
  EXPECT_TRUE(Parses(WithStream(good, {0x00, 0x88, 0x0F, 0x89, 0x80, 0x83, 0x7F}, 129, {{1, 5}, {129, 6}}), why))
      << why;
  EXPECT_TRUE(Parses(WithStream(good, TicksStream(MaxReplayTicks), MaxReplayTicks), why)) << why;
  EXPECT_TRUE(Parses(WithStream(good, {0x00, 0x89, 0x83, 0xFF, 0xFF, 0x03, 0x00}, 1), why)) << why;
}

TEST(Replay, RRefusesAGameOfOtherRulesWithTheirVersion) {
  TTestGame t;
  PlayScriptedGame(t, 250);
  const fs::path best = t.Dir / TQuadrovoltMain::ReplayBestName, last = t.Dir / TQuadrovoltMain::ReplayLastName;
  auto older = ReadBytes(last);
  Put32(older, ReplayField::GameVersion.Offset, GameVersion - 1);
  Rehash(older);
  std::string why;
  ASSERT_TRUE(Parses(older, why)) << "a sound file: only its rules differ";
  std::ofstream(best, std::ios::binary)
      .write(reinterpret_cast<const char*>(older.data()), std::streamsize(older.size()));

  // The best game is of other rules: R falls back to the last one.
  t.Run(200);
  t.Tap('R');
  t.Run(1);
  ASSERT_TRUE(t.Host.Watching());
  t.Host.FinishGame();
  // Both of other rules: nothing plays, and the reason names the versions.
  std::ofstream(last, std::ios::binary)
      .write(reinterpret_cast<const char*>(older.data()), std::streamsize(older.size()));
  testing::internal::CaptureStderr();
  t.Tap('R');
  t.Run(1);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(t.Host.Watching());
  const std::string reason =
      "recorded by game version " + std::to_string(GameVersion - 1) + ", this is " + std::to_string(GameVersion);
  EXPECT_NE(said.find(best.string() + ": " + reason), std::string::npos) << said;
  EXPECT_NE(said.find(last.string() + ": " + reason), std::string::npos) << said;
}

TEST(Replay, ATicketsSeedStartsTheNextGameOnItScriptAndAll) {
  // Two players with different generators, one ticket's seed: the same game.
  constexpr std::uint64_t Seed = 0x5EED0F7E11E7ull;
  TReplayResult results[2];
  std::uint64_t scripts[2];
  for (int i = 0; i < 2; ++i) {
    TTestGame t(InputModes::Mouse, nullptr, i == 0 ? 1234 : 987654);
    scripts[i] = t.Game->Replays().ScriptState();
    t.Host.PlayNextGameOnSeed(Seed);
    PlayScriptedGame(t, 400);
    results[i] = t.Game->Replays().LastResult();
    const TReplay replay = LoadOrFail(t.Dir / TQuadrovoltMain::ReplayLastName);
    EXPECT_EQ(replay.Header.ScriptState, Seed);
    EXPECT_EQ(replay.Header.PlaySeed, Seed);
    // The seed is for one game: the next one goes on from the generator.
    t.Run(200);
    PlayScriptedGame(t, 50);
    EXPECT_NE(LoadOrFail(t.Dir / TQuadrovoltMain::ReplayLastName).Header.PlaySeed, Seed);
  }
  EXPECT_NE(scripts[0], scripts[1]);
  ExpectSameGame(results[0], results[1]);
}

TEST(Replay, TheBestReplayIsTheGameThatHoldsTheBestScore) {
  TTestGame t;
  const fs::path best = t.Dir / TQuadrovoltMain::ReplayBestName;
  t.StartPlaying();
  t.Player().Score = 300;
  t.Run(1);
  t.Tap(VK::Escape);
  t.Run(1);
  const auto first = ReadBytes(best);
  ASSERT_FALSE(first.empty());

  // The next game scores only in the game-over pause (a bomb's ring still
  // takes enemies with it): more points, but the best score stays 300.
  t.Run(200);
  t.StartPlaying();
  t.Player().Invulnerable = 0;
  t.Player().Damage = 101;
  t.Run(1);
  ASSERT_EQ(t.Host.State(), GameState::GameOver);
  t.Player().Score = 500;
  t.Run(TQuadrovoltMain::GameOverFrames);
  ASSERT_EQ(t.Host.State(), GameState::Title);
  EXPECT_EQ(t.Game->Replays().LastResult().Score, 500);
  EXPECT_EQ(t.Host.HiScore(), 300);
  EXPECT_EQ(ReadBytes(best), first) << "R must show the game that made the best score";
}
