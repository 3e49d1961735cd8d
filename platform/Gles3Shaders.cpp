#include "platform/Gles3Shaders.h"

int Gles3ProgramFor(const TBatchState& state) { return (state.Texture != 0 ? 1 : 0) | (state.AlphaTest ? 2 : 0); }

bool Gles3ProgramIsTextured(int program) { return (program & 1) != 0; }
bool Gles3ProgramTestsAlpha(int program) { return (program & 2) != 0; }

std::string Gles3VertexShaderSource() {
  // GL clamps a vertex colour to 0..1 before it is interpolated; the game
  // sets brighter ones (glows scaled up), so the shader does the same.
  return "#version 300 es\n"
         "uniform mat4 uProjection;\n"
         "uniform float uPointSize;\n"
         "layout(location = 0) in vec3 aPosition;\n"
         "layout(location = 1) in vec4 aColour;\n"
         "layout(location = 2) in vec2 aTexCoord;\n"
         "out vec4 vColour;\n"
         "out vec2 vTexCoord;\n"
         "void main() {\n"
         "  gl_Position = uProjection * vec4(aPosition, 1.0);\n"
         "  gl_PointSize = uPointSize;\n"
         "  vColour = clamp(aColour, 0.0, 1.0);\n"
         "  vTexCoord = aTexCoord;\n"
         "}\n";
}

std::string Gles3FragmentShaderSource(int program) {
  std::string s =
      "#version 300 es\n"
      "precision highp float;\n"
      "in vec4 vColour;\n"
      "in vec2 vTexCoord;\n"
      "uniform sampler2D uTexture;\n"
      "out vec4 fragColour;\n"
      "void main() {\n";
  // The texture modulates the colour; the glow bitmaps have no alpha, so
  // the vertex alpha stays.
  s += Gles3ProgramIsTextured(program) ? "  vec4 c = vColour * texture(uTexture, vTexCoord);\n"
                                       : "  vec4 c = vColour;\n";
  // The alpha test the glow sprites are drawn with: only texels over 0.01
  // alpha pass, as glAlphaFunc(GL_GREATER, 0.01) lets them.
  if (Gles3ProgramTestsAlpha(program)) s += "  if (!(c.a > 0.01)) discard;\n";
  s += "  fragColour = c;\n"
       "}\n";
  return s;
}

bool FrustumMatrix(double left, double right, double bottom, double top, double zNear, double zFar,
                   std::array<float, 16>& m) {
  if (zNear <= 0 || zFar <= 0 || left == right || bottom == top || zNear == zFar) return false;
  const double w = right - left, h = top - bottom, d = zFar - zNear;
  m = {};
  m[0] = float(2 * zNear / w);
  m[5] = float(2 * zNear / h);
  m[8] = float((right + left) / w);
  m[9] = float((top + bottom) / h);
  m[10] = float(-(zFar + zNear) / d);
  m[11] = -1;
  m[14] = float(-2 * zFar * zNear / d);
  return true;
}
