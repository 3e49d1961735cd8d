#include "platform/GLCommonSink.h"

#include <GLES3/gl3.h>

#include "platform/GLCalls.h"

void TGLCommonSink::Viewport(int x, int y, int width, int height) { glViewport(x, y, width, height); }

void TGLCommonSink::ClearFrame() { GLClearFrame(); }

unsigned TGLCommonSink::CreateTexture(int width, int height, const std::uint8_t* rgb) {
  Texture.reset();  // making it binds it
  return GLCreateTexture(width, height, rgb);
}

void TGLCommonSink::ForgetCommon() {
  Blend.reset(), DepthTest.reset(), CullFace.reset();
  Texture.reset(), BlendMode.reset(), LineWidth.reset();
}

void TGLCommonSink::ApplyCommon(const TBatchState& s) {
  if (s.Texture && Texture != s.Texture) glBindTexture(GL_TEXTURE_2D, *(Texture = s.Texture));
  GLSwitch(Blend, GL_BLEND, s.Blend);
  if (s.Blend && BlendMode != s.BlendMode)
    glBlendFunc(GL_SRC_ALPHA, *(BlendMode = s.BlendMode) == TBlendMode::AlphaOne ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
  GLSwitch(DepthTest, GL_DEPTH_TEST, s.DepthTest);
  // Culling touches triangles only and a line width lines only: a run of
  // another kind leaves them as they are.
  if (s.Kind == TBatchKind::Triangles) GLSwitch(CullFace, GL_CULL_FACE, s.CullFace);
  if (s.Kind == TBatchKind::Lines && LineWidth != s.Size) glLineWidth(*(LineWidth = s.Size));
}

unsigned TGLCommonSink::VertexBuffer() {
  if (!Buffer) glGenBuffers(1, &Buffer);
  glBindBuffer(GL_ARRAY_BUFFER, Buffer);
  return Buffer;
}

void TGLCommonSink::UploadVertices(const TDrawList& list) {
  VertexBuffer();
  const std::size_t capacity = list.VertexCapacity() * sizeof(TBatchVertex);
  if (BufferBytes < capacity) {
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(capacity), nullptr, GL_STREAM_DRAW);
    BufferBytes = capacity;
  }
  glBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(list.Vertices().size() * sizeof(TBatchVertex)),
                  list.Vertices().data());
}

void TGLCommonSink::DeleteVertexBuffer() {
  if (Buffer) glDeleteBuffers(1, &Buffer);
  Buffer = 0, BufferBytes = 0;
}
