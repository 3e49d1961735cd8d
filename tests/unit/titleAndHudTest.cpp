// The title screen's start-level strip, the start itself, the HUD line and the
// gravi-bomb ring, seen through what the game object draws and decides.
#include <gtest/gtest.h>

#include <cmath>

#include "enemies/blobGrunt.h"
#include "enemies/blobMessage.h"
#include "gfx/geometryGrid.h"
#include "levels/LevelManager.h"
#include "tests/support/Arrange.h"
#include "tests/support/TestGame.h"

namespace {
// Holds an arrow for exactly one step of the strip (it moves every 5 frames).
void StepStrip(TTestGame& t, int vk) {
  t.Key(vk, true);
  TArrange(t.Host).StripMovesNextStep();
  t.Run(1);
  t.Key(vk, false);
}

// Colour of the level number drawn at slot x (its first stroke).
TColor4 SlotColour(const TTestGame& t, float x) {
  for (const auto& p : t.Recorder.Primitives)
    if (!p.Vertices.empty() && std::fabs(p.Vertices[0].Y + 140) <= 10 && std::fabs(p.Vertices[0].X - x) <= 6 &&
        p.LineWidth == 2)
      return p.Colour;
  return TColor4{-1, -1, -1, -1};
}
}  // namespace

TEST(TitleStrip, StartsAtLevelOneWithTheOthersLocked) {
  TTestGame t;
  t.Run(1);
  EXPECT_EQ(t.Game->Title().SelectedLevel(), 1);
  EXPECT_EQ(t.Host.Level(), 1);
  TColor4 middle = SlotColour(t, 60), right = SlotColour(t, 110), left = SlotColour(t, 10);
  EXPECT_NEAR(middle.R, 1 - 5 * 0.025f, 1e-5) << "yellow, dimmed by its slot";
  EXPECT_EQ(middle.G, middle.R);
  EXPECT_EQ(middle.B, 0) << "the open level is yellow";
  EXPECT_NEAR(right.R, right.B, 1e-6) << "a locked level is grey";
  EXPECT_NEAR(right.R, 0.5f * (1 - 6 * 0.025f), 1e-5) << "and dims to the right";
  EXPECT_NEAR(left.R, left.B, 1e-6) << "40 is locked too";
}

TEST(TitleStrip, ScrollsRightThroughFortyAndWrapsTheOffset) {
  TTestGame t;
  TArrange(t.Host).LevelsOpen(40);
  t.Run(1);
  int expectedMiddle = 1;
  for (int step = 1; step <= 43; ++step) {
    StepStrip(t, VK::Right);
    expectedMiddle = expectedMiddle % 40 + 1;
    ASSERT_EQ(t.Game->Title().SelectedLevel(), expectedMiddle) << "step " << step;
  }
  EXPECT_EQ(t.Game->Title().StripOffset(), 39);
  EXPECT_EQ(t.Game->Title().SelectedLevel(), 4);
  StepStrip(t, VK::Right);  // past 39 the offset becomes 1: 06 in the middle
  EXPECT_EQ(t.Game->Title().StripOffset(), 1);
  EXPECT_EQ(t.Game->Title().SelectedLevel(), 6);
}

TEST(TitleStrip, ScrollingLeftFromTheEndKeepsSixInTheMiddleOneMoreStep) {
  TTestGame t;
  TArrange(t.Host).LevelsOpen(40);
  TArrange(t.Host).ScrollStripTo(-38);
  t.Run(1);
  EXPECT_EQ(t.Game->Title().SelectedLevel(), 7);
  StepStrip(t, VK::Left);
  EXPECT_EQ(t.Game->Title().StripOffset(), -39);
  EXPECT_EQ(t.Game->Title().SelectedLevel(), 6);
  StepStrip(t, VK::Left);
  EXPECT_EQ(t.Game->Title().StripOffset(), 1);
  EXPECT_EQ(t.Game->Title().SelectedLevel(), 6);
}

TEST(TitleStrip, TheStripMovesOnlyEveryFifthFrameWhileHeld) {
  TTestGame t;
  TArrange(t.Host).LevelsOpen(40);
  t.Key(VK::Right, true);
  t.Run(10);
  t.Key(VK::Right, false);
  EXPECT_EQ(t.Game->Title().StripOffset(), -4 + 2);
}

