// The title screen (name, start-level strip, typewriter text, sparkles round
// the cursor, the start on fire) and the HUD line shown during play.
#include <algorithm>
#include <cstdio>

#include "app/GameConstants.h"
#include "app/QuadrovoltMain.h"
#include "app/World.h"
#include "board/BoardLayout.h"
#include "entities/blobPlayer.h"
#include "gfx/GLPrinter.h"
#include "gfx/ParticleEngine.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "gfx/Renderer.h"
#include "levels/LevelManager.h"

namespace {
constexpr int LevelSlots = 10;
constexpr int MiddleSlot = 5;
constexpr int LastLevel = 40;
}  // namespace

void TQuadrovoltMain::TitleFrame() {
  ScrollLevelStrip();
  ChooseStripLevel();
  Shown.StripOffset = LevelSelectOffset;
  Shown.StripMaxLevel = Progress.MaxLevel();

  Arena->Printer().PenX = Arena->Printer().PenStartX = -450;
  Arena->Printer().SetTop(-250);
  Arena->Printer().AdvanceScroller(ScrollShown, ScrollDelay, TVector3{1, 1, 1}, TVector3{0, 0.5f, 0.9f}, 1,
                                   ScrollCountdown);

  TitleSparkles();
  Arena->Particles().Update();

  if (ReadFireInput() && StateTimer <= 0) StartGame();
}

void TQuadrovoltMain::DrawTitle() const {
  const TVector3 one{1, 1, 1};
  Arena->Printer().PrintAt(4, TVector3{1, 1, 1}, -450, 200, TVector3{4, 8, 1}, "Q U A D R O V O L T");
  Arena->Printer().PrintAt(1, TVector3{1, 1, 0}, 350, 100, one, "final edition");
  Arena->Printer().PrintAt(2, TVector3{0.5f, 0, 1}, -300, -20, TVector3{2, 2, 1}, "A Pendrix Production 2006");
  Arena->Printer().PrintAt(2, TVector3{0.5f, 0, 1}, -300, -140, one, "Start Level:");
  DrawLevelStrip();
  DrawBoardView(Board, Arena->Printer());
  Arena->Printer().DrawScroller();
  Arena->Particles().Draw();
}

void TQuadrovoltMain::ScrollLevelStrip() {
  // One step every 5 frames while an arrow is held, in every control mode.
  if (--LevelScrollDelay >= 0) return;
  LevelScrollDelay = 4;
  if (Keys[VK::Left] && --LevelSelectOffset < -39) LevelSelectOffset = 1;
  if (Keys[VK::Right] && ++LevelSelectOffset > 39) LevelSelectOffset = 1;
}

namespace {
// The level in slot `slot` (1 to 10) of the strip scrolled to `offset`.
int StripLevel(int offset, int slot) {
  int n = offset >= 0 ? offset + 1 : offset + 41;
  for (int i = 1;; ++i, ++n) {
    if (n > LastLevel) n = 1;
    if (i == slot) return n;
  }
}
}  // namespace

void TQuadrovoltMain::ChooseStripLevel() {
  // The middle slot is the start level, when it is open.
  const int n = StripLevel(LevelSelectOffset, MiddleSlot);
  if (n <= Progress.MaxLevel()) {
    SelectedLevel = n;
    Level = n;
  } else {
    SelectedLevel = -1;
  }
}

void TQuadrovoltMain::DrawLevelStrip() const {
  const int maxLevel = Shown.StripMaxLevel;
  int n = Shown.StripOffset >= 0 ? Shown.StripOffset + 1 : Shown.StripOffset + 41;
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
    Arena->Printer().PrintAt(2, TVector3{base * fade, base * fade, unlocked ? 0.0f : 0.5f * fade}, float(i * 50 - 190),
                             -140, TVector3{1, 1, 1}, label);
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

void TQuadrovoltMain::TitleSparkles() {
  // A point circles the cursor, throwing a ring of sparks every frame.
  TitleAngle += 6;
  if (TitleAngle > 360) TitleAngle = 0;
  const TVector3& around = DirTable[TitleAngle];
  const TVector3 ringPoint{CursorX + 20 * around.X, CursorY + 20 * around.Y, 0};
  for (int k = 0; k < 18; ++k)
    Arena->Particles().AddParticle(ringPoint, true, DirTable[20 * k], 5, TVector3{0.8f, 0.8f, 0}, false, 0, 4, 50, 200,
                                   8);

  // Moving the cursor leaves a trail of yellow dust.
  if (CursorX == LastCursorX && CursorY == LastCursorY) return;
  LastCursorX = CursorX;
  LastCursorY = CursorY;
  for (int k = 0; k < 8; ++k) {
    const TVector3 pos{float(CursorX + Random(16) - 8), float(CursorY + Random(16) - 8), 0};
    for (std::uint8_t style : {std::uint8_t(3), std::uint8_t(5)}) {
      float dx = 2 * Random();
      dx -= Random();
      float dy = 2 * Random();
      dy -= Random();
      Arena->Particles().AddParticle(pos, true, TVector3{dx, dy, 0}, style, TVector3{1, 1, 0}, false, 0, 2, 10, 200, 8);
    }
  }
}

bool TQuadrovoltMain::ReadFireInput() {
  switch (InputMode) {
    case InputModes::Keyboard: ReadKeyboard(); return KeyFire;
    case InputModes::Mouse: return MouseLeft;
    default: ReadJoystick(); return JoyFire;
  }
}

void TQuadrovoltMain::StartGame() {
  // The game goes on from wherever the generator stands: that is its seed.
  // A ticketed game starts from the ticket's seed instead, script and all.
  if (NextGameSeed) {
    RebuildScript(NextGameSeed);
    RandomRestore(NextGameSeed);
    NextGameSeed = 0;
  }
  const TReplayHeader header = PlayHeader();
  BeginPlay(header);
  Recorder.Begin(header);
}

void TQuadrovoltMain::DrawHud() const {
  const TVector3 white{1, 1, 1};
  char text[48];
  Arena->Printer().PrintHud(1, white, -500, 520, "Energy: ");
  std::snprintf(text, sizeof text, "Score: %d", Shown.Score);
  Arena->Printer().PrintHud(1, white, -100, 520, text);
  std::snprintf(text, sizeof text, " HiScore: %d", Shown.HiScore);
  Arena->Printer().PrintHud(1, TVector3{0, 0.5f, 1}, 300, 520, text);
  std::snprintf(text, sizeof text, "GraviBomb:%d", Shown.GraviBombs);
  Arena->Printer().PrintHud(1, TVector3{0, 0, 1}, 150, 520, text);
  if (Shown.Watching) Arena->Printer().PrintHud(1, TVector3{1, 1, 0}, -190, 520, "REPLAY");

  // Energy bar: 200 units at full energy, shaded magenta to blue, gone at 100 damage.
  const int energy = 100 - std::min(Shown.Damage, 100);
  if (energy <= 0) return;
  TRenderer& gl = GL();
  gl.LineWidth(6);
  gl.Begin(TPrimitive::Lines);
  gl.Color(1, 0, 1, 1);
  gl.Vertex(-400, 520, 0);
  gl.Color(0, 0, 1, 1);
  gl.Vertex(float(-400 + 2 * energy), 520, 0);
  gl.End();
}
