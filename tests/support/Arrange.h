#pragma once
// Tests only: the situations a rule is checked in, set up through the host in
// the game's own terms (a level pinned, levels opened, a record to beat, the
// title ready for fire, an enemy placed in the arena) rather than by writing
// the game object's fields; and the few things a rule is read from that no
// host may read.
#include <algorithm>
#include <initializer_list>
#include <string>

#include "app/GameHost.h"
#include "app/QuadrovoltMain.h"
#include "app/World.h"

class TArrange {
 public:
  explicit TArrange(TGameHost& host) : Game(*host.GameObject) {}

  // The level played stays this one, however many are completed.
  void PinLevel(int level) { Game.Level = level; }
  // The strip opens every start level up to this one (and no further).
  void LevelsOpen(int level) { Game.Progress.Max = level; }
  void OpenLevelsUpTo(int level) { LevelsOpen(std::max(Game.Progress.MaxLevel(), level)); }
  // The title's strip shows this start level in its middle slot.
  void ShowStartLevel(int level) { Game.TitleScreen.ShowStartLevel(level); }
  // The strip scrolled to this offset (-39..39: where its first slot starts).
  void ScrollStripTo(int offset) { Game.TitleScreen.Offset = offset; }
  // An arrow held now moves the strip on the next step.
  void StripMovesNextStep() { Game.TitleScreen.StripDelay = 0; }
  // The title takes fire at once, without its pause after a game.
  void TitleReadyForFire() { Game.StateTimer = 0; }
  // Back on the title now, as Escape would bring the game there.
  void BackToTitle() { Game.SetState(GameState::Title); }
  // The best score the game in play has to beat.
  void BestScore(int score) { Game.Progress.Hi = score; }
  // The developer assists the next game records and plays with.
  void Assists(const TReplayAssists& assists) { Game.Assists = assists; }
  // The level's quota is reached: the next level starts.
  void CompleteLevel() { Game.OnLevelComplete(nullptr); }
  // The save file read again, as a new session would.
  void ReloadSave() { Game.LoadGame(); }

  // The arena itself, to place an enemy or set the ship up for a rule.
  TWorld& World() { return Game.World(); }
  // The mouse cursor in arena units, as the last cursor event left it.
  void CursorAt(int x, int y) { Game.CursorX = x, Game.CursorY = y; }
  // The ship fires one bullet now, straight along its aim.
  void FireBullet() { Game.FireBullet(0); }

  // The controls read once, as a frame of play reads them: the keyboard with
  // exactly these keys held, or the pad as the host's input holds it (its fire
  // as the last reading left it).
  void ReadKeyboard(std::initializer_list<int> held) {
    std::fill(std::begin(Game.Keys), std::end(Game.Keys), false);
    for (int vk : held) Game.Keys[vk] = true;
    Game.ReadKeyboard();
  }
  void ReadJoystick() { Game.ReadJoystick(); }
  void PadFireHeld(bool held) { Game.JoyFire = held; }

  // What a rule is read from that no host reads.
  bool KeyFire() const { return Game.KeyFire; }
  bool PadFire() const { return Game.JoyFire; }
  bool IntroPlaying() const { return Game.IntroPlaying; }
  int StateTimer() const { return Game.StateTimer; }
  int CursorX() const { return Game.CursorX; }
  int CursorY() const { return Game.CursorY; }
  const std::string& SavePath() const { return Game.Progress.SavePath(); }
  // The game object read only: its world, title, replays and picture.
  const TQuadrovoltMain& ReadOnly() const { return Game; }

 private:
  TQuadrovoltMain& Game;
};
