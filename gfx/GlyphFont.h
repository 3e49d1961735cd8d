#pragma once
// The built-in stroke font: 95 glyphs in a 10 x 20 cell centred on the origin
// (X -5..5, Y -10..10; the comma and p reach down to -14).

// Draws one glyph at the origin with the current colour and line width.
// Code 0 is the filled block cursor (it leaves the colour opaque white); the
// space, the other control codes and codes 127 and above draw nothing.
void DrawStrokeGlyph(unsigned char ch);
