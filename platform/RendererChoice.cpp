#include "platform/RendererChoice.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "gfx/BatchingRenderer.h"
#include "platform/GLBatchSink.h"
#include "platform/GLContextDefaults.h"
#include "platform/GLRenderer.h"
#include "platform/Gles3BatchSink.h"

namespace {
constexpr struct {
  const char* Name;
  TRendererKind Kind;
} kNames[] = {
    {"batched", TRendererKind::Batched}, {"immediate", TRendererKind::Immediate}, {"gles3", TRendererKind::Gles3}};
}  // namespace

bool ParseRendererKind(std::string_view name, TRendererKind& kind) {
  for (const auto& n : kNames)
    if (name == n.Name) {
      kind = n.Kind;
      return true;
    }
  return false;
}

const char* RendererKindName(TRendererKind kind) {
  for (const auto& n : kNames)
    if (n.Kind == kind) return n.Name;
  return "batched";
}

TRendererKind RendererKindFromEnvironment() {
  TRendererKind kind = TRendererKind::Batched;
  const char* asked = std::getenv("QUADROVOLT_RENDERER");
  if (asked && *asked && !ParseRendererKind(asked, kind))
    std::fprintf(stderr, "QUADROVOLT_RENDERER=%s is not batched, immediate or gles3: drawing batched\n", asked);
  return kind;
}

bool NeedsEsContext(TRendererKind kind) { return kind == TRendererKind::Gles3; }

void RequestContextFor(TRendererKind kind, int bitsPerPixel) {
  SDL_GL_ResetAttributes();  // a window made after an ES one must not ask for ES 3.0 again
  RequestGameContext(bitsPerPixel);
  if (NeedsEsContext(kind)) {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
  }
}

void SetContextDefaultsFor(TRendererKind kind) {
  if (NeedsEsContext(kind))
    SetGles3ContextDefaults();
  else
    SetContextDefaults();
}

std::unique_ptr<TRenderer> MakeGLRenderer(TRendererKind kind) {
  switch (kind) {
    case TRendererKind::Immediate: return std::make_unique<TGLRenderer>();
    case TRendererKind::Gles3: return std::make_unique<TBatchingRenderer>(std::make_unique<TGles3BatchSink>());
    case TRendererKind::Batched: break;
  }
  return std::make_unique<TBatchingRenderer>(std::make_unique<TGLBatchSink>());
}

std::unique_ptr<TRenderer> MakeGLRenderer() { return MakeGLRenderer(RendererKindFromEnvironment()); }
