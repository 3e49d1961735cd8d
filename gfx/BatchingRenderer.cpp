#include "gfx/BatchingRenderer.h"

#include <algorithm>
#include <cmath>

namespace {
float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

TBatchKind KindOf(TPrimitive prim) {
  switch (prim) {
    case TPrimitive::Points: return TBatchKind::Points;
    case TPrimitive::Triangles:
    case TPrimitive::Quads: return TBatchKind::Triangles;
    case TPrimitive::Lines:
    case TPrimitive::LineLoop:
    case TPrimitive::LineStrip: return TBatchKind::Lines;
  }
  return TBatchKind::Lines;
}
}  // namespace

TBatchingRenderer::TBatchingRenderer(std::unique_ptr<TBatchSink> sink, int maxVertices, int maxBatches)
    : Sink(std::move(sink)), List(maxVertices, maxBatches) {}

void TBatchingRenderer::Viewport(int x, int y, int width, int height) {
  Flush();
  ViewportWidth = width, ViewportHeight = height;
  UpdatePixelSize();
  Sink->Viewport(x, y, width, height);
}

void TBatchingRenderer::Frustum(double left, double right, double bottom, double top, double zNear, double zFar) {
  Flush();
  FrustumWidth = right - left, FrustumHeight = top - bottom, FrustumNear = zNear;
  UpdatePixelSize();
  Sink->Frustum(left, right, bottom, top, zNear, zFar);
}

void TBatchingRenderer::UpdatePixelSize() {
  const bool known = ViewportWidth > 0 && ViewportHeight > 0 && FrustumNear > 0;
  PixelAtUnitDepthX = known ? std::abs(FrustumWidth) / (FrustumNear * ViewportWidth) : 0;
  PixelAtUnitDepthY = known ? std::abs(FrustumHeight) / (FrustumNear * ViewportHeight) : 0;
}

void TBatchingRenderer::ClearFrame() {
  Flush();
  Sink->ClearFrame();
}

void TBatchingRenderer::BeginFrameState() {
  Flush();
  Enabled[int(TCapability::CullFace)] = true;
  Enabled[int(TCapability::DepthTest)] = true;
  Enabled[int(TCapability::Blend)] = true;
  Blend = TBlendMode::AlphaOneMinusAlpha;
  Sink->BeginFrameState();
}

unsigned TBatchingRenderer::CreateTexture(int width, int height, const std::uint8_t* rgb) {
  Flush();
  return Sink->CreateTexture(width, height, rgb);
}

void TBatchingRenderer::Color(float r, float g, float b, float a) {
  CurrentColour[0] = r, CurrentColour[1] = g, CurrentColour[2] = b, CurrentColour[3] = a;
}

void TBatchingRenderer::Material(const TMaterialColours& m) {
  for (int i = 0; i < 3; ++i) LitColour[i] = Clamp01(m.Emissive[i] + kSceneAmbient[i] * m.Ambient[i]);
  LitColour[3] = Clamp01(m.Diffuse[3]);
}

TBatchState TBatchingRenderer::StateFor(TPrimitive prim) const {
  TBatchState s;
  s.Kind = KindOf(prim);
  if (s.Kind != TBatchKind::Triangles && KnowsWindowPixels()) s.Kind = TBatchKind::Triangles;
  s.Size = s.Kind == TBatchKind::Points ? PtSize : s.Kind == TBatchKind::Lines ? Width : 0;
  s.Texture = Enabled[int(TCapability::Texture2D)] ? Bound : 0;
  s.Blend = Enabled[int(TCapability::Blend)];
  s.BlendMode = Blend;
  s.AlphaTest = Enabled[int(TCapability::AlphaTest)];
  s.CullFace = Enabled[int(TCapability::CullFace)];
  s.DepthTest = Enabled[int(TCapability::DepthTest)];
  return s;
}

void TBatchingRenderer::Begin(TPrimitive prim) {
  if (InPrimitive) return;  // GL refuses a Begin inside a Begin as well
  InPrimitive = true;
  Prim = prim;
  PrimState = StateFor(prim);
  LineState = PrimState;
  LineState.Kind = TBatchKind::Lines;
  LineState.Size = Width;
  PrimLit = Enabled[int(TCapability::Lighting)];
  PrimVertices = 0;
}

