#include "gfx/Bitmap.h"

namespace {
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;  // the smallest header carrying width, depth and compression

std::uint32_t ReadU32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
std::uint16_t ReadU16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }
std::int32_t ReadI32(const std::uint8_t* p) { return std::int32_t(ReadU32(p)); }

bool Fail(std::string& error, const char* reason) {
  error = reason;
  return false;
}
}  // namespace

bool ReadBmp24(const std::uint8_t* data, std::size_t size, TRgbImage& image, std::string& error) {
  image = TRgbImage{};
  if (!data || size < kFileHeaderSize + kInfoHeaderSize || data[0] != 'B' || data[1] != 'M')
    return Fail(error, "Bitmap image is not valid");
  const std::uint32_t pixelOffset = ReadU32(data + 10);
  const std::uint32_t headerSize = ReadU32(data + 14);
  if (headerSize < kInfoHeaderSize || headerSize > size - kFileHeaderSize)
    return Fail(error, "Bitmap image is not valid");
  const std::int64_t width = ReadI32(data + 18);
  const std::int64_t rawHeight = ReadI32(data + 22);
  const std::uint16_t bitsPerPixel = ReadU16(data + 28);
  const std::uint32_t compression = ReadU32(data + 30);
  if (bitsPerPixel != 24) return Fail(error, "Bitmap is not 24 bits per pixel");
  if (compression != 0) return Fail(error, "Compressed bitmaps are not supported");

  // A negative height marks rows stored top-down instead of the usual bottom-up.
  const bool topDown = rawHeight < 0;
  const std::int64_t height = topDown ? -rawHeight : rawHeight;
  if (width <= 0 || height <= 0 || width * height > kMaxTexturePixels)
    return Fail(error, "Bitmap size is out of range");

  // Rows are padded to whole 4-byte words; the last row's padding may be missing.
  const std::int64_t rowBytes = width * 3;
  const std::int64_t stride = (rowBytes + 3) & ~std::int64_t(3);
  const std::int64_t needed = std::int64_t(pixelOffset) + stride * (height - 1) + rowBytes;
  if (pixelOffset < kFileHeaderSize + headerSize || needed > std::int64_t(size))
    return Fail(error, "Bitmap data is truncated");

  image.Width = int(width);
  image.Height = int(height);
  image.Pixels.resize(std::size_t(rowBytes * height));
  for (std::int64_t row = 0; row < height; ++row) {
    const std::int64_t fileRow = topDown ? row : height - 1 - row;
    const std::uint8_t* src = data + pixelOffset + fileRow * stride;
    std::uint8_t* dst = image.Pixels.data() + row * rowBytes;
    for (std::int64_t x = 0; x < width; ++x) {  // stored blue, green, red
      dst[x * 3 + 0] = src[x * 3 + 2];
      dst[x * 3 + 1] = src[x * 3 + 1];
      dst[x * 3 + 2] = src[x * 3 + 0];
    }
  }
  return true;
}
