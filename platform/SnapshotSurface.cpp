#include "platform/SnapshotSurface.h"

#include <GL/gl.h>

#include <cstring>

#include "platform/RendererChoice.h"

TSnapshotSurface::~TSnapshotSurface() {
  DropContext();
  if (VideoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool TSnapshotSurface::Create(int width, int height, std::string& error) {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    error = std::string("no video: ") + SDL_GetError();
    return false;
  }
  VideoStarted = true;
  Width = width, Height = height;
  return MakeContext(RendererKindFromEnvironment(), error);
}

bool TSnapshotSurface::MakeContext(TRendererKind kind, std::string& error) {
  DropContext();
  Kind = kind;
  RequestContextFor(kind, 32);
  Window = SDL_CreateWindow("Quadrovolt snapshot", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, Width, Height,
                            SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!Window) {
    error = std::string("no window: ") + SDL_GetError();
    return false;
  }
  Context = SDL_GL_CreateContext(Window);
  if (!Context || SDL_GL_MakeCurrent(Window, Context) != 0) {
    error = std::string(NeedsEsContext(kind) ? "no OpenGL ES 3.0 context: " : "no OpenGL context: ") + SDL_GetError();
    DropContext();
    return false;
  }
  SetContextDefaultsFor(kind);
  Renderer = MakeGLRenderer(kind);
  SetRenderer(Renderer.get());
  if (Shown) SDL_ShowWindow(Window);
  return true;
}

void TSnapshotSurface::DropContext() {
  // The backend's buffers and programs belong to this context: it goes first.
  if (Renderer) SetRenderer(nullptr);
  Renderer.reset();
  if (Context) SDL_GL_DeleteContext(Context);
  if (Window) SDL_DestroyWindow(Window);
  Context = nullptr, Window = nullptr;
}

TRgbImage TSnapshotSurface::ReadBackBuffer() const {
  TRgbImage image;
  if (!Window) return image;
  if (Renderer) Renderer->Flush();  // a batching backend may still hold the frame
  SDL_GL_GetDrawableSize(Window, &image.Width, &image.Height);
  // RGBA bytes are the one read every GL and GL ES driver must give.
  const std::size_t row = std::size_t(image.Width) * 4;
  std::vector<std::uint8_t> bottomUp(row * std::size_t(image.Height));
  glFinish();
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, image.Width, image.Height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
  // GL counts rows from the bottom; pictures start at the top.
  image.Pixels.resize(std::size_t(image.Width) * std::size_t(image.Height) * 3);
  for (int y = 0; y < image.Height; ++y) {
    const std::uint8_t* from = &bottomUp[std::size_t(image.Height - 1 - y) * row];
    std::uint8_t* to = &image.Pixels[std::size_t(y) * std::size_t(image.Width) * 3];
    for (int x = 0; x < image.Width; ++x, from += 4, to += 3) std::memcpy(to, from, 3);
  }
  return image;
}

std::string TSnapshotSurface::ContextVersion() const {
  const GLubyte* version = Context ? glGetString(GL_VERSION) : nullptr;
  return version ? reinterpret_cast<const char*>(version) : "";
}

bool TSnapshotSurface::UseRenderer(TRendererKind kind, std::string& error) {
  if (!VideoStarted) return false;
  if (!Context || NeedsEsContext(kind) != NeedsEsContext(Kind)) return MakeContext(kind, error);
  SetRenderer(nullptr);
  Renderer.reset();  // its buffers go before the next one makes its own
  Renderer = MakeGLRenderer(kind);
  Kind = kind;
  SetRenderer(Renderer.get());
  return true;
}

void TSnapshotSurface::Show() {
  Shown = true;
  if (Window) SDL_ShowWindow(Window);
}

void TSnapshotSurface::SwapAndFinish() {
  if (!Window) return;
  if (Renderer) Renderer->Flush();
  SDL_GL_SwapWindow(Window);
  glFinish();
}
