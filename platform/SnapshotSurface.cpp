#include "platform/SnapshotSurface.h"

#include <GL/gl.h>

#include <cstring>

#include "platform/GLContextDefaults.h"
#include "platform/RendererChoice.h"

TSnapshotSurface::~TSnapshotSurface() {
  if (Renderer) SetRenderer(nullptr);
  Renderer.reset();
  if (Context) SDL_GL_DeleteContext(Context);
  if (Window) SDL_DestroyWindow(Window);
  if (VideoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool TSnapshotSurface::Create(int width, int height, std::string& error) {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    error = std::string("no video: ") + SDL_GetError();
    return false;
  }
  VideoStarted = true;
  RequestGameContext(32);
  Window = SDL_CreateWindow("Quadrovolt snapshot", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height,
                            SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!Window) {
    error = std::string("no window: ") + SDL_GetError();
    return false;
  }
  Context = SDL_GL_CreateContext(Window);
  if (!Context || SDL_GL_MakeCurrent(Window, Context) != 0) {
    error = std::string("no OpenGL context: ") + SDL_GetError();
    return false;
  }
  SetContextDefaults();
  Renderer = MakeGLRenderer();
  SetRenderer(Renderer.get());
  return true;
}

TRgbImage TSnapshotSurface::ReadBackBuffer() const {
  TRgbImage image;
  if (!Window) return image;
  if (Renderer) Renderer->Flush();  // a batching backend may still hold the frame
  SDL_GL_GetDrawableSize(Window, &image.Width, &image.Height);
  const std::size_t row = std::size_t(image.Width) * 3;
  std::vector<std::uint8_t> bottomUp(row * std::size_t(image.Height));
  glFinish();
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, image.Width, image.Height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
  // GL counts rows from the bottom; pictures start at the top.
  image.Pixels.resize(bottomUp.size());
  for (int y = 0; y < image.Height; ++y)
    std::memcpy(&image.Pixels[std::size_t(y) * row], &bottomUp[std::size_t(image.Height - 1 - y) * row], row);
  return image;
}

void TSnapshotSurface::UseRenderer(TRendererKind kind) {
  if (!Context) return;
  Renderer = MakeGLRenderer(kind);
  SetRenderer(Renderer.get());
}

void TSnapshotSurface::Show() {
  if (Window) SDL_ShowWindow(Window);
}

void TSnapshotSurface::SwapAndFinish() {
  if (!Window) return;
  if (Renderer) Renderer->Flush();
  SDL_GL_SwapWindow(Window);
  glFinish();
}
