// The last boss's tentacles: where they start, how they wave, the curve split
// the boss draws and tests, a reach to the target and back, and how the next
// tentacle to reach is chosen when some are severed.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "enemies/multiBezier.h"
#include "gfx/Random.h"

namespace {
using TPoint2 = TMultiBezier::TPoint2;
constexpr double Pi = 3.14159265358979323846;

double AngleOf(const TPoint2& p) { return std::atan2(p.Y, p.X) * 180 / Pi; }
double Length(const TPoint2& p) { return std::hypot(p.X, p.Y); }

// The cubic through four control points at t, by its Bernstein form.
TPoint2 Bezier(const TPoint2& p0, const TPoint2& p1, const TPoint2& p2, const TPoint2& p3, double t) {
  const double u = 1 - t;
  const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
  return {float(a * p0.X + b * p1.X + c * p2.X + d * p3.X), float(a * p0.Y + b * p1.Y + c * p2.Y + d * p3.Y)};
}

void ExpectSamePoint(const TPoint2& a, const TPoint2& b, float tol, const char* what) {
  EXPECT_NEAR(a.X, b.X, tol) << what;
  EXPECT_NEAR(a.Y, b.Y, tol) << what;
}

void SeverAll(TMultiBezier& b) {
  for (auto& t : b.Tentacles) t.Hits = TMultiBezier::MaxHits;
}

}  // namespace

TEST(MultiBezier, ResetLaysEveryTentacleOnTheXAxisUnhurtAndIdle) {
  RandomSeed(3);
  TMultiBezier b;
  for (int i = 0; i < 30; ++i) b.Update();
  b.Tentacles[4].Hits = 16;
  b.Reaching = true;
  b.ReachStep = 200;

  b.Reset();
  EXPECT_FALSE(b.Reaching);
  EXPECT_EQ(b.ReachStep, 0);
  EXPECT_GE(b.Selected, 0);
  EXPECT_LE(b.Selected, 10);
  for (int i = 0; i < TMultiBezier::TentacleCount; ++i) {
    const auto& t = b.Tentacles[i];
    EXPECT_EQ(t.Hits, 0);
    EXPECT_EQ(t.Wobble, 0);
    EXPECT_FLOAT_EQ(t.BaseAngle, 30.0f * i);
    for (int k = 0; k < TMultiBezier::ControlCount; ++k) {
      EXPECT_EQ(t.ControlPoints[k].X, float(k));
      EXPECT_EQ(t.ControlPoints[k].Y, 0);
    }
  }
  EXPECT_EQ(b.LiveCount(), 12);
}

TEST(MultiBezier, TheFirstUpdateFansTheTentaclesOutThirtyDegreesApart) {
  RandomSeed(3);
  TMultiBezier b;
  b.Update();
  for (int i = 0; i < TMultiBezier::TentacleCount; ++i) {
    const auto& t = b.Tentacles[i];
    // Root and tip lie at sqrt(2) x 100 and sqrt(2) x 280 from the centre.
    EXPECT_NEAR(Length(t.Sub[0]), 100 * std::sqrt(2.0), 0.01) << i;
    EXPECT_NEAR(Length(t.Sub[6]), 280 * std::sqrt(2.0), 0.01) << i;
    EXPECT_FLOAT_EQ(t.BaseAngle, 30.0f * i + 0.1f);
    // Every tentacle waves in step, so neighbours keep 30 degrees apart.
    const auto& next = b.Tentacles[(i + 1) % 12];
    double d = AngleOf(t.Sub[6]) - AngleOf(next.Sub[6]);
    d = std::remainder(d, 360.0);
    EXPECT_NEAR(std::fabs(d), 30, 0.05) << i;
  }
  // The root joint is bent by 10 x cos(0.5) degrees off the 45 degree diagonal.
  EXPECT_NEAR(AngleOf(b.Tentacles[0].Sub[0]), 35, 0.02);
  EXPECT_NEAR(AngleOf(b.Tentacles[3].Sub[0]), 35 - 90, 0.02);
}

TEST(MultiBezier, SubIsTheCurveSplitInTwoHalvesThatTraceIt) {
  RandomSeed(9);
  TMultiBezier b;
  for (int n = 0; n < 37; ++n) b.Update();
  for (const auto& t : b.Tentacles) {
    const auto& p = t.ControlPoints;
    const auto& s = t.Sub;
    ExpectSamePoint(s[0], p[0], 1e-4f, "root");
    ExpectSamePoint(s[6], p[3], 1e-4f, "tip");
    ExpectSamePoint(s[3], Bezier(p[0], p[1], p[2], p[3], 0.5), 1e-3f, "middle");
    // Each half, evaluated at its own middle, lands on the quarter points.
    ExpectSamePoint(Bezier(s[0], s[1], s[2], s[3], 0.5), Bezier(p[0], p[1], p[2], p[3], 0.25), 1e-3f, "first half");
    ExpectSamePoint(Bezier(s[3], s[4], s[5], s[6], 0.5), Bezier(p[0], p[1], p[2], p[3], 0.75), 1e-3f, "second half");
  }
}

TEST(MultiBezier, TheWaveRunsTwoDegreesAnUpdateAndWrapsWithinAFullTurn) {
  TMultiBezier b;
  b.Update();
  EXPECT_FLOAT_EQ(b.Tentacles[0].Wobble, 2.0f);
  for (int n = 1; n < 400; ++n) {
    b.Update();
    for (const auto& t : b.Tentacles) {
      ASSERT_GE(t.Wobble, 0);
      ASSERT_LT(t.Wobble, 360);
    }
  }
  // 180 updates are a whole turn of the wave; 400 leave 40 updates' worth.
  EXPECT_NEAR(b.Tentacles[0].Wobble, 80, 0.01);
  EXPECT_NEAR(b.Tentacles[5].BaseAngle, 150 + 40, 0.01);
}

