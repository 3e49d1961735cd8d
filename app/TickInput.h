#pragma once
// TTickInput: everything one 10 ms step reads from the player, in one value
// the host hands the game with the step. It holds what is held as the step
// runs (keys, buttons, the cursor, the pad's reading) and what happened since
// the step before, in the order it happened (presses, releases, a held key's
// repeats, the cursor's moves): the same things a replay keeps for the tick.
//
// A host builds it from its own events with Press, Release, Button and
// Cursor, hands it to TGameHost::Step and calls NextTick before the next
// step's events. A host may also set what is held directly: what the events
// leave differing from it is taken as pressed or released at the end of the
// tick's events.
#include <bitset>
#include <cstdint>

#include "app/Replay.h"

struct TTickInput {
  // More than a person makes in 10 ms; past it, key and button events are
  // dropped (what is held still arrives) and cursor moves replace the last.
  static constexpr int MaxEvents = 64;

  // --- What is held as the step runs ---------------------------------------
  std::bitset<256> Keys;
  bool Left = false, Right = false;
  // The cursor in arena units (-600..600 both ways across the picture, y up);
  // CursorSet false: the host has none (no mouse), and the game keeps its own.
  bool CursorSet = false;
  int CursorX = 0, CursorY = 0;
  // The pad as it reads for this step (Ok false: no pad); the game reads it
  // as often as it reads its joystick in the step.
  TJoyReading Joystick;

  // --- What happened since the last step, in order -------------------------
  TInputEvent Events[MaxEvents];
  int EventCount = 0;

  // A key-down (a repeat when the key is already held; a key outside 0..255
  // is one the game does not track, which only ever flips pause).
  void Press(int key);
  void Release(int key);
  void Button(bool left, bool down);
  // The cursor moved, in arena units.
  void Cursor(int x, int y);
  // The mouse in picture pixels ((0, 0) at the picture's top left, width x
  // height pixels); ignored while the picture has no size.
  void Pointer(int x, int y, int width, int height);
  // The next step's input begins: what is held stays, the events go.
  void NextTick() { EventCount = 0; }

 private:
  void Add(const TInputEvent& e);
};

// The arena point under a picture pixel: the picture spans -600..600 arena
// units both ways, y up. False while the picture has no size.
bool ArenaPointOfPixel(int x, int y, int width, int height, int& arenaX, int& arenaY);
