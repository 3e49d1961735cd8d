#include "gfx/RecordingRenderer.h"

TRecordingRenderer::TRecordingRenderer() { Reset(); }

void TRecordingRenderer::Reset() {
  Primitives.clear();
  Materials.clear();
  ClearCount = 0;
  MaxStackDepth = 0;
  Stack.Reset();
  InPrimitive = false;
}

void TRecordingRenderer::PushMatrix() {
  Stack.Push();
  if (StackDepth() > MaxStackDepth) MaxStackDepth = StackDepth();
}

void TRecordingRenderer::Color(float r, float g, float b, float a) { Colour = TColor4{r, g, b, a}; }

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
