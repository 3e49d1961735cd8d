#include "app/Title.h"

#include <cstdint>
#include <cstdio>

#include "board/BoardLayout.h"
#include "gfx/GLPrinter.h"
#include "gfx/ParticleEngine.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "gfx/Renderer.h"

namespace {
// The level in slot `slot` (1 to 10) of the strip scrolled to `offset`.
int StripLevel(int offset, int slot) {
  int n = offset >= 0 ? offset + 1 : offset + 41;
  for (int i = 1;; ++i, ++n) {
    if (n > TTitle::LastLevel) n = 1;
    if (i == slot) return n;
  }
}
}  // namespace

void TTitle::ScrollStrip(bool left, bool right) {
  if (--StripDelay >= 0) return;
  StripDelay = 4;
  if (left && --Offset < -39) Offset = 1;
  if (right && ++Offset > 39) Offset = 1;
}

int TTitle::ChooseStartLevel(int maxLevel) {
  const int n = StripLevel(Offset, MiddleSlot);
  Selected = n <= maxLevel ? n : -1;
  return Selected;
}

void TTitle::TypeText(TGLPrinter& printer) {
  printer.PenX = printer.PenStartX = -450;
  printer.SetTop(-250);
  printer.AdvanceScroller(ScrollShown, ScrollDelay, TVector3{1, 1, 1}, TVector3{0, 0.5f, 0.9f}, 1, ScrollCountdown);
}

void TTitle::Sparkle(TParticleEngine& particles, int cursorX, int cursorY) {
  Angle += 6;
  if (Angle > 360) Angle = 0;
  const TVector3& around = DirTable[Angle];
  const TVector3 ringPoint{cursorX + 20 * around.X, cursorY + 20 * around.Y, 0};
  for (int k = 0; k < 18; ++k)
    particles.AddParticle(ringPoint, true, DirTable[20 * k], 5, TVector3{0.8f, 0.8f, 0}, false, 0, 4, 50, 200, 8);

  if (cursorX == LastCursorX && cursorY == LastCursorY) return;
  LastCursorX = cursorX;
  LastCursorY = cursorY;
  for (int k = 0; k < 8; ++k) {
    const TVector3 pos{float(cursorX + Random(16) - 8), float(cursorY + Random(16) - 8), 0};
    for (std::uint8_t style : {std::uint8_t(3), std::uint8_t(5)}) {
      float dx = 2 * Random();
      dx -= Random();
      float dy = 2 * Random();
      dy -= Random();
      particles.AddParticle(pos, true, TVector3{dx, dy, 0}, style, TVector3{1, 1, 0}, false, 0, 2, 10, 200, 8);
    }
  }
}

void TTitle::Draw(const TGLPrinter& printer, int stripOffset, int maxLevel) const {
  const TVector3 one{1, 1, 1};
  printer.PrintAt(4, TVector3{1, 1, 1}, -450, 200, TVector3{4, 8, 1}, "Q U A D R O V O L T");
  printer.PrintAt(1, TVector3{1, 1, 0}, 350, 100, one, "final edition");
  printer.PrintAt(2, TVector3{0.5f, 0, 1}, -300, -20, TVector3{2, 2, 1}, "A Pendrix Production 2006");
  printer.PrintAt(2, TVector3{0.5f, 0, 1}, -300, -140, one, "Start Level:");
  DrawStrip(printer, stripOffset, maxLevel);
  DrawBoardView(BoardShown, printer);
  printer.DrawScroller();
}

void TTitle::DrawStrip(const TGLPrinter& printer, int stripOffset, int maxLevel) const {
  int n = stripOffset >= 0 ? stripOffset + 1 : stripOffset + 41;
  float fade = 1.0f;
  char label[16];
  bool middleOpen = false;
  for (int i = 1; i <= LevelSlots; ++i) {
    if (n > LastLevel) n = 1;
    const bool unlocked = n <= maxLevel;
    const float base = unlocked ? 1.0f : 0.5f;  // yellow when open, grey when locked
    if (i == MiddleSlot) middleOpen = unlocked;
    fade -= 0.025f;
    std::snprintf(label, sizeof label, "%.02d", n);
    printer.PrintAt(2, TVector3{base * fade, base * fade, unlocked ? 0.0f : 0.5f * fade}, float(i * 50 - 190), -140,
                    TVector3{1, 1, 1}, label);
    ++n;
  }

  // Brackets round the middle number: grey and thin when it is locked.
  TRenderer& gl = GL();
  if (!middleOpen) {
    gl.Color(0.5f, 0.5f, 0.5f, 1);
    gl.LineWidth(1);
  } else {
    gl.Color(1, 1, 1, 1);
    gl.LineWidth(2);
  }
  static const float Segments[][4] = {{48, -116, 48, -126}, {48, -116, 84, -116}, {84, -116, 84, -126},
                                      {48, -150, 48, -160}, {48, -160, 84, -160}, {84, -160, 84, -150}};
  gl.Begin(TPrimitive::Lines);
  for (const auto& s : Segments) {
    gl.Vertex(s[0], s[1], 0);
    gl.Vertex(s[2], s[3], 0);
  }
  gl.End();
}
