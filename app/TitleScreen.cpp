// The title's step (its strip, text and sparkles, the start on fire) and the
// HUD line shown during play.
#include <algorithm>
#include <cstdio>

#include "app/GameConstants.h"
#include "app/QuadrovoltMain.h"
#include "app/Title.h"
#include "app/World.h"
#include "board/BoardLayout.h"
#include "entities/blobPlayer.h"
#include "gfx/GLPrinter.h"
#include "gfx/ParticleEngine.h"
#include "gfx/PdxLib3D.h"
#include "gfx/Random.h"
#include "gfx/Renderer.h"
#include "levels/LevelManager.h"

void TQuadrovoltMain::TitleFrame() {
  // The strip moves in every control mode; the middle slot's level, when
  // open, is the one a start plays.
  TitleScreen.ScrollStrip(Keys[VK::Left], Keys[VK::Right]);
  const int start = TitleScreen.ChooseStartLevel(Progress.MaxLevel());
  if (start > 0) Level = start;
  Shown.StripOffset = TitleScreen.StripOffset();
  Shown.StripMaxLevel = Progress.MaxLevel();

  TitleScreen.TypeText(Arena->Printer());
  TitleScreen.Sparkle(Arena->Particles(), CursorX, CursorY);
  Arena->Particles().Update();

  if (ReadFireInput() && StateTimer <= 0) StartGame();
}

void TQuadrovoltMain::DrawTitle() const {
  TitleScreen.Draw(Arena->Printer(), Shown.StripOffset, Shown.StripMaxLevel);
  Arena->Particles().Draw();
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
  if (const std::uint64_t seed = Session.TakeNextSeed()) {
    RebuildScript(seed);
    RandomRestore(seed);
  }
  const TReplayHeader header = PlayHeader();
  BeginPlay(header);
  Session.Recorder().Begin(header);
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
