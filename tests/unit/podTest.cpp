// The pod and its children: twenty-five hits and the sounds they play, one
// destroyed event per death however it dies (the manager bursts the pod on
// it), points by bullet, bomb and well, the slow pod and the fast spinning
// child, each child's own colour, and what they draw.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

#include "enemies/blobPod.h"
#include "enemies/blobPodChild.h"
#include "entities/blobPlayer.h"
#include "gfx/MS3DObj.h"
#include "gfx/ParticleEngine.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "tests/support/EnemyFixture.h"

namespace {
class PodTest : public TEnemyTest {
 protected:
  void SetUp() override {
    RandomSeed(5);
    Player.Position = MakeVector(-300, -300, 0);
  }

  // With sound: a pod's burst plays.
  void Wire(TBlobEnemy& e, const TVector3& at, int lives = 1, bool fixed = false) {
    e.Sounds = &Sounds;
    TEnemyTest::Wire(e, at, lives, fixed);
  }
};

TEST_F(PodTest, TwentyFiveHitsTheLastPlayingOnlyTheDestroyedSound) {
  TBlobPod pod;
  Wire(pod, MakeVector(0, 0, 0));
  EXPECT_EQ(RunUntilAlive(pod), 25);
  for (int hit = 1; hit <= 24; ++hit) {
    pod.Hit();
    ASSERT_EQ(pod.State, BlobState::Alive) << hit;
    ASSERT_EQ(pod.Shield, 25 - hit);
    ASSERT_EQ(pod.HitFlash, 10);
    ASSERT_EQ(Plays("PodHit"), hit);
  }
  EXPECT_EQ(Deaths.Count, 0);
  pod.Hit();
  EXPECT_EQ(pod.State, BlobState::Dying);
  EXPECT_EQ(Plays("PodHit"), 24);
  EXPECT_EQ(Plays("PodDestroyed"), 1);
  EXPECT_EQ(Deaths.Count, 1);
  EXPECT_EQ(Deaths.Last, &pod);
  EXPECT_EQ(Player.Score, 5000);
  EXPECT_EQ(RunExplosion(pod), 50);
  EXPECT_FALSE(pod.Active);
}

TEST_F(PodTest, EveryDeathFiresOnceFromTheWreckBulletBombOrWell) {
  TBlobPod pod;
  const TVector3 spawn = MakeVector(120, -40, 0);
  Wire(pod, spawn, 3, true);
  int score = 0;
  for (int life = 1; life <= 3; ++life) {
    RunUntilAlive(pod);
    const TVector3 at = pod.Position;
    if (life == 1) {
      for (int i = 0; i < 25; ++i) pod.Hit();
      score += 5000;
    } else if (life == 2) {
      pod.Blast();  // the bomb scores too
      score += 5000;
    } else {
      pod.Absorb();  // a well scores nothing
    }
    EXPECT_EQ(pod.State, BlobState::Dying) << life;
    EXPECT_EQ(Deaths.Count, life);
    EXPECT_EQ(Deaths.Where.X, at.X);  // the children come out where it died
    EXPECT_EQ(Deaths.Where.Y, at.Y);
    EXPECT_EQ(Player.Score, score);
    ExpectUntouchable(pod);  // nothing more reaches a wreck
    RunExplosion(pod);
    EXPECT_EQ(pod.Active, life < 3);
  }
  // Bombs and wells kill silently.
  EXPECT_EQ(Plays("PodDestroyed"), 1);
  EXPECT_EQ(Plays("PodHit"), 24);
}

TEST_F(PodTest, HitsWhileGrowingInChangeNothing) {
  TBlobPod pod;
  TBlobPodChild child;
  Wire(pod, MakeVector(0, 0, 0));
  Wire(child, MakeVector(0, 0, 0));
  Frame(pod);
  Frame(child);
  ExpectUntouchable(pod);
  ExpectUntouchable(child);
  EXPECT_EQ(pod.Shield, 25);
  EXPECT_EQ(child.Shield, 5);
}

TEST_F(PodTest, APodDriftsAQuarterUnitAFrameOnEachAxis) {
  TBlobPod pod;
  Wire(pod, MakeVector(0, 0, 0));
  RunUntilAlive(pod);
  EXPECT_EQ(pod.Speed, 1.0f);
  Player.Position = MakeVector(-400, 300, 0);
  for (int frame = 1; frame <= 300; ++frame) {
    Frame(pod);
    ASSERT_FLOAT_EQ(pod.Speed, 0.5f) << frame;
  }
  EXPECT_NEAR(pod.Position.X, -75, 1e-3);
  EXPECT_NEAR(pod.Position.Y, 75, 1e-3);

  // Hit, it backs off for the nine frames of the flash that follow.
  pod.Hit();
  for (int i = 0; i < 9; ++i) Frame(pod);
  EXPECT_NEAR(pod.Position.X, -75 + 9 * 0.25f, 1e-3);
  EXPECT_NEAR(pod.Position.Y, 75 - 9 * 0.25f, 1e-3);
}

TEST_F(PodTest, AChildDiesAfterFiveHitsForTwoHundredAndFifty) {
  TBlobPodChild child;
  Wire(child, MakeVector(30, 30, 0), 1, true);
  RunUntilAlive(child);
  EXPECT_EQ(child.Position.X, 30);
  for (int hit = 1; hit <= 4; ++hit) child.Hit();
  EXPECT_EQ(Plays("PodChildHit"), 4);
  EXPECT_EQ(Plays("PodChildDestroyed"), 0);
  EXPECT_EQ(child.State, BlobState::Alive);
  child.Hit();
  EXPECT_EQ(Plays("PodChildHit"), 4);
  EXPECT_EQ(Plays("PodChildDestroyed"), 1);
  EXPECT_EQ(Plays("PodHit") + Plays("PodDestroyed"), 0);
  EXPECT_EQ(Deaths.Count, 1);
  EXPECT_EQ(Player.Score, 250);
  // One life: gone for good after its explosion, waiting to be reused.
  EXPECT_EQ(RunExplosion(child), 50);
  EXPECT_FALSE(child.Active);
}

TEST_F(PodTest, AChildsBombAndWellKillsScoreLikeThePods) {
  TBlobPodChild a, b;
  Wire(a, MakeVector(0, 0, 0));
  Wire(b, MakeVector(50, 0, 0));
  EXPECT_EQ(BombAndSwallow(a, b), std::make_pair(250, 0));
}

TEST_F(PodTest, AChildReachesFullSpeedAfterEightyFramesAndStaysThere) {
  TBlobPodChild child;
  Wire(child, MakeVector(0, 0, 0));
  RunUntilAlive(child);
  Player.Position = MakeVector(450, 450, 0);
  for (int frame = 1; frame <= 79; ++frame) {
    Frame(child);
    ASSERT_NEAR(child.Speed, 1 + 0.05f * frame, 1e-4);
  }
  for (int frame = 0; frame < 20; ++frame) Frame(child);
  EXPECT_FLOAT_EQ(child.Speed, 5.0f);
  const float x = child.Position.X;
  Frame(child);
  EXPECT_FLOAT_EQ(child.Position.X - x, 2.5f);
}

TEST_F(PodTest, EveryChildHasItsOwnColourDrawnAgainOnReuse) {
  std::set<std::tuple<float, float, float>> colours;
  TBlobPodChild children[12];
  for (TBlobPodChild& c : children) {
    for (float v : {c.BodyColour.X, c.BodyColour.Y, c.BodyColour.Z}) {
      EXPECT_GE(v, 0);
      EXPECT_LT(v, 1);
    }
    colours.insert({c.BodyColour.X, c.BodyColour.Y, c.BodyColour.Z});
    // Points and flying edges wear the child's colour.
    EXPECT_EQ(c.PointsColour.X, c.BodyColour.X);
    EXPECT_EQ(c.EdgeColour.Z, c.BodyColour.Z);
  }
  EXPECT_EQ(colours.size(), 12u);

  TBlobPodChild& reused = children[0];
  Wire(reused, MakeVector(0, 0, 0));
  RunUntilAlive(reused);
  reused.Blast();
  RunExplosion(reused);
  ASSERT_FALSE(reused.Active);
  const TVector3 before = reused.BodyColour;
  reused.Create();
  EXPECT_FALSE(reused.BodyColour.X == before.X && reused.BodyColour.Y == before.Y && reused.BodyColour.Z == before.Z);
  EXPECT_EQ(reused.EdgeColour.Y, reused.BodyColour.Y);
  EXPECT_TRUE(reused.Active);
  ExpectFresh(reused, BlobKind::PodChild, 250);
  EXPECT_EQ(reused.Radius, 10);
  EXPECT_EQ(reused.SpinAngle, 0);
}

// ---------------------------------------------------------------------------
// Sparks and bursts.

TEST_F(PodTest, OneSparkOfItsOwnColourPerFlashFrameAndSixtyFourInTheBurst) {
  TParticleEngine particles(TIntRect{-500, 500, 500, -500});
  TBlobPodChild child;
  Wire(child, MakeVector(0, 0, 0));
  child.Particles = &particles;
  RunUntilAlive(child);
  Frame(child);
  EXPECT_EQ(particles.ActiveCount(), 0);
  child.Hit();
  for (int frame = 1; frame <= 12; ++frame) {
    Frame(child);
    EXPECT_EQ(particles.ActiveCount(), std::min(frame, 10)) << frame;
  }
  for (int i = 0; i < particles.Count(); ++i)
    if (particles[i].Active) {
      EXPECT_EQ(particles[i].Colour.X, child.BodyColour.X);
      EXPECT_EQ(particles[i].Style, 9);
    }

  particles.Clear();
  child.Blast();
  Frame(child);
  EXPECT_EQ(particles.ActiveCount(), 64);
  for (int i = 0; i < particles.Count(); ++i)
    if (particles[i].Active) {
      EXPECT_EQ(particles[i].Colour.Y, child.BodyColour.Y);
    }
  Frame(child);
  EXPECT_EQ(particles.ActiveCount(), 64);
}

TEST_F(PodTest, TheBlinkClockRunsOnlyWhileTheFlashLasts) {
  TBlobPod pod;
  Wire(pod, MakeVector(0, 0, 0));
  RunUntilAlive(pod);
  EXPECT_EQ(pod.BlinkPeriod, 8);
  EXPECT_EQ(pod.BlinkCounter, 0);
  Frame(pod);
  EXPECT_EQ(pod.BlinkCounter, 0);
  pod.Hit();
  Frame(pod);  // 0 - 1: reloaded
  EXPECT_EQ(pod.BlinkCounter, 8);
  for (int i = 0; i < 8; ++i) Frame(pod);
  EXPECT_EQ(pod.BlinkCounter, 8);  // down to 0 on the eighth, reloaded again
  Frame(pod);                      // the tenth and last flash frame
  EXPECT_EQ(pod.BlinkCounter, 7);
  Frame(pod);  // the flash is over
  EXPECT_EQ(pod.BlinkCounter, 7);
}

// ---------------------------------------------------------------------------
// What they draw.

class PodDrawingTest : public TDrawingTest<PodTest> {
 protected:
  // Draws the star of an alive enemy for one frame; returns its outline.
  TRecordedPrimitive DrawAliveFrame(TBlobEnemy& e, TVector3& at) {
    Rec.Reset();
    at = e.Position;
    Frame(e);
    auto loops = Rec.Find(TPrimitive::LineLoop);
    EXPECT_EQ(loops.size(), 1u);
    return loops.empty() ? TRecordedPrimitive{} : *loops[0];
  }

