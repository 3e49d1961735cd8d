// The web page's own rules, natively: its pace, its keys, its developer
// options and the samples it hands Web Audio.
#include <gtest/gtest.h>

#include "platform/web/AnimationPace.h"
#include "platform/web/PageOptions.h"
#include "platform/web/WaveSamples.h"
#include "platform/web/WebKeys.h"

TEST(AnimationPace, RunsTheStepsDueByTheClockAndDropsTheRestAfterAStall) {
  TAnimationPace pace(1000);
  struct {
    double Now;
    int Steps;
  } const frames[] = {
      {1005, 0},               // too soon
      {1010, 1},               // exactly one due
      {1016.7, 0},             // a 60 Hz display: the next is due at 1020
      {1033.4, 2},             // 1020 and 1030
      {1040, 1},   {1073, 3},  // 1050, 1060, 1070: still within one wake-up's share
      {1080, 1},               // the clock kept its phase
      {3000, 4},               // a stall of two seconds: the most one wake-up runs...
      {3005, 0},               // ...and the clock starts again from then
      {3010, 1},
  };
  for (const auto& f : frames) EXPECT_EQ(pace.StepsDue(f.Now), f.Steps) << "at " << f.Now << " ms";
  EXPECT_EQ(pace.DroppedSteps(), 188u);  // 1090..3000 were due: 192 steps, 4 run
}

TEST(AnimationPace, KeepsOneHundredStepsASecondAtAnyDisplayRate) {
  for (double hz : {30.0, 60.0, 75.0, 144.0}) {
    TAnimationPace pace(0);
    int steps = 0;
    for (int frame = 1; frame <= int(hz * 10); ++frame) steps += pace.StepsDue(frame * 1000.0 / hz);
    EXPECT_NEAR(steps, 1000, 1) << hz << " Hz";
    EXPECT_EQ(pace.DroppedSteps(), 0u) << hz << " Hz";
  }
}

TEST(WebKeys, ReadsKeysByPhysicalPosition) {
  struct {
    const char* Code;
    int Vk;
  } const keys[] = {
      {"KeyZ", 'Z'},  {"KeyA", 'A'},      {"Digit0", '0'},     {"Digit9", '9'}, {"F1", 112},        {"F12", 123},
      {"Escape", 27}, {"Space", 32},      {"ArrowLeft", 37},   {"ArrowUp", 38}, {"ArrowRight", 39}, {"ArrowDown", 40},
      {"Enter", 13},  {"ShiftRight", 16}, {"ControlLeft", 17}, {"F13", -1},     {"F0", -1},         {"F1x", -1},
      {"Keyz", -1},   {"KeyAB", -1},      {"Numpad5", -1},     {"", -1},        {"Digit", -1},      {"MetaLeft", -1},
  };
  for (const auto& k : keys) EXPECT_EQ(VirtualKeyFromCode(k.Code), k.Vk) << k.Code;
  EXPECT_EQ(VirtualKeyFromCode(nullptr), -1);
  // The page keeps the keys that would scroll it or move its focus; F5 stays the browser's.
  for (int vk : {int('Z'), int('5'), 27, 32, 37, 40, 9}) EXPECT_TRUE(PageKeepsKey(vk)) << vk;
  for (int vk : {116, 17, -1}) EXPECT_FALSE(PageKeepsKey(vk)) << vk;
}

