#include "gfx/PdxLib3D.h"

#include <array>
#include <cmath>

namespace {
constexpr double Pi = 3.14159265358979323846;

std::array<TVector3, DirTableSize> BuildDirTable() {
  std::array<TVector3, DirTableSize> t{};
  for (int d = 0; d < DirTableSize; ++d)
    t[d] = MakeVector(float(std::cos(d / 180.0 * Pi)), float(std::sin(d / 180.0 * Pi)), 0);
  return t;
}

const std::array<TVector3, DirTableSize> DirTableData = BuildDirTable();

// The six cases shared by both heading functions.
int HeadingFromDelta(double dx, double dy) {
  if (dx == 0) return dy > 0 ? 90 : (dy < 0 ? 270 : 0);
  int a = RoundInt(std::atan(dy / dx) * 180.0 / Pi);
  if (dx > 0) {
    if (dy > 0) return a;
    if (dy < 0) return a + 360;
    return 0;
  }
  return dy != 0 ? a + 180 : 180;
}
}  // namespace

const TVector3* DirTable = DirTableData.data();

TVector3 MakeVector(float x, float y, float z) { return TVector3{x, y, z}; }
TVector3 MakeColor(float r, float g, float b) { return TVector3{r, g, b}; }
TColor4 MakeColor4(float r, float g, float b, float a) { return TColor4{r, g, b, a}; }
void ClearVector(TVector3& v) { v = TVector3{}; }

int RoundInt(double v) { return int(std::nearbyint(v)); }

void PolarToXY(float& x, float& y, float angle, float radius) {
  x = float(radius * std::cos(angle * Pi / 180.0));
  y = float(radius * std::sin(angle * Pi / 180.0));
}

int WrapAngle(int a) {
  if (a > 360) return a - 360;
  if (a < 0) return a + 360;
  return a;
}

void NormalizeAngle(int& a) {
  while (a > 360) a -= 360;
  while (a < 0) a += 360;
}

void NormalizeAngleF(float& a) {
  while (a >= 360) a -= 360;
  while (a < 0) a += 360;
}

int AngleToPoint(int x1, int y1, int x2, int y2) {
  return HeadingFromDelta(double(x2) - double(x1), double(y2) - double(y1));
}

int AngleToPointF(float x1, float y1, float x2, float y2) { return HeadingFromDelta(double(x2 - x1), double(y2 - y1)); }

int AngleDiff(int a, int b) {
  int d = b - a;
  int e = std::abs(a + 360 - b);
  return d <= e ? d : -e;
}

namespace {
// Sets a coordinate beyond a wall onto it, reverses that part of the velocity
// and steps once by the new velocity.
void BounceAxis(float& pos, float& velocity, int low, int high) {
  if (pos > high)
    pos = float(high);
  else if (pos < low)
    pos = float(low);
  else
    return;
  velocity = -velocity;
  pos += velocity;
}
}  // namespace

void BounceInRect(TVector3& pos, TVector3& velocity, const TIntRect& r) {
  BounceAxis(pos.X, velocity.X, r.Left, r.Right);
  BounceAxis(pos.Y, velocity.Y, r.Bottom, r.Top);
}

bool CirclesOverlap(float x1, float y1, float r1, float x2, float y2, float r2) {
  float dx = x2 - x1, dy = y2 - y1;
  float dx2 = dx * dx, dy2 = dy * dy;
  float dist = std::sqrt(dx2 + dy2);
  return r1 + r2 > dist;
}

bool SquaresOverlap(float x1, float y1, float s1, float x2, float y2, float s2) {
  return x2 - s2 < x1 + s1 && x2 + s2 > x1 - s1 && y2 - s2 < y1 + s1 && y2 + s2 > y1 - s1;
}

bool ClampToArena(TVector3& pos) {
  bool moved = false;
  if (pos.X > ArenaHalf)
    pos.X = ArenaHalf, moved = true;
  else if (pos.X < -ArenaHalf)
    pos.X = -ArenaHalf, moved = true;
  if (pos.Y > ArenaHalf)
    pos.Y = ArenaHalf, moved = true;
  else if (pos.Y < -ArenaHalf)
    pos.Y = -ArenaHalf, moved = true;
  return moved;
}

void PingPong(float& value, float& step, float lo, float hi, float factor) {
  value += step * factor;
  if (step > 0 && value > hi) {
    step = -step;
    value = hi;
  }
  if (step <= 0 && value < lo) {
    step = -step;
    value = lo;
  }
}
