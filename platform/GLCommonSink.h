#pragma once
// What the two batching backends' GL halves (OpenGL 1.5 and OpenGL ES 3.0) do
// alike: the viewport, the clear, making textures, and the state a run of
// vertices needs that both set the same way (the texture, blending, the depth
// test, culling and the line width). It remembers the state it set, so a run
// that shares most of its state with the one before costs only the changes.
#include <cstddef>
#include <optional>

#include "gfx/BatchSink.h"

class TGLCommonSink : public TBatchSink {
 public:
  void Viewport(int x, int y, int width, int height) override;
  void ClearFrame() override;
  unsigned CreateTexture(int width, int height, const std::uint8_t* rgb) override;

 protected:
  void ApplyCommon(const TBatchState& s);
  void ForgetCommon();  // GL may hold anything now: set all again
  // Binds the vertex buffer, made on first use, and puts the whole list in it
  // with one upload; every run then draws from it. The buffer keeps the size
  // of a full list: giving it new storage every draw made a software driver
  // allocate and fault in megabytes a frame.
  void UploadVertices(const TDrawList& list);
  unsigned VertexBuffer();  // made and bound
  void DeleteVertexBuffer();

 private:
  // What GL holds now; empty means "not known, set it".
  std::optional<bool> Blend, DepthTest, CullFace;
  std::optional<unsigned> Texture;
  std::optional<TBlendMode> BlendMode;
  std::optional<float> LineWidth;
  unsigned Buffer = 0;
  std::size_t BufferBytes = 0;
};
