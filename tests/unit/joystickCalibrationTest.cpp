// The pad rules the desktop's SDL pads and the page's browser pads share: the
// rest band and rescale of a stick, the trigger, a plain axis, the standard
// pad's layout, a plain joystick's, the browser's units, and which pad is read
// when several come and go.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/JoystickCalibration.h"

namespace {
constexpr unsigned C = AxisCentre;
}  // namespace

TEST(JoystickCalibration, RestBandReadsCentreAndFullDeflectionReachesTheEnds) {
  const int band = int(StickDeadBand * 32767);
  struct Case {
    int rawX, rawY;
    unsigned x, y;
  } cases[] = {
      {0, 0, C, C},
      {1500, -1200, C, C},              // a worn pad's rest, about 6% off
      {band, 0, C, C},                  // the edge of the band still rests
      {-band / 2, band * 4 / 5, C, C},  // radial: inside the band in both axes at once
      {32767, 32767, 65535, 65535},     // a square gate's corner: each axis clamped at its end
      {-32768, -32768, 0, 0},
      {int(0.54 * 32767), 0, C + 16384, C},  // past the band the rest of the travel is rescaled
      {0, -int(0.54 * 32768), C, C - 16384},
  };
  for (const Case& c : cases) {
    const TStickReading r = CalibrateStick(c.rawX, c.rawY);
    EXPECT_NEAR(r.X, c.x, 1) << c.rawX << "," << c.rawY;
    EXPECT_NEAR(r.Y, c.y, 1) << c.rawX << "," << c.rawY;
  }
  // Just past the band the reading leaves centre gently, with no jump.
  const TStickReading justOut = CalibrateStick(band + 100, 0);
  EXPECT_GT(justOut.X, C);
  EXPECT_LT(justOut.X, C + 200);
  EXPECT_EQ(justOut.Y, C);
  // Along a diagonal the band is the same distance, not the same per axis.
  EXPECT_NE(CalibrateStick(band * 3 / 4, band * 3 / 4).X, C);
}

TEST(JoystickCalibration, TriggerAndPlainAxis) {
  const std::pair<int, unsigned> triggers[] = {{0, 0},         {-5, 0},        {2000, 0},
                                               {32767, 65535}, {40000, 65535}, {int(0.54 * 32767), 32767}};
  for (auto [raw, expected] : triggers) EXPECT_NEAR(CalibrateTrigger(raw), expected, 1) << raw;
  EXPECT_GT(CalibrateTrigger(int(StickDeadBand * 32767) + 100), 0u);

  const std::pair<int, unsigned> axes[] = {{-32768, 0}, {0, C}, {32767, 65535}, {-16384, C - 16383}};
  for (auto [raw, expected] : axes) EXPECT_NEAR(ScaleAxis(raw), expected, 1) << raw;
  EXPECT_EQ(ScaleAxis(100), C + 100);  // no band on a plain axis
}

TEST(JoystickCalibration, AStandardPadFliesAimsAndFiresByItsLayout) {
  TPadRaw pad;
  pad.LeftX = 1500;  // a worn left stick's rest
  pad.LeftY = -1200;
  pad.RightX = -32768;
  pad.RightY = 32767;
  pad.RightTrigger = 2000;  // barely touched
  TJoyInfo info = ReadStandardPad(pad);
  EXPECT_EQ(info.XPos, C);
  EXPECT_EQ(info.YPos, C);
  EXPECT_EQ(info.ZPos, C);
  EXPECT_EQ(info.RightX, 0u);
  EXPECT_EQ(info.RightY, 65535u);
  EXPECT_EQ(info.RightTrigger, 0u);
  EXPECT_EQ(info.Buttons, 0u);

  pad.LeftX = 32767;
  pad.RightX = pad.RightY = 900;  // the right stick has the rest band too
  pad.RightTrigger = 32767;
  info = ReadStandardPad(pad);
  EXPECT_EQ(info.XPos, 65535u);
  EXPECT_EQ(info.RightX, C);
  EXPECT_EQ(info.RightY, C);
  EXPECT_EQ(info.RightTrigger, 65535u);

  // West, north, south, east are the game's buttons 1 to 4 (left, up, down, right).
  struct Face {
    bool TPadRaw::*Button;
    unsigned Bit;
  } faces[] = {{&TPadRaw::West, 1}, {&TPadRaw::North, 2}, {&TPadRaw::South, 4}, {&TPadRaw::East, 8}};
  for (const Face& f : faces) {
    TPadRaw one;
    one.*f.Button = true;
    EXPECT_EQ(ReadStandardPad(one).Buttons, f.Bit);
  }
}

