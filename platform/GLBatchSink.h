#pragma once
// The batching backend's GL half: draws a frame's runs of eye-space vertices
// from one vertex buffer object (OpenGL 1.5, so every Mesa driver and old
// GPU has it), with the model-view matrix left at identity and lighting off,
// since the CPU half already did both. It remembers the state it set so a run
// that shares most of its state with the one before costs only the changes.
#include <cstddef>
#include <optional>

#include "gfx/BatchSink.h"

class TGLBatchSink : public TBatchSink {
 public:
  void Viewport(int x, int y, int width, int height) override;
  void Frustum(double left, double right, double bottom, double top, double zNear, double zFar) override;
  void ClearFrame() override;
  void BeginFrameState() override;
  unsigned CreateTexture(int width, int height, const std::uint8_t* rgb) override;
  void Draw(const TDrawList& list) override;

 private:
  void Apply(const TBatchState& s);
  void Forget();

  // What GL holds now; empty means "not known, set it".
  std::optional<bool> Texturing, Blend, AlphaTest, DepthTest, CullFace;
  std::optional<unsigned> Texture;
  std::optional<TBlendMode> BlendMode;
  std::optional<float> LineWidth, PointSize;
  unsigned Buffer = 0;  // the vertex buffer object the lists go up in
  std::size_t BufferBytes = 0;
};
