// The grunt's life from spawn to reuse: grow-in, chase, hits and knock-back,
// bomb and well kills, the explosion with its points value, and respawning
// from its lives. The GruntXY differs in its chase, colours and bomb points.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "enemies/blobGrunt.h"
#include "enemies/blobGruntXY.h"
#include "entities/blobPlayer.h"
#include "gfx/GLPrinter.h"
#include "gfx/ParticleEngine.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "tests/support/EnemyFixture.h"

namespace {
class GruntTest : public TEnemyTest {
 protected:
  void SetUp() override {
    RandomSeed(77);
    Player.Position = MakeVector(-300, -300, 0);
  }

  static void Kill(TBlobEnemy& e) {
    for (int i = 0; i < 5; ++i) e.Hit();
  }
};

TEST_F(GruntTest, ThreeLivesMeanThreeDeathsFirstAtTheSpawnPointThenAnywhere) {
  TBlobGrunt g;
  const TVector3 spawn = MakeVector(120, 240, 0);
  Wire(g, spawn, 3);

  for (int life = 1; life <= 3; ++life) {
    Frame(g);  // first spawning frame decides where it appears
    if (life == 1) {
      EXPECT_EQ(g.Position.X, spawn.X);
      EXPECT_EQ(g.Position.Y, spawn.Y);
    } else {
      EXPECT_FALSE(g.Position.X == spawn.X && g.Position.Y == spawn.Y) << "life " << life;
      EXPECT_EQ(g.Position.X, std::floor(g.Position.X));  // whole numbers from -500 to 499
      EXPECT_GE(g.Position.X, -500);
      EXPECT_LE(g.Position.X, 499);
      EXPECT_GE(g.Position.Y, -500);
      EXPECT_LE(g.Position.Y, 499);
    }
    // 24 more spawning frames: the grow-in takes 25 in all.
    for (int i = 0; i < 23; ++i) Frame(g);
    EXPECT_EQ(g.State, BlobState::Spawning);
    Frame(g);
    EXPECT_EQ(g.State, BlobState::Alive);
    EXPECT_FLOAT_EQ(g.Size, 1.0f);

    Kill(g);
    EXPECT_EQ(Deaths.Count, life);
    EXPECT_EQ(Deaths.Last, &g);
    EXPECT_EQ(RunExplosion(g), 50);
    EXPECT_EQ(g.LivesLeft, 3 - life);
    EXPECT_EQ(g.Active, life < 3) << "life " << life;
    EXPECT_EQ(g.Size, 0);
  }
  EXPECT_EQ(Deaths.Count, 3);
  EXPECT_EQ(Player.Score, 150);
}

TEST_F(GruntTest, FixedSpawnComesBackToTheSpawnPoint) {
  TBlobGrunt g;
  const TVector3 spawn = MakeVector(-40, 75, 0);
  Wire(g, spawn, 2, true);
  RunUntilAlive(g);
  Kill(g);
  RunExplosion(g);
  ASSERT_TRUE(g.Active);
  Frame(g);
  EXPECT_EQ(g.Position.X, spawn.X);
  EXPECT_EQ(g.Position.Y, spawn.Y);
}

TEST_F(GruntTest, FiveHitsKillAndEachEarlierHitRestartsTheKnockBack) {
  TBlobGrunt g;
  Wire(g, MakeVector(0, 0, 0), 1);
  RunUntilAlive(g);
  Player.Position = MakeVector(0, -300, 0);  // straight below: it closes in on Y
  g.FollowX = false;

  for (int hit = 1; hit <= 4; ++hit) {
    g.Hit();
    EXPECT_EQ(g.HitFlash, 10);
    EXPECT_EQ(g.Shield, 5 - hit);
    EXPECT_EQ(g.State, BlobState::Alive);
    // During the flash it is pushed away from the ship (upwards here).
    const float before = g.Position.Y;
    for (int i = 0; i < 3; ++i) Frame(g);
    EXPECT_GT(g.Position.Y, before) << "hit " << hit;
    EXPECT_EQ(g.HitFlash, 7);
  }
  EXPECT_EQ(Deaths.Count, 0);
  g.Hit();
  EXPECT_EQ(g.State, BlobState::Dying);
  EXPECT_EQ(Deaths.Count, 1);
  EXPECT_EQ(Player.Score, 50);
}

TEST_F(GruntTest, KnockBackLastsWhileTheFlashDoesThenTheChaseResumes) {
  TBlobGrunt g;
  Wire(g, MakeVector(0, 0, 0), 1);
  RunUntilAlive(g);
  Player.Position = MakeVector(0, -300, 0);
  g.FollowX = false;
  g.Hit();
  std::vector<float> ys{g.Position.Y};
  for (int i = 0; i < 11; ++i) {
    Frame(g);
    ys.push_back(g.Position.Y);
  }
  // Nine frames back (the flash counts 9..1 after its decrement), then on.
  for (int i = 1; i <= 9; ++i) EXPECT_GT(ys[i], ys[i - 1]) << i;
  EXPECT_LT(ys[10], ys[9]);
  EXPECT_LT(ys[11], ys[10]);
}

TEST_F(GruntTest, HitsOnASpawningOrDyingGruntChangeNothing) {
  TBlobGrunt g;
  Wire(g, MakeVector(0, 0, 0), 2);
  Frame(g);
  ASSERT_EQ(g.State, BlobState::Spawning);
  ExpectUntouchable(g);
  EXPECT_EQ(g.Shield, 5);

  RunUntilAlive(g);
  Kill(g);
  Frame(g);
  ASSERT_EQ(g.State, BlobState::Dying);
  const int counter = g.DyingCounter;
  ExpectUntouchable(g);
  EXPECT_EQ(g.DyingCounter, counter);
}

TEST_F(GruntTest, EveryHitPlaysTheHitSoundButOnlyWhileAlive) {
  TBlobGrunt g;
  Wire(g, MakeVector(0, 0, 0), 1);
  g.Sounds = &Sounds;
  Frame(g);
  g.Hit();
  EXPECT_EQ(Plays("GruntHit"), 0);
  RunUntilAlive(g);
  for (int hit = 1; hit <= 5; ++hit) {
    g.Hit();
    EXPECT_EQ(Plays("GruntHit"), hit);
  }
  ASSERT_EQ(g.State, BlobState::Dying);
  g.Hit();
  EXPECT_EQ(Plays("GruntHit"), 5);

  TBlobGruntXY xy;  // bombs and wells kill silently
  Wire(xy, MakeVector(0, 0, 0), 2);
  xy.Sounds = &Sounds;
  RunUntilAlive(xy);
  xy.Blast();
  RunExplosion(xy);
  RunUntilAlive(xy);
  xy.Absorb();
  EXPECT_EQ(Plays(), 5);
  EXPECT_EQ(Deaths.Count, 3);
}

TEST_F(GruntTest, LevelWithTheShipItStandsStillOneFrameWhileSwitchingAxis) {
  TBlobGrunt g;
  Wire(g, MakeVector(100.5f, 200, 0), 1);
  RunUntilAlive(g);
  Player.Position = MakeVector(100, -100, 0);
  g.FollowX = true;  // within 0.5 of the ship on X

  Frame(g);
  EXPECT_FALSE(g.FollowX);
  EXPECT_EQ(g.Position.X, 100.5f);
  EXPECT_EQ(g.Position.Y, 200);

  Frame(g);  // now it closes in on Y
  EXPECT_EQ(g.Position.X, 100.5f);
  EXPECT_LT(g.Position.Y, 200);
}

TEST_F(GruntTest, GruntXYClosesInOnBothAxesAtOnce) {
  TBlobGruntXY g;
  Wire(g, MakeVector(0, 0, 0), 1);
  RunUntilAlive(g);
  Player.Position = MakeVector(-200, 300, 0);
  Frame(g);
  // Speed 1.005 after its first alive frame: a step of half that.
  EXPECT_FLOAT_EQ(g.Position.X, -0.5025f);
  EXPECT_FLOAT_EQ(g.Position.Y, 0.5025f);
}

TEST_F(GruntTest, SpeedRampsUpToFiveAndTheArenaEdgeHoldsIt) {
  TBlobGruntXY g;
  Wire(g, MakeVector(495, -495, 0), 1);
  RunUntilAlive(g);
  Player.Position = MakeVector(500, -500, 0);
  for (int i = 0; i < 900; ++i) {
    Frame(g);
    // The ship sits in the corner; it chases past it and is held at the edge.
    Player.Position = MakeVector(600, -600, 0);
  }
  EXPECT_FLOAT_EQ(g.Speed, 5.0f);
  EXPECT_EQ(g.Position.X, 500);
  EXPECT_EQ(g.Position.Y, -500);
}

TEST_F(GruntTest, BombsScoreNothingForTheGruntAndAHundredForTheGruntXYAndWellsNothing) {
  TBlobGrunt g, swallowedGrunt;
  TBlobGruntXY xy, swallowedXY;
  Wire(g, MakeVector(0, 0, 0), 1);
  Wire(swallowedGrunt, MakeVector(-50, 0, 0), 1);
  Wire(xy, MakeVector(50, 0, 0), 1);
  Wire(swallowedXY, MakeVector(100, 0, 0), 1);
  EXPECT_EQ(BombAndSwallow(g, swallowedGrunt), std::make_pair(0, 0));
  EXPECT_EQ(BombAndSwallow(xy, swallowedXY), std::make_pair(100, 0));
  EXPECT_LE(swallowedXY.Shield, 0);
}

TEST_F(GruntTest, CreateMakesAPooledGruntNewAgain) {
  TBlobGrunt g;
  Wire(g, MakeVector(30, 40, 0), 1);
  RunUntilAlive(g);
  Kill(g);
  RunExplosion(g);
  ASSERT_FALSE(g.Active);

  g.Create();
  EXPECT_TRUE(g.Active);
  ExpectFresh(g, BlobKind::Grunt, 50);
  EXPECT_EQ(g.Radius, 25);
  EXPECT_EQ(g.Size, 0);
  EXPECT_EQ(g.Speed, 0);
  EXPECT_EQ(g.VertexCount, 4);
}

// ---------------------------------------------------------------------------
// What the explosion draws.

class GruntDrawingTest : public TDrawingTest<GruntTest> {
 protected:
  // True when the primitives of `part` appear, in order and unbroken, in `whole`.
  static bool Contains(const std::vector<TRecordedPrimitive>& whole, const std::vector<TRecordedPrimitive>& part) {
    if (part.empty() || part.size() > whole.size()) return false;
    for (size_t start = 0; start + part.size() <= whole.size(); ++start) {
      bool same = true;
      for (size_t k = 0; k < part.size() && same; ++k) same = Same(whole[start + k], part[k]);
      if (same) return true;
    }
    return false;
  }
  static bool Same(const TRecordedPrimitive& a, const TRecordedPrimitive& b) {
    if (a.Prim != b.Prim || a.Vertices.size() != b.Vertices.size()) return false;
    if (std::fabs(a.Colour.A - b.Colour.A) > 1e-5f || std::fabs(a.Colour.B - b.Colour.B) > 1e-5f) return false;
    for (size_t i = 0; i < a.Vertices.size(); ++i)
      if (std::fabs(a.Vertices[i].X - b.Vertices[i].X) > 1e-3f || std::fabs(a.Vertices[i].Y - b.Vertices[i].Y) > 1e-3f)
        return false;
    return true;
  }

