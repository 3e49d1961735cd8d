// The snapshot tool's command line: every option read, bad input refused.
#include <gtest/gtest.h>

#include <vector>

#include "app/GameConstants.h"
#include "tools/snapshot/SnapshotOptions.h"

namespace {
bool Parse(std::vector<const char*> args, TSnapshotOptions& o, std::string& error) {
  args.insert(args.begin(), "quadrovolt_snapshot");
  return ParseSnapshotOptions(int(args.size()), args.data(), o, error);
}
}  // namespace

TEST(SnapshotOptions, ReadsEveryOption) {
  TSnapshotOptions o;
  std::string error;
  ASSERT_TRUE(Parse({"--level", "40", "--frames", "250", "--seed", "77", "--out", "a.png", "--width", "640", "--height",
                     "480", "--mode", "keyboard", "--cursor", "-120,35", "--title"},
                    o, error))
      << error;
  EXPECT_EQ(o.Level, 40);
  EXPECT_EQ(o.Frames, 250);
  EXPECT_EQ(o.Seed, 77u);
  EXPECT_EQ(o.Out, "a.png");
  EXPECT_EQ(o.Width, 640);
  EXPECT_EQ(o.Height, 480);
  EXPECT_EQ(o.Mode, InputModes::Keyboard);
  EXPECT_TRUE(o.HoldCursor);
  EXPECT_EQ(o.CursorX, -120);
  EXPECT_EQ(o.CursorY, 35);
  EXPECT_TRUE(o.Title);

  TSnapshotOptions d;
  ASSERT_TRUE(Parse({"--out", "b.png", "--mode", "joystick"}, d, error)) << error;
  EXPECT_EQ(d.Mode, InputModes::Joystick);
  EXPECT_FALSE(d.HoldCursor);
  EXPECT_FALSE(d.Title);
  EXPECT_EQ(d.Width, 1024);
  EXPECT_EQ(d.Height, 768);
}

TEST(SnapshotOptions, RefusesBadInput) {
  const std::vector<std::vector<const char*>> bad = {
      {},                                          // no output file
      {"--out"},                                   // a name without its value
      {"--out", ""},                               // an empty file name
      {"--out", "a.png", "--level", "0"},          // levels run 1..40
      {"--out", "a.png", "--level", "41"},         //
      {"--out", "a.png", "--level", "3x"},         // trailing rubbish
      {"--out", "a.png", "--frames", "0"},         // at least one frame
      {"--out", "a.png", "--frames", "-5"},        //
      {"--out", "a.png", "--seed", "-1"},          //
      {"--out", "a.png", "--width", "8"},          // too small a picture
      {"--out", "a.png", "--height", "99999"},     // too big
      {"--out", "a.png", "--mode", "Mouse"},       // mode names are lower case
      {"--out", "a.png", "--cursor", "10"},        // both coordinates
      {"--out", "a.png", "--cursor", "10,"},       //
      {"--out", "a.png", "--cursor", "10,20,30"},  //
      {"--out", "a.png", "--cursor", "700,0"},     // beyond the mouse's reach
      {"--out", "a.png", "--bullets", "3"},        // not an option of this tool
  };
  for (const auto& args : bad) {
    TSnapshotOptions o;
    std::string error;
    std::string line;
    for (const char* a : args) line += std::string(a) + " ";
    EXPECT_FALSE(Parse(args, o, error)) << line;
    EXPECT_FALSE(error.empty()) << line;
  }
}
