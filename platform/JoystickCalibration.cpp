#include "platform/JoystickCalibration.h"

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
