#pragma once
// Reads the built-in glow bitmaps: uncompressed 24-bit BMP data turned into
// plain RGB bytes with row 0 the top row, ready to become a texture.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct TRgbImage {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Pixels;  // Width * Height * 3 bytes, red, green, blue
};

// Largest texture a model may carry (512 x 512).
constexpr int kMaxTexturePixels = 262144;

// False, with the reason in `error`, for anything that is not a complete
// uncompressed 24-bit BMP of at most kMaxTexturePixels pixels; `image` is then
// left empty. Never reads outside [data, data + size).
bool ReadBmp24(const std::uint8_t* data, std::size_t size, TRgbImage& image, std::string& error);
