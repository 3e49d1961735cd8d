#pragma once
// A window with the game's own kind of OpenGL context (the kind its backend
// needs), for pictures nobody watches: the developer's snapshot tool and the
// checks on real pixels. It sets the same context defaults as the game
// window, installs the GL renderer for the game to draw with, and reads back
// what a frame drew.
#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gfx/Renderer.h"
#include "platform/RendererChoice.h"

// Top row first, three bytes (red, green, blue) a pixel.
struct TRgbImage {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Pixels;

  const std::uint8_t* At(int x, int y) const { return &Pixels[(std::size_t(y) * std::size_t(Width) + x) * 3]; }
};

class TSnapshotSurface {
 public:
  TSnapshotSurface() = default;
  TSnapshotSurface(const TSnapshotSurface&) = delete;
  TSnapshotSurface& operator=(const TSnapshotSurface&) = delete;
  ~TSnapshotSurface();

  // A hidden window of that size with its context current; false with the
  // reason when there is no display or no OpenGL.
  bool Create(int width, int height, std::string& error);
  // The back buffer as the last frame left it.
  TRgbImage ReadBackBuffer() const;
  // The driver's GL_VERSION of the current context ("OpenGL ES 3.2 Mesa ..."
  // for an ES one); empty without a context.
  std::string ContextVersion() const;

  // Draws with that backend from now on (Create installs the one the
  // environment asks for). A backend that needs another kind of context
  // gets a new window and context of the same size; false with the reason
  // when that cannot be had.
  bool UseRenderer(TRendererKind kind, std::string& error);
  void UseRenderer(TRendererKind kind) {
    std::string ignored;
    UseRenderer(kind, ignored);
  }
  // Puts the window on the screen, for timings of a picture someone could see.
  void Show();
  // Ends a frame as the game window does, and waits until the driver is done.
  void SwapAndFinish();

 private:
  bool MakeContext(TRendererKind kind, std::string& error);
  void DropContext();

  bool VideoStarted = false;
  bool Shown = false;
  int Width = 0, Height = 0;
  TRendererKind Kind = TRendererKind::Batched;
  SDL_Window* Window = nullptr;
  SDL_GLContext Context = nullptr;
  std::unique_ptr<TRenderer> Renderer;
};
