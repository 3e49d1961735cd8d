// The game object's state machine: title, play, game over, quit, pause, and
// what Escape, fire and damage do to it.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "app/SaveFile.h"
#include "entities/blobBullet.h"
#include "gfx/ParticleEngine.h"
#include "gfx/geometryGrid.h"
#include "levels/LevelManager.h"
#include "tests/support/Arrange.h"
#include "tests/support/TestGame.h"

TEST(GameState, FireOnTheTitleStartsPlayProtected) {
  TTestGame t;
  t.Run(3);
  ASSERT_EQ(t.Host.State(), GameState::Title);
  EXPECT_TRUE(TArrange(t.Host).IntroPlaying());
  t.StartPlaying();
  EXPECT_EQ(t.Host.State(), GameState::Playing);
  EXPECT_EQ(t.Player().Invulnerable, 100);
  t.Run(1);
  EXPECT_FALSE(TArrange(t.Host).IntroPlaying()) << "the intro stops when play starts";
}

TEST(GameState, EscapeInPlayReturnsToTitleAndEscapeOnTitleQuits) {
  TTestGame t;
  t.StartPlaying();
  t.Run(5);
  ASSERT_EQ(t.Host.State(), GameState::Playing);
  t.Tap(VK::Escape);
  t.Run(1);
  EXPECT_EQ(t.Host.State(), GameState::Title);
  EXPECT_FALSE(t.Host.WantsQuit()) << "one Escape in play only leaves the game";
  t.Run(2);
  t.Key(VK::Escape, true);
  t.Run(1);
  EXPECT_EQ(t.Host.State(), GameState::Quit);
  EXPECT_TRUE(t.Host.WantsQuit()) << "the tick after Escape on the title ends the program";
  t.Host.Idle();
  EXPECT_TRUE(t.Host.WantsQuit());
}

TEST(GameState, HeldEscapeInPlayAlsoQuitsOnTheNextRepeat) {
  TTestGame t;
  t.StartPlaying();
  t.Key(VK::Escape, true);
  t.Run(1);  // the frame sees Escape held: back to the title
  EXPECT_EQ(t.Host.State(), GameState::Title);
  EXPECT_FALSE(t.Host.WantsQuit());
  t.Key(VK::Escape, true);  // the auto-repeat
  t.Run(1);
  EXPECT_TRUE(t.Host.WantsQuit());
}

TEST(GameState, DamageAboveHundredEndsTheGameThenSavesAndReturns) {
  TTestGame t;
  t.StartPlaying();
  t.Player().Invulnerable = 0;
  t.Player().Damage = 100;
  t.Run(1);
  EXPECT_EQ(t.Host.State(), GameState::Playing) << "100 damage is still alive";
  t.Player().Damage = 101;
  t.Player().Score = 4321;
  t.Run(1);
  ASSERT_EQ(t.Host.State(), GameState::GameOver);
  EXPECT_EQ(t.Host.HiScore(), 4321) << "the best score follows the score during play";
  EXPECT_EQ(TArrange(t.Host).StateTimer(), 120);
  t.Run(119);
  EXPECT_EQ(t.Host.State(), GameState::GameOver);
  EXPECT_FALSE(std::filesystem::exists(t.Dir / "QUADROVOLT.DAT"));
  t.Run(1);
  EXPECT_EQ(t.Host.State(), GameState::Title);
  std::int32_t hi = 0, max = 0;
  SaveFile::LoadGame((t.Dir / "QUADROVOLT.DAT").string(), hi, max);
  EXPECT_EQ(hi, 4321);
  EXPECT_EQ(max, 1);
}

TEST(GameState, TitleIgnoresFireUntilTheTimerRunsDown) {
  TTestGame t;
  t.StartPlaying();
  TArrange(t.Host).BackToTitle();
  ASSERT_EQ(TArrange(t.Host).StateTimer(), 120);
  t.Click(true);
  t.Run(100);
  EXPECT_EQ(t.Host.State(), GameState::Title);
  t.Run(25);
  EXPECT_EQ(t.Host.State(), GameState::Playing);
}

