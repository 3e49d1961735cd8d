#include "platform/Gles3BatchSink.h"

#include <GLES3/gl3.h>

#include <cstdio>
#include <string>

#include "platform/GLCalls.h"

namespace {
// The shader or program when the driver took it, or 0 with the driver's
// reason on stderr; shaders and programs answer through twin calls.
GLuint Accepted(GLuint name, GLenum status, const char* failure) {
  const bool program = status == GL_LINK_STATUS;
  GLint ok = GL_FALSE;
  (program ? glGetProgramiv : glGetShaderiv)(name, status, &ok);
  if (ok) return name;
  char log[1024] = {};
  (program ? glGetProgramInfoLog : glGetShaderInfoLog)(name, sizeof log, nullptr, log);
  std::fprintf(stderr, "OpenGL ES %s: %s\n", failure, log);
  (program ? glDeleteProgram : glDeleteShader)(name);
  return 0;
}

GLuint Compile(GLenum type, const std::string& source) {
  const GLuint shader = glCreateShader(type);
  const char* text = source.c_str();
  glShaderSource(shader, 1, &text, nullptr);
  glCompileShader(shader);
  return Accepted(shader, GL_COMPILE_STATUS, "shader not compiled");
}

GLuint Link(GLuint vertex, GLuint fragment) {
  const GLuint program = glCreateProgram();
  glAttachShader(program, vertex);
  glAttachShader(program, fragment);
  glLinkProgram(program);
  glDetachShader(program, vertex);
  glDetachShader(program, fragment);
  return Accepted(program, GL_LINK_STATUS, "program not linked");
}
}  // namespace

void SetGles3ContextDefaults() {
  glClearColor(0, 0, 0, 0.5f);
  glClearDepthf(1.0f);
  // Nearly everything is drawn at z = 0: a later shape at the same depth must
  // still pass, or the first glow at a pixel would hide all drawn after it.
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_DEPTH_TEST);
}

TGles3BatchSink::~TGles3BatchSink() {
  // Made in the context that is still current: the backend goes before it.
  for (TProgram& p : Programs)
    if (p.Name) glDeleteProgram(p.Name);
  DeleteVertexBuffer();
  if (VertexArray) glDeleteVertexArrays(1, &VertexArray);
}

bool TGles3BatchSink::Ready() {
  if (Tried) return Usable;
  Tried = true;
  const GLuint vertex = Compile(GL_VERTEX_SHADER, Gles3VertexShaderSource());
  Usable = vertex != 0;
  for (int i = 0; Usable && i < kGles3ProgramCount; ++i) {
    const GLuint fragment = Compile(GL_FRAGMENT_SHADER, Gles3FragmentShaderSource(i));
    TProgram& p = Programs[std::size_t(i)];
    p.Name = fragment ? Link(vertex, fragment) : 0;
    if (fragment) glDeleteShader(fragment);
    Usable = p.Name != 0;
    if (!Usable) break;
    p.Projection = glGetUniformLocation(p.Name, "uProjection");
    p.PointSize = glGetUniformLocation(p.Name, "uPointSize");
    glUseProgram(p.Name);
    glUniform1i(glGetUniformLocation(p.Name, "uTexture"), 0);
  }
  if (vertex) glDeleteShader(vertex);
  if (!Usable) {
    std::fprintf(stderr, "OpenGL ES 3.0 drawing is not possible here: nothing will be drawn\n");
    return false;
  }
  // The layout of a vertex in the buffer is set once in the vertex array.
  glGenVertexArrays(1, &VertexArray);
  glBindVertexArray(VertexArray);
  VertexBuffer();
  constexpr GLsizei stride = sizeof(TBatchVertex);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(offsetof(TBatchVertex, X)));
  glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(offsetof(TBatchVertex, R)));
  glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(offsetof(TBatchVertex, U)));
  for (GLuint a = 0; a < 3; ++a) glEnableVertexAttribArray(a);
  glBindVertexArray(0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  Forget();
  return true;
}

void TGles3BatchSink::Frustum(double left, double right, double bottom, double top, double zNear, double zFar) {
  if (FrustumMatrix(left, right, bottom, top, zNear, zFar, Projection)) ++ProjectionVersion;
}

void TGles3BatchSink::BeginFrameState() {
  glFrontFace(GL_CCW);
  glCullFace(GL_BACK);
  Forget();
}

void TGles3BatchSink::Forget() {
  Current.reset();
  ForgetCommon();
  for (TProgram& p : Programs) p.ProjectionSeen = 0, p.PointSizeSet.reset();
}

void TGles3BatchSink::Apply(const TBatchState& s) {
  const int index = Gles3ProgramFor(s);
  TProgram& p = Programs[std::size_t(index)];
  if (Current != index) glUseProgram(p.Name), Current = index;
  if (p.ProjectionSeen != ProjectionVersion) {
    glUniformMatrix4fv(p.Projection, 1, GL_FALSE, Projection.data());
    p.ProjectionSeen = ProjectionVersion;
  }
  ApplyCommon(s);
  // A point size touches points only.
  if (s.Kind == TBatchKind::Points && p.PointSizeSet != s.Size) glUniform1f(p.PointSize, *(p.PointSizeSet = s.Size));
}

void TGles3BatchSink::Draw(const TDrawList& list) {
  if (list.Empty() || !Ready()) return;
  glBindVertexArray(VertexArray);
  UploadVertices(list);
  for (const TDrawBatch& run : list.Runs()) {
    Apply(run.State);
    glDrawArrays(GLDrawMode(run.State.Kind), run.First, run.Count);
  }
  glBindVertexArray(0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}
