// Model textures: reading the 24-bit glow bitmaps, and what a damaged bitmap
// does to a model (a message, no texture, never a crash).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "assets/Assets.h"
#include "gfx/Bitmap.h"
#include "gfx/BitmapTexture.h"
#include "gfx/MessageBox.h"
#include "gfx/RecordingRenderer.h"
#include "gfx/ScopedRenderer.h"

namespace {
void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
}

// A BMP whose pixel (x, y), y = 0 the top row, is (10x + y, 100 + y, 200 - x).
std::vector<std::uint8_t> MakeBmp(int width, int height, int bits = 24, bool topDown = false) {
  const int stride = (width * 3 + 3) & ~3;
  std::vector<std::uint8_t> b(std::size_t(54 + stride * height), 0);
  b[0] = 'B', b[1] = 'M';
  Put32(b, 2, std::uint32_t(b.size()));
  Put32(b, 10, 54);
  Put32(b, 14, 40);
  Put32(b, 18, std::uint32_t(width));
  Put32(b, 22, std::uint32_t(topDown ? -height : height));
  b[26] = 1;
  b[28] = std::uint8_t(bits);
  for (int y = 0; y < height; ++y) {
    const int fileRow = topDown ? y : height - 1 - y;
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = &b[std::size_t(54 + fileRow * stride + x * 3)];
      p[0] = std::uint8_t(200 - x), p[1] = std::uint8_t(100 + y), p[2] = std::uint8_t(10 * x + y);  // blue first
    }
  }
  return b;
}

void ExpectPixels(const TRgbImage& image, int width, int height) {
  ASSERT_EQ(image.Width, width);
  ASSERT_EQ(image.Height, height);
  ASSERT_EQ(image.Pixels.size(), std::size_t(width * height * 3));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* p = &image.Pixels[std::size_t((y * width + x) * 3)];
      ASSERT_EQ(p[0], 10 * x + y) << x << "," << y;
      ASSERT_EQ(p[1], 100 + y) << x << "," << y;
      ASSERT_EQ(p[2], 200 - x) << x << "," << y;
    }
}

std::vector<std::string> Messages;
void Collect(const std::string& caption, const std::string& text) { Messages.push_back(caption + "|" + text); }
}  // namespace

TEST(BitmapReader, ReadsBottomUpRowsWithPaddingAsTopRowFirstRgb) {
  for (auto [w, h] : {std::pair{3, 2}, std::pair{1, 1}, std::pair{5, 4}, std::pair{16, 16}}) {
    const auto bmp = MakeBmp(w, h);
    TRgbImage image;
    std::string error;
    ASSERT_TRUE(ReadBmp24(bmp.data(), bmp.size(), image, error)) << error;
    ExpectPixels(image, w, h);
  }
  const auto topDown = MakeBmp(3, 3, 24, true);
  TRgbImage image;
  std::string error;
  ASSERT_TRUE(ReadBmp24(topDown.data(), topDown.size(), image, error)) << error;
  ExpectPixels(image, 3, 3);
}

TEST(BitmapReader, EveryTruncationIsRefusedSafely) {
  const auto bmp = MakeBmp(5, 3);  // rows of 15 bytes padded to 16
  for (std::size_t size = 0; size < bmp.size(); ++size) {
    // A copy of exactly `size` bytes, so a read past it is caught by sanitizers.
    std::vector<std::uint8_t> cut(bmp.begin(), bmp.begin() + std::ptrdiff_t(size));
    TRgbImage image;
    std::string error;
    const bool ok = ReadBmp24(cut.data(), cut.size(), image, error);
    // Only the last row's padding may be missing.
    EXPECT_EQ(ok, size >= bmp.size() - 1) << size;
    if (!ok) {
      EXPECT_FALSE(error.empty());
      EXPECT_TRUE(image.Pixels.empty());
    }
  }
  TRgbImage image;
  std::string error;
  EXPECT_FALSE(ReadBmp24(nullptr, 0, image, error));
}

