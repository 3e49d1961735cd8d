// The level manager on small scripts: quotas, timed rows, recycling of dead
// entities by kind, the kill count and level completion, and Reset; then
// level 30's black holes and its quota, played by the whole game.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "app/SaveFile.h"
#include "app/World.h"
#include "enemies/blobBinaryBlackHole.h"
#include "enemies/blobBoid.h"
#include "enemies/blobBoss4.h"
#include "enemies/blobGrunt.h"
#include "enemies/blobGruntXY.h"
#include "enemies/blobMessage.h"
#include "enemies/blobPickup.h"
#include "entities/blobList.h"
#include "entities/blobPlayer.h"
#include "gfx/GLPrinter.h"
#include "gfx/MS3DObj.h"
#include "gfx/ParticleEngine.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "levels/LevelManager.h"
#include "sound/RecordingSoundDevice.h"
#include "sound/frmDXSounds.h"
#include "tests/support/Arrange.h"
#include "tests/support/TestGame.h"
#include "tools/pilot/AutoPilot.h"

namespace {
const TVector3 Origin{};

TSpawnRecord Quota(int level) {
  return MakeSpawnRecord(level, ActionSetQuota, TriggerOnTick, 0, 0, Origin, 0, false, Origin,
                         "Use To Set Number of Aliens to destroy before next wave", false, 0);
}

TSpawnRecord Spawn(int level, int tick, std::uint8_t kind, int lives = 1, const TVector3& at = Origin, int param = -1,
                   const TVector3& extra = Origin, const std::string& text = "") {
  return MakeSpawnRecord(level, ActionSpawn, TriggerOnTick, tick, kind, at, lives, false, extra, text, false, param);
}

struct TCompletions {
  int Count = 0;
  void OnLevelComplete(TBlob*) { ++Count; }
};

class LevelManagerTest : public ::testing::Test {
 protected:
  void SetUp() override { RandomSeed(99); }

  // A manager of its own script, spawning into this fixture's world.
  std::unique_ptr<TLevelManager> Make(std::vector<TSpawnRecord> script) {
    auto m = std::make_unique<TLevelManager>(World, std::move(script));
    m->OnLevelComplete = TBlobEvent::Bind<&TCompletions::OnLevelComplete>(&Done);
    return m;
  }

  // Every alive, counted enemy of the list dies by the bomb.
  void BombEverything() {
    for (TBlob* e : Enemies)
      if (e->Active && e->State == BlobState::Alive) e->Blast();
  }

  void Frames(TLevelManager& m, int level, int n) {
    for (int i = 0; i < n; ++i) {
      m.Update(level);
      for (int k = 0; k < Enemies.Count(); ++k)
        if (Enemies[k]->Active) Enemies[k]->Update();
    }
  }

  int ActiveOfKind(std::uint8_t kind) const {
    int n = 0;
    for (TBlob* e : Enemies) n += e->Active && e->Kind == kind;
    return n;
  }

