#include "platform/GLRenderer.h"

#include <GL/gl.h>

#include "platform/GLCalls.h"
#include "platform/GLFixedFunction.h"

namespace {
GLenum ToGL(TCapability cap) {
  switch (cap) {
    case TCapability::Lighting: return GL_LIGHTING;
    case TCapability::Light0: return GL_LIGHT0;
    case TCapability::Blend: return GL_BLEND;
    case TCapability::Texture2D: return GL_TEXTURE_2D;
    case TCapability::AlphaTest: return GL_ALPHA_TEST;
    case TCapability::CullFace: return GL_CULL_FACE;
    case TCapability::DepthTest: return GL_DEPTH_TEST;
  }
  return GL_BLEND;
}

GLenum ToGL(TPrimitive prim) {
  switch (prim) {
    case TPrimitive::Lines: return GL_LINES;
    case TPrimitive::LineLoop: return GL_LINE_LOOP;
    case TPrimitive::LineStrip: return GL_LINE_STRIP;
    case TPrimitive::Points: return GL_POINTS;
    case TPrimitive::Triangles: return GL_TRIANGLES;
    case TPrimitive::Quads: return GL_QUADS;
  }
  return GL_LINES;
}
}  // namespace

void TGLRenderer::Viewport(int x, int y, int width, int height) { glViewport(x, y, width, height); }

void TGLRenderer::Frustum(double left, double right, double bottom, double top, double zNear, double zFar) {
  GLSetFrustum(left, right, bottom, top, zNear, zFar);
}

void TGLRenderer::ClearFrame() { GLClearFrame(); }

void TGLRenderer::BeginFrameState() {
  glFrontFace(GL_CCW);
  glCullFace(GL_BACK);
  glEnable(GL_CULL_FACE);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void TGLRenderer::LoadIdentity() { glLoadIdentity(); }
void TGLRenderer::PushMatrix() { glPushMatrix(); }
void TGLRenderer::PopMatrix() { glPopMatrix(); }
void TGLRenderer::Translate(float x, float y, float z) { glTranslatef(x, y, z); }
void TGLRenderer::Rotate(float degrees, float x, float y, float z) { glRotatef(degrees, x, y, z); }
void TGLRenderer::Scale(float x, float y, float z) { glScalef(x, y, z); }
void TGLRenderer::Color(float r, float g, float b, float a) { glColor4f(r, g, b, a); }
void TGLRenderer::LineWidth(float width) { glLineWidth(width); }
void TGLRenderer::PointSize(float size) { glPointSize(size); }
void TGLRenderer::Enable(TCapability cap) {
  // Textured glow sprites drop their nearly transparent texels.
  if (cap == TCapability::AlphaTest) glAlphaFunc(GL_GREATER, 0.01f);
  glEnable(ToGL(cap));
}
void TGLRenderer::Disable(TCapability cap) { glDisable(ToGL(cap)); }

void TGLRenderer::BlendFunc(TBlendMode mode) {
  glBlendFunc(GL_SRC_ALPHA, mode == TBlendMode::AlphaOne ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
}

void TGLRenderer::LightAmbient(float r, float g, float b, float a) {
  const GLfloat ambient[4] = {r, g, b, a};
  glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
}

void TGLRenderer::Material(const TMaterialColours& m) {
  glMaterialfv(GL_FRONT, GL_AMBIENT, m.Ambient);
  glMaterialfv(GL_FRONT, GL_DIFFUSE, m.Diffuse);
  glMaterialfv(GL_FRONT, GL_SPECULAR, m.Specular);
  glMaterialfv(GL_FRONT, GL_EMISSION, m.Emissive);
  glMaterialf(GL_FRONT, GL_SHININESS, m.Shininess);
}

unsigned TGLRenderer::CreateTexture(int width, int height, const std::uint8_t* rgb) {
  return GLCreateTexture(width, height, rgb);
}

void TGLRenderer::BindTexture(unsigned texture) {
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glBindTexture(GL_TEXTURE_2D, texture);
}

void TGLRenderer::Begin(TPrimitive prim) { glBegin(ToGL(prim)); }
void TGLRenderer::Vertex(float x, float y, float z) { glVertex3f(x, y, z); }
void TGLRenderer::Normal(float x, float y, float z) { glNormal3f(x, y, z); }
void TGLRenderer::TexCoord(float u, float v) { glTexCoord2f(u, v); }
void TGLRenderer::End() { glEnd(); }
