#include "app/PictureLayout.h"

#include <algorithm>
#include <cstdint>

#include "app/GameHost.h"

void TPictureLayout::Resize(int windowWidth, int windowHeight, int drawableWidth, int drawableHeight) {
  WindowWidth = std::max(windowWidth, 0);
  WindowHeight = std::max(windowHeight, 0);
  DrawableWidth = std::max(drawableWidth, 0);
  DrawableHeight = std::max(drawableHeight, 0);
  // Wider than 4:3: full height, bars left and right; otherwise full width.
  if (std::int64_t(DrawableWidth) * 3 >= std::int64_t(DrawableHeight) * 4) {
    Height = DrawableHeight;
    Width = int(std::int64_t(DrawableHeight) * 4 / 3);
  } else {
    Width = DrawableWidth;
    Height = int(std::int64_t(DrawableWidth) * 3 / 4);
  }
  Left = (DrawableWidth - Width) / 2;
  Top = (DrawableHeight - Height) / 2;
}

namespace {
// One axis: window coordinate -> drawable pixel -> picture pixel, kept inside.
int ToPictureAxis(int at, int windowSize, int drawableSize, int start, int size) {
  if (size <= 0) return 0;
  const std::int64_t pixel = windowSize > 0 ? std::int64_t(at) * drawableSize / windowSize : at;
  return int(std::clamp<std::int64_t>(pixel - start, 0, size - 1));
}
}  // namespace

void TPictureLayout::WindowToPicture(int& x, int& y) const {
  x = ToPictureAxis(x, WindowWidth, DrawableWidth, Left, Width);
  y = ToPictureAxis(y, WindowHeight, DrawableHeight, Top, Height);
}

TPicturePlace TPictureLayout::Place() const { return TPicturePlace{Width, Height, Left, Bottom()}; }