TEST(PageOptions, ReadsTheDeveloperOptionsAndIgnoresTheRest) {
  const TPageOptions none = ParsePageQuery("");
  EXPECT_EQ(none.Level, 0);
  EXPECT_FALSE(none.Pilot);
  EXPECT_EQ(none.ControlMode, -1);
  EXPECT_TRUE(none.KeepSave);

  const TPageOptions all = ParsePageQuery("?level=19&pilot=1&fps=1&mode=keyboard&save=0");
  EXPECT_EQ(all.Level, 19);
  EXPECT_TRUE(all.Pilot);
  EXPECT_TRUE(all.ReportRate);
  EXPECT_EQ(all.ControlMode, 0);
  EXPECT_FALSE(all.KeepSave);

  EXPECT_EQ(ParsePageQuery("?mode=mouse").ControlMode, 1);
  EXPECT_EQ(ParsePageQuery("?mode=joystick").ControlMode, 2);
  EXPECT_EQ(ParsePageQuery("?mode=touch").ControlMode, 3);
  for (const char* bad : {"?level=0", "?level=41", "?level=-3", "?level=12x", "?level=", "?level"})
    EXPECT_EQ(ParsePageQuery(bad).Level, 0) << bad;
  const TPageOptions odd = ParsePageQuery("?&&x=1&pilot=yes&mode=pad&level=40");
  EXPECT_FALSE(odd.Pilot);
  EXPECT_EQ(odd.ControlMode, -1);
  EXPECT_EQ(odd.Level, 40);
  EXPECT_TRUE(odd.Board.empty() && odd.Watch.empty());

  // The board's address and a replay to watch, percent-encoded or not.
  const TPageOptions board = ParsePageQuery("?watch=%2Fapi%2Fentries%2F12%2Freplay&board=http://127.0.0.1:8470/x");
  EXPECT_EQ(board.Watch, "/api/entries/12/replay");
  EXPECT_EQ(board.Board, "http://127.0.0.1:8470/x");
  EXPECT_EQ(ParsePageQuery("?watch=/api/entries/3/replay").Watch, "/api/entries/3/replay");
  EXPECT_EQ(ParsePageQuery("?board=a%2").Board, "a%2");
  EXPECT_EQ(ParsePageQuery("?board=%zz%41+b").Board, "%zzA b");
  EXPECT_EQ(ParsePageQuery("?board=%4").Board, "%4");
}

namespace {
TWave MakeWave(int channels, int bits, std::vector<std::uint8_t> data, std::uint32_t rate = 22050) {
  TWave w;
  w.Format.Channels = std::uint16_t(channels);
  w.Format.BitsPerSample = std::uint16_t(bits);
  w.Format.BlockAlign = std::uint16_t(channels * bits / 8);
  w.Format.SamplesPerSec = rate;
  w.Format.AvgBytesPerSec = rate * w.Format.BlockAlign;
  w.Data = std::move(data);
  return w;
}
}  // namespace

TEST(WaveSamples, TurnsPcmIntoOneBlockOfFloatsPerChannel) {
  std::vector<float> s;
  ASSERT_TRUE(WaveToPlanarFloats(MakeWave(1, 8, {128, 0, 255, 192}), s));
  EXPECT_EQ(s, (std::vector<float>{0.0f, -1.0f, 127.0f / 128, 0.5f}));

  // 16-bit little-endian, signed; stereo frames split into left then right.
  ASSERT_TRUE(WaveToPlanarFloats(MakeWave(2, 16, {0x00, 0x80, 0xFF, 0x7F, 0x00, 0x40, 0x00, 0xC0}), s));
  EXPECT_EQ(s, (std::vector<float>{-1.0f, 0.5f, 32767.0f / 32768, -0.5f}));

  // A trailing part frame is not played.
  ASSERT_TRUE(WaveToPlanarFloats(MakeWave(2, 8, {128, 128, 0}), s));
  EXPECT_EQ(s.size(), 2u);
}

TEST(WaveSamples, RefusesWhatWebAudioCannotPlay) {
  std::vector<float> s{1.0f};
  TWave wrongAlign = MakeWave(2, 16, {0, 0, 0, 0});
  wrongAlign.Format.BlockAlign = 2;
  TWave notPcm = MakeWave(1, 16, {0, 0});
  notPcm.Format.FormatTag = 3;
  const TWave waves[] = {MakeWave(1, 8, {}),
                         MakeWave(0, 8, {1, 2}),
                         MakeWave(1, 24, {0, 0, 0}),
                         MakeWave(1, 8, {1, 2}, 2000),
                         MakeWave(1, 8, {1}, 800000),
                         wrongAlign,
                         notPcm};
  for (const TWave& w : waves) {
    EXPECT_FALSE(WaveToPlanarFloats(w, s)) << w.Format.Channels << " ch " << w.Format.BitsPerSample << " bits";
    EXPECT_TRUE(s.empty());
  }
}
