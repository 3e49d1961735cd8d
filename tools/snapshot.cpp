// Snapshot tool: the real game drawn by the real OpenGL backend into a PNG
// file, with nobody playing. The automatic pilot plays the level for the
// given frames on the given seed (or the title screen runs), then the last
// frame is written. The same seed and options give the same picture.
//   quadrovolt_snapshot --level L --frames N --seed S --out FILE.png
//                       [--width W --height H] [--mode mouse|keyboard|joystick]
//                       [--cursor X,Y] [--title]
// --cursor holds the mouse cursor at that place in arena units. Needs a
// display (Xvfb will do).
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <string>

#include "platform/SnapshotSurface.h"
#include "tools/snapshot/SnapshotGame.h"
#include "tools/snapshot/SnapshotOptions.h"

namespace {
bool WritePng(const TRgbImage& image, const std::string& path) {
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint8_t*>(image.Pixels.data()), image.Width,
                                                            image.Height, 24, image.Width * 3, SDL_PIXELFORMAT_RGB24);
  if (!surface) return false;
  const bool saved = IMG_SavePNG(surface, path.c_str()) == 0;
  SDL_FreeSurface(surface);
  return saved;
}
}  // namespace

int main(int argc, char** argv) {
  TSnapshotOptions options;
  if (int code; !SnapshotCommandLine(options).Parse(argc, argv, code)) return code;
  std::string error;
  int code = 0;
  {
    TSnapshotSurface surface;
    if (!surface.Create(options.Width, options.Height, error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 1;
    }
    TSnapshotGame game(options);
    game.Run();
    if (!WritePng(surface.ReadBackBuffer(), options.Out)) {
      std::fprintf(stderr, "cannot write %s: %s\n", options.Out.c_str(), SDL_GetError());
      code = 1;
    }
  }
  SDL_Quit();
  return code;
}
