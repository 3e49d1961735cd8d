#include "platform/GLBatchSink.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstddef>

#include "platform/GLCalls.h"

namespace {
GLenum ModeOf(TBatchKind kind) {
  switch (kind) {
    case TBatchKind::Lines: return GL_LINES;
    case TBatchKind::Points: return GL_POINTS;
    case TBatchKind::Triangles: return GL_TRIANGLES;
  }
  return GL_LINES;
}

void Switch(std::optional<bool>& known, GLenum cap, bool on) {
  if (known == on) return;
  if (on)
    glEnable(cap);
  else
    glDisable(cap);
  known = on;
}
}  // namespace

void TGLBatchSink::Viewport(int x, int y, int width, int height) { glViewport(x, y, width, height); }

void TGLBatchSink::Frustum(double left, double right, double bottom, double top, double zNear, double zFar) {
  GLSetFrustum(left, right, bottom, top, zNear, zFar);
}

void TGLBatchSink::ClearFrame() { GLClearFrame(); }

void TGLBatchSink::BeginFrameState() {
  glFrontFace(GL_CCW);
  glCullFace(GL_BACK);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_LIGHTING);
  glAlphaFunc(GL_GREATER, 0.01f);  // textured glow sprites drop their nearly transparent texels
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  Forget();
}

unsigned TGLBatchSink::CreateTexture(int width, int height, const std::uint8_t* rgb) {
  Texture.reset();  // making it binds it
  return GLCreateTexture(width, height, rgb);
}

void TGLBatchSink::Forget() {
  Texturing.reset(), Blend.reset(), AlphaTest.reset(), DepthTest.reset(), CullFace.reset();
  Texture.reset(), BlendMode.reset(), LineWidth.reset(), PointSize.reset();
}

void TGLBatchSink::Apply(const TBatchState& s) {
  Switch(Texturing, GL_TEXTURE_2D, s.Texture != 0);
  if (s.Texture && Texture != s.Texture) glBindTexture(GL_TEXTURE_2D, *(Texture = s.Texture));
  Switch(Blend, GL_BLEND, s.Blend);
  if (s.Blend && BlendMode != s.BlendMode)
    glBlendFunc(GL_SRC_ALPHA, *(BlendMode = s.BlendMode) == TBlendMode::AlphaOne ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
  Switch(AlphaTest, GL_ALPHA_TEST, s.AlphaTest);
  Switch(DepthTest, GL_DEPTH_TEST, s.DepthTest);
  // Culling touches triangles only, a line width lines only and a point size
  // points only: a run of another kind leaves them as they are.
  switch (s.Kind) {
    case TBatchKind::Triangles: Switch(CullFace, GL_CULL_FACE, s.CullFace); break;
    case TBatchKind::Lines:
      if (LineWidth != s.Size) glLineWidth(*(LineWidth = s.Size));
      break;
    case TBatchKind::Points:
      if (PointSize != s.Size) glPointSize(*(PointSize = s.Size));
      break;
  }
}

void TGLBatchSink::Draw(const TDrawList& list) {
  // One upload for the whole list, then every run draws from it. The buffer
  // is made once, as large as a full list: giving it new storage every draw
  // made a software driver allocate and fault in megabytes a frame.
  if (!Buffer) glGenBuffers(1, &Buffer);
  glBindBuffer(GL_ARRAY_BUFFER, Buffer);
  const std::size_t capacity = list.VertexCapacity() * sizeof(TBatchVertex);
  if (BufferBytes < capacity) {
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(capacity), nullptr, GL_STREAM_DRAW);
    BufferBytes = capacity;
  }
  glBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(list.Vertices().size() * sizeof(TBatchVertex)),
                  list.Vertices().data());
  constexpr GLsizei stride = sizeof(TBatchVertex);
  glVertexPointer(3, GL_FLOAT, stride, reinterpret_cast<const void*>(offsetof(TBatchVertex, X)));
  glColorPointer(4, GL_FLOAT, stride, reinterpret_cast<const void*>(offsetof(TBatchVertex, R)));
  glTexCoordPointer(2, GL_FLOAT, stride, reinterpret_cast<const void*>(offsetof(TBatchVertex, U)));
  for (const TDrawBatch& run : list.Runs()) {
    Apply(run.State);
    glDrawArrays(ModeOf(run.State.Kind), run.First, run.Count);
  }
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}
