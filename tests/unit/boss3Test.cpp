// The monolith: its turn and swell, the star field that turns with it and
// speeds up on every pass, the bullets that burst on the turned slab, the
// 250 hits and the bomb, and the wreck of the unturned slab.
#include <gtest/gtest.h>

#include <cmath>

#include "enemies/blobBoss3.h"
#include "entities/blobBullet.h"
#include "entities/blobList.h"
#include "entities/blobPlayer.h"
#include "gfx/GLPrinter.h"
#include "gfx/ParticleEngine.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "tests/support/EnemyFixture.h"

namespace {
constexpr double Pi = 3.14159265358979323846;

// (x, y) turned by degrees about the origin.
TVector3 Turned(float x, float y, double degrees) {
  const double a = degrees * Pi / 180;
  return MakeVector(float(std::cos(a) * x - std::sin(a) * y), float(std::sin(a) * x + std::cos(a) * y), 0);
}

class Boss3Test : public TDrawingTest<TEnemyTest> {
 protected:
  void SetUp() override { RandomSeed(31); }

  void Wire(TBlobBoss3& b, int lives = 1, const TVector3& at = TVector3{}) {
    b.Particles = &Particles;
    b.Sounds = &Sounds;
    TEnemyTest::Wire(b, at, lives, true);
  }

  // A player bullet at (x, y) flying along +X.
  static void Aim(TBlobBullet& shot, float x, float y) { shot.Launch(MakeVector(x, y, 0), 0); }

