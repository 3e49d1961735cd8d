// Messages: the climb to the middle, the rest there, the exit through the
// top, and that nothing in the arena can touch them.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "enemies/blobMessage.h"
#include "entities/blobList.h"
#include "entities/blobPlayer.h"
#include "gfx/PdxLib3D.h"

namespace {
// The Y of a message after each frame until it switches off.
std::vector<float> Flight(TBlobMessage& m, int maxFrames = 2000) {
  std::vector<float> ys;
  for (int i = 0; i < maxFrames && m.Active; ++i) {
    m.Update();
    ys.push_back(m.Position.Y);
  }
  return ys;
}

// The first frame from which Y stays put for `length` frames; -1 if none.
int RestStart(const std::vector<float>& ys, int length) {
  for (size_t i = 1; i + length <= ys.size(); ++i) {
    bool still = true;
    for (int k = 1; k < length && still; ++k) still = ys[i + k] == ys[i];
    if (still && ys[i] > 0) return int(i);
  }
  return -1;
}

TEST(Message, StartedAboveTheMiddleItRestsAtOnceThenLeavesUpwards) {
  TBlobMessage m;
  m.SetPath(MakeVector(-50, 100, 0), 1, false, MakeVector(0, 0, 0));
  m.SetText("Hello");
  m.Update();  // takes up its start, draws nothing
  EXPECT_EQ(m.State, BlobState::Alive);
  EXPECT_EQ(m.Position.Y, 100);
  for (int i = 0; i < 100; ++i) {
    m.Update();
    ASSERT_EQ(m.Position.Y, 100) << i;
  }
  EXPECT_EQ(m.HoldFrames, 0);
  m.Update();
  m.Update();
  EXPECT_GT(m.Position.Y, 100);
  auto rest = Flight(m);
  EXPECT_FALSE(m.Active);
  EXPECT_EQ(m.State, BlobState::Spawning);
  EXPECT_GT(rest.back(), 500);
}

TEST(Message, FromTheBottomItTakesAboutFiftyFramesEachWayAndRestsAHundred) {
  TBlobMessage m;
  m.SetPath(MakeVector(0, -500, 0), 1, false, MakeVector(0, 0, 0));
  auto ys = Flight(m);
  ASSERT_FALSE(m.Active);
  const int restStart = RestStart(ys, 100);
  ASSERT_GE(restStart, 0);
  // Frame 0 is the spawn frame; the climb takes about 50 alive frames.
  EXPECT_NEAR(restStart, 51, 2);
  EXPECT_GT(ys[restStart], 0);
  EXPECT_LT(ys[restStart], 25);  // just above the middle
  // Exactly 100 frames at rest, then about 50 to leave.
  EXPECT_NE(ys[restStart + 101], ys[restStart]);
  const int leave = int(ys.size()) - (restStart + 100);
  EXPECT_NEAR(leave, 51, 2);
}

TEST(Message, StartedDownwardsItSlowsTurnsAndRises) {
  TBlobMessage m;
  m.SetPath(MakeVector(0, -100, 0), 1, false, MakeVector(0, -4, 0));
  auto ys = Flight(m);
  ASSERT_FALSE(m.Active);
  float lowest = ys[0];
  for (float y : ys) lowest = std::min(lowest, y);
  EXPECT_LT(lowest, -100);
  EXPECT_GE(RestStart(ys, 100), 0);
  EXPECT_GT(ys.back(), 500);
}

TEST(Message, NothingInTheArenaTouchesIt) {
  TBlobMessage m;
  m.SetPath(MakeVector(0, 0, 0), 1, false, MakeVector(0, 0, 0));
  m.Update();
  m.Position = MakeVector(0, 10, 0);
  m.Hit();
  m.Absorb();
  EXPECT_TRUE(m.Active);
  EXPECT_EQ(m.State, BlobState::Alive);
  EXPECT_EQ(m.Position.Y, 10);

  TBlobPlayer ship;
  ship.Radius = 25;
  ship.Position = m.Position;
  // The ship's contact test passes it by (the game object skips kind 9 too).
  EXPECT_EQ(ship.CollideWith(&m), 0);
  EXPECT_FALSE(ship.Overlaps(&m));

  TBlobList list;
  list.Add(&m);
  TBlob bullet;
  bullet.Radius = 4;
  bullet.Position = m.Position;
  EXPECT_EQ(bullet.CollideWithList(list, &ship, TBlobEvent()), 0);
}

TEST(Message, CreateClearsAReusedMessage) {
  TBlobMessage m;
  m.SetText("Level 3: Something Long Enough To Leave The Small Buffer");
  m.SetPath(MakeVector(1, 2, 3), 1, false, MakeVector(0.6f, 0.6f, 0.6f));
  m.Update();
  m.Create();
  EXPECT_TRUE(m.Text.empty());
  EXPECT_EQ(m.HalfWidth, 0);
  EXPECT_EQ(m.Kind, BlobKind::Message);
  EXPECT_EQ(m.State, BlobState::Spawning);
  EXPECT_TRUE(m.Active);
  EXPECT_EQ(m.TextColour.X, 0.5f);
  m.SetText("Level 1");
  EXPECT_EQ(m.HalfWidth, 35);
}

}  // namespace
