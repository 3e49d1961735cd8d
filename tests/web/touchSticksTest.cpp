// The page's touch sticks, natively: where they rest for each page shape,
// which thumb is which stick, the deflection read through the pad rules
// (rest band, full push at the radius), the bomb button, and the tap that
// starts play from the title.
#include <gtest/gtest.h>

#include <cmath>

#include "app/JoystickCalibration.h"
#include "platform/web/TouchSticks.h"

namespace {
using TPhase = TTouchSticks::TPhase;

TTouchSticks Phone() {
  TTouchSticks sticks;
  sticks.Resize(412, 915, 412, 309);  // upright: bars above and below the picture
  return sticks;
}
}  // namespace

TEST(TouchSticks, RestInTheBarsOrOverThePictureCorners) {
  const struct {
    const char* Shape;
    double Width, Height, PictureWidth, PictureHeight;
    double LeftX, LeftY, RightX;
  } shapes[] = {
      {"portrait phone", 412, 915, 412, 309, 103, 915 - 151.5, 309},
      {"landscape phone", 915, 412, 549, 412, 91.5, 412 * 0.7, 915 - 91.5},
      {"4:3 tablet", 1024, 768, 1024, 768, 1.6 * 84.48, 768 - 1.6 * 84.48, 1024 - 1.6 * 84.48},
  };
  for (const auto& s : shapes) {
    TTouchSticks sticks;
    sticks.Resize(s.Width, s.Height, s.PictureWidth, s.PictureHeight);
    const TTouchSticks::TStickView left = sticks.Stick(0), right = sticks.Stick(1);
    EXPECT_FALSE(left.Active) << s.Shape;
    EXPECT_NEAR(left.BaseX, s.LeftX, 0.01) << s.Shape;
    EXPECT_NEAR(left.BaseY, s.LeftY, 0.01) << s.Shape;
    EXPECT_NEAR(right.BaseX, s.RightX, 0.01) << s.Shape;
    EXPECT_EQ(left.BaseY, right.BaseY) << s.Shape;
    // The bomb button lies clear of both sticks.
    for (const auto& stick : {left, right}) {
      const double dx = sticks.BombX() - stick.BaseX, dy = sticks.BombY() - stick.BaseY;
      EXPECT_GT(dx * dx + dy * dy, std::pow(sticks.Radius() + sticks.BombRadius(), 2)) << s.Shape;
    }
  }
}

TEST(TouchSticks, EachHalfIsAStickReadAsAPad) {
  TTouchSticks sticks = Phone();
  const double r = sticks.Radius();
  EXPECT_EQ(r, 412 * 0.11);
  TJoyReading idle = sticks.Reading(false);
  EXPECT_TRUE(idle.Ok);
  EXPECT_EQ(idle.Info.XPos, AxisCentre);
  EXPECT_EQ(idle.Info.RightX, AxisCentre);
  EXPECT_EQ(idle.Info.Buttons, 0u);

  // The left thumb lands and pushes right by half the radius; the right one
  // lands and pushes up twice the radius (read as a full push up).
  sticks.Touch(7, TPhase::Start, 100, 800);
  sticks.Touch(7, TPhase::Move, 100 + r / 2, 800);
  sticks.Touch(9, TPhase::Start, 300, 800);
  sticks.Touch(9, TPhase::Move, 300, 800 - 2 * r);
  const TJoyReading both = sticks.Reading(false);
  TPadRaw raw;
  raw.LeftX = AxisFromUnit(0.5);
  raw.RightY = AxisFromUnit(-1);
  const TJoyInfo want = ReadStandardPad(raw);
  EXPECT_NEAR(double(both.Info.XPos), double(want.XPos), 1);
  EXPECT_EQ(both.Info.YPos, AxisCentre);
  EXPECT_EQ(both.Info.RightX, AxisCentre);
  EXPECT_EQ(both.Info.RightY, 0u);
  EXPECT_EQ(both.Info.Buttons, 0u) << "in play a thumb down presses no button";
  EXPECT_TRUE(sticks.Stick(1).Active);
  EXPECT_NEAR(sticks.Stick(1).KnobY, 800 - r, 1e-9) << "the knob stays on the ring";

  // A third finger on a half already held changes nothing; a nudge inside
  // the rest band reads rest.
  sticks.Touch(11, TPhase::Start, 50, 700);
  sticks.Touch(7, TPhase::Move, 100 + r * 0.05, 800);
  EXPECT_EQ(sticks.Reading(false).Info.XPos, AxisCentre);
  sticks.Touch(11, TPhase::End, 50, 700);
  EXPECT_TRUE(sticks.Stick(0).Active) << "the third finger's lifting let go of the stick";

  sticks.Touch(7, TPhase::End, 0, 0);
  sticks.Touch(9, TPhase::End, 0, 0);
  EXPECT_EQ(sticks.Reading(false).Info.RightY, AxisCentre);
  EXPECT_FALSE(sticks.Stick(0).Active);
}

TEST(TouchSticks, ATapStartsFromTheTitleAndTheBombIsAButtonOfItsOwn) {
  TTouchSticks sticks = Phone();
  sticks.Touch(1, TPhase::Start, 206, 450);
  sticks.Touch(1, TPhase::End, 206, 450);
  EXPECT_EQ(sticks.Reading(true).Info.Buttons, 4u) << "a tap gone before any step still starts";
  EXPECT_EQ(sticks.Reading(false).Info.Buttons, 0u);
  sticks.Seen();
  EXPECT_EQ(sticks.Reading(true).Info.Buttons, 0u);

  sticks.Touch(2, TPhase::Start, sticks.BombX() + sticks.BombRadius() * 0.9, sticks.BombY());
  EXPECT_TRUE(sticks.BombHeld());
  EXPECT_FALSE(sticks.Stick(1).Active) << "the bomb finger also took a stick";
  sticks.Touch(3, TPhase::Start, sticks.BombX(), sticks.BombY());  // a second finger on it is a stick
  sticks.Touch(2, TPhase::End, 0, 0);
  EXPECT_FALSE(sticks.BombHeld());
  sticks.LiftAll();
  EXPECT_FALSE(sticks.Stick(0).Active || sticks.Stick(1).Active);
}