  TParticleEngine Particles{TIntRect{-500, 500, 500, -500}};
};

TEST_F(Boss3Test, GrowsInForTwentyFiveFramesThenTurnsAFifthOfADegreeAFrameAndSwells) {
  TBlobBoss3 b;
  EXPECT_EQ(b.Kind, BlobKind::Boss3);
  EXPECT_EQ(b.Points, 5000);
  Wire(b);
  EXPECT_EQ(RunUntilAlive(b), 25);
  EXPECT_FLOAT_EQ(b.Radius, 1.0f);
  EXPECT_EQ(b.Shield, 250);

  Frame(b);
  EXPECT_NEAR(b.TurnAngle(), 10.2f, 1e-4);
  EXPECT_NEAR(b.PulseScale, 1.005f, 1e-5);
  for (int i = 0; i < 10; ++i) Frame(b);
  EXPECT_NEAR(b.TurnAngle(), 12.2f, 1e-3);
  // Up to three and a half times its size, then back down.
  float biggest = 0;
  for (int i = 0; i < 600; ++i) {
    Frame(b);
    biggest = std::max(biggest, b.PulseScale);
  }
  EXPECT_FLOAT_EQ(biggest, 3.5f);
  EXPECT_LT(b.PulseScale, 3.5f);
  EXPECT_GE(b.PulseScale, 1.0f);
  // It never moves by itself.
  EXPECT_EQ(b.Position.X, 0);
  EXPECT_EQ(b.Position.Y, 0);
}

TEST_F(Boss3Test, TheOutlineAndTheStarsShowTheSameAngle) {
  TBlobBoss3 b;
  Wire(b);
  RunUntilAlive(b);
  for (int i = 0; i < 40; ++i) Frame(b);
  Rec.Reset();
  Frame(b);
  const double angle = b.TurnAngle();
  const float s = b.PulseScale;

  auto loops = Rec.Find(TPrimitive::LineLoop);
  ASSERT_EQ(loops.size(), 2u);
  const TVector3 slab[4] = {{-200, -100, 0}, {200, -100, 0}, {200, 100, 0}, {-200, 100, 0}};
  for (int i = 0; i < 4; ++i) {
    const TVector3 want = Turned(slab[i].X * s, slab[i].Y * s, angle);
    EXPECT_NEAR(loops[0]->Vertices[i].X, want.X, 0.05) << i;
    EXPECT_NEAR(loops[0]->Vertices[i].Y, want.Y, 0.05) << i;
    EXPECT_NEAR(loops[0]->Vertices[i].Z, 0, 1e-4);
    // The back face, 80 deeper.
    EXPECT_NEAR(loops[1]->Vertices[i].X, want.X, 0.05) << i;
    EXPECT_NEAR(loops[1]->Vertices[i].Z, -80, 1e-4);
  }
  EXPECT_EQ(loops[0]->Colour.B, 0.5f);
  EXPECT_EQ(loops[0]->LineWidth, 2);
  auto joins = Rec.Find(TPrimitive::Lines);
  ASSERT_EQ(joins.size(), 1u);
  EXPECT_EQ(joins[0]->Vertices.size(), 8u);

  auto stars = Rec.Find(TPrimitive::Points);
  ASSERT_EQ(stars.size(), 1u);
  ASSERT_EQ(stars[0]->Vertices.size(), size_t(TBlobBoss3::StarCount));
  EXPECT_EQ(stars[0]->PointSize, 2);
  for (int j = 0; j < TBlobBoss3::StarCount; j += 37) {
    const auto& star = b.Stars[j];
    const TVector3 want = Turned(star.X * s, star.Y * s, angle);
    EXPECT_NEAR(stars[0]->Vertices[j].X, want.X, 1e-2) << j;
    EXPECT_NEAR(stars[0]->Vertices[j].Y, want.Y, 1e-2) << j;
    EXPECT_NEAR(stars[0]->Vertices[j].Z, star.Z, 1e-4) << j;
    EXPECT_EQ(stars[0]->VertexColours[j].B, star.B) << j;
  }
}

TEST_F(Boss3Test, AStarCrossingTheEdgeReturnsFasterAndBrighterNeverAboveOne) {
  TBlobBoss3 b;
  Wire(b);
  for (const auto& star : b.Stars) {
    ASSERT_GE(star.X, -200);
    ASSERT_LT(star.X, 200);
    ASSERT_GE(star.Y, -100);
    ASSERT_LT(star.Y, 100);
    ASSERT_LE(star.Z, 0);
    ASSERT_GT(star.Z, -80);
    ASSERT_GE(star.Speed, 0.1f);
    ASSERT_LT(star.Speed, 2.1f);
    ASSERT_EQ(star.R, 0);
    ASSERT_GE(star.B, 0.2f);
  }
  b.Stars[0] = {199.5f, 10, -5, 1, 1.0f, 0.9f, 0.1f, 0.95f};
  b.Stars[1] = {150, 10, -5, 1, 1.0f, 0.1f, 0.1f, 0.5f};
  Rec.Reset();
  Frame(b);
  EXPECT_EQ(b.Stars[0].X, -200);
  EXPECT_FLOAT_EQ(b.Stars[0].Speed, 1.2f);
  EXPECT_EQ(b.Stars[0].R, 1.0f);
  EXPECT_FLOAT_EQ(b.Stars[0].G, 0.3f);
  EXPECT_EQ(b.Stars[0].B, 1.0f);
  EXPECT_EQ(b.Stars[1].X, 151);
  EXPECT_EQ(b.Stars[1].Speed, 1.0f);
  EXPECT_EQ(b.Stars[1].B, 0.5f);
  auto stars = Rec.Find(TPrimitive::Points);
  ASSERT_EQ(stars.size(), 1u);
  EXPECT_EQ(stars[0]->VertexColours[0].R, 1.0f);
  EXPECT_FLOAT_EQ(stars[0]->VertexColours[0].G, 0.3f);
}

TEST_F(Boss3Test, TheStarsStayOverARespawnButARecycledBossGetsNewOnes) {
  TBlobBoss3 b;
  Wire(b, 2);
  RunUntilAlive(b);
  b.Blast();
  while (b.State == BlobState::Dying) Frame(b);
  ASSERT_TRUE(b.Active);
  b.Stars[7].X = 0;
  const TBlobBoss3::TStar kept = b.Stars[7];
  Frame(b);  // first spawning frame of the second life
  EXPECT_FLOAT_EQ(b.Stars[7].X, kept.X + kept.Speed);
  EXPECT_FLOAT_EQ(b.Radius, 1.0f);
  EXPECT_EQ(b.PulseScale, 1.0f);

  float before[5];
  for (int i = 0; i < 5; ++i) before[i] = b.Stars[i].Speed;
  b.Create();
  int same = 0;
  for (int i = 0; i < 5; ++i) same += b.Stars[i].Speed == before[i];
  EXPECT_LT(same, 5);
  EXPECT_EQ(b.State, BlobState::Spawning);
  EXPECT_TRUE(b.Active);
  EXPECT_FLOAT_EQ(b.Radius, 1.0f);
}

TEST_F(Boss3Test, InsideMeansInsideTheTurnedSwollenSlabAroundTheBoss) {
  TBlobBoss3 b;
  Wire(b);
  RunUntilAlive(b);
  TBlobPlayer probe;

  b.Radius = 0;  // unturned
  b.PulseScale = 1;
  EXPECT_TRUE(b.HitTest(&probe, 190, 90));
  EXPECT_TRUE(b.HitTest(&probe, -190, -90));
  EXPECT_FALSE(b.HitTest(&probe, 210, 0));
  EXPECT_FALSE(b.HitTest(&probe, 0, 110));

  b.Radius = 9;  // a quarter turn: now tall and narrow
  EXPECT_TRUE(b.HitTest(&probe, 0, 180));
  EXPECT_TRUE(b.HitTest(&probe, 90, -190));
  EXPECT_FALSE(b.HitTest(&probe, 180, 0));

  b.Radius = 0;
  b.PulseScale = 2;  // twice the size
  EXPECT_TRUE(b.HitTest(&probe, 390, 190));
  EXPECT_FALSE(b.HitTest(&probe, 410, 0));

  // Placed away from the centre the slab goes with it.
  b.PulseScale = 1;
  b.Position = MakeVector(100, 100, 0);
  EXPECT_TRUE(b.HitTest(&probe, 290, 190));
  EXPECT_FALSE(b.HitTest(&probe, -150, 100));

  // The ship is only touched, never thrown back or switched off.
  probe.SetActive(true);
  probe.Position = MakeVector(120, 110, 0);
  EXPECT_TRUE(b.HitTest(&probe, 120, 110));
  EXPECT_TRUE(probe.Active);
  EXPECT_EQ(probe.Position.X, 120);
  EXPECT_EQ(Particles.ActiveCount(), 0);
}

TEST_F(Boss3Test, ABulletInsideBurstsInEightSparksAndCountsAsAHit) {
  TBlobBoss3 b;
  Wire(b);
  RunUntilAlive(b);
  TBlobList enemies;
  enemies.Add(&b);

  TBlobBullet shot;
  Aim(shot, 150, 0);
  const float vx = shot.Velocity.X;
  ASSERT_GT(vx, 0);
  EXPECT_EQ(shot.CollideWithList(enemies, &shot, TBlobEvent()), 1);
  EXPECT_FALSE(shot.Active);
  EXPECT_FLOAT_EQ(shot.Velocity.X, -vx);
  EXPECT_FLOAT_EQ(shot.Position.X, 150 - 20 * vx);
  EXPECT_EQ(b.Shield, 249);
  EXPECT_EQ(b.HitFlash, 10);
  EXPECT_EQ(Device.Count(TSoundEvent::TKind::Play, "GruntHit"), 1);

  int cyan = 0, white = 0;
  for (int i = 0; i < Particles.Count(); ++i) {
    const TParticle& p = Particles[i];
    if (!p.Active) continue;
    EXPECT_FLOAT_EQ(p.Position.X, shot.Position.X);
    if (p.Style == 5 && p.Colour.X == 0 && p.Colour.Y == 1 && p.Colour.Z == 1) ++cyan;
    if (p.Style == 4 && p.Colour.X == 1 && p.Colour.Y == 1 && p.Colour.Z == 1) ++white;
  }
  EXPECT_EQ(cyan, 4);
  EXPECT_EQ(white, 4);
  EXPECT_EQ(Particles.ActiveCount(), 8);

  // A shot that misses the slab flies on.
  TBlobBullet miss;
  Aim(miss, 0, 300);
  EXPECT_EQ(miss.CollideWithList(enemies, &miss, TBlobEvent()), 0);
  EXPECT_TRUE(miss.Active);
  EXPECT_EQ(b.Shield, 249);
}

TEST_F(Boss3Test, AHitOnlyBlinksItNeitherSparksNorSpeedsThePulse) {
  TBlobBoss3 b;
  Wire(b);
  RunUntilAlive(b);
  Frame(b);
  b.Hit();
  Particles.Clear();
  for (int i = 0; i < 10; ++i) {
    const float before = b.PulseScale;
    Frame(b);
    EXPECT_NEAR(b.PulseScale - before, 0.005f, 1e-5) << i;
  }
  EXPECT_EQ(b.HitFlash, 0);
  EXPECT_EQ(Particles.ActiveCount(), 0);
}

TEST_F(Boss3Test, TwoHundredFiftyHitsKillItForFiveThousandPoints) {
  TBlobBoss3 b;
  Wire(b);
  ExpectUntouchable(b);  // still growing in
  RunUntilAlive(b);
  for (int i = 0; i < 249; ++i) b.Hit();
  EXPECT_EQ(b.State, BlobState::Alive);
  EXPECT_EQ(b.Shield, 1);
  EXPECT_EQ(Deaths.Count, 0);
  b.Hit();
  EXPECT_EQ(b.State, BlobState::Dying);
  EXPECT_EQ(Deaths.Count, 1);
  EXPECT_EQ(Player.Score, 5000);
  EXPECT_EQ(Plays("GruntHit"), 250);
  ExpectUntouchable(b);
}

TEST_F(Boss3Test, ABombOrAWellDestroysItWithoutPoints) {
  TBlobBoss3 bombed, swallowed;
  Wire(bombed);
  Wire(swallowed);
  EXPECT_EQ(BombAndSwallow(bombed, swallowed), std::make_pair(0, 0));
}

TEST_F(Boss3Test, TheWreckIsTheUnturnedSlabFlyingApart) {
  TBlobBoss3 b;
  TGLPrinter printer;
  Wire(b);
  b.Printer = &printer;
  RunUntilAlive(b);
  for (int i = 0; i < 100; ++i) Frame(b);  // turned and swollen by now
  b.Blast();
  Particles.Clear();
  const TRecordedPrimitive edges = FlyingSides(b, true);
  EXPECT_EQ(Particles.ActiveCount(), 17);
  ASSERT_EQ(edges.Vertices.size(), 8u);
  // The bottom side flies down 0.05 x its 400-unit normal on the first frame.
  EXPECT_NEAR(edges.Vertices[0].X, -200, 1e-3);
  EXPECT_NEAR(edges.Vertices[0].Y, -120, 1e-3);
  EXPECT_NEAR(edges.Vertices[1].X, 200, 1e-3);
  EXPECT_NEAR(edges.Vertices[1].Y, -120, 1e-3);
  EXPECT_NEAR(edges.Colour.B, 0.6f, 1e-5);
  EXPECT_NEAR(edges.Colour.A, 0.98f, 1e-5);

  int frames = 1;
  while (b.State == BlobState::Dying) {
    Frame(b);
    ++frames;
  }
  EXPECT_EQ(frames, 50);
  EXPECT_FALSE(b.Active);
}

}  // namespace
