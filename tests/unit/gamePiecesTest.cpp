// The pieces the game object is made of, each on its own: the world (made in
// a fixed order, its level script drawn from the generator as it stood, its
// grid and particles wired to its own lists), the title's strip of start
// levels, and the replay session's keeping of the live game's input.
#include <gtest/gtest.h>

#include <vector>

#include "app/ReplaySession.h"
#include "app/Title.h"
#include "app/World.h"
#include "entities/blobPlayer.h"
#include "gfx/ParticleEngine.h"
#include "gfx/Random.h"
#include "gfx/geometryGrid.h"
#include "levels/LevelManager.h"
#include "sound/RecordingSoundDevice.h"
#include "tools/harness/TempFolder.h"

namespace {
bool SameRows(const std::vector<TSpawnRecord>& a, const std::vector<TSpawnRecord>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const TSpawnRecord &x = a[i], &y = b[i];
    if (x.Level != y.Level || x.Tick != y.Tick || x.Kind != y.Kind || x.Param != y.Param || x.Lives != y.Lives ||
        x.Position.X != y.Position.X || x.Position.Y != y.Position.Y || x.Text != y.Text)
      return false;
  }
  return true;
}

class TNoPad : public TJoystick {
 public:
  bool Read(TJoyInfo&) override { return false; }
};
}  // namespace

TEST(World, DrawsItsLevelScriptFromTheGeneratorAsItStood) {
  TRecordingSoundDevice device;
  RandomSeed(41);
  const std::uint64_t before = RandomState();
  TWorld world(device);
  // Nothing made before the script draws from the generator: a replay's
  // script state is the one the game began with.
  EXPECT_EQ(world.ScriptDrawnFrom(), before);
  RandomRestore(world.ScriptDrawnFrom());
  const TLevelManager again;
  EXPECT_TRUE(SameRows(world.LevelManager().Spawns, again.Spawns));
  RandomSeed(42);
  TWorld other(device);
  EXPECT_FALSE(SameRows(world.LevelManager().Spawns, other.LevelManager().Spawns)) << "another seed, another script";
}

TEST(World, TheGridAndTheManagerWorkOnTheWorldsOwnListsAndShip) {
  TRecordingSoundDevice device;
  TWorld world(device);
  const TGeometryGrid& grid = world.Grid();
  EXPECT_EQ(grid.Repulsors, &world.Bullets());
  EXPECT_EQ(grid.Wells, &world.GravityWells());
  EXPECT_EQ(grid.Attractors, &world.GridWarpers());
  EXPECT_EQ(grid.Player, &world.Player());
  EXPECT_EQ(world.Particles().Model, &world.ModelSphereTile());
  EXPECT_EQ(world.Bullets().Count(), TWorld::BulletCount);
  EXPECT_EQ(world.Player().Radius, 25);
  EXPECT_EQ(world.LevelManager().World(), &world);

  // What the world's manager makes lands in the world's enemy list.
  TLevelManager& levels = world.LevelManager();
  TBlob* gravitar = levels.Obtain(BlobKind::Gravitar);
  ASSERT_NE(gravitar, nullptr);
  EXPECT_EQ(world.Enemies().IndexOf(gravitar), 0);
  gravitar->SetActive(false);
  EXPECT_EQ(levels.FindInactive(BlobKind::Gravitar), gravitar) << "and is found there to be recycled";
  EXPECT_EQ(levels.Obtain(BlobKind::Gravitar), gravitar);
  EXPECT_EQ(world.Enemies().Count(), 1);
  EXPECT_EQ(TLevelManager().Obtain(BlobKind::Gravitar), nullptr) << "a manager with no world makes nothing";
}

TEST(TitleStrip, EveryStartLevelShownLandsInTheMiddleSlot) {
  for (int level = 1; level <= TTitle::LastLevel; ++level) {
    TTitle title;
    title.ShowStartLevel(level);
    EXPECT_EQ(title.ChooseStartLevel(TTitle::LastLevel), level);
    EXPECT_EQ(title.ChooseStartLevel(level - 1), -1) << "locked above the highest level reached";
    EXPECT_EQ(title.SelectedLevel(), -1);
  }
}

