#pragma once
// The one place that picks the OpenGL drawing backend for the current
// context, so every program that draws with GL gets the same one.
#include <memory>

#include "gfx/Renderer.h"

std::unique_ptr<TRenderer> MakeGLRenderer();