  TRecordingSoundDevice Device;
  TWorld World{Device};
  TBlobList& Enemies = World.Enemies();
  TBlobList& Wells = World.GravityWells();
  TBlobList& Warpers = World.GridWarpers();
  TBlobPlayer& Player = World.Player();
  TParticleEngine& Particles = World.Particles();
  TGLPrinter& Printer = World.Printer();
  TMS3DObj& SphereTile = World.ModelSphereTile();
  TMS3DObj& RectFrame = World.ModelRectFrame();
  TMS3DObj& GeoSphere = World.ModelGeoSphere();
  TCompletions Done;
};

TEST_F(LevelManagerTest, BuildingCountsEachLevelsQuotaAndWhereItStarts) {
  auto m = Make({
      Quota(1),
      Spawn(1, 0, BlobKind::Grunt, 3),
      Spawn(1, 10, BlobKind::GruntXY, 2),
      Spawn(1, 10, BlobKind::Message, 1),
      Spawn(1, 20, BlobKind::Pickup, 4, Origin, PickupKinds::Energy10),
      Quota(2),
      Spawn(2, 0, BlobKind::Pod, 2),
      Spawn(2, 0, BlobKind::Snake, 2),
      Spawn(2, 5, BlobKind::Boss4, 1),
      Quota(4),  // level 3 has no rows
      Spawn(4, 0, BlobKind::PodChild, 5),
  });
  EXPECT_EQ(m->LevelCount, 5);
  EXPECT_EQ(m->CountAliens(1), 5);       // messages and pickups do not count
  EXPECT_EQ(m->CountAliens(2), 26 + 3);  // a pod is itself and its twelve children
  EXPECT_EQ(m->CountAliens(3), 0);
  EXPECT_EQ(m->CountAliens(4), 0);  // children are counted through their pod
  EXPECT_EQ(m->Spawns[0].Param, 5);
  EXPECT_EQ(m->Spawns[5].Param, 29);
  ASSERT_EQ(m->LevelStart.size(), 5u);
  EXPECT_EQ(m->LevelStart[0], 0);
  EXPECT_EQ(m->LevelStart[1], 0);
  EXPECT_EQ(m->LevelStart[2], 5);
  EXPECT_EQ(m->LevelStart[3], 0);
  EXPECT_EQ(m->LevelStart[4], 9);
  EXPECT_EQ(m->FirstRecordOfLevel(7), 0);
}

TEST_F(LevelManagerTest, TheQuotaIsSetOnTheFirstFrameAndRowsFireOnTheirTick) {
  auto m = Make({Quota(1), Spawn(1, 0, BlobKind::Grunt), Spawn(1, 3, BlobKind::GruntXY, 2)});
  m->Quota = 77;
  m->Destroyed = 12;
  m->Update(1);
  EXPECT_EQ(m->Quota, 3);
  EXPECT_EQ(m->Destroyed, 0);
  EXPECT_EQ(m->Tick, 1);
  EXPECT_EQ(ActiveOfKind(BlobKind::Grunt), 1);
  EXPECT_EQ(ActiveOfKind(BlobKind::GruntXY), 0);
  m->Update(1);
  m->Update(1);
  EXPECT_EQ(ActiveOfKind(BlobKind::GruntXY), 0);
  m->Update(1);  // clock 3
  EXPECT_EQ(ActiveOfKind(BlobKind::GruntXY), 1);
  for (int i = 0; i < 100; ++i) m->Update(1);
  EXPECT_EQ(Enemies.Count(), 2);  // each row fires once per run through its level
}

TEST_F(LevelManagerTest, ASpawnedEnemyIsWiredToTheGame) {
  auto m = Make({Quota(1), Spawn(1, 0, BlobKind::Grunt, 4, MakeVector(30, -60, 0))});
  m->Update(1);
  ASSERT_EQ(Enemies.Count(), 1);
  auto* g = dynamic_cast<TBlobGrunt*>(Enemies[0]);
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->Player, &Player);
  EXPECT_EQ(g->Particles, &Particles);
  EXPECT_EQ(g->Printer, &Printer);
  EXPECT_EQ(g->GlowModel, &RectFrame);
  EXPECT_EQ(g->Lives, 4);
  EXPECT_EQ(g->LivesLeft, 4);
  EXPECT_EQ(g->SpawnPosition.X, 30);
  EXPECT_EQ(g->SpawnPosition.Y, -60);
  ASSERT_TRUE(g->OnDestroyed.Assigned());
  g->OnDestroyed(g);
  EXPECT_EQ(m->Destroyed, 1);
}

