#pragma once
// The fast drawing backend's CPU half. Instead of handing the driver every
// vertex and every matrix push on its own, it transforms vertices with its own
// copy of the model-view matrix, turns loops, strips and quads into
// independent lines and triangles, and queues them in a draw list where
// consecutive primitives with the same GL state form one run. The queue goes
// to the sink (one draw call a run) when it is full, before anything that
// goes to the driver directly (clear, camera, viewport, textures) and on
// Flush, so the picture is drawn in exactly the game's order.
//
// Lighting: the game lights its models with light 0 switched off, so only the
// material's emission and the scene's ambient light times the material's
// ambient colour show. That colour is worked out here and the model's
// triangles are queued like any others.
//
// Points and wide lines: the game alternates point sizes and line widths
// between a shape and its glow, which would end a run at almost every
// primitive, and a software driver draws wide lines far slower than
// triangles. So once the camera and viewport are known, a point is queued as
// the square GL would fill (its size in window pixels around the projected
// centre) and a line wider than a pixel as the parallelogram GL would fill
// (its width in whole window pixels, straight up and down for a line that
// runs more across the window than up it, sideways for a steeper one), each
// made of two triangles facing the eye. They then share runs with everything
// else drawn in the same state. One-pixel lines stay lines.
#include <memory>

#include "gfx/BatchSink.h"
#include "gfx/DrawList.h"
#include "gfx/MatrixStack.h"
#include "gfx/Renderer.h"

class TBatchingRenderer : public TRenderer {
 public:
  // OpenGL's ambient light of the scene when nobody sets it.
  static constexpr float kSceneAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};

  explicit TBatchingRenderer(std::unique_ptr<TBatchSink> sink, int maxVertices = 1 << 16, int maxBatches = 1 << 13);

  void Viewport(int x, int y, int width, int height) override;
  void Frustum(double left, double right, double bottom, double top, double zNear, double zFar) override;
  void ClearFrame() override;
  void BeginFrameState() override;
  void LoadIdentity() override { Matrix.LoadIdentity(); }
  void PushMatrix() override { Matrix.Push(); }
  void PopMatrix() override { Matrix.Pop(); }
  void Translate(float x, float y, float z) override { Matrix.Translate(x, y, z); }
  void Rotate(float degrees, float x, float y, float z) override { Matrix.Rotate(degrees, x, y, z); }
  void Scale(float x, float y, float z) override { Matrix.Scale(x, y, z); }
  void Color(float r, float g, float b, float a) override;
  // GL refuses a width or size that is not positive and keeps the last one.
  void LineWidth(float width) override { Width = width > 0 ? width : Width; }
  void PointSize(float size) override { PtSize = size > 0 ? size : PtSize; }
  void Enable(TCapability cap) override { Enabled[int(cap)] = true; }
  void Disable(TCapability cap) override { Enabled[int(cap)] = false; }
  void BlendFunc(TBlendMode mode) override { Blend = mode; }
  void LightAmbient(float, float, float, float) override {}  // light 0 stays off
  void Material(const TMaterialColours& m) override;
  unsigned CreateTexture(int width, int height, const std::uint8_t* rgb) override;
  void BindTexture(unsigned texture) override { Bound = texture; }
  void Begin(TPrimitive prim) override;
  void Vertex(float x, float y, float z) override;
  void Normal(float, float, float) override {}  // no light shines on a normal
  void TexCoord(float u, float v) override { U = u, V = v; }
  void End() override;
  void Flush() override;

  const TMatrixStack& Matrices() const { return Matrix; }

 private:
  TBatchState StateFor(TPrimitive prim) const;
  void Emit(const TBatchVertex* vertices, int count);
  void Emit(const TBatchState& state, const TBatchVertex* vertices, int count);
  void EmitPointSquare(const TBatchVertex& centre);
  void EmitLine(const TBatchVertex& a, const TBatchVertex& b);
  float LineWidthInPixels() const;
  void UpdatePixelSize();
  bool KnowsWindowPixels() const { return PixelAtUnitDepthX > 0 && PixelAtUnitDepthY > 0; }

  std::unique_ptr<TBatchSink> Sink;
  TDrawList List;
  TMatrixStack Matrix;

  // The state the game asked for, as GL would hold it.
  float CurrentColour[4] = {1, 1, 1, 1};
  float LitColour[4] = {0, 0, 0, 1};  // what lighting makes of the last material
  float Width = 1, PtSize = 1;
  // Eye-space size of one window pixel at unit depth, from the last frustum
  // and viewport; 0 until both are known.
  double PixelAtUnitDepthX = 0, PixelAtUnitDepthY = 0;
  double FrustumWidth = 0, FrustumHeight = 0, FrustumNear = 0;
  int ViewportWidth = 0, ViewportHeight = 0;
  bool Enabled[8] = {};
  TBlendMode Blend = TBlendMode::AlphaOneMinusAlpha;
  unsigned Bound = 0;
  float U = 0, V = 0;

  // The primitive between Begin and End: only the vertices a loop, strip,
  // triangle or quad still needs are held.
  bool InPrimitive = false;
  TPrimitive Prim = TPrimitive::Lines;
  TBatchState PrimState;
  TBatchState LineState;  // a line that stays a line goes to GL in this state
  bool PrimLit = false;
  int PrimVertices = 0;
  TBatchVertex First{}, Previous{}, Pending[3]{};
};
