#pragma once
// What the game reads from a joystick each frame: axes 0..65535 with 32767 at
// rest, and four button bits (1 left, 2 up, 3 down, 4 right as bits 0..3).

struct TJoyInfo {
  unsigned XPos = 32767;
  unsigned YPos = 32767;
  unsigned ZPos = 32767;
  unsigned Buttons = 0;
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