  // The direction of a drawn vertex from the centre, in degrees.
  static float AngleOf(const TVector3& v, const TVector3& at) {
    return float(std::atan2(v.Y - at.Y, v.X - at.X) * 180.0 / 3.14159265358979);
  }
};

TEST_F(PodDrawingTest, AChildSpinsFourDegreesAFrameWhileThePodNeverTurns) {
  TBlobPod pod;
  TBlobPodChild child;
  Wire(pod, MakeVector(-100, 0, 0));
  Wire(child, MakeVector(100, 0, 0));
  RunUntilAlive(pod);
  RunUntilAlive(child);
  TVector3 at;
  for (int frame = 1; frame <= 100; ++frame) {
    const TRecordedPrimitive star = DrawAliveFrame(pod, at);
    ASSERT_EQ(star.Vertices.size(), 8u);
    // The top-left point stays at 135 degrees.
    EXPECT_NEAR(AngleOf(star.Vertices[0], at), 135, 1e-3) << frame;
    EXPECT_EQ(star.LineWidth, 2);
  }
  for (int frame = 1; frame <= 100; ++frame) {
    const TRecordedPrimitive star = DrawAliveFrame(child, at);
    ASSERT_EQ(star.Vertices.size(), 8u);
    float expected = 135 + 4.0f * frame;
    while (expected > 180) expected -= 360;
    float diff = AngleOf(star.Vertices[0], at) - expected;
    if (diff > 180) diff -= 360;
    if (diff < -180) diff += 360;
    EXPECT_NEAR(diff, 0, 1e-2) << frame;
    EXPECT_EQ(star.LineWidth, 2);
  }
  EXPECT_GE(child.SpinAngle, 0);
  EXPECT_LT(child.SpinAngle, 360);
  EXPECT_EQ(pod.SpinAngle, 0);
}

TEST_F(PodDrawingTest, TheGlowIsASquareBehindTheStarFromTheFirstSpawningFrame) {
  TMS3DObj glow;
  ASSERT_TRUE(glow.LoadFromMemo("MemoSphereTile16x16"));
  // The model's own half-width, drawn once untransformed.
  glow.DrawColoured(MakeColor(1, 1, 1), MakeColor(1, 1, 1));
  float modelHalfX = 0, modelHalfY = 0;
  for (const TRecordedPrimitive& p : Rec.Primitives)
    for (const TVector3& v : p.Vertices) {
      modelHalfX = std::max(modelHalfX, std::fabs(v.X));
      modelHalfY = std::max(modelHalfY, std::fabs(v.Y));
    }
  ASSERT_GT(modelHalfX, 0);

  TBlobPod pod;
  Wire(pod, MakeVector(200, 100, 0));
  pod.GlowModel = &glow;
  Rec.Reset();
  Frame(pod);  // first spawning frame, pulse at 1
  ASSERT_FALSE(Rec.Materials.empty());
  EXPECT_EQ(Rec.Materials.back().Ambient[1], 1);  // lit green
  float halfX = 0, halfY = 0;
  for (const TRecordedPrimitive& p : Rec.Primitives) {
    if (!p.Lighting) continue;
    for (const TVector3& v : p.Vertices) {
      halfX = std::max(halfX, std::fabs(v.X - 200));
      halfY = std::max(halfY, std::fabs(v.Y - 100));
    }
  }
  EXPECT_NEAR(halfX, 44 * 1.3f * modelHalfX, 1e-2);
  EXPECT_NEAR(halfY, 44 * 1.3f * modelHalfY, 1e-2);
  EXPECT_FALSE(Rec.IsEnabled(TCapability::Lighting));
  EXPECT_TRUE(Rec.IsEnabled(TCapability::Blend));
  EXPECT_EQ(Rec.StackDepth(), 0);
}

TEST_F(PodDrawingTest, AllEightEdgesFlyOutInTheBodyColourWhileFading) {
  TBlobPodChild child;
  Wire(child, MakeVector(0, 0, 0));
  RunUntilAlive(child);
  child.Absorb();
  TVector3 at = child.Position;
  for (int frame = 1; frame <= 5; ++frame) {
    const TRecordedPrimitive edges = FlyingSides(child);
    ASSERT_EQ(edges.Vertices.size(), 16u);
    EXPECT_EQ(edges.LineWidth, 2);
    EXPECT_EQ(edges.Colour.R, child.BodyColour.X);
    EXPECT_EQ(edges.Colour.G, child.BodyColour.Y);
    EXPECT_NEAR(edges.Colour.A, 1 - 0.02f * frame, 1e-5);
    // Edge 0 runs from (-10, 10) to (-5, 0); its normal is (10, 5).
    const float spread = 0.05f * frame;
    EXPECT_NEAR(edges.Vertices[0].X, at.X - 10 - spread * 10, 1e-4);
    EXPECT_NEAR(edges.Vertices[0].Y, at.Y + 10 - spread * 5, 1e-4);
    EXPECT_NEAR(edges.Vertices[1].X, at.X - 5 - spread * 10, 1e-4);
  }
}

}  // namespace