TEST(GameState, EveryKeyDownWhileHoldingPFlipsPause) {
  TTestGame t;
  t.StartPlaying();
  t.Key(VK::P, true);
  t.Run(1);
  EXPECT_TRUE(t.Host.Paused());
  t.Key(VK::P, true);  // auto-repeat
  t.Run(1);
  EXPECT_FALSE(t.Host.Paused());
  // Within one tick each key-down under P counts: three flips.
  t.Key(VK::P, true);
  t.Key(VK::P, true);
  t.Key(VK::Left, true);  // any key while P is held
  t.Run(1);
  EXPECT_TRUE(t.Host.Paused());
  t.Key(VK::P, true);
  t.Key(VK::P, false);
  t.Run(1);
  ASSERT_FALSE(t.Host.Paused());
  t.Tap(VK::P);  // pressed and let go between two steps: it still counts once
  t.Run(1);
  ASSERT_TRUE(t.Host.Paused());
  TVector3 before = t.Player().Position;
  t.Key(VK::Left, false);
  t.Run(10);
  EXPECT_EQ(t.Recorder.Primitives.size(), 0u) << "a paused game draws nothing new";
  EXPECT_EQ(t.Player().Position.X, before.X);
  t.Key(VK::X, true);  // another key does not unpause without P
  t.Run(1);
  EXPECT_TRUE(t.Host.Paused());
}

TEST(GameState, KeyCodesAbove255AreIgnored) {
  TTestGame t;
  t.Host.KeyDown(300);
  t.Host.KeyDown(256 + VK::Escape);
  t.Run(1);
  EXPECT_EQ(t.Host.State(), GameState::Title);
  EXPECT_FALSE(t.Host.WantsQuit());
}

TEST(GameState, LevelCompletionAdvancesWrapsAndSavesANewBest) {
  TTestGame t;
  TArrange(t.Host).PinLevel(7);
  TArrange(t.Host).LevelsOpen(7);
  TArrange(t.Host).CompleteLevel();
  EXPECT_EQ(t.Host.Level(), 8);
  EXPECT_EQ(t.Host.MaxLevel(), 8);
  std::int32_t hi = 0, max = 0;
  SaveFile::LoadGame((t.Dir / "QUADROVOLT.DAT").string(), hi, max);
  EXPECT_EQ(max, 8) << "a new highest level is saved at once";

  TArrange(t.Host).PinLevel(40);
  TArrange(t.Host).LevelsOpen(40);
  TArrange(t.Host).CompleteLevel();
  EXPECT_EQ(t.Host.Level(), 1);
  EXPECT_EQ(t.Host.MaxLevel(), 40);
}

TEST(GameState, GraviBombFiresOncePerShockwave) {
  TTestGame t;
  t.StartPlaying();
  t.Player().GraviBombs = 3;
  t.Key(VK::Space, true);
  t.Run(1);
  EXPECT_EQ(t.Player().GraviBombs, 2);
  EXPECT_TRUE(t.Game->World().Grid().ShockwaveActive);
  t.Run(40);
  EXPECT_EQ(t.Player().GraviBombs, 2) << "held Space waits for the wave to end";
  t.Run(60);
  EXPECT_EQ(t.Player().GraviBombs, 1) << "the next bomb once the wave is over";
  t.Key(VK::Space, false);
}

TEST(GameState, ReturningToTheTitleResetsTheArena) {
  TTestGame t;
  t.StartPlaying();
  t.Click(true);
  t.Run(30);
  int flying = 0;
  for (TBlob* b : t.Game->World().Bullets()) flying += b->Active;
  ASSERT_GT(flying, 0);
  TArrange(t.Host).BackToTitle();
  for (TBlob* b : t.Game->World().Bullets()) EXPECT_FALSE(b->Active);
  EXPECT_EQ(t.Game->World().LevelManager().Tick, 0);
  EXPECT_EQ(t.Game->World().Particles().ActiveCount(), 0);
  EXPECT_EQ(t.Player().Position.X, 0);
}

TEST(GameState, EscapeOutOfAGameKeepsTheNewBestScore) {
  TTestGame t;
  t.StartPlaying();
  t.Player().Score = 777;
  t.Run(1);
  ASSERT_EQ(t.Host.HiScore(), 777);
  t.Tap(VK::Escape);  // back to the title, no game over
  t.Run(1);
  ASSERT_EQ(t.Host.State(), GameState::Title);
  std::int32_t hi = 0, max = 0;
  SaveFile::LoadGame(TArrange(t.Host).SavePath(), hi, max);
  EXPECT_EQ(hi, 777);
}

