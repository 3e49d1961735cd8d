#pragma once
// The real drawing backend: OpenGL 1.x immediate mode on the current context.
#include "gfx/Renderer.h"

class TGLRenderer : public TRenderer {
 public:
  void Viewport(int x, int y, int width, int height) override;
  void Frustum(double left, double right, double bottom, double top, double zNear, double zFar) override;
  void ClearFrame() override;
  void BeginFrameState() override;
  void LoadIdentity() override;
  void PushMatrix() override;
  void PopMatrix() override;
  void Translate(float x, float y, float z) override;
  void Rotate(float degrees, float x, float y, float z) override;
  void Scale(float x, float y, float z) override;
  void Color(float r, float g, float b, float a) override;
  void LineWidth(float width) override;
  void PointSize(float size) override;
  void Enable(TCapability cap) override;
  void Disable(TCapability cap) override;
  void BlendFunc(TBlendMode mode) override;
  void LightAmbient(float r, float g, float b, float a) override;
  void Material(const TMaterialColours& m) override;
  unsigned CreateTexture(int width, int height, const std::uint8_t* rgb) override;
  void BindTexture(unsigned texture) override;
  void Begin(TPrimitive prim) override;
  void Vertex(float x, float y, float z) override;
  void Normal(float x, float y, float z) override;
  void TexCoord(float u, float v) override;
  void End() override;
};
