// The boid: grow-in, one-hit death, the flock rules (cohesion divided by the
// whole flock, the heavy close-range term, alignment, the lopsided speed
// limit), the pull to the ship that ends with the boid sitting on it, the
// explosion and respawning.
#include <gtest/gtest.h>

#include <cmath>

#include "enemies/blobBoid.h"
#include "enemies/blobGrunt.h"
#include "entities/blobList.h"
#include "entities/blobPlayer.h"
#include "gfx/MS3DObj.h"
#include "gfx/ParticleEngine.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "tests/support/EnemyFixture.h"

namespace {
constexpr double Pi = 3.14159265358979323846;

class BoidTest : public TEnemyTest {
 protected:
  void SetUp() override {
    RandomSeed(515);
    Player.Position = MakeVector(0, 0, 0);
  }

  // Wired as the level manager wires a boid: its flock is the enemy list.
  void Wire(TBlobBoid& b, const TVector3& at, int lives, TBlobList* flock = nullptr, bool fixed = false) {
    TEnemyTest::Wire(b, at, lives, fixed);
    b.Flock = flock;
  }

  // A boid placed in the flock by hand, for one step of the rules.
  static void Place(TBlobBoid& b, float x, float y, float vx, float vy) {
    b.FlockPosition = {x, y};
    b.FlockVelocity = {vx, vy};
  }
};

TEST_F(BoidTest, ItGrowsInAtItsSpawnPointReadyToFlock) {
  TBlobBoid b;
  EXPECT_TRUE(b.Active);
  EXPECT_EQ(b.Kind, BlobKind::Boid);
  EXPECT_EQ(b.Points, 75);
  EXPECT_EQ(b.Radius, 12);
  Wire(b, MakeVector(-120, 80, 0), 1);
  Frame(b);
  EXPECT_EQ(b.Position.X, -120);
  EXPECT_EQ(b.FlockPosition.X, -120);
  EXPECT_EQ(b.FlockPosition.Y, 80);
  EXPECT_EQ(b.FlockVelocity.X, 0.01f);
  EXPECT_EQ(b.FlockVelocity.Y, 0.01f);
  EXPECT_EQ(b.Shield, 1);
  EXPECT_EQ(b.PlayerPull, 240);
  EXPECT_EQ(RunUntilAlive(b) + 1, 25);
  EXPECT_EQ(b.Position.X, -120);  // it does not move while growing in
}

TEST_F(BoidTest, OneHitKillsItWithTheBoidHitSoundForSeventyFive) {
  TBlobBoid b;
  Wire(b, MakeVector(0, 0, 0), 1);
  b.Sounds = &Sounds;
  Frame(b);
  ExpectUntouchable(b);  // still growing in
  RunUntilAlive(b);
  b.Hit();
  EXPECT_EQ(b.State, BlobState::Dying);
  EXPECT_EQ(Plays("BoidHit"), 1);
  EXPECT_EQ(Plays(), 1);
  EXPECT_EQ(Deaths.Count, 1);
  EXPECT_EQ(Player.Score, 75);
  ExpectUntouchable(b);
}

TEST_F(BoidTest, ABombKillScoresAndAWellKillDoesNotBothSilently) {
  TBlobBoid bombed, swallowed;
  Wire(bombed, MakeVector(0, 0, 0), 1);
  Wire(swallowed, MakeVector(50, 0, 0), 1);
  bombed.Sounds = swallowed.Sounds = &Sounds;
  EXPECT_EQ(BombAndSwallow(bombed, swallowed), std::make_pair(75, 0));
  EXPECT_EQ(Plays(), 0);
}

// ---------------------------------------------------------------------------
// The flock rules, one step at a time.

TEST_F(BoidTest, ALoneBoidDriftsTowardsTheCentreAndSlows) {
  TBlobBoid b;
  Player.Position = MakeVector(200, -100, 0);  // on it: the pull adds nothing
  Wire(b, MakeVector(200, -100, 0), 1);
  RunUntilAlive(b);
  Frame(b);
  // Cohesion of a flock of one: minus its position over 400; alignment:
  // minus its velocity over 8, a tenth of it.
  const double vx = 0.01 - 200.0 / 400 - 0.1 * 0.01 / 8;
  const double vy = 0.01 + 100.0 / 400 - 0.1 * 0.01 / 8;
  EXPECT_NEAR(b.FlockVelocity.X, vx, 1e-6);
  EXPECT_NEAR(b.FlockVelocity.Y, vy, 1e-6);
  const double px = 200 + vx, py = -100 + vy;
  EXPECT_NEAR(b.Position.X, px + (200 - px) / 239.5, 1e-4);
  EXPECT_NEAR(b.Position.Y, py + (-100 - py) / 239.5, 1e-4);
  EXPECT_EQ(b.FlockPosition.X, b.Position.X);
}

TEST_F(BoidTest, AfterFourHundredSeventyEightFramesAliveItSitsOnTheShip) {
  TBlobBoid b;
  Player.Position = MakeVector(300, 200, 0);
  Wire(b, MakeVector(-300, -300, 0), 1);
  RunUntilAlive(b);
  for (int frame = 1; frame <= 477; ++frame) Frame(b);
  EXPECT_EQ(b.PlayerPull, 1.5f);
  Frame(b);
  EXPECT_EQ(b.PlayerPull, 1.0f);
  for (int frame = 0; frame < 50; ++frame) {
    Player.Position = MakeVector(float(200 * std::cos(frame * 0.3)), float(-150 + 100 * std::sin(frame * 0.2)), 0);
    Frame(b);
    EXPECT_NEAR(b.Position.X, Player.Position.X, 1e-3) << frame;
    EXPECT_NEAR(b.Position.Y, Player.Position.Y, 1e-3) << frame;
    EXPECT_EQ(b.PlayerPull, 1.0f);
  }
}

TEST_F(BoidTest, OffsetsUnderSevenTenthsOnAnAxisCountFourTimesOnThatAxis) {
  TBlobList flock;
  TBlobBoid a, b;
  flock.Add(&a);
  flock.Add(&b);
  a.Flock = &flock;
  Place(a, 0, 0, 0, 0);
  Place(b, 0.3f, 100, 0, 0);
  a.UpdateFlock();
  // X: close, so 4 x 0.3 on top of the cohesion (0.3 / 2) / 400.
  EXPECT_NEAR(a.FlockVelocity.X, 1.2 + 0.15 / 400, 1e-6);
  // Y: far, cohesion alone, divided by the two of them.
  EXPECT_NEAR(a.FlockVelocity.Y, 50.0 / 400, 1e-6);
  EXPECT_NEAR(a.Position.X, a.FlockVelocity.X, 1e-6);  // no ship: no pull

  Place(a, 0, 0, 0, 0);
  Place(b, -0.7f, 0.4f, 0, 0);  // exactly 0.7 is not close
  a.UpdateFlock();
  EXPECT_NEAR(a.FlockVelocity.X, -0.35 / 400, 1e-6);
  EXPECT_NEAR(a.FlockVelocity.Y, 4 * 0.4 + 0.2 / 400, 1e-6);
}

TEST_F(BoidTest, FlockSpeedStopsAtTwoTowardsPlusAndFourTowardsMinus) {
  TBlobBoid b;
  Place(b, 0, 0, 10, -10);
  b.UpdateFlock();
  EXPECT_EQ(b.FlockVelocity.X, 2.0f);
  EXPECT_EQ(b.FlockVelocity.Y, -4.0f);
  EXPECT_EQ(b.Position.X, 2.0f);
  EXPECT_EQ(b.Position.Y, -4.0f);

  Place(b, 0, 0, -3.5f, 1.9f);  // inside the limits: kept, less the alignment
  b.UpdateFlock();
  EXPECT_NEAR(b.FlockVelocity.X, -3.5 + 0.1 * 3.5 / 8, 1e-6);
  EXPECT_NEAR(b.FlockVelocity.Y, 1.9 - 0.1 * 1.9 / 8, 1e-6);
}

TEST_F(BoidTest, TheFlockIsEveryActiveBoidOfTheListDyingOnesIncluded) {
  TBlobList flock;
  TBlobGrunt grunt;  // another kind: ignored
  TBlobBoid self, dying, dead;
  grunt.Position = MakeVector(-400, -400, 0);
  flock.Add(&grunt);
  flock.Add(&dying);
  flock.Add(&dead);
  self.Flock = &flock;
  dying.State = BlobState::Dying;
  dead.SetActive(false);
  Place(dead, 1000, 1000, 5, 5);
  Place(dying, 40, 0, 1, 0);
  Place(self, 0, 0, 0, 0);

  self.UpdateFlock();  // not in the list itself, still one of the two
  const double vx = 40.0 / 2 / 400 + 0.1 * (1.0 / 2) / 8;
  EXPECT_NEAR(self.FlockVelocity.X, vx, 1e-6);
  EXPECT_NEAR(self.FlockVelocity.Y, 0, 1e-6);

  flock.Add(&self);  // in the list: the same flock of two
  Place(self, 0, 0, 0, 0);
  self.UpdateFlock();
  EXPECT_NEAR(self.FlockVelocity.X, vx, 1e-6);
}

TEST_F(BoidTest, AFlockUpdatedTogetherClosesOnTheShip) {
  TBlobList enemies;
  TBlobBoid boids[6];
  Player.Position = MakeVector(150, 150, 0);
  for (int i = 0; i < 6; ++i) {
    enemies.Add(&boids[i]);
    Wire(boids[i], MakeVector(-400 + 60.0f * i, -300 + 25.0f * i, 0), 1, &enemies);
  }
  for (int frame = 0; frame < 600; ++frame)
    for (TBlob* e : enemies)
      if (e->Active) Frame(*e);
  for (const TBlobBoid& b : boids) {
    ASSERT_TRUE(std::isfinite(b.Position.X));
    EXPECT_NEAR(b.Position.X, 150, 1e-2);
    EXPECT_NEAR(b.Position.Y, 150, 1e-2);
  }
}

// ---------------------------------------------------------------------------
// Death and respawn.

TEST_F(BoidTest, ItExplodesForSeventyFiveFramesThenRespawnsWithinTheScatter) {
  TParticleEngine particles(TIntRect{-500, 500, 500, -500});
  TBlobBoid b;
  Wire(b, MakeVector(10, 20, 0), 12);
  b.Particles = &particles;
  for (int life = 1; life <= 12; ++life) {
    RunUntilAlive(b);
    for (int i = 0; i < 5; ++i) Frame(b);
    b.Hit();
    particles.Clear();
    Frame(b);
    EXPECT_EQ(particles.ActiveCount(), 17);
    EXPECT_EQ(RunExplosion(b) + 1, 75);
    EXPECT_EQ(particles.ActiveCount(), 17);  // only on the first dying frame
    EXPECT_EQ(b.Active, life < 12);
    if (life == 12) break;
    Frame(b);
    EXPECT_GE(b.Position.X, -375);
    EXPECT_LE(b.Position.X, 624);
    EXPECT_GE(b.Position.Y, -375);
    EXPECT_LE(b.Position.Y, 624);
    EXPECT_EQ(b.FlockPosition.X, b.Position.X);
    EXPECT_EQ(b.FlockVelocity.X, 0.01f);
    EXPECT_EQ(b.PlayerPull, 240);
    EXPECT_EQ(b.Size, 0.04f);
  }
  EXPECT_EQ(Deaths.Count, 12);
  EXPECT_EQ(Player.Score, 12 * 75);
}

TEST_F(BoidTest, CreateMakesAPooledBoidNewAgain) {
  TBlobList flock;
  TBlobBoid b;
  Wire(b, MakeVector(30, 30, 0), 1, &flock);
  RunUntilAlive(b);
  for (int i = 0; i < 40; ++i) Frame(b);
  b.Absorb();
  RunExplosion(b);
  ASSERT_FALSE(b.Active);

  b.Create();
  EXPECT_TRUE(b.Active);
  ExpectFresh(b, BlobKind::Boid, 75);
  EXPECT_EQ(b.Flock, nullptr);
  EXPECT_EQ(b.PlayerPull, 240);
  EXPECT_EQ(b.SpinAngle, 0);
  EXPECT_EQ(b.FlockPosition.X, 0);
  EXPECT_EQ(b.Size, 0);
  EXPECT_EQ(b.DyingLength, 75);
  EXPECT_EQ(b.VertexCount, 4);
}

// ---------------------------------------------------------------------------
// What a player sees.

using BoidDrawingTest = TDrawingTest<BoidTest>;

TEST_F(BoidDrawingTest, AMagentaDiamondSpinningFourDegreesAFrameOverABigGlow) {
  TMS3DObj glow;
  ASSERT_TRUE(glow.LoadFromMemo("MemoSphereTile16x16"));
  TBlobBoid b;
  Player.Position = MakeVector(100, 100, 0);
  Wire(b, MakeVector(100, 100, 0), 1);
  b.GlowModel = &glow;
  Rec.Reset();
  Frame(b);  // growing in: flat, with its glow
  auto loops = Rec.Find(TPrimitive::LineLoop);
  ASSERT_EQ(loops.size(), 1u);
  for (const TVector3& v : loops[0]->Vertices) EXPECT_NEAR(v.Y, 100, 1e-4);
  EXPECT_FALSE(Rec.Materials.empty());

  RunUntilAlive(b);
  for (int frame = 1; frame <= 3; ++frame) {
    const TVector3 at = b.Position;  // drawn before the flock moves it
    Rec.Reset();
    Frame(b);
    loops = Rec.Find(TPrimitive::LineLoop);
    ASSERT_EQ(loops.size(), 1u);
    const TRecordedPrimitive& d = *loops[0];
    EXPECT_EQ(d.LineWidth, 2);
    EXPECT_EQ(d.Colour.R, 1);
    EXPECT_EQ(d.Colour.G, 0);
    EXPECT_EQ(d.Colour.B, 1);
    // The top corner turned by the spin, at the pulse's size.
    const double a = 4 * frame * Pi / 180, s = b.PulseScale;
    EXPECT_NEAR(d.Vertices[0].X, at.X - 15 * s * std::sin(a), 1e-3) << frame;
    EXPECT_NEAR(d.Vertices[0].Y, at.Y + 15 * s * std::cos(a), 1e-3) << frame;
    ASSERT_FALSE(Rec.Materials.empty());
    EXPECT_EQ(Rec.Materials.back().Ambient[0], 1);
    EXPECT_EQ(Rec.Materials.back().Ambient[1], 0);
    EXPECT_EQ(Rec.Materials.back().Diffuse[2], 1);
    EXPECT_FALSE(Rec.IsEnabled(TCapability::Lighting));
    EXPECT_EQ(Rec.StackDepth(), 0);
  }
  EXPECT_EQ(b.SpinAngle, 12);
}

TEST_F(BoidDrawingTest, TheWreckIsFourUnrotatedEdgesFlyingApartAndFading) {
  TBlobBoid b;
  Wire(b, MakeVector(-50, 60, 0), 1);
  RunUntilAlive(b);
  for (int i = 0; i < 10; ++i) Frame(b);  // spun away from square
  b.Hit();
  const TRecordedPrimitive edges = FlyingSides(b);
  ASSERT_EQ(edges.Vertices.size(), 8u);
  // The top-left side (0, 15) to (-15, 0) moves out along (-15, 15) by a fifth.
  EXPECT_NEAR(edges.Vertices[0].X, b.Position.X - 3, 1e-4);
  EXPECT_NEAR(edges.Vertices[0].Y, b.Position.Y + 18, 1e-4);
  EXPECT_NEAR(edges.Vertices[1].X, b.Position.X - 18, 1e-4);
  EXPECT_NEAR(edges.Vertices[1].Y, b.Position.Y + 3, 1e-4);
  EXPECT_NEAR(edges.Colour.A, 1 - 1.0f / 75, 1e-5);
  EXPECT_EQ(edges.Colour.R, 1);
  EXPECT_EQ(edges.Colour.B, 1);
  EXPECT_EQ(edges.LineWidth, 2);
}

}  // namespace
