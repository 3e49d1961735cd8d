#include "gfx/RecordingRenderer.h"

#include <cmath>

namespace {
using TMatrix = TRecordingRenderer::TMatrix;

TMatrix Identity() {
  TMatrix m{};
  m[0] = m[5] = m[10] = m[15] = 1;
  return m;
}
}  // namespace

TRecordingRenderer::TRecordingRenderer() { Reset(); }

void TRecordingRenderer::Reset() {
  Primitives.clear();
  Materials.clear();
  ClearCount = 0;
  MaxStackDepth = 0;
  Stack.assign(1, Identity());
  InPrimitive = false;
}

void TRecordingRenderer::LoadIdentity() { Stack.back() = Identity(); }

void TRecordingRenderer::PushMatrix() {
  Stack.push_back(Stack.back());
  if (StackDepth() > MaxStackDepth) MaxStackDepth = StackDepth();
}

void TRecordingRenderer::PopMatrix() {
  if (Stack.size() > 1) Stack.pop_back();
}

void TRecordingRenderer::Multiply(const TMatrix& m) {
  const TMatrix a = Stack.back();
  TMatrix r{};
  for (int c = 0; c < 4; ++c)
    for (int row = 0; row < 4; ++row) {
      float s = 0;
      for (int k = 0; k < 4; ++k) s += a[k * 4 + row] * m[c * 4 + k];
      r[c * 4 + row] = s;
    }
  Stack.back() = r;
}

void TRecordingRenderer::Translate(float x, float y, float z) {
  TMatrix m = Identity();
  m[12] = x, m[13] = y, m[14] = z;
  Multiply(m);
}

void TRecordingRenderer::Scale(float x, float y, float z) {
  TMatrix m = Identity();
  m[0] = x, m[5] = y, m[10] = z;
  Multiply(m);
}

void TRecordingRenderer::Rotate(float degrees, float x, float y, float z) {
  double len = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
  if (len == 0) return;
  double ux = x / len, uy = y / len, uz = z / len;
  double a = degrees * 3.14159265358979323846 / 180.0;
  double c = std::cos(a), s = std::sin(a), t = 1 - c;
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

void TRecordingRenderer::Color(float r, float g, float b, float a) { Colour = TColor4{r, g, b, a}; }

TVector3 TRecordingRenderer::Transform(float x, float y, float z) const {
  const TMatrix& m = Stack.back();
  return TVector3{m[0] * x + m[4] * y + m[8] * z + m[12], m[1] * x + m[5] * y + m[9] * z + m[13],
                  m[2] * x + m[6] * y + m[10] * z + m[14]};
}

void TRecordingRenderer::Begin(TPrimitive prim) {
  InPrimitive = true;
  Pending = TRecordedPrimitive{};
  Pending.Prim = prim;
  Pending.Colour = Colour;
  Pending.LineWidth = Width;
  Pending.PointSize = PtSize;
  Pending.Lighting = Enabled[int(TCapability::Lighting)];
  Pending.Texture = Enabled[int(TCapability::Texture2D)] ? Bound : 0;
}

void TRecordingRenderer::Vertex(float x, float y, float z) {
  if (!InPrimitive) return;
  Pending.Vertices.push_back(Transform(x, y, z));
  Pending.VertexColours.push_back(Colour);
}

void TRecordingRenderer::End() {
  if (!InPrimitive) return;
  InPrimitive = false;
  Primitives.push_back(std::move(Pending));
}

std::vector<const TRecordedPrimitive*> TRecordingRenderer::Find(TPrimitive prim) const {
  std::vector<const TRecordedPrimitive*> out;
  for (const auto& p : Primitives)
    if (p.Prim == prim) out.push_back(&p);
  return out;
}

int TRecordingRenderer::CountVertices() const {
  int n = 0;
  for (const auto& p : Primitives) n += int(p.Vertices.size());
  return n;
}
