// Boss 2, the growing ring: its radius clock, the fountain of sparks off its
// rim, 250 hits against a bomb that kills without points, the bullets' circle
// test against its growing radius, the grid mass pulse and the explosion.
// Last, the shared boss frames driven with another boss's settings.
#include <gtest/gtest.h>

#include <cmath>

#include "enemies/blobBoss.h"
#include "enemies/blobBoss2.h"
#include "entities/blobList.h"
#include "entities/blobPlayer.h"
#include "gfx/ParticleEngine.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "tests/support/EnemyFixture.h"

namespace {
class Boss2Test : public TDrawingTest<TEnemyTest> {
 protected:
  void SetUp() override { RandomSeed(5); }
};

TEST_F(Boss2Test, TheRingStartsAtRadiusOneAndGrowsAFifthOfAUnitEveryAliveFrame) {
  TBlobBoss2 b;
  Wire(b, MakeVector(0, 0, 0), 2);
  EXPECT_EQ(RunUntil(b, BlobState::Alive), 25);
  EXPECT_EQ(b.Radius, 1.0f);
  Frame(b);
  EXPECT_FLOAT_EQ(b.Radius, 1.2f);
  for (int i = 1; i < 1000; ++i) Frame(b);
  EXPECT_NEAR(b.Radius, 201, 0.01f);  // no upper bound

  b.Absorb();
  RunUntil(b, BlobState::Spawning);
  ASSERT_TRUE(b.Active);
  Frame(b);
  EXPECT_EQ(b.Radius, 1.0f);
  EXPECT_EQ(b.EmitRate, 0.01f);  // reset, then one drawn frame
  RunUntil(b, BlobState::Alive);
  EXPECT_EQ(b.Radius, 1.0f);
}

TEST_F(Boss2Test, ItNeverMovesWhateverTheShipDoes) {
  TBlobBoss2 b;
  const TVector3 at = MakeVector(-120, 80, 0);
  Wire(b, at);
  RunUntil(b, BlobState::Alive);
  for (int i = 0; i < 300; ++i) {
    Player.Position = MakeVector(float(i), float(-i), 0);
    if (i % 30 == 0) b.Hit();  // even while knocked by hits
    Frame(b);
  }
  EXPECT_EQ(b.Position.X, at.X);
  EXPECT_EQ(b.Position.Y, at.Y);
}

TEST_F(Boss2Test, SparkBurstsRiseByOneEveryHundredFramesToSixteen) {
  TParticleEngine particles(TIntRect{-500, 500, 500, -500});
  TBlobBoss2 b;
  Wire(b, MakeVector(0, 0, 0));
  b.Particles = &particles;
  RunUntil(b, BlobState::Alive);

  auto framesParticles = [&] {
    particles.Clear();
    b.HitFlash = 0;  // no hit sparks in the count
    Frame(b);
    return particles.ActiveCount();
  };
  // The rate restarts at every spawning frame, so it climbs from the spawn's end.
  int seen[1700];
  for (int f = 0; f < 1700; ++f) seen[f] = framesParticles();
  EXPECT_EQ(seen[0], 0);
  EXPECT_EQ(seen[45], 0);
  EXPECT_EQ(seen[55], 4);  // one burst of four
  EXPECT_EQ(seen[145], 4);
  EXPECT_EQ(seen[155], 8);
  EXPECT_EQ(seen[1000], 40);
  EXPECT_EQ(seen[1599], 64);  // capped: sixteen bursts
  EXPECT_EQ(seen[1699], 64);
  EXPECT_EQ(b.EmitRate, 16.0f);
}

TEST_F(Boss2Test, SparksLeaveTheRimFourUnitsOutAtRightAnglesToIt) {
  TParticleEngine particles(TIntRect{-500, 500, 500, -500});
  TBlobBoss2 b;
  const TVector3 at = MakeVector(50, -40, 0);
  Wire(b, at);
  b.Particles = &particles;
  RunUntil(b, BlobState::Alive);
  for (int i = 0; i < 400; ++i) Frame(b);  // radius 81, four bursts a frame
  particles.Clear();
  Frame(b);
  ASSERT_EQ(particles.ActiveCount(), 16);

  int styles[7] = {};
  for (int i = 0; i < 16; ++i) {
    const TParticle& p = particles[i];
    ++styles[p.Style];
    const float rx = p.Position.X - at.X, ry = p.Position.Y - at.Y;
    const float dist = std::hypot(rx, ry);
    EXPECT_NEAR(dist, b.Radius + 4, 0.01f);
    // The rim point turned by 0..11 degrees, less 90: nearly tangential,
    // clockwise.
    const float cosine = (rx * p.Velocity.X + ry * p.Velocity.Y) / dist;
    const float cross = rx * p.Velocity.Y - ry * p.Velocity.X;
    EXPECT_LE(std::fabs(cosine), std::sin(11 * 3.14159265f / 180) + 1e-3f);
    EXPECT_LT(cross, 0);
    EXPECT_FLOAT_EQ(p.Colour.Z, 1);  // all of them blue at heart
  }
  EXPECT_EQ(styles[6], 4);
  EXPECT_EQ(styles[5], 4);
  EXPECT_EQ(styles[1], 8);
  EXPECT_GE(b.EmitAngle, 0);
  EXPECT_LE(b.EmitAngle, 359);
}

TEST_F(Boss2Test, TwoHundredFiftyHitsScoreButABombKillsOutrightForNothing) {
  TBlobBoss2 b;
  Wire(b, MakeVector(0, 0, 0));
  b.Sounds = &Sounds;
  RunUntil(b, BlobState::Alive);
  for (int i = 0; i < 249; ++i) b.Hit();
  EXPECT_EQ(b.State, BlobState::Alive);
  EXPECT_EQ(b.HitFlash, 10);
  b.Hit();
  EXPECT_EQ(b.State, BlobState::Dying);
  EXPECT_EQ(Plays("GruntHit"), 250);
  EXPECT_EQ(Deaths.Count, 1);
  EXPECT_EQ(Player.Score, 5000);

  TBlobBoss2 bombed, swallowed;
  Wire(bombed, MakeVector(0, 0, 0));
  Wire(swallowed, MakeVector(0, 0, 0));
  bombed.Sounds = swallowed.Sounds = &Sounds;
  EXPECT_EQ(BombAndSwallow(bombed, swallowed), std::make_pair(0, 0));
  EXPECT_EQ(bombed.Shield, 0);
  EXPECT_EQ(swallowed.Shield, -1);
  EXPECT_EQ(Plays(), 250);  // silent
}

TEST_F(Boss2Test, HitsBombsAndWellsDoNothingWhileItSpawnsOrDies) {
  TBlobBoss2 b;
  Wire(b, MakeVector(0, 0, 0));
  Frame(b);
  ExpectUntouchable(b);
  EXPECT_EQ(b.Shield, 250);
  RunUntil(b, BlobState::Alive);
  b.Blast();
  ExpectUntouchable(b);
  EXPECT_EQ(Deaths.Count, 1);
  EXPECT_EQ(b.Shield, 0);
}

TEST_F(Boss2Test, BulletsTouchTheRingAsACircleThatGrowsWithIt) {
  TBlobBoss2 b;
  Wire(b, MakeVector(100, 100, 0));
  RunUntil(b, BlobState::Alive);
  TBlobList enemies;
  enemies.Add(&b);
  TBlob bullet;
  bullet.Kind = BlobKind::Bullet;
  bullet.Radius = 4;
  bullet.SetActive(true);

  // Radius 1 + bullet 4: whole-unit distance 5 is no contact, 4 is.
  bullet.Position = MakeVector(105, 100, 0);
  EXPECT_EQ(bullet.CollideWithList(enemies, &Player, TBlobEvent()), 0);
  bullet.Position = MakeVector(104, 100, 0);
  EXPECT_EQ(bullet.CollideWithList(enemies, &Player, TBlobEvent()), 1);
  EXPECT_EQ(b.Shield, 249);

  for (int i = 0; i < 100; ++i) Frame(b);  // radius 21
  bullet.Position = MakeVector(100, 124.4f, 0);
  EXPECT_EQ(bullet.CollideWithList(enemies, &Player, TBlobEvent()), 1);
  bullet.Position = MakeVector(100, 125, 0);
  EXPECT_EQ(bullet.CollideWithList(enemies, &Player, TBlobEvent()), 0);
  EXPECT_EQ(b.Shield, 248);
}

TEST_F(Boss2Test, GridMassPulsesOnlyWhileAliveAndIsKeptThroughARespawn) {
  TBlobBoss2 b;
  Wire(b, MakeVector(0, 0, 0), 2);
  RunUntil(b, BlobState::Alive);
  EXPECT_EQ(b.GridMass, 0);
  for (int i = 0; i < 500; ++i) Frame(b);
  EXPECT_EQ(b.GridMass, 5000000);
  Frame(b);
  EXPECT_EQ(b.GridMass, 0);
  for (int i = 0; i < 3; ++i) Frame(b);
  b.Absorb();
  RunUntil(b, BlobState::Spawning);
  RunUntil(b, BlobState::Alive);
  EXPECT_EQ(b.GridMass, 30000);  // the explosion and the spawn leave it alone
}

TEST_F(Boss2Test, TheRingIsThirtyWideSegmentsScaledByItsRadius) {
  TBlobBoss2 b;
  const TVector3 at = MakeVector(-60, 30, 0);
  Wire(b, at);
  // Spawning: squashed flat on Y by Size.
  Frame(b);
  auto lines = Rec.Find(TPrimitive::Lines);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0]->Vertices.size(), 62u);
  EXPECT_EQ(lines[0]->LineWidth, 4);
  float maxY = 0;
  for (const TVector3& v : lines[0]->Vertices) maxY = std::fmax(maxY, std::fabs(v.Y - at.Y));
  EXPECT_NEAR(maxY, 0.0f, 1e-4f);  // Size was 0 when drawn

  RunUntil(b, BlobState::Alive);
  for (int i = 0; i < 49; ++i) Frame(b);
  Rec.Reset();
  Frame(b);  // radius 11
  lines = Rec.Find(TPrimitive::Lines);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0]->Colour.B, 1);
  EXPECT_EQ(lines[0]->Colour.R, 0);
  for (const TVector3& v : lines[0]->Vertices) EXPECT_NEAR(std::hypot(v.X - at.X, v.Y - at.Y), 11, 0.01f);
  EXPECT_EQ(Rec.StackDepth(), 0);
}