TEST_F(LevelManagerTest, EachKindGetsItsGlowItsListsAndItsOwnSettings) {
  struct TCase {
    std::uint8_t Kind;
    TMS3DObj* Glow;
    bool Well, Warper;
  };
  const TCase cases[] = {
      {BlobKind::Grunt, &RectFrame, false, false},     {BlobKind::GruntXY, &RectFrame, false, false},
      {BlobKind::Snake, &SphereTile, false, false},    {BlobKind::Boid, &SphereTile, false, false},
      {BlobKind::Pod, &SphereTile, false, false},      {BlobKind::Gravitar, &SphereTile, true, false},
      {BlobKind::BlackHole, &SphereTile, false, true}, {BlobKind::Boss2, &RectFrame, false, true},
      {BlobKind::Boss3, &RectFrame, false, true},      {BlobKind::Boss4, &SphereTile, false, true},
  };
  std::vector<TSpawnRecord> script{Quota(1)};
  for (const TCase& c : cases)
    script.push_back(Spawn(1, 0, c.Kind, 1, Origin, c.Kind == BlobKind::BlackHole ? 120 : -1));
  auto m = Make(script);
  m->Update(1);
  ASSERT_EQ(Enemies.Count(), int(std::size(cases)));
  for (int i = 0; i < Enemies.Count(); ++i) {
    auto* e = dynamic_cast<TBlobEnemy*>(Enemies[i]);
    ASSERT_NE(e, nullptr);
    const TCase& c = cases[i];
    EXPECT_EQ(e->Kind, c.Kind);
    EXPECT_TRUE(e->Active) << int(c.Kind);
    EXPECT_EQ(e->Player, &Player);
    EXPECT_EQ(e->Sounds, &World.Sounds());
    EXPECT_EQ(e->GlowModel, c.Glow) << int(c.Kind);
    EXPECT_TRUE(e->OnDestroyed.Assigned());
    EXPECT_EQ(Wells.IndexOf(e) >= 0, c.Well) << int(c.Kind);
    EXPECT_EQ(Warpers.IndexOf(e) >= 0, c.Warper) << int(c.Kind);
  }
  EXPECT_EQ(static_cast<TBlobBoid*>(Enemies[3])->Flock, &Enemies);
  EXPECT_EQ(static_cast<TBlobBinaryBlackHole*>(Enemies[6])->OrbitAngle, 120) << "the row's start angle";
  EXPECT_EQ(static_cast<TBlobBoss4*>(Enemies[9])->CoreModel, &GeoSphere);
}

TEST_F(LevelManagerTest, MessagesAndPickupsAreWiredTheirOwnWay) {
  auto m = Make({Quota(1),
                 Spawn(1, 0, BlobKind::Message, 1, MakeVector(-10, -500, 0), -1, MakeVector(0.6f, 0.6f, 0.6f),
                       "Level 1: Welcome"),
                 Spawn(1, 0, BlobKind::Pickup, 1, MakeVector(5, 5, 0), 0x100 + PickupKinds::Bullet2)});
  m->Update(1);
  ASSERT_EQ(Enemies.Count(), 2);
  auto* msg = dynamic_cast<TBlobMessage*>(Enemies[0]);
  auto* pick = dynamic_cast<TBlobPickup*>(Enemies[1]);
  ASSERT_NE(msg, nullptr);
  ASSERT_NE(pick, nullptr);

  EXPECT_EQ(msg->Text, "Level 1: Welcome");
  EXPECT_EQ(msg->HalfWidth, 80);
  EXPECT_EQ(msg->GlowModel, &SphereTile);
  EXPECT_EQ(msg->Printer, &Printer);
  EXPECT_FLOAT_EQ(msg->TextColour.X, 0.6f);       // the colour...
  EXPECT_FLOAT_EQ(msg->MessageVelocity.Y, 0.6f);  // ...and the starting climb
  EXPECT_EQ(msg->StartPosition.Y, -500);

  EXPECT_EQ(pick->PickupKind, PickupKinds::Bullet2);  // low byte of the row's Param
  EXPECT_EQ(pick->PickupAbbrev, "Bx2");
  EXPECT_EQ(pick->GlowModel, &SphereTile);
  ASSERT_TRUE(pick->OnDestroyed.Assigned());
  pick->OnDestroyed(pick);
  EXPECT_EQ(m->Destroyed, 0);  // pickups never count
}

TEST_F(LevelManagerTest, TwoRowsOnTheSameTickGetTwoEntities) {
  auto m = Make({Quota(1), Spawn(1, 0, BlobKind::Grunt), Spawn(1, 0, BlobKind::Grunt)});
  m->Update(1);
  ASSERT_EQ(Enemies.Count(), 2);
  EXPECT_NE(Enemies[0], Enemies[1]);
  EXPECT_EQ(ActiveOfKind(BlobKind::Grunt), 2);
}