void TBatchingRenderer::Vertex(float x, float y, float z) {
  if (!InPrimitive) return;
  const TVector3 p = Matrix.Transform(x, y, z);
  const float* c = PrimLit ? LitColour : CurrentColour;
  const TBatchVertex v{p.X, p.Y, p.Z, c[0], c[1], c[2], c[3], U, V};
  const int n = PrimVertices++;
  switch (Prim) {
    case TPrimitive::Points:
      if (PrimState.Kind == TBatchKind::Triangles)
        EmitPointSquare(v);
      else
        Emit(&v, 1);
      break;
    case TPrimitive::Lines:
      if (n % 2 == 1) EmitLine(Previous, v);
      Previous = v;
      break;
    case TPrimitive::LineStrip:
    case TPrimitive::LineLoop:
      if (n == 0)
        First = v;
      else
        EmitLine(Previous, v);
      Previous = v;
      break;
    case TPrimitive::Triangles:
      Pending[n % 3] = v;
      if (n % 3 == 2) Emit(Pending, 3);
      break;
    case TPrimitive::Quads:
      if (n % 4 < 3) {
        Pending[n % 4] = v;
      } else {
        const TBatchVertex pair[6] = {Pending[0], Pending[1], Pending[2], Pending[0], Pending[2], v};
        Emit(pair, 3);
        Emit(pair + 3, 3);
      }
      break;
  }
}

void TBatchingRenderer::End() {
  if (!InPrimitive) return;
  if (Prim == TPrimitive::LineLoop && PrimVertices >= 2) EmitLine(Previous, First);
  InPrimitive = false;
}

void TBatchingRenderer::Emit(const TBatchVertex* vertices, int count) { Emit(PrimState, vertices, count); }

void TBatchingRenderer::Emit(const TBatchState& state, const TBatchVertex* vertices, int count) {
  if (List.Add(state, vertices, count)) return;
  Flush();
  List.Add(state, vertices, count);
}

void TBatchingRenderer::EmitLine(const TBatchVertex& a, const TBatchVertex& b) {
  // One-pixel lines go to GL as lines: a software driver draws those as fast
  // as the triangles that would copy them, and the grid is thousands of them.
  // So does a line through or behind the eye, which has no window-space shape
  // to copy: GL clips it.
  constexpr float kNearestDepth = 1e-3f;
  const float depthA = -a.Z, depthB = -b.Z;
  if (PrimState.Kind != TBatchKind::Triangles || LineWidthInPixels() == 1 || depthA < kNearestDepth ||
      depthB < kNearestDepth) {
    const TBatchVertex line[2] = {a, b};
    Emit(LineState, line, 2);
    return;
  }
  // GL widens a line that runs more across the window than up it by its
  // width in whole pixels straight up and down, and a steeper line sideways.
  // At a vertex's depth one window pixel is the pixel at unit depth times that
  // depth, so each end moves by the same number of pixels.
  const double dx = (b.X / depthB - a.X / depthA) / PixelAtUnitDepthX;
  const double dy = (b.Y / depthB - a.Y / depthA) / PixelAtUnitDepthY;
  const bool acrossTheWindow = std::abs(dx) >= std::abs(dy);
  const double half = 0.5 * LineWidthInPixels();
  const float offsetX = acrossTheWindow ? 0 : float(half * PixelAtUnitDepthX);
  const float offsetY = acrossTheWindow ? float(half * PixelAtUnitDepthY) : 0;
  TBatchVertex corner[4] = {a, b, b, a};  // a's lower or left side first
  corner[0].X -= offsetX * depthA, corner[0].Y -= offsetY * depthA;
  corner[1].X -= offsetX * depthB, corner[1].Y -= offsetY * depthB;
  corner[2].X += offsetX * depthB, corner[2].Y += offsetY * depthB;
  corner[3].X += offsetX * depthA, corner[3].Y += offsetY * depthA;
  // The quad must face the eye or culling would drop it: going left along a
  // line across the window, or up along a steep one, the order above turns
  // clockwise, so it is turned the other way.
  if (acrossTheWindow ? dx < 0 : dy > 0) std::swap(corner[1], corner[3]);
  const TBatchVertex quad[6] = {corner[0], corner[1], corner[2], corner[0], corner[2], corner[3]};
  Emit(quad, 6);
}

float TBatchingRenderer::LineWidthInPixels() const {
  // Lines without smoothing are drawn a whole number of pixels wide, at least one.
  return std::max(1.0f, std::round(LineState.Size));
}

void TBatchingRenderer::EmitPointSquare(const TBatchVertex& centre) {
  // At a fixed depth the projection scales eye x and y linearly, so a window
  // pixel there is the pixel at unit depth times the distance from the eye.
  const float depth = -centre.Z;
  const float halfX = float(0.5 * PtSize * PixelAtUnitDepthX) * depth;
  const float halfY = float(0.5 * PtSize * PixelAtUnitDepthY) * depth;
  TBatchVertex corner[4] = {centre, centre, centre, centre};  // counter-clockwise, facing the eye
  corner[0].X -= halfX, corner[0].Y -= halfY;
  corner[1].X += halfX, corner[1].Y -= halfY;
  corner[2].X += halfX, corner[2].Y += halfY;
  corner[3].X -= halfX, corner[3].Y += halfY;
  const TBatchVertex square[6] = {corner[0], corner[1], corner[2], corner[0], corner[2], corner[3]};
  Emit(square, 6);
}

void TBatchingRenderer::Flush() {
  if (List.Empty()) return;
  Sink->Draw(List);
  List.Clear();
}
