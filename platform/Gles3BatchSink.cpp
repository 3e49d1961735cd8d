#include "platform/Gles3BatchSink.h"

#include <GLES3/gl3.h>

#include <cstdio>
#include <string>

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

// The shader's name, or 0 with the driver's reason on stderr.
GLuint Compile(GLenum type, const std::string& source) {
  const GLuint shader = glCreateShader(type);
  const char* text = source.c_str();
  glShaderSource(shader, 1, &text, nullptr);
  glCompileShader(shader);
  GLint ok = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (ok) return shader;
  char log[1024] = {};
  glGetShaderInfoLog(shader, sizeof log, nullptr, log);
  std::fprintf(stderr, "OpenGL ES shader not compiled: %s\n", log);
  glDeleteShader(shader);
  return 0;
}

GLuint Link(GLuint vertex, GLuint fragment) {
  const GLuint program = glCreateProgram();
  glAttachShader(program, vertex);
  glAttachShader(program, fragment);
  glLinkProgram(program);
  glDetachShader(program, vertex);
  glDetachShader(program, fragment);
  GLint ok = GL_FALSE;
  glGetProgramiv(program, GL_LINK_STATUS, &ok);
  if (ok) return program;
  char log[1024] = {};
  glGetProgramInfoLog(program, sizeof log, nullptr, log);
  std::fprintf(stderr, "OpenGL ES program not linked: %s\n", log);
  glDeleteProgram(program);
  return 0;
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
  if (Buffer) glDeleteBuffers(1, &Buffer);
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
  glGenBuffers(1, &Buffer);
  glBindBuffer(GL_ARRAY_BUFFER, Buffer);
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

void TGles3BatchSink::Viewport(int x, int y, int width, int height) { glViewport(x, y, width, height); }

void TGles3BatchSink::Frustum(double left, double right, double bottom, double top, double zNear, double zFar) {
  if (FrustumMatrix(left, right, bottom, top, zNear, zFar, Projection)) ++ProjectionVersion;
}

void TGles3BatchSink::ClearFrame() {
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void TGles3BatchSink::BeginFrameState() {
  glFrontFace(GL_CCW);
  glCullFace(GL_BACK);
  Forget();
}

unsigned TGles3BatchSink::CreateTexture(int width, int height, const std::uint8_t* rgb) {
  Texture.reset();  // making it binds it
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

void TGles3BatchSink::Forget() {
  Current.reset(), Blend.reset(), DepthTest.reset(), CullFace.reset();
  Texture.reset(), BlendMode.reset(), LineWidth.reset();
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
  if (s.Texture && Texture != s.Texture) glBindTexture(GL_TEXTURE_2D, *(Texture = s.Texture));
  Switch(Blend, GL_BLEND, s.Blend);
  if (s.Blend && BlendMode != s.BlendMode)
    glBlendFunc(GL_SRC_ALPHA, *(BlendMode = s.BlendMode) == TBlendMode::AlphaOne ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
  Switch(DepthTest, GL_DEPTH_TEST, s.DepthTest);
  // Culling touches triangles only, a line width lines only and a point size
  // points only: a run of another kind leaves them as they are.
  switch (s.Kind) {
    case TBatchKind::Triangles: Switch(CullFace, GL_CULL_FACE, s.CullFace); break;
    case TBatchKind::Lines:
      if (LineWidth != s.Size) glLineWidth(*(LineWidth = s.Size));
      break;
    case TBatchKind::Points:
      if (p.PointSizeSet != s.Size) glUniform1f(p.PointSize, *(p.PointSizeSet = s.Size));
      break;
  }
}

void TGles3BatchSink::Draw(const TDrawList& list) {
  if (list.Empty() || !Ready()) return;
  // One upload for the whole list into a buffer made once as large as a full
  // list, then every run draws from it.
  glBindVertexArray(VertexArray);
  glBindBuffer(GL_ARRAY_BUFFER, Buffer);
  const std::size_t capacity = list.VertexCapacity() * sizeof(TBatchVertex);
  if (BufferBytes < capacity) {
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(capacity), nullptr, GL_STREAM_DRAW);
    BufferBytes = capacity;
  }
  glBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(list.Vertices().size() * sizeof(TBatchVertex)),
                  list.Vertices().data());
  for (const TDrawBatch& run : list.Runs()) {
    Apply(run.State);
    glDrawArrays(ModeOf(run.State.Kind), run.First, run.Count);
  }
  glBindVertexArray(0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}
