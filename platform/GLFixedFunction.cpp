#include "platform/GLFixedFunction.h"

#include <GL/gl.h>

void GLSetFrustum(double left, double right, double bottom, double top, double zNear, double zFar) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(left, right, bottom, top, zNear, zFar);
  glMatrixMode(GL_MODELVIEW);
}
