#pragma once
// Installs a renderer for as long as it lives and gives back the one that was
// installed before: the game, a tool or a test never leaves its renderer
// behind once it is gone.
#include "gfx/Renderer.h"

class TScopedRenderer {
 public:
  explicit TScopedRenderer(TRenderer& renderer) : Previous(&GL()) { SetRenderer(&renderer); }
  ~TScopedRenderer() { SetRenderer(Previous); }
  TScopedRenderer(const TScopedRenderer&) = delete;
  TScopedRenderer& operator=(const TScopedRenderer&) = delete;

 private:
  TRenderer* Previous;
};