TEST_F(LevelManagerTest, DeadEntitiesAreReusedByKindInPlace) {
  auto m = Make({Quota(1), Spawn(1, 0, BlobKind::GruntXY), Spawn(1, 0, BlobKind::Grunt),
                 Spawn(1, 5, BlobKind::Grunt, 2, MakeVector(99, 0, 0))});
  m->Update(1);
  TBlob* xy = Enemies[0];
  TBlob* grunt = Enemies[1];
  grunt->SetActive(false);
  grunt->State = BlobState::Dying;  // left as a finished explosion would leave it

  EXPECT_EQ(m->FindInactive(BlobKind::Grunt), grunt);
  EXPECT_EQ(m->FindInactive(BlobKind::GruntXY), nullptr);
  xy->SetActive(false);
  EXPECT_EQ(m->FindInactive(BlobKind::GruntXY), xy);
  EXPECT_EQ(m->FindInactive(BlobKind::Pickup), nullptr);

  for (int i = 0; i < 5; ++i) m->Update(1);
  ASSERT_EQ(Enemies.Count(), 2);  // nothing new made
  EXPECT_EQ(Enemies[1], grunt);
  EXPECT_TRUE(grunt->Active);
  EXPECT_EQ(grunt->State, BlobState::Spawning);
  EXPECT_EQ(static_cast<TBlobGrunt*>(grunt)->Lives, 2);
  EXPECT_EQ(static_cast<TBlobGrunt*>(grunt)->SpawnPosition.X, 99);
  EXPECT_FALSE(xy->Active);  // a dead GruntXY is not a grunt
}

TEST_F(LevelManagerTest, ReachingTheQuotaCompletesTheLevelAndRestartsTheClock) {
  auto m = Make({Quota(1), Spawn(1, 0, BlobKind::Grunt, 1), Spawn(1, 0, BlobKind::GruntXY, 1), Quota(2),
                 Spawn(2, 0, BlobKind::GruntXY, 1)});
  Frames(*m, 1, 30);
  ASSERT_EQ(m->Quota, 2);
  Enemies[0]->Blast();
  EXPECT_EQ(m->Destroyed, 1);
  EXPECT_EQ(Done.Count, 0);
  EXPECT_EQ(m->Tick, 30);
  Enemies[1]->Blast();
  EXPECT_EQ(Done.Count, 1);
  EXPECT_EQ(m->Tick, 0);

  // The game object moves on to level 2: its rows run from clock 0.
  m->Update(2);
  EXPECT_EQ(m->Quota, 1);
  EXPECT_EQ(m->Destroyed, 0);
  EXPECT_EQ(m->Tick, 1);
  EXPECT_EQ(ActiveOfKind(BlobKind::GruntXY), 2);  // the old one is still exploding
}

TEST_F(LevelManagerTest, KillsAfterALevelChangeCountForTheNewLevel) {
  auto m = Make({Quota(1), Spawn(1, 0, BlobKind::Grunt, 1), Spawn(1, 0, BlobKind::Grunt, 1),
                 Spawn(1, 0, BlobKind::Grunt, 1), Quota(2), Spawn(2, 50, BlobKind::Grunt, 2)});
  Frames(*m, 1, 30);
  m->Quota = 1;  // as if the level asked for one kill only
  Enemies[0]->Blast();
  ASSERT_EQ(Done.Count, 1);
  m->Update(2);
  ASSERT_EQ(m->Quota, 2);
  Enemies[1]->Blast();  // a level-1 grunt still about
  EXPECT_EQ(m->Destroyed, 1);
  Enemies[2]->Blast();
  EXPECT_EQ(Done.Count, 2);
}

TEST_F(LevelManagerTest, SeveralKillsInOneFrameCompleteTheLevelOnce) {
  auto m = Make({Quota(1), Spawn(1, 0, BlobKind::GruntXY, 1), Spawn(1, 0, BlobKind::GruntXY, 1),
                 Spawn(1, 0, BlobKind::GruntXY, 1), Spawn(1, 0, BlobKind::GruntXY, 1)});
  Frames(*m, 1, 30);
  m->Quota = 2;
  BombEverything();
  EXPECT_EQ(m->Destroyed, 4);
  EXPECT_EQ(Done.Count, 1);
  // The next run of the level arms it again.
  m->Update(1);
  EXPECT_EQ(m->Destroyed, 0);
  Frames(*m, 1, 30);
  BombEverything();
  EXPECT_EQ(Done.Count, 2);
}

