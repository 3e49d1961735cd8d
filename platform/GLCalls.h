#pragma once
// The GL calls every drawing backend makes the same way. They are the part of
// OpenGL 1.5 that OpenGL ES 3.0 (and so WebGL 2) kept, written against the ES
// header, so the desktop backends and the web page share one copy.
#include <cstdint>
#include <optional>

#include "gfx/BatchSink.h"

void GLClearFrame();  // black, colour and depth
unsigned GLCreateTexture(int width, int height, const std::uint8_t* rgb);
unsigned GLDrawMode(TBatchKind kind);

// Turns a capability on or off unless GL is already known to hold it so.
void GLSwitch(std::optional<bool>& known, unsigned cap, bool on);
