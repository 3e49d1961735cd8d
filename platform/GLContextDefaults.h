#pragma once
// The GL state a new context starts the game with, set once when the context
// exists. The game window and the snapshot tool both call it, so the picture
// a snapshot shows is the picture the window shows. The state of each frame
// (culling, blending, camera) is set by the renderer's BeginFrameState.
void SetContextDefaults();

// Asks SDL for the game's kind of context (double-buffered, 16-bit depth,
// 8 or 5 bits a colour channel) for the next window it creates.
void RequestGameContext(int bitsPerPixel);
