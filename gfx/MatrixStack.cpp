#include "gfx/MatrixStack.h"

#include <cmath>

namespace {
using TMatrix = TMatrixStack::TMatrix;

TMatrix Identity() {
  TMatrix m{};
  m[0] = m[5] = m[10] = m[15] = 1;
  return m;
}
}  // namespace

void TMatrixStack::Reset() {
  Top = 0;
  Stack[0] = Identity();
}

void TMatrixStack::LoadIdentity() { Stack[std::size_t(Top)] = Identity(); }

void TMatrixStack::Push() {
  if (Top + 1 >= kMaxDepth) return;
  Stack[std::size_t(Top + 1)] = Stack[std::size_t(Top)];
  ++Top;
}

void TMatrixStack::Pop() {
  if (Top > 0) --Top;
}

void TMatrixStack::Multiply(const TMatrix& m) {
  const TMatrix a = Current();
  TMatrix r{};
  for (int c = 0; c < 4; ++c)
    for (int row = 0; row < 4; ++row) {
      float s = 0;
      for (int k = 0; k < 4; ++k) s += a[std::size_t(k * 4 + row)] * m[std::size_t(c * 4 + k)];
      r[std::size_t(c * 4 + row)] = s;
    }
  Stack[std::size_t(Top)] = r;
}

void TMatrixStack::Translate(float x, float y, float z) {
  TMatrix m = Identity();
  m[12] = x, m[13] = y, m[14] = z;
  Multiply(m);
}

void TMatrixStack::Scale(float x, float y, float z) {
  TMatrix m = Identity();
  m[0] = x, m[5] = y, m[10] = z;
  Multiply(m);
}

void TMatrixStack::Rotate(float degrees, float x, float y, float z) {
  const double len = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
  if (len == 0) return;
  const double ux = x / len, uy = y / len, uz = z / len;
  const double a = degrees * 3.14159265358979323846 / 180.0;
  const double c = std::cos(a), s = std::sin(a), t = 1 - c;
  TMatrix m = Identity();
  m[0] = float(t * ux * ux + c);
  m[1] = float(t * ux * uy + s * uz);
  m[2] = float(t * ux * uz - s * uy);
  m[4] = float(t * ux * uy - s * uz);
  m[5] = float(t * uy * uy + c);
  m[6] = float(t * uy * uz + s * ux);
  m[8] = float(t * ux * uz + s * uy);
  m[9] = float(t * uy * uz - s * ux);
  m[10] = float(t * uz * uz + c);
  Multiply(m);
}
