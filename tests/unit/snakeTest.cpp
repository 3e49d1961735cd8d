// The snake: one-frame spawn, steering towards a remembered place of the ship,
// the trail and its fourteen tail copies, 25 hits, bomb and well kills, the
// explosion along the whole body, and respawning.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "enemies/blobSnake.h"
#include "entities/blobPlayer.h"
#include "gfx/GLPrinter.h"
#include "gfx/MS3DObj.h"
#include "gfx/ParticleEngine.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "tests/support/EnemyFixture.h"

namespace {
constexpr double Pi = 3.14159265358979323846;

class SnakeTest : public TEnemyTest {
 protected:
  void SetUp() override {
    RandomSeed(4242);
    Player.Position = MakeVector(0, 300, 0);
  }

  // Wired as the level manager wires a snake: radius, spawn, switched on.
  void Wire(TBlobSnake& s, const TVector3& at, int lives, bool fixed = false) {
    s.Radius = 25;
    TEnemyTest::Wire(s, at, lives, fixed);
    s.SetActive(true);
  }

  // Spawns it, then points it along +X, turning left, with nothing lined up.
  void SpawnFacingEast(TBlobSnake& s) {
    Frame(s);
    ASSERT_EQ(s.State, BlobState::Alive);
    s.Heading = 0;
    s.TurnRate = 4;
    s.OnCourse = false;
    s.TurnTotal = 0;
  }

