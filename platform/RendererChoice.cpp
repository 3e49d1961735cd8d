#include "platform/RendererChoice.h"

#include <cstdio>
#include <cstdlib>

#include "gfx/BatchingRenderer.h"
#include "platform/GLBatchSink.h"
#include "platform/GLRenderer.h"

bool ParseRendererKind(std::string_view name, TRendererKind& kind) {
  if (name == "batched")
    kind = TRendererKind::Batched;
  else if (name == "immediate")
    kind = TRendererKind::Immediate;
  else
    return false;
  return true;
}

TRendererKind RendererKindFromEnvironment() {
  TRendererKind kind = TRendererKind::Batched;
  const char* asked = std::getenv("QUADROVOLT_RENDERER");
  if (asked && *asked && !ParseRendererKind(asked, kind))
    std::fprintf(stderr, "QUADROVOLT_RENDERER=%s is not batched or immediate: drawing batched\n", asked);
  return kind;
}

std::unique_ptr<TRenderer> MakeGLRenderer(TRendererKind kind) {
  if (kind == TRendererKind::Immediate) return std::make_unique<TGLRenderer>();
  return std::make_unique<TBatchingRenderer>(std::make_unique<TGLBatchSink>());
}

std::unique_ptr<TRenderer> MakeGLRenderer() { return MakeGLRenderer(RendererKindFromEnvironment()); }
