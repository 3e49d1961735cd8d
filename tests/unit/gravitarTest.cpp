// The gravitar: its gravity ramp and how hits collapse it, fifty hits and the
// sounds they play, bomb and well kills, the slow surging chase, the spawn
// sound on each grow-in, and what it draws (a black disc, no glow, a thick
// outline flying apart over a white burst).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "enemies/blobGravitar.h"
#include "enemies/blobGruntXY.h"
#include "entities/blobList.h"
#include "entities/blobPlayer.h"
#include "gfx/GLPrinter.h"
#include "gfx/MS3DObj.h"
#include "gfx/ParticleEngine.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "gfx/geometryGrid.h"
#include "tests/support/EnemyFixture.h"

namespace {
class GravitarTest : public TEnemyTest {
 protected:
  void SetUp() override {
    RandomSeed(31);
    Player.Position = MakeVector(-300, -300, 0);
  }
};

TEST_F(GravitarTest, NoPullWhileSpawningThenARampToFiveMillionThatStartsOver) {
  TBlobGravitar g;
  Wire(g, MakeVector(0, 0, 0));
  g.Mass = 123;  // left over from an earlier life
  Frame(g);
  EXPECT_EQ(g.Mass, 0);
  EXPECT_EQ(RunUntilAlive(g), 24);  // 25 grow-in frames in all
  EXPECT_EQ(g.Mass, 0);

  for (int frame = 1; frame <= 500; ++frame) {
    Frame(g);
    ASSERT_FLOAT_EQ(g.Mass, 10000.0f * frame) << frame;
    ASSERT_EQ(g.WellMass(), g.Mass);
  }
  Frame(g);  // past the top: the ramp starts again
  EXPECT_EQ(g.Mass, 0);
  Frame(g);
  EXPECT_FLOAT_EQ(g.Mass, 10000);
}

TEST_F(GravitarTest, EveryHitCollapsesThePullSoSteadyFireKeepsItWeak) {
  TBlobGravitar g;
  Wire(g, MakeVector(0, 0, 0));
  RunUntilAlive(g);
  for (int i = 0; i < 100; ++i) Frame(g);
  ASSERT_FLOAT_EQ(g.Mass, 1000000);
  g.Hit();
  EXPECT_EQ(g.Mass, 0);

  // One hit every fifth frame, 45 hits: it never gets past 50000.
  float peak = 0;
  for (int frame = 0; frame < 225; ++frame) {
    if (frame % 5 == 0) g.Hit();
    Frame(g);
    peak = std::max(peak, g.Mass);
  }
  EXPECT_EQ(g.State, BlobState::Alive);
  EXPECT_LE(peak, 50000);
}

TEST_F(GravitarTest, FortyNineHitsPlayTheHitSoundTheFiftiethTheDestroyedSound) {
  TBlobGravitar g;
  Wire(g, MakeVector(0, 0, 0));
  g.Sounds = &Sounds;
  RunUntilAlive(g);
  for (int hit = 1; hit <= 49; ++hit) {
    g.Hit();
    ASSERT_EQ(g.State, BlobState::Alive) << hit;
    ASSERT_EQ(g.Shield, 50 - hit);
    ASSERT_EQ(g.HitFlash, 10);
  }
  EXPECT_EQ(Plays("GravitarHit"), 49);
  EXPECT_EQ(Deaths.Count, 0);
  EXPECT_EQ(Player.Score, 0);

  g.Hit();
  EXPECT_EQ(g.State, BlobState::Dying);
  EXPECT_EQ(Plays("GravitarHit"), 49);
  EXPECT_EQ(Plays("GravitarDestroyed"), 1);
  EXPECT_EQ(Deaths.Count, 1);
  EXPECT_EQ(Deaths.Last, &g);
  EXPECT_EQ(Player.Score, 10000);

  ExpectUntouchable(g);  // the wreck takes no more hits
  EXPECT_EQ(RunExplosion(g), 50);
  EXPECT_FALSE(g.Active);
}

TEST_F(GravitarTest, TheBombScoresTenThousandSilentlyAndAWellNeverSwallowsIt) {
  TBlobGravitar g;
  Wire(g, MakeVector(0, 0, 0));
  g.Sounds = &Sounds;
  RunUntilAlive(g);
  const int spawnSounds = Plays("GravitarSpawned");
  for (int i = 0; i < 10; ++i) Frame(g);

  g.Absorb();
  EXPECT_EQ(g.State, BlobState::Alive);
  EXPECT_EQ(g.Shield, 50);
  EXPECT_EQ(Deaths.Count, 0);

  g.Blast();
  EXPECT_EQ(g.State, BlobState::Dying);
  EXPECT_EQ(g.Shield, 0);
  EXPECT_EQ(Deaths.Count, 1);
  EXPECT_EQ(Player.Score, 10000);
  EXPECT_EQ(Plays(), spawnSounds);
  // A bomb kill keeps the pull it had while the wreck explodes.
  EXPECT_FLOAT_EQ(g.Mass, 100000);
  Frame(g);
  EXPECT_FLOAT_EQ(g.Mass, 100000);

  ExpectUntouchable(g);  // a second ring meets only the wreck
}

TEST_F(GravitarTest, TwoWellsOnTopOfEachOtherSwallowTheGruntButNotEachOther) {
  auto grid = std::make_unique<TGeometryGrid>();
  TBlobGravitar a, b;
  TBlobGruntXY grunt;
  Wire(a, MakeVector(100, 100, 0));
  Wire(b, MakeVector(110, 100, 0));
  Wire(grunt, MakeVector(90, 100, 0));
  RunUntilAlive(a);
  RunUntilAlive(b);
  RunUntilAlive(grunt);
  Frame(a);
  Frame(b);
  TBlobList enemies, wells;
  enemies.Add(&a);
  enemies.Add(&b);
  enemies.Add(&grunt);
  wells.Add(&a);
  wells.Add(&b);

  grid->PullEntities(enemies, wells, 8);
  EXPECT_EQ(a.State, BlobState::Alive);
  EXPECT_EQ(b.State, BlobState::Alive);
  EXPECT_EQ(grunt.State, BlobState::Dying);
  EXPECT_EQ(Deaths.Count, 1);
  EXPECT_EQ(Player.Score, 0);
}

TEST_F(GravitarTest, ItSurgesUpToSpeedOneThenFallsBackToACrawl) {
  TBlobGravitar g;
  Wire(g, MakeVector(0, 0, 0));
  RunUntilAlive(g);
  EXPECT_EQ(g.Speed, 1.0f);
  Player.Position = MakeVector(-400, 400, 0);

  Frame(g);  // 1.005 is past the top at once
  EXPECT_FLOAT_EQ(g.Speed, 0.1f);
  EXPECT_FLOAT_EQ(g.Position.X, -0.05f);
  EXPECT_FLOAT_EQ(g.Position.Y, 0.05f);

  int frames = 1;
  float top = g.Speed;
  while (g.Speed >= top && frames < 1000) {
    top = g.Speed;
    Frame(g);
    ++frames;
  }
  // About 180 frames from a crawl to full speed and back.
  EXPECT_NEAR(frames - 1, 181, 1);
  EXPECT_GT(top, 0.99f);
  EXPECT_LE(top, 1.0f);
  EXPECT_FLOAT_EQ(g.Speed, 0.1f);
}

TEST_F(GravitarTest, AHitKnocksItAwayFromTheShipWhileTheFlashLasts) {
  TBlobGravitar g;
  Wire(g, MakeVector(0, 0, 0));
  RunUntilAlive(g);
  Player.Position = MakeVector(300, 0, 0);
  for (int i = 0; i < 50; ++i) Frame(g);
  const float before = g.Position.X;
  g.Hit();
  for (int i = 0; i < 9; ++i) Frame(g);
  EXPECT_LT(g.Position.X, before);
  const float back = g.Position.X;
  Frame(g);
  Frame(g);
  EXPECT_GT(g.Position.X, back);
}

TEST_F(GravitarTest, EachGrowInPlaysTheSpawnSoundOnceAndARespawnLandsAnywhere) {
  TBlobGravitar g;
  const TVector3 spawn = MakeVector(200, -150, 0);
  Wire(g, spawn, 2);
  g.Sounds = &Sounds;
  Frame(g);
  EXPECT_EQ(Plays("GravitarSpawned"), 1);
  EXPECT_EQ(g.Position.X, spawn.X);
  RunUntilAlive(g);
  EXPECT_EQ(Plays("GravitarSpawned"), 1);
  EXPECT_EQ(g.Shield, 50);

  g.Blast();
  RunExplosion(g);
  ASSERT_TRUE(g.Active);
  Frame(g);
  EXPECT_EQ(Plays("GravitarSpawned"), 2);
  EXPECT_FALSE(g.Position.X == spawn.X && g.Position.Y == spawn.Y);
  EXPECT_GE(g.Position.X, -500);
  EXPECT_LE(g.Position.X, 499);
  RunUntilAlive(g);
  EXPECT_EQ(Plays("GravitarSpawned"), 2);
  EXPECT_EQ(g.Shield, 50);
  EXPECT_EQ(g.Mass, 0);
}

TEST_F(GravitarTest, CreateOnAPooledGravitarStartsItAfresh) {
  TBlobGravitar g;
  Wire(g, MakeVector(0, 0, 0));
  RunUntilAlive(g);
  for (int i = 0; i < 30; ++i) Frame(g);
  g.Blast();
  RunExplosion(g);
  ASSERT_FALSE(g.Active);
  ASSERT_GT(g.Mass, 0);

  g.Create();
  EXPECT_TRUE(g.Active);
  ExpectFresh(g, BlobKind::Gravitar, 10000);
  EXPECT_EQ(g.Radius, 25);
  EXPECT_EQ(g.Mass, 0);
  EXPECT_EQ(g.WellMass(), 0);
  EXPECT_EQ(g.Size, 0);
  EXPECT_EQ(g.VertexCount, 16);
}

// ---------------------------------------------------------------------------
// Sparks and bursts.

TEST_F(GravitarTest, EachFlashFrameThrowsARingOfEightBlueSparksOutward) {
  TParticleEngine particles(TIntRect{-500, 500, 500, -500});
  TBlobGravitar g;
  Wire(g, MakeVector(50, -80, 0));
  g.Particles = &particles;
  RunUntilAlive(g);
  Frame(g);
  EXPECT_EQ(particles.ActiveCount(), 0);
  g.Hit();
  const TVector3 at = g.Position;  // where this frame draws it, before it moves
  Frame(g);
  ASSERT_EQ(particles.ActiveCount(), 8);
  for (int i = 0; i < particles.Count(); ++i) {
    const TParticle& p = particles[i];
    if (!p.Active) continue;
    // Twenty units out from where the disc was drawn, heading further out.
    const float dx = p.Position.X - at.X, dy = p.Position.Y - at.Y;
    EXPECT_NEAR(std::sqrt(dx * dx + dy * dy), 20, 1e-3);
    EXPECT_NEAR(p.Velocity.X * 20, dx, 1e-3);
    EXPECT_NEAR(p.Velocity.Y * 20, dy, 1e-3);
    EXPECT_EQ(p.Colour.X, 0);
    EXPECT_EQ(p.Colour.Z, 1);
    EXPECT_EQ(p.Style, 10);
  }
  Frame(g);
  EXPECT_EQ(particles.ActiveCount(), 16);
}

TEST_F(GravitarTest, TheWreckBurstsIntoEightyWhiteParticlesOnce) {
  TParticleEngine particles(TIntRect{-500, 500, 500, -500});
  TBlobGravitar g;
  Wire(g, MakeVector(0, 0, 0));
  g.Particles = &particles;
  RunUntilAlive(g);
  g.Blast();
  Frame(g);
  ASSERT_EQ(particles.ActiveCount(), 80);
  for (int i = 0; i < particles.Count(); ++i)
    if (particles[i].Active) {
      EXPECT_EQ(particles[i].Colour.X, 1);
      EXPECT_EQ(particles[i].Colour.Y, 1);
      EXPECT_EQ(particles[i].Colour.Z, 1);
    }
  Frame(g);
  EXPECT_EQ(particles.ActiveCount(), 80);
}

// ---------------------------------------------------------------------------
// What it draws.

using GravitarDrawingTest = TDrawingTest<GravitarTest>;

TEST_F(GravitarDrawingTest, AFilledBlackDiscOpeningFromALineAndNoGlow) {
  TMS3DObj glow;
  ASSERT_TRUE(glow.LoadFromMemo("MemoSphereTile16x16"));
  TBlobGravitar g;
  Wire(g, MakeVector(100, 200, 0));
  g.GlowModel = &glow;  // the manager hands one over; the disc does not use it

  Frame(g);  // Size 0: flat
  auto tris = Rec.Find(TPrimitive::Triangles);
  ASSERT_EQ(tris.size(), 1u);
  ASSERT_EQ(tris[0]->Vertices.size(), 45u);  // fifteen slices of the fan
  for (const TVector3& v : tris[0]->Vertices) EXPECT_FLOAT_EQ(v.Y, 200);

  RunUntilAlive(g);
  Rec.Reset();
  const TVector3 at = g.Position;  // drawn there, then it moves
  Frame(g);
  tris = Rec.Find(TPrimitive::Triangles);
  ASSERT_EQ(tris.size(), 1u);
  const TRecordedPrimitive& disc = *tris[0];
  ASSERT_EQ(disc.Vertices.size(), 45u);
  EXPECT_EQ(disc.Colour.R, 0);
  EXPECT_EQ(disc.Colour.G, 0);
  EXPECT_EQ(disc.Colour.B, 0);
  EXPECT_EQ(disc.Colour.A, 1);
  const float scale = g.PulseScale;
  for (int i = 0; i < 15; ++i) {
    const TVector3& centre = disc.Vertices[3 * i];
    const TVector3& rim = disc.Vertices[3 * i + 1];
    const TVector3& next = disc.Vertices[3 * i + 2];
    EXPECT_NEAR(centre.X, at.X, 1e-3);
    EXPECT_NEAR(centre.Y, at.Y, 1e-3);
    const float r = std::hypot(rim.X - centre.X, rim.Y - centre.Y);
    EXPECT_NEAR(r, 25 * scale, 1e-3);
    // The last slice closes the disc back at the first rim point.
    const TVector3& expectNext = i == 14 ? disc.Vertices[1] : disc.Vertices[3 * (i + 1) + 1];
    EXPECT_NEAR(next.X, expectNext.X, 1e-3);
    EXPECT_NEAR(next.Y, expectNext.Y, 1e-3);
  }
  EXPECT_TRUE(Rec.Materials.empty());
  EXPECT_TRUE(Rec.Find(TPrimitive::LineLoop).empty());
  EXPECT_EQ(Rec.StackDepth(), 0);
}

TEST_F(GravitarDrawingTest, TheOutlineFliesApartFastThickAndBlackDownToTheCentre) {
  TGLPrinter printer;
  TBlobGravitar g;
  Wire(g, MakeVector(-60, 40, 0));
  g.Printer = &printer;
  RunUntilAlive(g);
  g.Blast();
  for (int frame = 1; frame <= 3; ++frame) {
    const TRecordedPrimitive edges = FlyingSides(g, true);
    ASSERT_EQ(edges.Vertices.size(), 32u);
    EXPECT_EQ(edges.LineWidth, 4);
    EXPECT_EQ(edges.Colour.R, 0);
    EXPECT_EQ(edges.Colour.G, 0);
    EXPECT_EQ(edges.Colour.B, 0);
    EXPECT_NEAR(edges.Colour.A, 1 - 0.02f * frame, 1e-5);
    // The spoke in from the rim at 350 degrees ends at the centre, pushed
    // out half its normal a frame; the normal of that spoke is perpendicular
    // to 350 degrees with length 25.
    const float spread = 0.5f * frame;
    const TVector3& d = DirTable[350];
    const TVector3 normal = MakeVector(-(0 - 25 * d.Y), 0 - 25 * d.X, 0);
    EXPECT_NEAR(edges.Vertices[29].X, -60 - spread * normal.X, 1e-3);
    EXPECT_NEAR(edges.Vertices[29].Y, 40 - spread * normal.Y, 1e-3);
    // The points value is drawn in white, fading with the wreck.
    bool whiteText = false;
    for (const TRecordedPrimitive& p : Rec.Primitives)
      if (p.Colour.R == 1 && p.Colour.G == 1 && p.Colour.B == 1 && std::fabs(p.Colour.A - (1 - 0.02f * frame)) < 1e-5f)
        whiteText = true;
    EXPECT_TRUE(whiteText) << frame;
  }
}

}  // namespace
