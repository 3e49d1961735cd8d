#include "platform/web/TouchSticks.h"

#include <algorithm>
#include <cmath>

#include "app/JoystickCalibration.h"

void TTouchSticks::Resize(double width, double height, double pictureWidth, double pictureHeight) {
  Width = width;
  StickRadius = std::clamp(std::min(width, height) * 0.11, 36.0, 90.0);
  const double r = StickRadius, sideBar = (width - pictureWidth) / 2, bottomBar = (height - pictureHeight) / 2;
  TStick &left = Sticks[0], &right = Sticks[1];
  if (sideBar >= 2.2 * r) {
    // Landscape: a stick in each side bar, low where the thumbs rest.
    left.RestX = sideBar / 2, right.RestX = width - sideBar / 2;
    left.RestY = right.RestY = height * 0.7;
    BombCentreX = right.RestX, BombCentreY = right.RestY - 2.4 * r;
  } else if (bottomBar >= 2.2 * r) {
    // Portrait: both under the picture, the bomb between them.
    left.RestX = width * 0.25, right.RestX = width * 0.75;
    left.RestY = right.RestY = height - bottomBar / 2;
    BombCentreX = width / 2, BombCentreY = left.RestY;
  } else {
    // No room beside the picture: over its lower corners.
    left.RestX = 1.6 * r, right.RestX = width - 1.6 * r;
    left.RestY = right.RestY = height - 1.6 * r;
    BombCentreX = right.RestX, BombCentreY = right.RestY - 2.4 * r;
  }
}

void TTouchSticks::Touch(int id, TPhase phase, double x, double y) {
  if (phase == TPhase::Start) {
    Tapped = true;
    const double bx = x - BombCentreX, by = y - BombCentreY;
    if (BombId < 0 && bx * bx + by * by <= BombRadius() * BombRadius()) {
      BombId = id;
      return;
    }
    TStick& stick = Sticks[x < Width / 2 ? 0 : 1];
    if (stick.Id >= 0) return;  // that thumb is already down: a third finger does nothing
    stick.Id = id;
    stick.BaseX = stick.X = x;
    stick.BaseY = stick.Y = y;
    return;
  }
  if (id == BombId) {
    if (phase == TPhase::End) BombId = -1;
    return;
  }
  for (TStick& stick : Sticks) {
    if (stick.Id != id) continue;
    stick.X = x, stick.Y = y;
    if (phase == TPhase::End) stick.Id = -1;
  }
}

void TTouchSticks::LiftAll() {
  for (TStick& stick : Sticks) stick.Id = -1;
  BombId = -1;
}

void TTouchSticks::Deflection(const TStick& stick, double& dx, double& dy) const {
  dx = dy = 0;
  if (stick.Id < 0) return;
  dx = (stick.X - stick.BaseX) / StickRadius;
  dy = (stick.Y - stick.BaseY) / StickRadius;
  const double length = std::hypot(dx, dy);
  if (length > 1) dx /= length, dy /= length;
}

TJoyReading TTouchSticks::Reading(bool onTitle) const {
  TPadRaw raw;
  double dx = 0, dy = 0;
  Deflection(Sticks[0], dx, dy);
  raw.LeftX = AxisFromUnit(dx);
  raw.LeftY = AxisFromUnit(dy);
  Deflection(Sticks[1], dx, dy);
  raw.RightX = AxisFromUnit(dx);
  raw.RightY = AxisFromUnit(dy);
  raw.South = onTitle && (Tapped || Sticks[0].Id >= 0 || Sticks[1].Id >= 0);
  TJoyReading reading;
  reading.Ok = true;
  reading.Info = ReadStandardPad(raw);
  return reading;
}

TTouchSticks::TStickView TTouchSticks::Stick(int index) const {
  const TStick& stick = Sticks[index & 1];
  TStickView view;
  view.Active = stick.Id >= 0;
  if (!view.Active) {
    view.BaseX = view.KnobX = stick.RestX;
    view.BaseY = view.KnobY = stick.RestY;
    return view;
  }
  double dx = 0, dy = 0;
  Deflection(stick, dx, dy);
  view.BaseX = stick.BaseX, view.BaseY = stick.BaseY;
  view.KnobX = stick.BaseX + dx * StickRadius, view.KnobY = stick.BaseY + dy * StickRadius;
  return view;
}
