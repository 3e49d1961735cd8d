#pragma once
// Checks on real pixels: the game drawn by the GL backend into a hidden
// window (the snapshot tool's surface), read back and looked at in places
// computed from arena coordinates.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "app/QuadrovoltMain.h"
#include "app/World.h"
#include "platform/SnapshotSurface.h"
#include "tools/snapshot/SnapshotGame.h"

// The camera stands 540 units above the arena with a frustum of +-1 at the
// near plane 1: the picture spans -540..540 units both ways, y up.
struct TArenaView {
  int Width = 1024;
  int Height = 768;
  int PixelX(float x) const { return int(std::lround(Width / 2.0 + x * Width / 1080.0)); }
  int PixelY(float y) const { return int(std::lround(Height / 2.0 - y * Height / 1080.0)); }
};

struct TRgb {
  int R, G, B;
};

using TPixelTest = std::function<bool(TRgb)>;

inline bool BrightYellow(TRgb c) { return c.R > 200 && c.G > 200 && c.B < 100; }
inline bool White(TRgb c) { return c.R > 200 && c.G > 200 && c.B > 200; }
inline bool BrightBlue(TRgb c) { return c.B > 150 && c.R < 90 && c.G < 90; }

class TPixelPicture {
 public:
  TPixelPicture(TRgbImage image, TArenaView view) : Image(std::move(image)), View(view) {}

  TRgb PixelAt(int px, int py) const {
    if (px < 0 || py < 0 || px >= Image.Width || py >= Image.Height) return TRgb{-1, -1, -1};
    const std::uint8_t* p = Image.At(px, py);
    return TRgb{p[0], p[1], p[2]};
  }
  // Lines are one or two pixels wide and land within a pixel of where the
  // arithmetic puts them: any pixel of the 3 x 3 block round the place will do.
  bool AnyNear(float x, float y, const TPixelTest& test, int reach = 1) const {
    const int cx = View.PixelX(x), cy = View.PixelY(y);
    for (int dy = -reach; dy <= reach; ++dy)
      for (int dx = -reach; dx <= reach; ++dx)
        if (test(PixelAt(cx + dx, cy + dy))) return true;
    return false;
  }
  // Pixels passing the test in the arena rectangle [x0, x1] x [y0, y1].
  int CountIn(float x0, float y0, float x1, float y1, const TPixelTest& test) const {
    int count = 0;
    for (int py = View.PixelY(y1); py <= View.PixelY(y0); ++py)
      for (int px = View.PixelX(x0); px <= View.PixelX(x1); ++px) count += test(PixelAt(px, py));
    return count;
  }
  std::string Describe(float x, float y) const {
    const TRgb c = PixelAt(View.PixelX(x), View.PixelY(y));
    return "(" + std::to_string(c.R) + ", " + std::to_string(c.G) + ", " + std::to_string(c.B) + ") at pixel " +
           std::to_string(View.PixelX(x)) + "," + std::to_string(View.PixelY(y));
  }

 private:
  TRgbImage Image;
  TArenaView View;
};

// A window with the game's context, made once for each test.
class PixelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(Surface.Create(View.Width, View.Height, error)) << error;
  }
  // The last frame drawn; kept as a bitmap in the temporary folder when the
  // test fails, to be looked at.
  TPixelPicture Picture() {
    TRgbImage image = Surface.ReadBackBuffer();
    if (!KeepPicture.empty()) std::remove(KeepPicture.c_str());
    if (SDL_Surface* bmp = SDL_CreateRGBSurfaceWithFormatFrom(image.Pixels.data(), image.Width, image.Height, 24,
                                                              image.Width * 3, SDL_PIXELFORMAT_RGB24)) {
      const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
      KeepPicture =
          (std::filesystem::temp_directory_path() / (std::string("quadrovolt-") + info->name() + ".bmp")).string();
      SDL_SaveBMP(bmp, KeepPicture.c_str());
      SDL_FreeSurface(bmp);
    }
    return TPixelPicture(std::move(image), View);
  }
  void TearDown() override {
    if (KeepPicture.empty()) return;
    if (HasFailure())
      std::printf("the picture: %s\n", KeepPicture.c_str());
    else
      std::remove(KeepPicture.c_str());
  }

  std::string KeepPicture;

  TArenaView View;
  TSnapshotSurface Surface;
};