  // What the printer draws for a value on the first dying frame (t = 0.02).
  std::vector<TRecordedPrimitive> PointsText(int value, const TVector3& at, const TVector3& colour) {
    return RecordApart([&] {
      Printer.PrintNumber(value, at, TVector3{}, MakeVector(1 - 0.02f / 4, 1 - 0.02f, 1),
                          MakeColor4(colour.X, colour.Y, colour.Z, 1 - 0.02f));
    });
  }

  // Kills the enemy and records its first dying frame.
  void FirstDyingFrame(TBlobEnemy& e) {
    RunUntilAlive(e);
    Kill(e);
    Rec.Reset();
    Frame(e);
  }

  TGLPrinter Printer;
};

TEST_F(GruntDrawingTest, TheWreckShowsFiftyForAGruntAndAHundredForAGruntXY) {
  TBlobGrunt g;
  Wire(g, MakeVector(-100, 50, 0), 1);
  g.Printer = &Printer;
  FirstDyingFrame(g);
  EXPECT_TRUE(Contains(Rec.Primitives, PointsText(50, g.Position, MakeColor(0, 0, 1))));
  EXPECT_FALSE(Contains(Rec.Primitives, PointsText(100, g.Position, MakeColor(0, 0, 1))));

  TBlobGruntXY xy;
  Wire(xy, MakeVector(200, -80, 0), 1);
  xy.Printer = &Printer;
  FirstDyingFrame(xy);
  EXPECT_TRUE(Contains(Rec.Primitives, PointsText(100, xy.Position, MakeColor(0, 1, 1))));
  EXPECT_FALSE(Contains(Rec.Primitives, PointsText(50, xy.Position, MakeColor(0, 1, 1))));
}

TEST_F(GruntDrawingTest, TheSidesFlyOutwardTwoUnitsAFrameWhileFading) {
  TBlobGrunt g;
  Wire(g, MakeVector(100, 100, 0), 1);
  RunUntilAlive(g);
  Kill(g);
  for (int frame = 1; frame <= 10; ++frame) {
    const TRecordedPrimitive edges = FlyingSides(g);
    ASSERT_EQ(edges.Vertices.size(), 8u);
    const float out = 20 + 2.0f * frame;
    // Left side (vertex 0 to 1) at x = -out, bottom (1 to 2) at y = -out,
    // right at +out, top at +out; each keeps its length of 40.
    EXPECT_NEAR(edges.Vertices[0].X, g.Position.X - out, 1e-3);
    EXPECT_NEAR(edges.Vertices[1].X, g.Position.X - out, 1e-3);
    EXPECT_NEAR(edges.Vertices[2].Y, g.Position.Y - out, 1e-3);
    EXPECT_NEAR(edges.Vertices[3].Y, g.Position.Y - out, 1e-3);
    EXPECT_NEAR(edges.Vertices[4].X, g.Position.X + out, 1e-3);
    EXPECT_NEAR(edges.Vertices[6].Y, g.Position.Y + out, 1e-3);
    EXPECT_NEAR(std::fabs(edges.Vertices[0].Y - edges.Vertices[1].Y), 40, 1e-3);
    EXPECT_NEAR(edges.Colour.B, 0.6f, 1e-6);
    EXPECT_NEAR(edges.Colour.A, 1 - 0.02f * frame, 1e-5);
    EXPECT_EQ(edges.LineWidth, 2);
  }
}

TEST_F(GruntDrawingTest, TheGlowLeavesLightingOffAndBlendingOn) {
  TBlobGrunt g;
  Wire(g, MakeVector(0, 0, 0), 1);
  RunUntilAlive(g);
  Rec.Reset();
  Rec.Enable(TCapability::Light0);
  Frame(g);
  EXPECT_FALSE(Rec.IsEnabled(TCapability::Lighting));
  EXPECT_FALSE(Rec.IsEnabled(TCapability::Light0));
  EXPECT_TRUE(Rec.IsEnabled(TCapability::Blend));
  EXPECT_EQ(Rec.CurrentBlend(), TBlendMode::AlphaOneMinusAlpha);
  EXPECT_EQ(Rec.StackDepth(), 0);
  // The alive square: a closed loop of the four corners in blue.
  auto loops = Rec.Find(TPrimitive::LineLoop);
  ASSERT_EQ(loops.size(), 1u);
  EXPECT_EQ(loops[0]->Vertices.size(), 4u);
  EXPECT_EQ(loops[0]->Colour.B, 1);
  EXPECT_EQ(loops[0]->Colour.R, 0);
}

TEST_F(GruntDrawingTest, TheGrowInOpensFromAHorizontalLine) {
  TBlobGrunt g;
  Wire(g, MakeVector(0, 0, 0), 1);
  Rec.Reset();
  Frame(g);  // drawn at Size 0: flat
  auto loops = Rec.Find(TPrimitive::LineLoop);
  ASSERT_EQ(loops.size(), 1u);
  for (const TVector3& v : loops[0]->Vertices) EXPECT_EQ(v.Y, 0);
  EXPECT_EQ(loops[0]->Vertices[0].X, -20);
}

// ---------------------------------------------------------------------------
// The sparks and bursts go to the particle engine.

TEST_F(GruntTest, DeathBurstIsSeventeenForTheGruntAndThirtyFourForTheGruntXY) {
  TParticleEngine particles(TIntRect{-500, 500, 500, -500});
  TBlobGrunt g;
  Wire(g, MakeVector(0, 0, 0), 1);
  g.Particles = &particles;
  RunUntilAlive(g);
  EXPECT_EQ(particles.ActiveCount(), 0);
  Kill(g);
  particles.Clear();
  Frame(g);
  EXPECT_EQ(particles.ActiveCount(), 17);
  Frame(g);
  EXPECT_EQ(particles.ActiveCount(), 17);  // only on the first dying frame

  TBlobGruntXY xy;
  Wire(xy, MakeVector(0, 0, 0), 1);
  xy.Particles = &particles;
  RunUntilAlive(xy);
  Kill(xy);
  particles.Clear();
  Frame(xy);
  EXPECT_EQ(particles.ActiveCount(), 34);
}

TEST_F(GruntTest, EachFlashFrameThrowsTwoSparks) {
  TParticleEngine particles(TIntRect{-500, 500, 500, -500});
  TBlobGrunt g;
  Wire(g, MakeVector(0, 0, 0), 1);
  g.Particles = &particles;
  RunUntilAlive(g);
  g.Hit();
  Frame(g);
  EXPECT_EQ(particles.ActiveCount(), 2);
  Frame(g);
  EXPECT_EQ(particles.ActiveCount(), 4);
}

}  // namespace