TEST_F(LevelManagerTest, ResetSwitchesEveryEnemyOffAndRewindsTheClock) {
  auto m = Make({Quota(1), Spawn(1, 0, BlobKind::Grunt, 1), Spawn(1, 2, BlobKind::Pickup, 1, Origin, 3),
                 Spawn(1, 4, BlobKind::Message, 1)});
  Frames(*m, 1, 10);
  ASSERT_EQ(Enemies.Count(), 3);
  m->Spawns[1].Skip = true;
  const int quota = m->Quota;
  m->Reset();
  for (TBlob* e : Enemies) EXPECT_FALSE(e->Active);
  EXPECT_EQ(m->Tick, 0);
  EXPECT_EQ(m->Quota, quota);
  EXPECT_FALSE(m->Spawns[1].Skip);
  m->Update(1);  // the level starts over, reusing the same grunt
  EXPECT_EQ(Enemies.Count(), 3);
  EXPECT_EQ(ActiveOfKind(BlobKind::Grunt), 1);
}

TEST_F(LevelManagerTest, RowsThatCannotFireDoNothingButTheClockRuns) {
  TSpawnRecord skipped = Spawn(1, 0, BlobKind::Grunt);
  skipped.Skip = true;
  TSpawnRecord otherTrigger = Spawn(1, 0, BlobKind::Grunt);
  otherTrigger.Trigger = 1;
  auto m = Make({Quota(1), skipped, otherTrigger, Spawn(1, 0, 1), Spawn(1, 0, 200)});
  m->Update(1);
  EXPECT_EQ(Enemies.Count(), 0);
  EXPECT_EQ(m->Tick, 1);

  // A level outside the script is ignored rather than read out of bounds.
  m->Update(-1);
  m->Update(m->LevelCount);
  m->Update(1000);
  EXPECT_EQ(m->Tick, 1);
  EXPECT_EQ(Enemies.Count(), 0);
}

TEST_F(LevelManagerTest, KindsTheScriptCannotSpawnSpawnNothing) {
  // Unused kind ids, and the ship and its bullets, which are never spawned.
  auto m = Make({Quota(1), Spawn(1, 0, 1), Spawn(1, 0, 7), Spawn(1, 0, BlobKind::Player), Spawn(1, 0, BlobKind::Bullet),
                 Spawn(1, 0, 200)});
  m->Update(1);
  EXPECT_EQ(Enemies.Count(), 0);
  EXPECT_EQ(m->Tick, 1);
  EXPECT_EQ(m->Obtain(BlobKind::Player), nullptr);
  EXPECT_EQ(m->Obtain(BlobKind::Bullet), nullptr);
}

TEST_F(LevelManagerTest, AGravitarStaysAWellThroughItsDeathAndRespawn) {
  auto m = Make({Quota(1)});
  m->Update(1);
  m->Quota = 5;
  TBlobGrunt a, b;
  Wells.Add(&a);
  Wells.Add(&b);
  m->GravitarDestroyed(&a);
  EXPECT_EQ(Wells.Count(), 2) << "a dying gravitar still pulls; the grid skips it once it is off";
  EXPECT_EQ(m->Destroyed, 1);
  m->GravitarDestroyed(&a);
  EXPECT_EQ(Wells.Count(), 2);
  EXPECT_EQ(m->Destroyed, 2);
}

TEST_F(LevelManagerTest, APodCountsOnceForItselfWhenItDies) {
  auto m = Make({Quota(1)});
  m->Update(1);
  m->Quota = 13;
  TBlobGrunt pod;  // stands in for the pod: only its position is read
  pod.Position = MakeVector(100, 100, 0);
  m->PodDestroyed(&pod);
  EXPECT_EQ(m->Destroyed, 1);
  // Twelve children around the wreck, each counted on its own.
  ASSERT_EQ(ActiveOfKind(BlobKind::PodChild), 12);
  ASSERT_EQ(Enemies.Count(), 12);
  for (TBlob* blob : Enemies) {
    auto* child = static_cast<TBlobEnemy*>(blob);
    EXPECT_GE(child->SpawnPosition.X, 100 - 64);
    EXPECT_LE(child->SpawnPosition.Y, 100 + 63);
    EXPECT_EQ(child->Lives, 1);
  }
  static_cast<TBlobEnemy*>(Enemies[11])->OnDestroyed(Enemies[11]);
  EXPECT_EQ(m->Destroyed, 2);
  m->PodDestroyed(nullptr);  // no sender: still counted, nothing released
  EXPECT_EQ(m->Destroyed, 3);
  EXPECT_EQ(Enemies.Count(), 12);
}