TEST(TitleStrip, ALockedMiddleGreysTheBracketsAndStartsAtTheLastOpenLevel) {
  TTestGame t;
  TArrange(t.Host).LevelsOpen(2);
  t.Run(1);
  StepStrip(t, VK::Right);
  EXPECT_EQ(t.Game->Title().SelectedLevel(), 2);
  EXPECT_EQ(t.Host.Level(), 2);
  StepStrip(t, VK::Right);
  EXPECT_EQ(t.Game->Title().SelectedLevel(), -1);
  EXPECT_EQ(t.Host.Level(), 2) << "the game would start at the last open level shown";
  bool greyBracket = false;
  for (const auto& p : t.Recorder.Primitives)
    if (p.Prim == TPrimitive::Lines && p.Vertices.size() == 12 && p.Vertices[0].X == 48)
      greyBracket = p.Colour.R == 0.5f && p.LineWidth == 1;
  EXPECT_TRUE(greyBracket);
  t.Click(true);
  t.Run(1);
  EXPECT_EQ(t.Host.State(), GameState::Playing);
  EXPECT_EQ(t.Host.Level(), 2);
}

TEST(Hud, EnergyBarShrinksWithDamageAndVanishesAtHundred) {
  TTestGame t;
  t.StartPlaying();
  auto barLength = [&]() -> float {
    for (const auto& p : t.Recorder.Primitives)
      if (p.Prim == TPrimitive::Lines && p.LineWidth == 6 && p.Vertices.size() == 2 && p.Vertices[0].Y == 520)
        return p.Vertices[1].X - p.Vertices[0].X;
    return -1;
  };
  t.Run(1);
  EXPECT_FLOAT_EQ(barLength(), 200);
  t.Player().Damage = 30;
  t.Run(1);
  EXPECT_FLOAT_EQ(barLength(), 140);
  t.Player().Damage = 100;
  t.Run(1);
  EXPECT_EQ(barLength(), -1) << "no bar at 100 damage";
  t.Player().Damage = 150;
  t.Player().Invulnerable = 0;
  t.Run(1);
  ASSERT_EQ(t.Host.State(), GameState::GameOver);
  t.Run(1);
  EXPECT_EQ(barLength(), -1);
  bool hudShown = false;
  for (const auto& p : t.Recorder.Primitives) hudShown |= p.Vertices.size() && p.Vertices[0].Y > 505;
  EXPECT_TRUE(hudShown) << "the HUD stays up through the game-over pause";
}

TEST(GraviBomb, TheRingBlastsEnemiesItReachesButNeverMessages) {
  TTestGame t;
  t.StartPlaying();
  TArrange(t.Host).World().LevelManager().Spawns.clear();  // an empty arena but for ours
  TArrange(t.Host).World().Player().Invulnerable = 0;
  auto grunt = std::make_unique<TBlobGrunt>();
  grunt->SetSpawn(TVector3{150, 0, 0}, 1, true, TVector3{});
  grunt->Player = &TArrange(t.Host).World().Player();
  TBlob* near = TArrange(t.Host).World().Enemies().Adopt(std::move(grunt));
  auto far = std::make_unique<TBlobGrunt>();
  far->SetSpawn(TVector3{-450, 450, 0}, 1, true, TVector3{});
  far->Player = &TArrange(t.Host).World().Player();
  TBlob* farGrunt = TArrange(t.Host).World().Enemies().Adopt(std::move(far));
  auto msg = std::make_unique<TBlobMessage>();
  msg->SetPath(TVector3{100, 10, 0}, 1, false, TVector3{});
  msg->SetText("Level 99");
  TBlob* message = TArrange(t.Host).World().Enemies().Adopt(std::move(msg));
  t.Run(30);  // the grunts grow in
  ASSERT_EQ(near->State, BlobState::Alive);
  const int score = t.Player().Score;
  t.Key(VK::Space, true);
  t.Run(30);
  t.Key(VK::Space, false);
  EXPECT_NE(near->State, BlobState::Alive) << "caught by the ring";
  EXPECT_EQ(farGrunt->State, BlobState::Alive) << "out of reach so far";
  EXPECT_TRUE(message->Active);
  EXPECT_EQ(message->State, 1) << "a message rides through the ring";
  EXPECT_EQ(t.Player().Score, score) << "a bombed grunt gives no points";
}