TEST(TitleStrip, ArrowsMoveItEveryFifthStepAndWrapAtBothEnds) {
  struct TCase {
    int From;
    bool Left, Right;
    int To;
  } const cases[] = {
      {-4, false, true, -3}, {-4, true, false, -5}, {39, false, true, 1}, {-39, true, false, 1},
      {-4, true, true, -4},  {-39, true, true, 2},  {0, false, false, 0},
  };
  for (const TCase& c : cases) {
    TTitle title;
    title.PutBack(TTitle::TStrip{c.From, 1, 0});
    title.ScrollStrip(c.Left, c.Right);
    EXPECT_EQ(title.StripOffset(), c.To) << c.From << (c.Left ? " left" : "") << (c.Right ? " right" : "");
    for (int i = 0; i < 4; ++i) title.ScrollStrip(c.Left, c.Right);
    EXPECT_EQ(title.StripOffset(), c.To) << "held, it waits four steps";
  }
}

TEST(TitleStrip, AStripPutBackIsTheStripKept) {
  TTitle title;
  title.ShowStartLevel(17);
  title.ChooseStartLevel(40);
  title.ScrollStrip(false, true);
  const TTitle::TStrip kept = title.Strip();
  title.ShowStartLevel(3);
  title.ChooseStartLevel(2);
  title.PutBack(kept);
  EXPECT_EQ(title.StripOffset(), kept.Offset);
  EXPECT_EQ(title.SelectedLevel(), 17);
  EXPECT_EQ(title.StripScrollDelay(), 4);
}

TEST(ReplaySession, ThePlayersInputWhileWatchingIsKeptAndANewPressStops) {
  using E = TInputEvent::TKind;
  TTempFolder folder;
  TNoPad pad;
  TReplaySession session(pad, (folder.Path() / "save.dat").string(), "last.rpl", "best.rpl");
  EXPECT_EQ(session.LastPath(), (folder.Path() / "last.rpl").string()) << "beside the save file";
  EXPECT_EQ(session.BestPath(), (folder.Path() / "best.rpl").string());

  TReplaySession::TLive live;
  live.Input.Keys['A'] = true;  // held when the replay began
  session.StartWatching(TReplay{}, live);
  const struct {
    TInputEvent Event;
    bool Stops;
  } events[] = {
      {{E::KeyDown, 'A', 0, 0}, false},  // the held key's repeat
      {{E::KeyUp, 'A', 0, 0}, false},   {{E::Cursor, 0, 30, -40}, false}, {{E::RightUp, 0, 0, 0}, false},
      {{E::KeyDown, 'B', 0, 0}, true},  {{E::KeyDown, 'B', 0, 0}, false}, {{E::OtherKeyDown, 0, 0, 0}, true},
      {{E::LeftDown, 0, 0, 0}, true},   {{E::RightDown, 0, 0, 0}, true},
  };
  for (const auto& e : events)
    EXPECT_EQ(session.KeepLiveInput(e.Event), e.Stops) << int(e.Event.Kind) << " " << e.Event.Key;
  const TReplaySession::TLive& back = session.StopWatching();
  EXPECT_FALSE(session.Watching());
  EXPECT_FALSE(back.Input.Keys['A']);
  EXPECT_TRUE(back.Input.Keys['B']);
  EXPECT_EQ(back.Input.CursorX, 30);
  EXPECT_EQ(back.Input.CursorY, -40);
  EXPECT_TRUE(back.Input.MouseLeft);
  EXPECT_TRUE(back.Input.MouseRight);
}

TEST(ReplaySession, ATicketsSeedIsUsedOnceAndAGameCountsFromNothing) {
  TTempFolder folder;
  TNoPad pad;
  TReplaySession session(pad, (folder.Path() / "save.dat").string(), "last.rpl", "best.rpl");
  session.PlayNextOnSeed(99);
  EXPECT_EQ(session.TakeNextSeed(), 99u);
  EXPECT_EQ(session.TakeNextSeed(), 0u);

  session.GameBegins();
  const std::uint64_t start = session.Checksum();
  session.TickPlayed();
  session.SetChecksum(start ^ 1);
  session.GameEnds(TReplayResult{1, 3, 10, 0, start ^ 1});
  EXPECT_FALSE(session.InGame());
  session.GameBegins();
  EXPECT_TRUE(session.InGame());
  EXPECT_EQ(session.PlayTicks(), 0u);
  EXPECT_EQ(session.Checksum(), start) << "every game's checksum starts from the same value";
  EXPECT_EQ(session.LastResult().Level, 3);
}