TEST(BitmapReader, WrongDepthCompressionAndAbsurdSizesAreRefused) {
  TRgbImage image;
  std::string error;
  auto eightBit = MakeBmp(4, 4, 8);
  EXPECT_FALSE(ReadBmp24(eightBit.data(), eightBit.size(), image, error));
  EXPECT_EQ(error, "Bitmap is not 24 bits per pixel");

  auto compressed = MakeBmp(4, 4);
  compressed[30] = 1;
  EXPECT_FALSE(ReadBmp24(compressed.data(), compressed.size(), image, error));

  auto notBmp = MakeBmp(4, 4);
  notBmp[0] = 'X';
  EXPECT_FALSE(ReadBmp24(notBmp.data(), notBmp.size(), image, error));

  const std::uint32_t sizes[][2] = {
      {100000, 100000}, {0, 4}, {4, 0}, {0xFFFFFFFFu, 4}, {513, 512}, {4, 0x80000000u}, {0x7FFFFFFFu, 0x7FFFFFFFu}};
  for (const auto& s : sizes) {
    auto bmp = MakeBmp(4, 4);
    Put32(bmp, 18, s[0]);
    Put32(bmp, 22, s[1]);
    EXPECT_FALSE(ReadBmp24(bmp.data(), bmp.size(), image, error)) << s[0] << " x " << s[1];
    EXPECT_TRUE(image.Pixels.empty());
  }

  auto farOffset = MakeBmp(4, 4);
  Put32(farOffset, 10, 0xFFFFFFF0u);
  EXPECT_FALSE(ReadBmp24(farOffset.data(), farOffset.size(), image, error));
  auto hugeHeader = MakeBmp(4, 4);
  Put32(hugeHeader, 14, 0xFFFFFFF0u);
  EXPECT_FALSE(ReadBmp24(hugeHeader.data(), hugeHeader.size(), image, error));
}

TEST(BitmapReader, TheLargestTextureIsAccepted) {
  const auto bmp = MakeBmp(512, 512);
  TRgbImage image;
  std::string error;
  EXPECT_TRUE(ReadBmp24(bmp.data(), bmp.size(), image, error)) << error;
  EXPECT_EQ(image.Pixels.size(), 512u * 512 * 3);
}

TEST(ModelTexture, ColourMapNamesTheBuiltInImage) {
  EXPECT_EQ(TextureImageName("..\\quadrovolt\\Sphere16x16.bmp"), "ImageSphere16x16");
  EXPECT_EQ(TextureImageName(".\\Rect16x16.bmp"), "ImageRect16x16");
  EXPECT_EQ(TextureImageName("Plain"), "ImagePlain");
  EXPECT_EQ(TextureImageName("..\\dir.v2\\Glow"), "ImageGlow");
  EXPECT_NE(FindAsset(TextureImageName("..\\quadrovolt\\Sphere16x16.bmp")), nullptr);
}

TEST(ModelTexture, DamagedBitmapIsReportedAndLeavesNoTexture) {
  TRecordingRenderer rec;
  const TScopedRenderer installed(rec);
  Messages.clear();
  SetMessageSink(Collect);

  auto bmp = MakeBmp(8, 8, 32);
  const TAsset broken{"ImageBroken", bmp.data(), bmp.size()};
  TMaterial material;
  material.ColourMap = "..\\art\\Broken.bmp";
  MakeMaterialTexture(material, &broken);
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_EQ(Messages[0],
            "Error|Problem reading file ..\\art\\Broken.bmp\nException : Bitmap is not 24 bits per pixel\n"
            "Ensure all files in same folder, press Ok to terminate");
  EXPECT_FALSE(material.HasTexture);
  EXPECT_EQ(material.Texture, 0u);

  Messages.clear();
  MakeMaterialTexture(material, nullptr);
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_EQ(Messages[0], "Error|Cannot find the file: ..\\art\\Broken.bmp");

  Messages.clear();
  const auto good = MakeBmp(4, 2);
  const TAsset image{"ImageGood", good.data(), good.size()};
  MakeMaterialTexture(material, &image);
  EXPECT_TRUE(Messages.empty());
  EXPECT_TRUE(material.HasTexture);
  EXPECT_NE(material.Texture, 0u);
  EXPECT_EQ(material.Width, 4);
  EXPECT_EQ(material.Pixels[0], 0);    // top-left red
  EXPECT_EQ(material.Pixels[2], 200);  // top-left blue

  SetMessageSink(nullptr);
}
