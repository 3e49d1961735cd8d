// The last boss: its long grow-in, the twelve tentacles that must be severed
// before the core takes damage, the reach for the ship every hundred frames,
// its immunity to the bomb, its drawing about the arena origin, its wreck,
// and a recycled boss getting its tentacles back without a new allocation.
#include <gtest/gtest.h>

#include <cmath>

#include "enemies/blobBoss4.h"
#include "entities/blobBullet.h"
#include "entities/blobList.h"
#include "entities/blobPlayer.h"
#include "gfx/MS3DObj.h"
#include "gfx/ParticleEngine.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "tests/support/EnemyFixture.h"

namespace {
class Boss4Test : public TDrawingTest<TEnemyTest> {
 protected:
  void SetUp() override {
    RandomSeed(44);
    Enemies.Add(&Boss);
  }

  void Wire(int lives = 1) {
    Boss.Particles = &Particles;
    Boss.Sounds = &Sounds;
    TEnemyTest::Wire(Boss, TVector3{}, lives, true);
  }

  int RunUntilAlive() { return ::RunUntilAlive(Boss); }

  // Fires one bullet placed at (x, y) through the game's bullet test.
  int ShootAt(float x, float y) {
    Shot.Launch(MakeVector(x, y, 0), 90);
    return Shot.CollideWithList(Enemies, &Shot, TBlobEvent());
  }
  int ShootTip(int tentacle) {
    const auto& tip = Boss.Tentacles.Tentacles[tentacle].Sub[TMultiBezier::SubCount - 1];
    return ShootAt(tip.X, tip.Y);
  }
  void SeverAll() {
    for (int i = 0; i < TMultiBezier::TentacleCount; ++i)
      for (int h = 0; h < TMultiBezier::MaxHits; ++h) ShootTip(i);
  }

  // Squares of the tentacles: the only four-cornered loops the boss draws.
  int SquaresDrawn() const {
    int n = 0;
    for (const auto* p : Rec.Find(TPrimitive::LineLoop)) n += p->Vertices.size() == 4;
    return n;
  }