TEST_F(Boss2Test, ItExplodesLikeAGruntWithItsCircleFlyingApart) {
  TParticleEngine particles(TIntRect{-500, 500, 500, -500});
  TBlobBoss2 b;
  const TVector3 at = MakeVector(0, 0, 0);
  Wire(b, at, 2);
  b.Particles = &particles;
  RunUntil(b, BlobState::Alive);
  for (int i = 0; i < 300; ++i) Frame(b);
  b.Blast();
  particles.Clear();
  const TRecordedPrimitive sides = FlyingSides(b);
  // 17 pieces of blue on the first dying frame.
  EXPECT_EQ(particles.ActiveCount(), 17);
  EXPECT_EQ(sides.Vertices.size(), 62u);  // 31 edges of the unit circle, unscaled
  EXPECT_EQ(sides.LineWidth, 2);
  EXPECT_FLOAT_EQ(sides.Colour.B, 0.6f);
  EXPECT_NEAR(sides.Colour.A, 0.98f, 1e-5f);
  for (const TVector3& v : sides.Vertices) EXPECT_LT(std::hypot(v.X, v.Y), 1.1f);

  // 50 frames in all, then back to spawning at the centre with its next life.
  EXPECT_EQ(RunUntil(b, BlobState::Spawning), 49);
  EXPECT_TRUE(b.Active);
  EXPECT_EQ(b.LivesLeft, 1);
  b.Absorb();  // spawning: ignored
  RunUntil(b, BlobState::Alive);
  b.Absorb();
  RunUntil(b, BlobState::Spawning);
  EXPECT_FALSE(b.Active);
}