TEST_F(LevelManagerTest, WithoutAnEnemyListNothingIsSpawned) {
  TLevelManager m({Quota(1), Spawn(1, 0, BlobKind::Grunt)});
  m.Update(1);
  EXPECT_EQ(m.FindInactive(BlobKind::Grunt), nullptr);
  m.Reset();
  EXPECT_EQ(m.Tick, 0);
}

TEST(LevelManagerCatalogue, TheFortyLevelsAreIndexedAndEachHasItsQuota) {
  RandomSeed(3);
  TLevelManager m;
  ASSERT_EQ(m.LevelCount, 41);
  ASSERT_EQ(m.LevelStart.size(), 41u);
  for (int level = 1; level <= 40; ++level) {
    const int start = m.LevelStart[level];
    ASSERT_LT(start, int(m.Spawns.size()));
    EXPECT_EQ(m.Spawns[start].Level, level);
    if (start > 0) {
      EXPECT_LT(m.Spawns[start - 1].Level, level);
    }
    int quotaRows = 0;
    for (const TSpawnRecord& row : m.Spawns)
      if (row.Level == level && row.Action == ActionSetQuota) {
        ++quotaRows;
        EXPECT_EQ(row.Param, m.CountAliens(level)) << "level " << level;
      }
    EXPECT_EQ(quotaRows, 1) << "level " << level;
  }
}

}  // namespace

// Level 30 of the real script, played by the game object from the title. The
// ship passes through everything, so only the holes' blows can hurt it; every
// GruntXY is shot the moment it is alive, and so are the first `holesShot`
// black holes of the enemy list. Left alone, the three holes collapse in one
// frame.
class LevelThirty : public ::testing::Test {
 protected:
  void Start(int holesShot, const TReplayAssists& assists = {}) {
    HolesShot = holesShot;
    TArrange(t.Host).LevelsOpen(30);
    TArrange(t.Host).ShowStartLevel(30);
    TArrange(t.Host).Assists(assists);
    t.StartPlaying();
    ASSERT_EQ(t.Host.Level(), 30);
    Frame();
    ASSERT_EQ(t.Game->World().LevelManager().Quota, 23) << "twenty GruntXY and three holes";
  }

  void Frame() {
    t.Player().Invulnerable = 50;
    if (Pilot) Pilot->BeforeTick(Frames);
    t.Run(1);
    ++Frames;
    int hole = 0;
    for (TBlob* e : t.Game->World().Enemies()) {
      const bool shoot = e->Kind == BlobKind::GruntXY || (e->Kind == BlobKind::BlackHole && hole++ < HolesShot);
      if (shoot && e->Active)
        while (e->State == BlobState::Alive) e->Hit();
    }
  }

  // Frames until `done` holds, at most `limit`.
  template <class F>
  void RunUntil(F done, int limit = 3000) {
    while (!done() && Frames < limit) Frame();
    ASSERT_TRUE(done()) << "not by frame " << limit;
  }

  TBlobBinaryBlackHole* SparedHole() {
    int hole = 0;
    for (TBlob* e : t.Game->World().Enemies())
      if (e->Kind == BlobKind::BlackHole && hole++ == HolesShot) return static_cast<TBlobBinaryBlackHole*>(e);
    return nullptr;
  }

  int SavedMaxLevel() {
    std::int32_t hi = 0, max = 0;
    SaveFile::LoadGame((t.Dir / "QUADROVOLT.DAT").string(), hi, max);
    return max;
  }

  TTestGame t;
  std::unique_ptr<TAutoPilot> Pilot;
  int HolesShot = 0;
  int Frames = 0;
};