  static void Kill(TBlobSnake& s) {
    for (int i = 0; i < 25; ++i) s.Hit();
  }
};

TEST_F(SnakeTest, ItAppearsInOneFrameAtItsSpawnPointAimingAtTheShip) {
  TBlobSnake s;
  EXPECT_FALSE(s.Active);  // the level manager switches it on
  EXPECT_EQ(s.Kind, BlobKind::Snake);
  EXPECT_EQ(s.Points, 1000);
  const TVector3 spawn = MakeVector(-200, 100, 0);
  Wire(s, spawn, 1);
  Frame(s);
  EXPECT_EQ(s.State, BlobState::Alive);
  EXPECT_EQ(s.Shield, 25);
  EXPECT_EQ(s.Speed, 2.0f);
  EXPECT_EQ(s.Position.X, spawn.X);
  EXPECT_EQ(s.Position.Y, spawn.Y);
  for (const TVector3& seg : s.Segments) {
    EXPECT_EQ(seg.X, spawn.X);
    EXPECT_EQ(seg.Y, spawn.Y);
  }
  EXPECT_TRUE(s.TurnRate == 4 || s.TurnRate == -4);
  EXPECT_EQ(s.Target.X, Player.Position.X);
  EXPECT_EQ(s.Target.Y, Player.Position.Y);
  EXPECT_EQ(s.WantedHeading, AngleToPointF(-200, 100, 0, 300));
  EXPECT_FALSE(s.OnCourse);
  EXPECT_EQ(s.Heading, std::floor(s.Heading));
  EXPECT_GE(s.Heading, 0);
  EXPECT_LT(s.Heading, 360);
}

TEST_F(SnakeTest, TwentyFourHitsPlaySnakeHitAndTheTwentyFifthDestroysForAThousand) {
  TBlobSnake s;
  Wire(s, MakeVector(0, 0, 0), 1);
  s.Sounds = &Sounds;
  ExpectUntouchable(s);  // not spawned yet
  Frame(s);
  for (int hit = 1; hit <= 24; ++hit) {
    s.Hit();
    EXPECT_EQ(s.Shield, 25 - hit);
    EXPECT_EQ(s.HitFlash, 10);
  }
  EXPECT_EQ(Plays("SnakeHit"), 24);
  EXPECT_EQ(Plays("SnakeDestroyed"), 0);
  EXPECT_EQ(s.State, BlobState::Alive);
  EXPECT_EQ(Player.Score, 0);

  s.Hit();
  EXPECT_EQ(Plays("SnakeHit"), 24);
  EXPECT_EQ(Plays("SnakeDestroyed"), 1);
  EXPECT_EQ(s.State, BlobState::Dying);
  EXPECT_EQ(Deaths.Count, 1);
  EXPECT_EQ(Player.Score, 1000);
  ExpectUntouchable(s);  // a wreck takes no more hits, bombs or wells
}

TEST_F(SnakeTest, ABombKillScoresAThousandAndAWellKillNothingBothSilently) {
  TBlobSnake bombed, swallowed;
  Wire(bombed, MakeVector(0, 0, 0), 1);
  Wire(swallowed, MakeVector(100, 0, 0), 1);
  bombed.Sounds = swallowed.Sounds = &Sounds;
  EXPECT_EQ(BombAndSwallow(bombed, swallowed), std::make_pair(1000, 0));
  EXPECT_LT(swallowed.Shield, 0);
  EXPECT_EQ(Plays(), 0);
}

TEST_F(SnakeTest, WhileFlashingItStandsStillButKeepsSteering) {
  TBlobSnake s;
  Wire(s, MakeVector(0, 0, 0), 1);
  SpawnFacingEast(s);
  Frame(s);
  s.Hit();
  const TVector3 held = s.Position;
  for (int frame = 1; frame <= 10; ++frame) {
    Frame(s);
    EXPECT_EQ(s.Position.X, held.X) << frame;
    EXPECT_EQ(s.Position.Y, held.Y) << frame;
  }
  EXPECT_EQ(s.HitFlash, 0);
  EXPECT_NE(s.Heading, 4.0f);  // it went on turning in place
  Frame(s);
  EXPECT_NEAR(std::hypot(s.Position.X - held.X, s.Position.Y - held.Y), 2.0, 1e-4);
}

TEST_F(SnakeTest, ATargetInsideTheTurningCircleIsGivenUpAfterAFullCircle) {
  TBlobSnake s;
  Wire(s, MakeVector(0, 0, 0), 1);
  SpawnFacingEast(s);
  // The centre of the circle it flies at 2 units and 4 degrees a frame: the
  // bearing to it stays square to the heading, so it never lines up.
  const double d4 = 4 * Pi / 180, cot2 = 1 / std::tan(2 * Pi / 180);
  const TVector3 centre =
      MakeVector(float(std::cos(d4) - cot2 * std::sin(d4)), float(std::sin(d4) + cot2 * std::cos(d4)), 0);
  s.Target = centre;
  Player.Position = MakeVector(300, -200, 0);  // the ship has moved on since

  for (int frame = 1; frame <= 90; ++frame) {
    Frame(s);
    ASSERT_FALSE(s.OnCourse) << frame;
    ASSERT_EQ(s.Target.X, centre.X) << frame;
  }
  EXPECT_EQ(s.TurnTotal, 360);
  EXPECT_NEAR(s.Position.X, 0, 0.05);  // one whole circle flown
  EXPECT_NEAR(s.Position.Y, 0, 0.05);

  Frame(s);  // past 360 degrees: it looks for the ship again
  EXPECT_EQ(s.Target.X, 300);
  EXPECT_EQ(s.Target.Y, -200);
  EXPECT_EQ(s.TurnTotal, 0);
}

TEST_F(SnakeTest, WithinFifteenDegreesItSnapsOntoTheTargetAndFliesStraight) {
  TBlobSnake s;
  Wire(s, MakeVector(0, 0, 0), 1);
  SpawnFacingEast(s);
  s.Target = MakeVector(float(400 * std::cos(10 * Pi / 180)), float(400 * std::sin(10 * Pi / 180)), 0);
  Frame(s);
  EXPECT_EQ(s.Heading, 10);
  EXPECT_TRUE(s.OnCourse);
  EXPECT_NEAR(s.Position.X, 2 * std::cos(10 * Pi / 180), 1e-4);
  EXPECT_NEAR(s.Position.Y, 2 * std::sin(10 * Pi / 180), 1e-4);
  Player.Position = MakeVector(-400, -400, 0);
  for (int i = 0; i < 20; ++i) Frame(s);  // on course: the ship's moves do not matter
  EXPECT_EQ(s.Heading, 10);
  EXPECT_NEAR(std::hypot(s.Position.X, s.Position.Y), 42, 1e-3);

  // Fifteen degrees off is too far: it turns by its rate instead.
  TBlobSnake wide;
  Wire(wide, MakeVector(0, 0, 0), 1);
  SpawnFacingEast(wide);
  wide.Target = MakeVector(float(400 * std::cos(15 * Pi / 180)), float(400 * std::sin(15 * Pi / 180)), 0);
  Frame(wide);
  EXPECT_EQ(wide.Heading, 4);
  EXPECT_FALSE(wide.OnCourse);
}

TEST_F(SnakeTest, ReachingTheTargetRemembersWhereTheShipIsNow) {
  TBlobSnake s;
  Wire(s, MakeVector(0, 0, 0), 1);
  SpawnFacingEast(s);
  s.OnCourse = true;
  s.Target = MakeVector(4.9f, -4.9f, 0);
  Player.Position = MakeVector(-250, 120, 0);
  Frame(s);
  EXPECT_FALSE(s.OnCourse);
  EXPECT_EQ(s.Target.X, -250);
  EXPECT_EQ(s.Target.Y, 120);

  TBlobSnake notYet;  // five units off on one axis is not there
  Wire(notYet, MakeVector(0, 0, 0), 1);
  SpawnFacingEast(notYet);
  notYet.OnCourse = true;
  notYet.Target = MakeVector(7, 0, 0);  // seven units ahead: not there yet
  Frame(notYet);
  EXPECT_TRUE(notYet.OnCourse);
  EXPECT_EQ(notYet.Target.X, 7);
}

TEST_F(SnakeTest, AtTheArenaEdgeItTurnsStraightAtTheShip) {
  TBlobSnake s;
  Wire(s, MakeVector(497, 0, 0), 1);
  SpawnFacingEast(s);
  s.OnCourse = true;
  s.Target = MakeVector(900, 0, 0);  // never reached
  Player.Position = MakeVector(0, 300, 0);
  Frame(s);  // 499
  EXPECT_EQ(s.Heading, 0);
  Frame(s);  // 501: held at 500
  EXPECT_EQ(s.Position.X, 500);
  EXPECT_EQ(s.Heading, AngleToPointF(500, 0, 0, 300));
  EXPECT_EQ(s.Heading, 149);
  EXPECT_TRUE(s.OnCourse);
  Frame(s);
  EXPECT_LT(s.Position.X, 500);
  EXPECT_GT(s.Position.Y, 0);
}

TEST_F(SnakeTest, TheTrailTakesASampleEveryThirdFrameNewestFirst) {
  TBlobSnake s;
  const TVector3 spawn = MakeVector(-100, -100, 0);
  Wire(s, spawn, 1);
  SpawnFacingEast(s);
  s.Target = MakeVector(400, -100, 0);  // straight ahead
  Frame(s);
  Frame(s);
  EXPECT_EQ(s.Segments[0].X, spawn.X);
  Frame(s);
  const TVector3 third = s.Position;
  EXPECT_EQ(s.Segments[0].X, third.X);
  EXPECT_EQ(s.Segments[1].X, third.X);  // the newest sample sits in front twice
  EXPECT_EQ(s.Segments[2].X, spawn.X);
  EXPECT_EQ(s.Segments[31].X, spawn.X);
  for (int i = 0; i < 3; ++i) Frame(s);
  EXPECT_EQ(s.Segments[0].X, s.Position.X);
  EXPECT_EQ(s.Segments[1].X, s.Position.X);
  EXPECT_EQ(s.Segments[2].X, third.X);
  EXPECT_EQ(s.Segments[3].X, spawn.X);
}

TEST_F(SnakeTest, OnlyTheHeadCollides) {
  TBlobSnake s;
  Wire(s, MakeVector(-300, 0, 0), 1);
  SpawnFacingEast(s);
  s.Target = MakeVector(400, 0, 0);
  for (int i = 0; i < 90; ++i) Frame(s);  // 180 units on: the tail stretches behind
  ASSERT_GT(s.Position.X - s.Segments[31].X, 150);
  TBlobList list;
  list.Add(&s);
  TBlob bullet;
  bullet.Radius = 4;
  bullet.Position = s.Segments[15];
  EXPECT_EQ(bullet.CollideWithList(list, nullptr, TBlobEvent()), 0);
  bullet.Position = MakeVector(s.Position.X + 28, s.Position.Y, 0);  // inside 25 + 4
  EXPECT_EQ(bullet.CollideWithList(list, nullptr, TBlobEvent()), 1);
  EXPECT_EQ(s.Shield, 24);
  Player.Position = s.Segments[20];
  EXPECT_EQ(s.CollideWith(&Player), 0);
}

TEST_F(SnakeTest, ItDiesForFiftyFramesThenRespawnsAnywhereUntilItsLivesAreUsed) {
  TBlobSnake s;
  Wire(s, MakeVector(0, 0, 0), 30);
  Frame(s);
  bool beyondTheEdge = false;
  for (int life = 1; life <= 30; ++life) {
    Kill(s);
    EXPECT_EQ(RunExplosion(s), 50);
    EXPECT_EQ(s.LivesLeft, 30 - life);
    if (life == 30) break;
    ASSERT_TRUE(s.Active);
    ASSERT_EQ(s.State, BlobState::Spawning);
    Frame(s);  // at once alive, somewhere from -375 to 624
    ASSERT_EQ(s.State, BlobState::Alive);
    EXPECT_GE(s.Position.X, -375);
    EXPECT_LE(s.Position.X, 624);
    EXPECT_GE(s.Position.Y, -375);
    EXPECT_LE(s.Position.Y, 624);
    EXPECT_EQ(s.Segments[31].X, s.Position.X);  // the old tail is gathered in
    EXPECT_EQ(s.Shield, 25);
    if (s.Position.X > 500 || s.Position.Y > 500) {
      beyondTheEdge = true;
      Frame(s);  // the first move brings it back
      EXPECT_LE(s.Position.X, 500);
      EXPECT_LE(s.Position.Y, 500);
    }
  }
  EXPECT_TRUE(beyondTheEdge);
  EXPECT_FALSE(s.Active);
  EXPECT_EQ(Deaths.Count, 30);
  EXPECT_EQ(Player.Score, 30000);
}

TEST_F(SnakeTest, FixedSpawnAndBadLivesCounts) {
  TBlobSnake fixed;
  const TVector3 spawn = MakeVector(250, -250, 0);
  Wire(fixed, spawn, 2, true);
  Frame(fixed);
  for (int i = 0; i < 30; ++i) Frame(fixed);
  fixed.Blast();
  RunExplosion(fixed);
  Frame(fixed);
  EXPECT_EQ(fixed.Position.X, spawn.X);
  EXPECT_EQ(fixed.Position.Y, spawn.Y);

  // No lives or fewer still means one appearance, never an endless one.
  for (int lives : {0, -3}) {
    TBlobSnake s;
    Wire(s, MakeVector(0, 0, 0), lives);
    Frame(s);
    EXPECT_EQ(s.Position.X, 0);
    s.Absorb();
    RunExplosion(s);
    EXPECT_FALSE(s.Active) << lives;
  }
}

TEST_F(SnakeTest, CreateMakesAPooledSnakeNewAgain) {
  TBlobSnake s;
  Wire(s, MakeVector(40, 40, 0), 1);
  Frame(s);
  for (int i = 0; i < 12; ++i) Frame(s);
  s.Hit();
  Kill(s);
  RunExplosion(s);
  ASSERT_FALSE(s.Active);

  s.Create();
  EXPECT_FALSE(s.Active);
  ExpectFresh(s, BlobKind::Snake, 1000);
  EXPECT_EQ(s.Spread, 0);
  EXPECT_EQ(s.SegmentTimer, 0);
  EXPECT_EQ(s.Segments[7].X, 0);
  EXPECT_EQ(s.VertexCount, 5);

  Wire(s, MakeVector(-60, 10, 0), 1);
  Frame(s);
  EXPECT_EQ(s.Position.X, -60);
  EXPECT_EQ(s.Shield, 25);
}

// ---------------------------------------------------------------------------
// Sparks and the body burst.

TEST_F(SnakeTest, AHitThrowsTwoSparksAFlashFrameAndTheDeathBurstsAlongTheBody) {
  TParticleEngine particles(TIntRect{-500, 500, 500, -500});
  TBlobSnake s;
  Wire(s, MakeVector(0, 0, 0), 1);
  s.Particles = &particles;
  Frame(s);
  Frame(s);
  EXPECT_EQ(particles.ActiveCount(), 0);
  s.Hit();
  Frame(s);
  EXPECT_EQ(particles.ActiveCount(), 2);
  Frame(s);
  EXPECT_EQ(particles.ActiveCount(), 4);

  Kill(s);
  particles.Clear();
  Frame(s);
  EXPECT_EQ(particles.ActiveCount(), 256);  // 32 samples, four white and four magenta each
  Frame(s);
  EXPECT_EQ(particles.ActiveCount(), 256);
}

// ---------------------------------------------------------------------------
// What a player sees.

class SnakeDrawingTest : public TDrawingTest<SnakeTest> {
 protected:
  static TVector3 Centre(const TRecordedPrimitive& loop) {
    TVector3 c;
    for (int i = 0; i < 4; ++i) {
      c.X += loop.Vertices[i].X / 4;
      c.Y += loop.Vertices[i].Y / 4;
    }
    return c;
  }
  // The point of the outline, measured from the centre of its square.
  static TVector3 Tip(const TRecordedPrimitive& loop) {
    const TVector3 c = Centre(loop);
    return MakeVector(loop.Vertices[4].X - c.X, loop.Vertices[4].Y - c.Y, 0);
  }
};

TEST_F(SnakeDrawingTest, TheSpawnFrameDrawsNothing) {
  TBlobSnake s;
  Wire(s, MakeVector(0, 0, 0), 1);
  Rec.Reset();
  Frame(s);
  EXPECT_TRUE(Rec.Primitives.empty());
}

TEST_F(SnakeDrawingTest, AHeadAndFourteenMirroredCopiesShrinkingAndFading) {
  TBlobSnake s;
  Wire(s, MakeVector(-300, -100, 0), 1);
  SpawnFacingEast(s);
  s.Target = MakeVector(300, 200, 0);
  for (int i = 0; i < 80; ++i) Frame(s);
  Rec.Reset();
  Frame(s);
  const double h = s.Heading * Pi / 180;

  auto loops = Rec.Find(TPrimitive::LineLoop);
  ASSERT_EQ(loops.size(), 15u);
  const TRecordedPrimitive& head = *loops[0];
  EXPECT_EQ(head.LineWidth, 4);
  EXPECT_NEAR(head.Colour.R, 0.75f, 1e-6);
  EXPECT_EQ(head.Colour.A, 1);
  EXPECT_NEAR(Centre(head).X, s.Segments[0].X, 1e-3);
  EXPECT_NEAR(Centre(head).Y, s.Segments[0].Y, 1e-3);
  // The point faces the way it flies, at three-quarter size when not hit.
  EXPECT_NEAR(Tip(head).X, 0.75 * 25 * std::cos(h), 1e-3);
  EXPECT_NEAR(Tip(head).Y, 0.75 * 25 * std::sin(h), 1e-3);

  for (int k = 0; k < 14; ++k) {
    const TRecordedPrimitive& copy = *loops[1 + k];
    const int seg = 5 + 2 * k;
    const double scale = 0.75 - 0.05 * k;
    EXPECT_EQ(copy.LineWidth, 2) << k;
    EXPECT_NEAR(copy.Colour.B, 1, 1e-6);
    EXPECT_NEAR(copy.Colour.A, scale - 0.05 + 0.125, 1e-4) << k;
    EXPECT_NEAR(Centre(copy).X, s.Segments[seg].X, 1e-3) << k;
    EXPECT_NEAR(Centre(copy).Y, s.Segments[seg].Y, 1e-3) << k;
    // Mirrored: the copy's point looks back along the body.
    EXPECT_NEAR(Tip(copy).X, -scale * 25 * std::cos(h), 1e-3) << k;
    EXPECT_NEAR(Tip(copy).Y, -scale * 25 * std::sin(h), 1e-3) << k;
  }
  EXPECT_EQ(Rec.StackDepth(), 0);
}

TEST_F(SnakeDrawingTest, AHitHeadThrobsEveryFourFramesAndTheTailFlashesWhite) {
  TBlobSnake s;
  Wire(s, MakeVector(0, 0, 0), 1);
  SpawnFacingEast(s);
  Frame(s);
  s.Hit();
  const float expected[11] = {1, 1, 1, 0.75f, 0.75f, 0.75f, 0.75f, 1, 1, 1, 0.75f};
  for (int frame = 0; frame < 11; ++frame) {
    Rec.Reset();
    Frame(s);
    auto loops = Rec.Find(TPrimitive::LineLoop);
    ASSERT_EQ(loops.size(), 15u);
    const TVector3 tip = Tip(*loops[0]);
    EXPECT_NEAR(std::hypot(tip.X, tip.Y), 25 * expected[frame], 1e-3) << frame;
    const bool flashing = frame < 10;
    EXPECT_EQ(loops[0]->Colour.A, flashing ? 0.5f : 1.0f) << frame;
    // Only the frames still flashing after this one's count-down show white.
    const bool white = frame < 9;
    EXPECT_EQ(loops[5]->Colour.G, white ? 1.0f : 0.0f) << frame;
  }
}

TEST_F(SnakeDrawingTest, TheGlowIsTheSphereTileInTheTailColourAndLeavesLightingOff) {
  TMS3DObj glow;
  ASSERT_TRUE(glow.LoadFromMemo("MemoSphereTile16x16"));
  TBlobSnake s;
  Wire(s, MakeVector(0, 0, 0), 1);
  s.GlowModel = &glow;
  Frame(s);
  Rec.Reset();
  Rec.Enable(TCapability::Light0);
  Frame(s);
  ASSERT_EQ(Rec.Materials.size(), 15u);  // behind the head and every copy
  for (const TMaterialColours& m : Rec.Materials) {
    EXPECT_NEAR(m.Ambient[0], 0.5f, 1e-6);
    EXPECT_NEAR(m.Ambient[2], 1.0f, 1e-6);
    EXPECT_NEAR(m.Diffuse[0], 0.5f, 1e-6);
  }
  EXPECT_FALSE(Rec.IsEnabled(TCapability::Lighting));
  EXPECT_TRUE(Rec.IsEnabled(TCapability::Blend));
  EXPECT_EQ(Rec.StackDepth(), 0);
}

TEST_F(SnakeDrawingTest, TheWreckFliesApartFadingAndShowsAThousand) {
  TGLPrinter printer;
  TBlobSnake s;
  Wire(s, MakeVector(100, 50, 0), 1);
  s.Printer = &printer;
  Frame(s);
  Frame(s);
  Kill(s);
  Rec.Reset();
  Frame(s);
  EXPECT_EQ(s.Spread, 0.25f);

  auto lines = Rec.Find(TPrimitive::Lines);
  ASSERT_GE(lines.size(), 15u);
  // Head first, faint, then the fourteen copies; each edge its own segment.
  EXPECT_NEAR(lines[0]->Colour.A, 0.3f * 0.98f, 1e-5);
  EXPECT_EQ(lines[0]->LineWidth, 4);
  EXPECT_EQ(lines[0]->Vertices.size(), 10u);
  EXPECT_NEAR(lines[1]->Colour.A, 0.70f + 0.125f - 0.75f * 0.02f, 1e-5);
  EXPECT_EQ(lines[1]->LineWidth, 2);

  // The points value, in the tail colour.
  const std::vector<TRecordedPrimitive> text = RecordApart([&] {
    printer.PrintNumber(1000, s.Position, TVector3{}, MakeVector(1 - 0.02f / 4, 1 - 0.02f, 1),
                        MakeColor4(0.5f, 0, 1, 0.98f));
  });
  ASSERT_FALSE(text.empty());
  ASSERT_EQ(Rec.Primitives.size(), 15 + text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const TRecordedPrimitive& got = Rec.Primitives[15 + i];
    EXPECT_EQ(got.Vertices.size(), text[i].Vertices.size());
    EXPECT_NEAR(got.Colour.A, 0.98f, 1e-5);
    EXPECT_NEAR(got.Colour.R, 0.5f, 1e-6);
  }

  // Late in the explosion the small copies are gone, never below zero.
  for (int i = 0; i < 47; ++i) Frame(s);
  Rec.Reset();
  Frame(s);
  lines = Rec.Find(TPrimitive::Lines);
  ASSERT_GE(lines.size(), 15u);
  for (int k = 1; k < 15; ++k) EXPECT_GE(lines[k]->Colour.A, 0) << k;
  EXPECT_EQ(lines[14]->Colour.A, 0);
  EXPECT_GT(lines[1]->Colour.A, 0);
  Rec.Reset();
  Frame(s);  // the fiftieth frame ends it: nothing drawn
  EXPECT_TRUE(Rec.Primitives.empty());
  EXPECT_FALSE(s.Active);
}

}  // namespace
