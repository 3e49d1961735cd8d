#include "platform/GLCalls.h"

#include <GLES3/gl3.h>

void GLClearFrame() {
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

unsigned GLCreateTexture(int width, int height, const std::uint8_t* rgb) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb);
  return name;
}

unsigned GLDrawMode(TBatchKind kind) {
  switch (kind) {
    case TBatchKind::Lines: return GL_LINES;
    case TBatchKind::Points: return GL_POINTS;
    case TBatchKind::Triangles: return GL_TRIANGLES;
  }
  return GL_LINES;
}

void GLSwitch(std::optional<bool>& known, unsigned cap, bool on) {
  if (known == on) return;
  if (on)
    glEnable(cap);
  else
    glDisable(cap);
  known = on;
}