TEST(JoystickCalibration, APlainJoystickHasNoRightStickAndMissingPartsRest) {
  const int axes[] = {0, 32767, -32768, 32767};
  const bool buttons[] = {false, true, false, true, true};
  TJoyInfo info = ReadPlainJoystick(axes, 4, buttons, 5);
  EXPECT_EQ(info.XPos, C);
  EXPECT_EQ(info.YPos, 65535u);
  EXPECT_EQ(info.ZPos, 0u);          // a third axis is the z axis, with no band
  EXPECT_EQ(info.Buttons, 2u | 8u);  // only the first four buttons count
  EXPECT_EQ(info.RightX, C);
  EXPECT_EQ(info.RightY, C);
  EXPECT_EQ(info.RightTrigger, 0u);

  info = ReadPlainJoystick(axes, 1, buttons, 2);  // one axis, two buttons
  EXPECT_EQ(info.YPos, C);
  EXPECT_EQ(info.ZPos, C);
  EXPECT_EQ(info.Buttons, 2u);
  info = ReadPlainJoystick(nullptr, 0, nullptr, 0);
  EXPECT_EQ(info.XPos, C);
  EXPECT_EQ(info.Buttons, 0u);
}

TEST(JoystickCalibration, BrowserReadingsInSdlUnits) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::pair<double, int> axes[] = {{0, 0},       {1, 32767},   {-1, -32768}, {0.5, 16384}, {-0.5, -16384},
                                         {1.7, 32767}, {-3, -32768}, {nan, 0},     {0.001, 33}};
  for (auto [unit, raw] : axes) EXPECT_EQ(AxisFromUnit(unit), raw) << unit;
  const std::pair<double, int> triggers[] = {{0, 0}, {1, 32767}, {0.5, 16384}, {-0.2, 0}, {2, 32767}, {nan, 0}};
  for (auto [unit, raw] : triggers) EXPECT_EQ(TriggerFromUnit(unit), raw) << unit;
  // The whole way through: a browser stick pushed fully left reads the game's end.
  EXPECT_EQ(CalibrateStick(AxisFromUnit(-1), AxisFromUnit(0)).X, 0u);
  EXPECT_EQ(CalibrateStick(AxisFromUnit(0.05), AxisFromUnit(-0.05)).X, C);  // within the band
  EXPECT_EQ(CalibrateTrigger(TriggerFromUnit(1)), 65535u);
}

TEST(JoystickCalibration, TheFirstPadIsReadUntilItGoes) {
  TPadChoice choice;
  struct Step {
    bool Connected[4];
    int Read;
  } steps[] = {
      {{false, false, false, false}, -1},  // none yet
      {{false, false, true, false}, 2},    // one plugged in
      {{true, false, true, false}, 2},     // another in a lower slot does not take over
      {{true, false, false, true}, 0},     // the one in use pulled: the first connected
      {{true, true, false, true}, 0},     {{false, false, false, false}, -1},  // all pulled
      {{false, true, true, false}, 1},                                         // two at once: the first of them
  };
  for (const Step& s : steps) EXPECT_EQ(choice.Choose(s.Connected, 4), s.Read);
  // A shorter list than the slot in use (the browser forgot it): the first connected.
  const bool one[] = {true};
  EXPECT_EQ(choice.Choose(one, 1), 0);
  EXPECT_EQ(choice.Choose(nullptr, 0), -1);
}