TEST(GameState, ClosingTheWindowMidGameKeepsTheNewBestScore) {
  TTestGame t;
  const std::string save = TArrange(t.Host).SavePath();
  t.StartPlaying();
  t.Player().Score = 999;
  t.Run(1);
  t.Close();  // the frame frees the game object on close
  std::int32_t hi = 0, max = 0;
  SaveFile::LoadGame(save, hi, max);
  EXPECT_EQ(hi, 999);
}

TEST(GameState, NothingIsWrittenWhenNothingImproved) {
  TTestGame t;
  t.StartPlaying();
  t.Run(5);
  t.Tap(VK::Escape);
  t.Close();
  EXPECT_FALSE(std::filesystem::exists(t.Dir / "QUADROVOLT.DAT"));
}

TEST(GameState, AFailedSaveIsTriedAgainAtTheNextSavePointAndAtTheEnd) {
  TTestGame t;
  const std::filesystem::path save = t.Dir / SaveFile::DefaultFileName;
  // Something in the save file's way that no write gets past, even as root.
  std::filesystem::create_directories(save / "in-the-way");
  t.StartPlaying();
  t.Player().Score = 600;
  t.Run(1);
  testing::internal::CaptureStderr();
  t.Tap(VK::Escape);
  t.Run(1);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("could not save the best score 600 and level 1 to " + save.string()), std::string::npos)
      << "the whole path, so the player can find it: " << said;
  // The space is freed; the next save point (a game ended) writes it.
  std::filesystem::remove_all(save);
  t.StartPlaying();
  t.Run(5);
  t.Tap(VK::Escape);
  t.Run(1);
  std::int32_t hi = 0, max = 0;
  EXPECT_TRUE(SaveFile::ReadSavedRecord(save.string(), hi, max));
  EXPECT_EQ(hi, 600);
  // Failing again, then freed before the window closes: the end writes it.
  std::filesystem::remove(save);
  std::filesystem::create_directories(save / "in-the-way");
  t.StartPlaying();
  t.Player().Score = 700;
  t.Run(1);
  testing::internal::CaptureStderr();
  t.Tap(VK::Escape);
  t.Run(1);
  testing::internal::GetCapturedStderr();
  std::filesystem::remove_all(save);
  t.Close();
  EXPECT_TRUE(SaveFile::ReadSavedRecord(save.string(), hi, max));
  EXPECT_EQ(hi, 700);
}

TEST(GameState, TwoGamesInOneFolderKeepTheBetterRecordWhoeverQuitsLast) {
  TTestGame t;
  const std::string save = (t.Dir / SaveFile::DefaultFileName).string();
  const std::filesystem::path best = t.Dir / TQuadrovoltMain::ReplayBestName;
  t.StartPlaying();
  t.Player().Score = 600;
  t.Run(1);
  ASSERT_EQ(t.Host.HiScore(), 600);
  // Meanwhile another game in the same folder ends with a better record,
  // and keeps its best replay.
  ASSERT_TRUE(SaveFile::SaveGame(save, 900, 3));
  std::ofstream(best) << "the other game's best";
  t.Tap(VK::Escape);
  t.Run(1);
  std::int32_t hi = 0, max = 0;
  EXPECT_TRUE(SaveFile::ReadSavedRecord(save, hi, max));
  EXPECT_EQ(hi, 900);
  EXPECT_EQ(max, 3);
  EXPECT_EQ(t.Host.HiScore(), 900) << "the title shows the record on disk";
  EXPECT_EQ(t.Host.MaxLevel(), 3);
  std::ifstream in(best);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the other game's best");

  // The other way round: this game beats the record the other one kept.
  t.StartPlaying();
  t.Player().Score = 1200;
  t.Run(1);
  ASSERT_TRUE(SaveFile::SaveGame(save, 1000, 2));
  t.Tap(VK::Escape);
  t.Run(1);
  EXPECT_TRUE(SaveFile::ReadSavedRecord(save, hi, max));
  EXPECT_EQ(hi, 1200);
  EXPECT_EQ(max, 3) << "the higher level stays too";
  TReplay mine;
  std::string why;
  EXPECT_TRUE(LoadReplayFile(best.string(), mine, why)) << "this game's replay is the best now: " << why;
}
