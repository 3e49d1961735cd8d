#include "gfx/Renderer.h"

#include "gfx/NullRenderer.h"

namespace {
TNullRenderer NullRenderer;
TRenderer* Current = &NullRenderer;
}  // namespace

TRenderer& GL() { return *Current; }

void SetRenderer(TRenderer* renderer) { Current = renderer ? renderer : &NullRenderer; }
