// The glow bitmaps' reader on any bytes: it either refuses them with a reason
// and an empty image, or hands back exactly Width x Height RGB pixels.
#include <cstddef>
#include <cstdint>
#include <string>

#include "gfx/Bitmap.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TRgbImage image;
  std::string error;
  if (ReadBmp24(data, size, image, error)) {
    FUZZ_REQUIRE(image.Width > 0 && image.Height > 0);
    FUZZ_REQUIRE(std::int64_t(image.Width) * image.Height <= kMaxTexturePixels);
    FUZZ_REQUIRE(image.Pixels.size() == std::size_t(image.Width) * std::size_t(image.Height) * 3);
  } else {
    FUZZ_REQUIRE(!error.empty());
    FUZZ_REQUIRE(image.Width == 0 && image.Height == 0 && image.Pixels.empty());
  }
  return 0;
}
