#include "platform/GLBatchSink.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstddef>

#include "platform/GLCalls.h"
#include "platform/GLFixedFunction.h"

void TGLBatchSink::Frustum(double left, double right, double bottom, double top, double zNear, double zFar) {
  GLSetFrustum(left, right, bottom, top, zNear, zFar);
}

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

void TGLBatchSink::Forget() {
  Texturing.reset(), AlphaTest.reset(), PointSize.reset();
  ForgetCommon();
}

void TGLBatchSink::Apply(const TBatchState& s) {
  GLSwitch(Texturing, GL_TEXTURE_2D, s.Texture != 0);
  GLSwitch(AlphaTest, GL_ALPHA_TEST, s.AlphaTest);
  ApplyCommon(s);
  // A point size touches points only.
  if (s.Kind == TBatchKind::Points && PointSize != s.Size) glPointSize(*(PointSize = s.Size));
}

void TGLBatchSink::Draw(const TDrawList& list) {
  UploadVertices(list);
  constexpr GLsizei stride = sizeof(TBatchVertex);
  glVertexPointer(3, GL_FLOAT, stride, reinterpret_cast<const void*>(offsetof(TBatchVertex, X)));
  glColorPointer(4, GL_FLOAT, stride, reinterpret_cast<const void*>(offsetof(TBatchVertex, R)));
  glTexCoordPointer(2, GL_FLOAT, stride, reinterpret_cast<const void*>(offsetof(TBatchVertex, U)));
  for (const TDrawBatch& run : list.Runs()) {
    Apply(run.State);
    glDrawArrays(GLDrawMode(run.State.Kind), run.First, run.Count);
  }
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}