TEST_F(LevelThirty, HolesLeftAloneEndTheGameWithoutCompletingTheLevel) {
  Start(0);
  RunUntil([&] { return t.Host.State() != GameState::Playing; });
  EXPECT_EQ(t.Host.State(), GameState::GameOver);
  EXPECT_EQ(t.Player().Damage, 300) << "all three blows land in one frame";
  EXPECT_EQ(t.Host.Level(), 30);
  // The first blow leaves the ship at 100, alive: that one counts; the two
  // that wreck it do not.
  EXPECT_EQ(t.Game->World().LevelManager().Destroyed, 21);
  EXPECT_EQ(t.Player().Score, 20 * 100) << "the grunts' points, none for a collapse";

  // Nothing more counts in the game-over pause, and no new level is saved.
  for (int i = 0; i < 120 && t.Host.State() == GameState::GameOver; ++i) Frame();
  EXPECT_EQ(t.Host.State(), GameState::Title);
  EXPECT_EQ(t.Host.MaxLevel(), 30);
  EXPECT_EQ(SavedMaxLevel(), 30);
}

TEST_F(LevelThirty, OneCollapseOnAFreshShipWithTheRestShotCompletesTheLevel) {
  Start(2);
  TBlobBinaryBlackHole* hole = nullptr;
  RunUntil([&] { return (hole = SparedHole()) && hole->Collapsed; });
  // Collapsed, but nothing counted until the blow lands.
  EXPECT_EQ(t.Game->World().LevelManager().Destroyed, 22);
  int damageBefore = -1;
  RunUntil([&] {
    if (t.Host.Level() == 30) damageBefore = t.Player().Damage;
    return t.Host.Level() != 30;
  });
  EXPECT_EQ(damageBefore, 0) << "the level was still on the frame before the blow";
  EXPECT_EQ(t.Player().Damage, 100) << "it completes on the frame the blow lands";
  EXPECT_EQ(t.Host.Level(), 31);
  EXPECT_EQ(t.Host.MaxLevel(), 31);
  EXPECT_EQ(SavedMaxLevel(), 31);
  Frame();
  EXPECT_EQ(t.Host.State(), GameState::Playing) << "100 damage is still alive";
}

TEST_F(LevelThirty, ACollapseInTheGameOverPauseNeverCounts) {
  Start(2);
  TBlobBinaryBlackHole* hole = nullptr;
  RunUntil([&] { return (hole = SparedHole()) && hole->State == BlobState::Alive && hole->OrbitRadius < 11; });
  t.Player().Damage = 101;  // wrecked a few frames before the hole collapses
  Frame();
  ASSERT_EQ(t.Host.State(), GameState::GameOver);
  RunUntil([&] { return hole->Collapsed; });
  ASSERT_EQ(t.Host.State(), GameState::GameOver);
  // Even with the ship repaired in the pause (pickups can still be taken),
  // the blow that lands there does not count.
  t.Player().Damage = 0;
  RunUntil([&] { return !hole->Active; });
  ASSERT_EQ(t.Host.State(), GameState::GameOver);
  EXPECT_EQ(t.Player().Damage, 100);
  EXPECT_EQ(t.Game->World().LevelManager().Destroyed, 22);
  EXPECT_EQ(t.Host.Level(), 30);
  EXPECT_EQ(t.Host.MaxLevel(), 30);
}

// Held damage holds against every blow of a frame, whether a run asks for it
// alone or as the tools' pilot asks for it (with its volleys): the three
// collapses then all count, and the level completes.
TEST_F(LevelThirty, HeldDamageOutlastsThreeCollapsesInOneFrame) {
  for (const bool byPilot : {false, true}) {
    SCOPED_TRACE(byPilot ? "the pilot" : "the recorded assist");
    Frames = 0;
    const TAutoPilotOptions flying{30, 1, false, false};
    TReplayAssists assists;
    assists.NoDamage = true;
    if (byPilot) Pilot = std::make_unique<TAutoPilot>(t.Host, flying), assists = flying.Assists();
    Start(0, assists);
    RunUntil([&] {
      EXPECT_LE(t.Player().Damage, 100) << "frame " << Frames;
      return t.Host.Level() != 30 || t.Host.State() != GameState::Playing;
    });
    EXPECT_EQ(t.Host.State(), GameState::Playing);
    EXPECT_EQ(t.Host.Level(), 31);
    EXPECT_EQ(t.Player().Score, 20 * 100);
    t.Tap(VK::Escape);  // back to the title for the next way round
    t.Run(1);
    ASSERT_EQ(t.Host.State(), GameState::Title);
  }
}