TEST_F(Boss2Test, CreateOnAPooledBossStartsItAfresh) {
  TBlobBoss2 b;
  Wire(b, MakeVector(0, 0, 0));
  RunUntil(b, BlobState::Alive);
  for (int i = 0; i < 700; ++i) Frame(b);
  b.Hit();
  b.Create();
  ExpectFresh(b, BlobKind::Boss2, 5000);
  EXPECT_TRUE(b.Active);
  EXPECT_EQ(b.Radius, 1.0f);
  EXPECT_EQ(b.EmitRate, 0);
  EXPECT_EQ(b.EmitAngle, 0);
  EXPECT_EQ(b.GridMass, 0);
}

// A boss drawn at the arena origin that spawns to five times its size, with
// a pulse that ignores hits: the settings Boss 3 and Boss 4 lean on.
class TOriginBoss : public TBlobBoss {
 public:
  TOriginBoss() { TOriginBoss::Create(); }
  void Create() override {
    TBlobBoss::Create();
    Kind = BlobKind::Boss4;
    Points = 5000;
    SetActive(true);
    static const TVector3 square[4] = {{-10, 10, 0}, {-10, -10, 0}, {10, -10, 0}, {10, 10, 0}};
    SetOutline(square, 4);
    SpawnShield = 150;
    DrawAtPosition = false;
    SpawnFullSize = 5.0f;
    FlashPulseFactor = 1;
  }
  int Advances = 0;
  int Sparks = 0;

