#include "app/TickInput.h"

#include <cmath>

void TTickInput::Add(const TInputEvent& e) {
  using E = TInputEvent::TKind;
  // Moves in a row: only the last one can be seen by the game.
  if (e.Kind == E::Cursor && EventCount > 0 && Events[EventCount - 1].Kind == E::Cursor) {
    Events[EventCount - 1] = e;
    return;
  }
  if (EventCount < MaxEvents) Events[EventCount++] = e;
}

void TTickInput::Press(int key) {
  using E = TInputEvent::TKind;
  if (key < 0 || key > 255) {
    Add(TInputEvent{E::OtherKeyDown, 0, 0, 0});
    return;
  }
  Keys.set(std::size_t(key));
  Add(TInputEvent{E::KeyDown, key, 0, 0});
}

void TTickInput::Release(int key) {
  if (key < 0 || key > 255) return;
  Keys.reset(std::size_t(key));
  Add(TInputEvent{TInputEvent::TKind::KeyUp, key, 0, 0});
}

void TTickInput::Button(bool left, bool down) {
  using E = TInputEvent::TKind;
  (left ? Left : Right) = down;
  Add(TInputEvent{left ? (down ? E::LeftDown : E::LeftUp) : (down ? E::RightDown : E::RightUp), 0, 0, 0});
}

void TTickInput::Cursor(int x, int y) {
  CursorSet = true;
  CursorX = x, CursorY = y;
  Add(TInputEvent{TInputEvent::TKind::Cursor, 0, x, y});
}

void TTickInput::Pointer(int x, int y, int width, int height) {
  int ax = 0, ay = 0;
  if (ArenaPointOfPixel(x, y, width, height, ax, ay)) Cursor(ax, ay);
}

bool ArenaPointOfPixel(int x, int y, int width, int height, int& arenaX, int& arenaY) {
  if (width <= 0 || height <= 0) return false;
  arenaX = int(std::trunc(double(x - width / 2) * 1200 / width));
  arenaY = -int(std::trunc(double(y - height / 2) * 1200 / height));
  return true;
}