TEST(MultiBezier, AReachTakes43UpdatesToTheTargetAndAsManyBack) {
  RandomSeed(21);
  TMultiBezier b, wave;  // wave never reaches: it shows where the tips would be
  const int target[2] = {-250, 180};
  b.Selected = 7;
  b.TargetX = target[0];
  b.TargetY = target[1];
  b.Reaching = true;

  for (int n = 1; n <= 43; ++n) {
    b.Update();
    wave.Update();
    ASSERT_EQ(b.Reaching, n < 43) << n;
    for (int i = 0; i < 12; ++i) {
      if (i == 7) continue;
      ExpectSamePoint(b.Tentacles[i].Sub[6], wave.Tentacles[i].Sub[6], 0, "untouched");
    }
    // Tentacle 7's tip is drawn from where ReachStep stood at its turn in the
    // loop: eight steps into this update.
    const int step = 12 * (n - 1) + 8;
    const TPoint2& w = wave.Tentacles[7].Sub[6];
    const double x = target[0] - (target[0] - w.X) / 512.0 * (512 - step);
    const double y = target[1] - (target[1] - w.Y) / 512.0 * (512 - step);
    EXPECT_NEAR(b.Tentacles[7].Sub[6].X, x, 0.51) << n;
    EXPECT_NEAR(b.Tentacles[7].Sub[6].Y, y, 0.51) << n;
  }
  EXPECT_EQ(b.Tentacles[7].Sub[6].X, target[0]);
  EXPECT_EQ(b.Tentacles[7].Sub[6].Y, target[1]);
  // The rest of that update already starts the way back.
  EXPECT_EQ(b.ReachStep, 508);

  int back = 0;
  double lastGap = 1e9;
  while (b.ReachStep > 0 && back < 100) {
    b.Update();
    wave.Update();
    ++back;
    const double gap = std::hypot(b.Tentacles[7].Sub[6].X - wave.Tentacles[7].Sub[6].X,
                                  b.Tentacles[7].Sub[6].Y - wave.Tentacles[7].Sub[6].Y);
    EXPECT_LE(gap, lastGap + 1) << back;  // drawing steadily back to the wave
    lastGap = gap;
  }
  EXPECT_EQ(back, 43);
  EXPECT_FALSE(b.Reaching);
  for (int i = 0; i < 12; ++i) ExpectSamePoint(b.Tentacles[i].Sub[6], wave.Tentacles[i].Sub[6], 0, "at rest");
}

TEST(MultiBezier, MoveTipDragsTheMiddlePointsHalfTheWay) {
  TMultiBezier b;
  b.Update();
  b.Selected = 2;
  const auto before = b.Tentacles[2].ControlPoints;
  const auto other = b.Tentacles[3].ControlPoints;
  b.MoveTip(40, -60);
  const auto& p = b.Tentacles[2].ControlPoints;
  const float dx = 40 - before[3].X, dy = -60 - before[3].Y;
  EXPECT_EQ(p[3].X, 40);
  EXPECT_EQ(p[3].Y, -60);
  EXPECT_FLOAT_EQ(p[2].X, before[2].X + dx / 2);
  EXPECT_FLOAT_EQ(p[2].Y, before[2].Y + dy / 2);
  EXPECT_FLOAT_EQ(p[1].X, before[1].X + dx / 2);
  EXPECT_FLOAT_EQ(p[1].Y, before[1].Y + dy / 2);
  EXPECT_EQ(p[0].X, before[0].X);
  EXPECT_EQ(p[0].Y, before[0].Y);
  for (int k = 0; k < 4; ++k) ExpectSamePoint(b.Tentacles[3].ControlPoints[k], other[k], 0, "other tentacle");
}

TEST(MultiBezier, TheChooserPassesOverSeveredTentacles) {
  RandomSeed(5);
  TMultiBezier b;
  // Only the last stands: a plain draw of 0..10 could never pick it.
  SeverAll(b);
  b.Tentacles[11].Hits = 15;
  for (int n = 0; n < 20; ++n) {
    b.Update();
    ASSERT_EQ(b.Selected, 11);
  }

  b.Tentacles[3].Hits = 0;
  std::set<int> seen;
  for (int n = 0; n < 200; ++n) {
    b.Update();
    seen.insert(b.Selected);
  }
  EXPECT_EQ(seen, (std::set<int>{3, 11}));
}

TEST(MultiBezier, WithEveryTentacleSeveredTheChoiceFallsBackToAPlainDraw) {
  RandomSeed(6);
  TMultiBezier b;
  SeverAll(b);
  EXPECT_EQ(b.LiveCount(), 0);
  std::set<int> seen;
  for (int n = 0; n < 300; ++n) {
    b.Update();
    seen.insert(b.Selected);
  }
  EXPECT_EQ(*seen.begin(), 0);
  EXPECT_EQ(*seen.rbegin(), 10);
}

TEST(MultiBezier, ASelectedIndexOutOfRangeMovesNoTip) {
  for (int bad : {-1, 12, 1000}) {
    RandomSeed(8);
    TMultiBezier b, wave;
    b.Selected = bad;
    b.TargetX = 400;
    b.TargetY = 400;
    b.Reaching = true;
    for (int n = 0; n < 10; ++n) {
      b.Update();
      wave.Update();
    }
    b.MoveTip(0, 0);
    for (int i = 0; i < 12; ++i)
      for (int k = 0; k < 4; ++k)
        ExpectSamePoint(b.Tentacles[i].ControlPoints[k], wave.Tentacles[i].ControlPoints[k], 0, "nothing moved");
    EXPECT_EQ(b.ReachStep, 120);  // the clock itself still runs
  }
}
