#pragma once
// The frame's own share of every message, without any window system: it hands
// the message to the game object, then applies the Escape rule (Escape in play
// goes back to the title, Escape once the title asked to quit ends the
// program), then keeps its own record of held keys.
#include <cstdint>

struct TInputEvent;

class TQuadrovoltMain;

class TFrameController {
 public:
  explicit TFrameController(TQuadrovoltMain* game) : Game(game) {}

  // Returns false once the program should end.
  bool HandleMessage(unsigned message, std::uint64_t wParam, std::int64_t lParam);
  // The same for an event a host made itself (cursor in arena units).
  bool HandleInput(const TInputEvent& e);
  // One timer tick: the message goes through the hook, then the game steps
  // (unless paused). Returns false once the program should end.
  bool Step();
  // Whether the last Step moved the game on (a paused game stands still).
  bool Stepped() const { return LastStepRan; }
  // The picture of the last step; changes nothing.
  void Render() const;
  // Step, then Render when the game moved on.
  bool Tick();
  // Between ticks: Escape held while the title asked to quit ends the program.
  bool IdleCheck();

  void ClearKeys();
  bool Looping() const { return ProgramLooping; }

 private:
  void RequestQuit() { ProgramLooping = false; }
  // The Escape rule and the record of held keys (key -1: not a tracked key).
  bool AfterInput(int key, bool down);

  TQuadrovoltMain* Game;
  bool KeyState[256] = {};
  bool ProgramLooping = true;
  bool LastStepRan = false;
};
