#pragma once
// Tests only: the situations a rule is checked in, set up through the host in
// the game's own terms (a level pinned, levels opened, a record to beat, the
// title ready for fire) rather than by writing the game object's fields.
#include <algorithm>

#include "app/GameHost.h"
#include "app/QuadrovoltMain.h"

class TArrange {
 public:
  explicit TArrange(TGameHost& host) : Game(host.Arrange()) {}

  // The level played stays this one, however many are completed.
  void PinLevel(int level) { Game.Level = level; }
  // The strip opens every start level up to this one (and no further).
  void LevelsOpen(int level) { Game.Progress.Max = level; }
  void OpenLevelsUpTo(int level) { LevelsOpen(std::max(Game.Progress.MaxLevel(), level)); }
  // The title's strip shows this start level in its middle slot.
  void ShowStartLevel(int level) { Game.ShowStartLevel(level); }
  // The strip scrolled to this offset (-39..39: where its first slot starts).
  void ScrollStripTo(int offset) { Game.TitleScreen.Offset = offset; }
  // An arrow held now moves the strip on the next step.
  void StripMovesNextStep() { Game.TitleScreen.StripDelay = 0; }
  // The title takes fire at once, without its pause after a game.
  void TitleReadyForFire() { Game.StateTimer = 0; }
  // The best score the game in play has to beat.
  void BestScore(int score) { Game.Progress.Hi = score; }
  // The developer assists the next game records and plays with.
  void Assists(const TReplayAssists& assists) { Game.Assists = assists; }

 private:
  TQuadrovoltMain& Game;
};
