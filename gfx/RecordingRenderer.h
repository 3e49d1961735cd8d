#pragma once
// A renderer for tests: keeps every primitive with its vertices already
// transformed by the model-view matrix, its colour and its line width, so a
// test can ask "what was drawn this frame, and where".
#include <array>
#include <vector>

#include "gfx/MatrixStack.h"
#include "gfx/PdxLib3DTypes.h"
#include "gfx/Renderer.h"

struct TRecordedPrimitive {
  TPrimitive Prim = TPrimitive::Lines;
  std::vector<TVector3> Vertices;      // after the model-view transform
  std::vector<TColor4> VertexColours;  // the colour in force at each vertex
  TColor4 Colour;
  float LineWidth = 1;
  float PointSize = 1;
  bool Lighting = false;
  unsigned Texture = 0;
};

class TRecordingRenderer : public TRenderer {
 public:
  TRecordingRenderer();

  std::vector<TRecordedPrimitive> Primitives;
  std::vector<TMaterialColours> Materials;  // every material set, in order
  int ClearCount = 0;
  int MaxStackDepth = 0;
  int LastViewport[4] = {};  // x, y, width, height

  void Reset();  // forget what was drawn; the matrix goes back to identity
  int StackDepth() const { return Stack.Depth(); }
  bool IsEnabled(TCapability cap) const { return Enabled[int(cap)]; }
  TColor4 CurrentColour() const { return Colour; }
  float CurrentLineWidth() const { return Width; }
  float CurrentPointSize() const { return PtSize; }
  TBlendMode CurrentBlend() const { return Blend; }
  TVector3 Transform(float x, float y, float z) const { return Stack.Transform(x, y, z); }

  // Helpers for tests: primitives of one kind, and counts of segments.
  std::vector<const TRecordedPrimitive*> Find(TPrimitive prim) const;
  int CountVertices() const;

  void Viewport(int x, int y, int w, int h) override {
    LastViewport[0] = x, LastViewport[1] = y, LastViewport[2] = w, LastViewport[3] = h;
  }
  void Frustum(double, double, double, double, double, double) override {}
  void ClearFrame() override { ++ClearCount; }
  void BeginFrameState() override {}
  void LoadIdentity() override { Stack.LoadIdentity(); }
  void PushMatrix() override;
  void PopMatrix() override { Stack.Pop(); }
  void Translate(float x, float y, float z) override { Stack.Translate(x, y, z); }
  void Rotate(float degrees, float x, float y, float z) override { Stack.Rotate(degrees, x, y, z); }
  void Scale(float x, float y, float z) override { Stack.Scale(x, y, z); }
  void Color(float r, float g, float b, float a) override;
  void LineWidth(float width) override { Width = width; }
  void PointSize(float size) override { PtSize = size; }
  void Enable(TCapability cap) override { Enabled[int(cap)] = true; }
  void Disable(TCapability cap) override { Enabled[int(cap)] = false; }
  void BlendFunc(TBlendMode mode) override { Blend = mode; }
  void LightAmbient(float, float, float, float) override {}
  void Material(const TMaterialColours& m) override { Materials.push_back(m); }
  unsigned CreateTexture(int, int, const std::uint8_t*) override { return ++LastTexture; }
  void BindTexture(unsigned texture) override { Bound = texture; }
  void Begin(TPrimitive prim) override;
  void Vertex(float x, float y, float z) override;
  void Normal(float, float, float) override {}
  void TexCoord(float, float) override {}
  void End() override;

 private:
  TMatrixStack Stack;
  TColor4 Colour{1, 1, 1, 1};
  float Width = 1, PtSize = 1;
  std::array<bool, 8> Enabled{};
  TBlendMode Blend = TBlendMode::AlphaOneMinusAlpha;
  unsigned LastTexture = 0, Bound = 0;
  bool InPrimitive = false;
  TRecordedPrimitive Pending;
};
