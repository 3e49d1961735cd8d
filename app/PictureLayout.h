#pragma once
// Where the game's picture sits in the window. The picture keeps the 4:3 shape
// it has at 1024 x 768 in a window or screen mode of any other shape: the
// largest 4:3 rectangle that fits the drawable, centred, with black bars on the
// two sides (or above and below) that it leaves free. The frame also turns the
// pointer's window position into a pixel of that picture, so the game's mouse
// rule sees the picture as its whole screen.

struct TPicturePlace;

class TPictureLayout {
 public:
  // The window's size in its own coordinates and the drawable's in pixels;
  // the drawable is larger than the window on a HiDPI screen.
  void Resize(int windowWidth, int windowHeight, int drawableWidth, int drawableHeight);

  // The picture in drawable pixels, counted from the drawable's top left.
  int Left = 0, Top = 0, Width = 0, Height = 0;
  // The picture's lowest row counted from the bottom, as GL's viewport wants it.
  int Bottom() const { return DrawableHeight - Top - Height; }
  // The picture's size and place as the game is told them (app/GameHost.h).
  TPicturePlace Place() const;
  bool HasBars() const { return Width != DrawableWidth || Height != DrawableHeight; }

  // A pointer position in window coordinates -> the picture pixel under it.
  // Over a bar the pointer counts as being at the picture's nearest edge, as
  // it would stop at the edge of a window of the picture's own shape.
  void WindowToPicture(int& x, int& y) const;

 private:
  int WindowWidth = 0, WindowHeight = 0, DrawableWidth = 0, DrawableHeight = 0;
};