 protected:
  void ResetBoss() override { PulseMax = 3.5f; }
  void AdvanceAlive() override { ++Advances; }
  void EmitHitSparks() override { ++Sparks; }
  void DrawBody() const override { DrawOutline(); }
};

TEST_F(Boss2Test, TheSharedBossFramesFollowEachBossSettings) {
  TOriginBoss b;
  Wire(b, MakeVector(200, 200, 0));
  // Steps of 0.04 in single precision stand just under 5 after 125 frames.
  EXPECT_EQ(RunUntil(b, BlobState::Alive), 126);
  EXPECT_FLOAT_EQ(b.Size, 5.0f);
  EXPECT_EQ(b.Shield, 150);
  EXPECT_EQ(b.PulseMax, 3.5f);  // the boss's own reset wins over the shared one

  Rec.Reset();
  Frame(b);
  EXPECT_EQ(b.Advances, 1);
  auto loops = Rec.Find(TPrimitive::LineLoop);
  ASSERT_EQ(loops.size(), 1u);
  EXPECT_FLOAT_EQ(loops[0]->Vertices[0].X, -10);  // not moved to its position
  EXPECT_FLOAT_EQ(loops[0]->Vertices[0].Y, 10);

  // A flash runs ten frames with the boss's sparks, blinking every eight.
  const float step = std::fabs(b.PulseStep);
  b.Hit();
  for (int i = 0; i < 10; ++i) Frame(b);
  EXPECT_EQ(b.Sparks, 10);
  EXPECT_EQ(b.HitFlash, 0);
  EXPECT_EQ(b.BlinkCounter, 7);  // reloaded to 8 on the first and the ninth frame
  EXPECT_EQ(std::fabs(b.PulseStep), step);
  Frame(b);
  EXPECT_EQ(b.Sparks, 10);
}

}  // namespace
