#include "app/JoystickCalibration.h"

#include <algorithm>
#include <cmath>

namespace {
// SDL's axis to -1..1: its negative half is one step longer than its positive.
double Unit(int raw) {
  raw = std::clamp(raw, -32768, 32767);
  return raw < 0 ? raw / 32768.0 : raw / 32767.0;
}

// -1..1 to 0..65535 around 32767: the positive half is one step longer here.
unsigned GameAxis(double unit) {
  unit = std::clamp(unit, -1.0, 1.0);
  const double scaled = AxisCentre + unit * (unit < 0 ? 32767.0 : 32768.0);
  return unsigned(std::clamp(std::lround(scaled), 0L, 65535L));
}
}  // namespace

TStickReading CalibrateStick(int rawX, int rawY) {
  const double x = Unit(rawX), y = Unit(rawY);
  const double distance = std::hypot(x, y);
  if (distance <= StickDeadBand) return TStickReading{};
  // A square gate reaches past 1 in the corners; each axis is clamped there.
  const double scale = (distance - StickDeadBand) / (1 - StickDeadBand) / distance;
  return TStickReading{GameAxis(x * scale), GameAxis(y * scale)};
}

unsigned ScaleAxis(int raw) { return GameAxis(Unit(raw)); }

unsigned CalibrateTrigger(int raw) {
  const double pulled = std::clamp(raw, 0, 32767) / 32767.0;
  if (pulled <= StickDeadBand) return 0;
  return unsigned(std::lround((pulled - StickDeadBand) / (1 - StickDeadBand) * 65535));
}

TJoyInfo ReadStandardPad(const TPadRaw& pad) {
  const TStickReading left = CalibrateStick(pad.LeftX, pad.LeftY);
  const TStickReading right = CalibrateStick(pad.RightX, pad.RightY);
  TJoyInfo info;
  info.XPos = left.X;
  info.YPos = left.Y;
  info.ZPos = AxisCentre;
  info.Buttons = (pad.West ? 1u : 0u) | (pad.North ? 2u : 0u) | (pad.South ? 4u : 0u) | (pad.East ? 8u : 0u);
  info.RightX = right.X;
  info.RightY = right.Y;
  info.RightTrigger = CalibrateTrigger(pad.RightTrigger);
  return info;
}

TJoyInfo ReadPlainJoystick(const int* axes, std::size_t axisCount, const bool* buttons, std::size_t buttonCount) {
  // Which raw axes form a second stick differs from device to device (on a
  // flight stick the third is a throttle), so a plain joystick has none.
  const TStickReading stick = CalibrateStick(axisCount > 0 ? axes[0] : 0, axisCount > 1 ? axes[1] : 0);
  TJoyInfo info;
  info.XPos = stick.X;
  info.YPos = stick.Y;
  info.ZPos = axisCount > 2 ? ScaleAxis(axes[2]) : AxisCentre;
  info.Buttons = 0;
  for (std::size_t b = 0; b < 4 && b < buttonCount; ++b)
    if (buttons[b]) info.Buttons |= 1u << b;
  info.RightX = AxisCentre;
  info.RightY = AxisCentre;
  info.RightTrigger = 0;
  return info;
}

int AxisFromUnit(double unit) {
  if (!(unit == unit)) return 0;  // not a number
  unit = std::clamp(unit, -1.0, 1.0);
  return int(std::lround(unit < 0 ? unit * 32768 : unit * 32767));
}

int TriggerFromUnit(double unit) {
  if (!(unit == unit)) return 0;
  return int(std::lround(std::clamp(unit, 0.0, 1.0) * 32767));
}

int TPadChoice::Choose(const bool* connected, std::size_t count) {
  if (InUse >= 0 && std::size_t(InUse) < count && connected[InUse]) return InUse;
  InUse = -1;
  for (std::size_t i = 0; i < count; ++i)
    if (connected[i]) return InUse = int(i);
  return -1;
}
