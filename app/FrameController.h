#pragma once
// The frame's own share of every message, without any window system: it hands
// the message to the game object, then applies the Escape rule (Escape in play
// goes back to the title, Escape once the title asked to quit ends the
// program), then keeps its own record of held keys.
#include <cstdint>

class TQuadrovoltMain;

class TFrameController {
 public:
  explicit TFrameController(TQuadrovoltMain* game) : Game(game) {}

  // Returns false once the program should end.
  bool HandleMessage(unsigned message, std::uint64_t wParam, std::int64_t lParam);
  // One timer tick: the message goes through the hook, then the game draws
  // (unless paused). Returns false once the program should end.
  bool Tick();
  // Between ticks: Escape held while the title asked to quit ends the program.
  bool IdleCheck();

  void ClearKeys();
  bool Looping() const { return ProgramLooping; }

 private:
  void RequestQuit() { ProgramLooping = false; }

  TQuadrovoltMain* Game;
  bool KeyState[256] = {};
  bool ProgramLooping = true;
};
