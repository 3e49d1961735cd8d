// Headings, overlap tests, clamping and the pulse: the small helpers every
// entity leans on, at the edges where a slip would show in play.
#include <gtest/gtest.h>

#include <utility>

#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"

TEST(Headings, AngleToPointFCoversEveryQuadrantAndAxis) {
  EXPECT_EQ(AngleToPointF(0, 0, 10, 0), 0);
  EXPECT_EQ(AngleToPointF(0, 0, 0, 10), 90);
  EXPECT_EQ(AngleToPointF(0, 0, -10, 0), 180);
  EXPECT_EQ(AngleToPointF(0, 0, 0, -10), 270);
  EXPECT_EQ(AngleToPointF(0, 0, 10, -10), 315);
  EXPECT_EQ(AngleToPointF(0, 0, -10, -10), 225);
  EXPECT_EQ(AngleToPointF(0, 0, -10, 10), 135);
  EXPECT_EQ(AngleToPointF(5, 5, 5, 5), 0);
  EXPECT_EQ(AngleToPoint(0, 0, 10, 10), 45);
  EXPECT_EQ(AngleToPoint(3, 4, 3, -4), 270);
}

TEST(Headings, RoundsHalvesToEven) {
  EXPECT_EQ(RoundInt(2.5), 2);
  EXPECT_EQ(RoundInt(3.5), 4);
  EXPECT_EQ(RoundInt(-2.5), -2);
}

TEST(Headings, WrapAndNormalise) {
  EXPECT_EQ(WrapAngle(720), 360);  // one correction only
  EXPECT_EQ(WrapAngle(-30), 330);
  EXPECT_EQ(WrapAngle(360), 360);
  for (auto [in, out] : {std::pair{720, 360}, {-30, 330}}) {
    NormalizeAngle(in);
    EXPECT_EQ(in, out);
  }
  for (auto [in, out] : {std::pair{720.0f, 0.0f}, {-1.0f, 359.0f}}) {
    NormalizeAngleF(in);
    EXPECT_EQ(in, out);
  }
}

TEST(Headings, AngleDiffTakesTheListedTurns) {
  EXPECT_EQ(AngleDiff(10, 350), -20);
  EXPECT_EQ(AngleDiff(90, 120), 30);
  EXPECT_EQ(AngleDiff(350, 10), -340);
}

TEST(Overlap, TouchingCirclesDoNotOverlap) {
  EXPECT_FALSE(CirclesOverlap(0, 0, 25, 50, 0, 25));
  EXPECT_TRUE(CirclesOverlap(0, 0, 25, 49.9f, 0, 25));
  EXPECT_FALSE(CirclesOverlap(0, 0, 3, 3, 4, 2));  // distance 5 = 3 + 2
}

TEST(Overlap, SquareTestIsStrictOnEverySide) {
  EXPECT_FALSE(SquaresOverlap(0, 0, 4, 29, 0, 25));  // edges meet at x = 4
  EXPECT_TRUE(SquaresOverlap(0, 0, 4, 28.9f, 0, 25));
  EXPECT_FALSE(SquaresOverlap(0, 0, 4, 0, -29, 25));
  EXPECT_TRUE(SquaresOverlap(0, 0, 4, 20, 20, 25));  // a corner inside: a circle test would miss
}

TEST(Arena, ClampReportsWhetherItMoved) {
  TVector3 p{600, -700, 5};
  EXPECT_TRUE(ClampToArena(p));
  EXPECT_EQ(p.X, 500);
  EXPECT_EQ(p.Y, -500);
  EXPECT_EQ(p.Z, 5);
  TVector3 q{0, 0, 0};
  EXPECT_FALSE(ClampToArena(q));
  TVector3 edge{500, -500, 0};
  EXPECT_FALSE(ClampToArena(edge));
}

TEST(Pulse, PingPongReflectsAtBothBounds) {
  float v = 1.0f, step = 0.1f;
  PingPong(v, step, 0.5f, 1.0f, 1);
  EXPECT_FLOAT_EQ(v, 1.0f);
  EXPECT_FLOAT_EQ(step, -0.1f);
  int calls = 0;
  while (step < 0 && calls < 20) {
    PingPong(v, step, 0.5f, 1.0f, 1);
    ++calls;
    ASSERT_GE(v, 0.5f);  // never below Lo: held there when it would pass it
  }
  EXPECT_GE(calls, 5);
  EXPECT_LE(calls, 6);
  EXPECT_FLOAT_EQ(v, 0.5f);
  EXPECT_GT(step, 0);
  float w = 0.75f, s = 0.01f;
  PingPong(w, s, 0.75f, 1.0f, 4);  // the hit pulse runs four times as fast
  EXPECT_NEAR(w, 0.79f, 1e-6);
}

TEST(DirectionTable, HasAWholeTurnWithTheEndsEqual) {
  EXPECT_FLOAT_EQ(DirTable[0].X, 1);
  EXPECT_FLOAT_EQ(DirTable[360].X, 1);
  EXPECT_NEAR(DirTable[360].Y, 0, 1e-6);
  EXPECT_NEAR(DirTable[90].X, 0, 1e-6);
  EXPECT_FLOAT_EQ(DirTable[90].Y, 1);
  EXPECT_NEAR(DirTable[225].X, -0.7071068f, 1e-6);
  float x, y;
  PolarToXY(x, y, 90, 4);
  EXPECT_NEAR(x, 0, 1e-6);
  EXPECT_FLOAT_EQ(y, 4);
}

TEST(SharedRandom, StaysInRangeAndRepeatsFromASeed) {
  RandomSeed(42);
  int first[8];
  for (int& v : first) v = Random(1000);
  RandomSeed(42);
  for (int v : first) EXPECT_EQ(Random(1000), v);
  for (int i = 0; i < 10000; ++i) {
    int n = Random(7);
    ASSERT_GE(n, 0);
    ASSERT_LT(n, 7);
    float f = Random();
    ASSERT_GE(f, 0.0f);
    ASSERT_LT(f, 1.0f);
  }
  EXPECT_EQ(Random(0), 0);
  EXPECT_EQ(Random(-5), 0);
}
