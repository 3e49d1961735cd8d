#pragma once
// What the game reads from a joystick each frame: axes 0..65535 with 32767 at
// rest, and four button bits (1 left, 2 up, 3 down, 4 right as bits 0..3).
// A pad's right stick and right trigger come as well (the stick at rest reads
// 32767 both ways, the trigger at rest 0); a plain joystick leaves them at rest.

struct TJoyInfo {
  unsigned XPos = 32767;
  unsigned YPos = 32767;
  unsigned ZPos = 32767;
  unsigned Buttons = 0;
  unsigned RightX = 32767;
  unsigned RightY = 32767;
  unsigned RightTrigger = 0;
};

class TJoystick {
 public:
  virtual ~TJoystick() = default;
  // False when there is no joystick to read (the game then keeps its state).
  virtual bool Read(TJoyInfo& info) = 0;
};

class TNoJoystick : public TJoystick {
 public:
  bool Read(TJoyInfo&) override { return false; }
};
