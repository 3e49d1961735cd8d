#include "platform/RendererChoice.h"

#include "platform/GLRenderer.h"

std::unique_ptr<TRenderer> MakeGLRenderer() { return std::make_unique<TGLRenderer>(); }
