#pragma once
// Draws nothing: the benchmarks and the headless runner measure the game alone.
#include "gfx/Renderer.h"

class TNullRenderer : public TRenderer {
 public:
  void Viewport(int, int, int, int) override {}
  void Frustum(double, double, double, double, double, double) override {}
  void ClearFrame() override {}
  void BeginFrameState() override {}
  void LoadIdentity() override {}
  void PushMatrix() override {}
  void PopMatrix() override {}
  void Translate(float, float, float) override {}
  void Rotate(float, float, float, float) override {}
  void Scale(float, float, float) override {}
  void Color(float, float, float, float) override {}
  void LineWidth(float) override {}
  void PointSize(float) override {}
  void Enable(TCapability) override {}
  void Disable(TCapability) override {}
  void BlendFunc(TBlendMode) override {}
  void LightAmbient(float, float, float, float) override {}
  void Material(const TMaterialColours&) override {}
  unsigned CreateTexture(int, int, const std::uint8_t*) override { return ++LastTexture; }
  void BindTexture(unsigned) override {}
  void Begin(TPrimitive) override {}
  void Vertex(float, float, float) override {}
  void Normal(float, float, float) override {}
  void TexCoord(float, float) override {}
  void End() override {}

 private:
  unsigned LastTexture = 0;
};
