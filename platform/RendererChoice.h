#pragma once
// The one place that picks the OpenGL drawing backend and the kind of context
// it needs, so every program that draws with GL gets the same one: batched
// vertex arrays on OpenGL 1.5 by default, immediate mode with
// QUADROVOLT_RENDERER=immediate, and the OpenGL ES 3.0 half the web page uses
// with QUADROVOLT_RENDERER=gles3 (in an ES 3.0 context of its own).
#include <memory>
#include <string_view>

#include "gfx/Renderer.h"

enum class TRendererKind { Batched, Immediate, Gles3 };

// "batched", "immediate" or "gles3"; false for anything else.
bool ParseRendererKind(std::string_view name, TRendererKind& kind);
// The name ParseRendererKind reads back as that kind.
const char* RendererKindName(TRendererKind kind);
// QUADROVOLT_RENDERER, batched when unset; an unknown name is reported on
// stderr and the default is used.
TRendererKind RendererKindFromEnvironment();

// True when the backend draws in an OpenGL ES 3.0 context, false for the
// desktop compatibility one.
bool NeedsEsContext(TRendererKind kind);
// Asks SDL for the game's kind of context for that backend (double-buffered,
// 16-bit depth, 8 or 5 bits a colour channel) for the next window it creates.
void RequestContextFor(TRendererKind kind, int bitsPerPixel);
// The state a new context of that backend starts the game with.
void SetContextDefaultsFor(TRendererKind kind);

std::unique_ptr<TRenderer> MakeGLRenderer(TRendererKind kind);
std::unique_ptr<TRenderer> MakeGLRenderer();  // the kind the environment asks for
