#pragma once
// The one place that picks the OpenGL drawing backend for the current
// context, so every program that draws with GL gets the same one: batched
// vertex arrays by default, immediate mode with QUADROVOLT_RENDERER=immediate.
#include <memory>
#include <string_view>

#include "gfx/Renderer.h"

enum class TRendererKind { Batched, Immediate };

// "batched" or "immediate"; false for anything else.
bool ParseRendererKind(std::string_view name, TRendererKind& kind);
// QUADROVOLT_RENDERER, batched when unset; an unknown name is reported on
// stderr and the default is used.
TRendererKind RendererKindFromEnvironment();

std::unique_ptr<TRenderer> MakeGLRenderer(TRendererKind kind);
std::unique_ptr<TRenderer> MakeGLRenderer();  // the kind the environment asks for