  TParticleEngine Particles{TIntRect{-500, 500, 500, -500}};
  TBlobBoss4 Boss;
  TBlobList Enemies;
  TBlobBullet Shot;
};

TEST_F(Boss4Test, GrowsInForAHundredAndTwentyFiveFramesToItsCoreRadius) {
  EXPECT_EQ(Boss.Kind, BlobKind::Boss4);
  EXPECT_EQ(Boss.Points, 5000);
  EXPECT_EQ(Boss.Radius, 400);
  EXPECT_TRUE(Boss.Active);
  Wire();
  EXPECT_EQ(RunUntilAlive(), 125);
  EXPECT_EQ(Boss.Size, 5.0f);
  EXPECT_EQ(Boss.Radius, 80);
  EXPECT_EQ(Boss.Shield, 150);
  // It bends the grid like the other bosses.
  Frame(Boss);
  Frame(Boss);
  EXPECT_EQ(Boss.GridMass, 20000);
}

TEST_F(Boss4Test, TwelveTentaclesOfSixteenHitsComeBeforeTheHundredAndFiftyCoreHits) {
  Wire();
  RunUntilAlive();
  Frame(Boss);
  // The core is shielded while any tentacle stands: a bullet there is spent.
  EXPECT_EQ(ShootAt(0, 0), 1);
  EXPECT_EQ(Boss.Shield, 150);
  EXPECT_EQ(Boss.HitFlash, 0);
  EXPECT_EQ(Plays("GruntHit"), 0);

  for (int i = 0; i < TMultiBezier::TentacleCount; ++i) {
    Particles.Clear();
    for (int h = 1; h <= TMultiBezier::MaxHits; ++h) {
      ASSERT_EQ(ShootTip(i), 1) << i << " " << h;
      EXPECT_FALSE(Shot.Active);
      EXPECT_EQ(Boss.Tentacles.Tentacles[i].Hits, h);
    }
    // A severed tentacle bursts: eight sparks at each of its seven points.
    EXPECT_EQ(Particles.ActiveCount(), 56) << i;
  }
  EXPECT_EQ(Plays("PodHit"), 192);
  // The bullet that severs the last tentacle reaches the core as well.
  EXPECT_EQ(Boss.Shield, 149);
  EXPECT_EQ(Boss.Tentacles.LiveCount(), 0);

  int coreHits = 1;
  while (Boss.State == BlobState::Alive && coreHits < 1000) {
    ASSERT_EQ(ShootAt(30, -40), 1);
    ++coreHits;
  }
  EXPECT_EQ(coreHits, 150);
  EXPECT_EQ(Plays("GruntHit"), 150);
  EXPECT_EQ(Deaths.Count, 1);
  EXPECT_EQ(Player.Score, 5000);
}

TEST_F(Boss4Test, HitsCountOnlyWhileAliveAndTheLastTentacleIsGone) {
  Wire();
  Frame(Boss);
  for (auto& t : Boss.Tentacles.Tentacles) t.Hits = 16;
  Boss.Hit();  // still growing in
  EXPECT_EQ(Boss.Shield, 150);
  RunUntilAlive();
  Boss.Tentacles.Tentacles[9].Hits = 15;
  Boss.Hit();
  EXPECT_EQ(Boss.Shield, 150);
  Boss.Tentacles.Tentacles[9].Hits = 16;
  Boss.Hit();
  EXPECT_EQ(Boss.Shield, 149);
  EXPECT_EQ(Boss.HitFlash, 10);
}

TEST_F(Boss4Test, ASeveredTentacleIsNeitherDrawnNorHitNorChosen) {
  TMS3DObj glow;
  ASSERT_TRUE(glow.LoadFromMemo("MemoSphereTile16x16"));
  Wire();
  Boss.GlowModel = &glow;
  RunUntilAlive();

  Rec.Reset();
  Frame(Boss);
  EXPECT_EQ(SquaresDrawn(), 12 * 7);
  // The halo (4), a glow on each square and three more on each tip.
  EXPECT_EQ(Rec.Materials.size(), 4u + 12 * (7 + 3));

  for (int h = 0; h < 16; ++h) ShootTip(4);
  Rec.Reset();
  Frame(Boss);
  EXPECT_EQ(SquaresDrawn(), 11 * 7);
  EXPECT_EQ(Rec.Materials.size(), 4u + 11 * (7 + 3));

  // Its old tip is no target any more.
  const auto tip = Boss.Tentacles.Tentacles[4].Sub[6];
  bool nearOther = false;
  for (int i = 0; i < 12; ++i) {
    const auto& other = Boss.Tentacles.Tentacles[i].Sub[6];
    if (i != 4 && std::fabs(other.X - tip.X) < 20 && std::fabs(other.Y - tip.Y) < 20) nearOther = true;
  }
  ASSERT_FALSE(nearOther);
  Player.Position = MakeVector(tip.X, tip.Y, 0);
  EXPECT_FALSE(Boss.HitTest(&Player, tip.X, tip.Y));
  EXPECT_EQ(Boss.Tentacles.Tentacles[4].Hits, 16);

  for (int n = 0; n < 300; ++n) {
    Frame(Boss);
    ASSERT_NE(Boss.Tentacles.Selected, 4);
  }
}

TEST_F(Boss4Test, TheShipTouchingATipHurtsThatTentacle) {
  Wire();
  RunUntilAlive();
  const auto tip = Boss.Tentacles.Tentacles[0].Sub[6];
  Player.Position = MakeVector(tip.X + 19.5f, tip.Y - 19.5f, 0);
  EXPECT_TRUE(Boss.HitTest(&Player, Player.Position.X, Player.Position.Y));
  EXPECT_EQ(Boss.Tentacles.Tentacles[0].Hits, 1);
  EXPECT_EQ(Plays("PodHit"), 1);
  Player.Position = MakeVector(tip.X + 20, tip.Y, 0);  // 20 away on X: not touching
  EXPECT_FALSE(Boss.HitTest(&Player, Player.Position.X, Player.Position.Y));
  EXPECT_FALSE(Boss.HitTest(nullptr, 0, 0));
}

TEST_F(Boss4Test, ATentacleReachesForTheShipEveryHundredAndOneFrames) {
  Wire();
  RunUntilAlive();
  Player.Position = MakeVector(123.6f, -77.2f, 0);
  for (int frame = 1; frame <= 100; ++frame) {
    Frame(Boss);
    ASSERT_FALSE(Boss.Tentacles.Reaching) << frame;
  }
  Frame(Boss);
  ASSERT_TRUE(Boss.Tentacles.Reaching);
  EXPECT_EQ(Boss.Tentacles.TargetX, 124);
  EXPECT_EQ(Boss.Tentacles.TargetY, -77);
  const int reacher = Boss.Tentacles.Selected;

  // The ship moving on does not move the target.
  Player.Position = MakeVector(-300, 300, 0);
  int frames = 1;
  while (Boss.Tentacles.Reaching) {
    Frame(Boss);
    ++frames;
  }
  EXPECT_EQ(frames, 43);
  EXPECT_EQ(Boss.Tentacles.TargetX, 124);
  const auto& tip = Boss.Tentacles.Tentacles[reacher].Sub[6];
  EXPECT_NEAR(std::hypot(tip.X - 124, tip.Y + 77), 0, 12);  // at the target, give or take the last pulls

  // The next reach: after the tentacle is back and 101 more frames.
  int wait = 0;
  while (!Boss.Tentacles.Reaching && wait < 500) {
    Frame(Boss);
    ++wait;
  }
  EXPECT_EQ(wait, 101);
  EXPECT_EQ(Boss.Tentacles.TargetX, -300);
  EXPECT_EQ(Boss.Tentacles.TargetY, 300);
}

TEST_F(Boss4Test, TheBombLeavesItUntouchedButAWellSwallowsItWithoutPoints) {
  Wire();
  RunUntilAlive();
  Boss.Blast();
  EXPECT_EQ(Boss.State, BlobState::Alive);
  EXPECT_EQ(Boss.Shield, 150);
  EXPECT_EQ(Deaths.Count, 0);
  Boss.Absorb();
  EXPECT_EQ(Boss.State, BlobState::Dying);
  EXPECT_EQ(Deaths.Count, 1);
  EXPECT_EQ(Player.Score, 0);
}

TEST_F(Boss4Test, AHitFlashesTwoSparksAFrameAndQuickensThePulse) {
  Wire();
  RunUntilAlive();
  for (auto& t : Boss.Tentacles.Tentacles) t.Hits = 16;
  Frame(Boss);  // the pulse turns back down from its top
  Boss.Hit();
  Particles.Clear();
  const float before = Boss.PulseScale;
  Frame(Boss);
  EXPECT_NEAR(std::fabs(Boss.PulseScale - before), 0.04f, 1e-5);
  EXPECT_EQ(Particles.ActiveCount(), 2);
  for (int i = 0; i < Particles.Count(); ++i)
    if (Particles[i].Active) {
      EXPECT_EQ(Particles[i].Style, 1);
    }
  for (int i = 0; i < 9; ++i) Frame(Boss);
  EXPECT_EQ(Boss.HitFlash, 0);
  EXPECT_EQ(Particles.ActiveCount(), 20);
  Frame(Boss);
  EXPECT_EQ(Particles.ActiveCount(), 20);
}

TEST_F(Boss4Test, ItIsDrawnAboutTheArenaOriginWhereverItStands) {
  TMS3DObj core;
  ASSERT_TRUE(core.LoadFromMemo("MemoGeoSphere"));
  Wire();
  Boss.CoreModel = &core;
  Boss.SetSpawn(MakeVector(200, -150, 0), 1, true, TVector3{});
  RunUntilAlive();
  EXPECT_EQ(Boss.Position.X, 200);

  Rec.Reset();
  Frame(Boss);
  const auto loops = Rec.Find(TPrimitive::LineLoop);
  // Each tentacle square is centred on its curve point around the origin.
  int checked = 0;
  for (const auto* p : loops) {
    if (p->Vertices.size() != 4) continue;
    const float cx = (p->Vertices[0].X + p->Vertices[2].X) / 2;
    const float cy = (p->Vertices[0].Y + p->Vertices[2].Y) / 2;
    const auto& t = Boss.Tentacles.Tentacles[checked / 7];
    EXPECT_NEAR(cx, t.Sub[checked % 7].X, 1e-3);
    EXPECT_NEAR(cy, t.Sub[checked % 7].Y, 1e-3);
    // Three times the size at the root down to 1.2 at the tip.
    const float side = std::fabs(p->Vertices[2].X - p->Vertices[0].X);
    EXPECT_NEAR(side, 10 * (3 - 0.3f * (checked % 7)), 1e-3);
    ++checked;
  }
  EXPECT_EQ(checked, 84);
  // The core's outline, four times the model, also sits on the origin.
  float far = 0;
  for (const auto& p : Rec.Primitives)
    if (p.Vertices.size() != 4 || p.Prim != TPrimitive::LineLoop)
      for (const auto& v : p.Vertices) far = std::max(far, std::hypot(v.X, v.Y));
  EXPECT_GT(far, 0);
  EXPECT_LT(far, 150);
  EXPECT_EQ(Boss.SpinX, 126);  // one turn a drawn frame, spawning ones too
}

TEST_F(Boss4Test, TheWreckIsAWideRingFlyingApartForFiftyFrames) {
  Wire();
  RunUntilAlive();
  Boss.Absorb();
  Particles.Clear();
  const TRecordedPrimitive edges = FlyingSides(Boss);
  EXPECT_EQ(Boss.Size, 0);
  EXPECT_EQ(Particles.ActiveCount(), 17);
  ASSERT_EQ(edges.Vertices.size(), 62u);
  // The first side, from 0 to 12 degrees on the radius-400 ring, pushed
  // outward by 0.05 of its normal.
  const TVector3 a = MakeVector(400, 0, 0), b = MakeVector(400 * DirTable[12].X, 400 * DirTable[12].Y, 0);
  const float nx = -(b.Y - a.Y), ny = b.X - a.X;
  EXPECT_NEAR(edges.Vertices[0].X, a.X - 0.05f * nx, 1e-3);
  EXPECT_NEAR(edges.Vertices[0].Y, a.Y - 0.05f * ny, 1e-3);
  EXPECT_GT(edges.Vertices[0].X, 400);
  EXPECT_NEAR(edges.Colour.A, 0.98f, 1e-5);

  int frames = 1;
  while (Boss.State == BlobState::Dying) {
    Boss.Size = 3;
    Frame(Boss);
    EXPECT_EQ(Boss.Size, 0);
    ++frames;
  }
  EXPECT_EQ(frames, 50);
  EXPECT_FALSE(Boss.Active);
}

TEST_F(Boss4Test, ARecycledBossGetsItsTentaclesBackInPlace) {
  TMS3DObj geo;
  Wire();
  RunUntilAlive();
  for (int h = 0; h < 16; ++h) ShootTip(2);
  Boss.Tentacles.Tentacles[7].Hits = 9;
  for (int i = 0; i < 120; ++i) Frame(Boss);  // a reach is under way
  ASSERT_TRUE(Boss.Tentacles.Reaching);
  Boss.CoreModel = &geo;
  const TMultiBezier* tentacles = &Boss.Tentacles;

  Boss.Create();
  EXPECT_EQ(&Boss.Tentacles, tentacles);
  EXPECT_EQ(Boss.Tentacles.LiveCount(), 12);
  EXPECT_FALSE(Boss.Tentacles.Reaching);
  EXPECT_EQ(Boss.Tentacles.ReachStep, 0);
  for (const auto& t : Boss.Tentacles.Tentacles) {
    EXPECT_EQ(t.Hits, 0);
    EXPECT_EQ(t.ControlPoints[3].X, 3);
    EXPECT_EQ(t.ControlPoints[3].Y, 0);
  }
  EXPECT_EQ(Boss.Radius, 400);
  EXPECT_EQ(Boss.SpinX, 0);
  EXPECT_EQ(Boss.CoreModel, nullptr);
  EXPECT_EQ(Boss.State, BlobState::Spawning);
  EXPECT_TRUE(Boss.Active);

  // Spawned again it is a fresh boss: every tentacle must be severed anew.
  Wire();
  RunUntilAlive();
  for (auto& t : Boss.Tentacles.Tentacles) ASSERT_EQ(t.Hits, 0);
  Boss.Hit();
  EXPECT_EQ(Boss.Shield, 150);
}

}  // namespace
