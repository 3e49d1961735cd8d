// The batched backend draws the picture the immediate one draws: the same
// frames of the same levels on the same seeds, read back from a real OpenGL
// context, may differ in at most half a percent of their pixels.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/SnapshotSurface.h"
#include "tools/snapshot/SnapshotGame.h"

namespace {
constexpr int kWidth = 1024, kHeight = 768;

TRgbImage Draw(TSnapshotSurface& surface, TRendererKind kind, const TSnapshotOptions& options) {
  surface.UseRenderer(kind);
  TSnapshotGame game(options);
  game.Run();
  return surface.ReadBackBuffer();
}

int Lit(const TRgbImage& image) {
  int n = 0;
  for (std::size_t i = 0; i < image.Pixels.size(); i += 3)
    n += image.Pixels[i] > 40 || image.Pixels[i + 1] > 40 || image.Pixels[i + 2] > 40;
  return n;
}

int Differing(const TRgbImage& a, const TRgbImage& b) {
  int n = 0;
  for (std::size_t i = 0; i + 2 < a.Pixels.size() && i + 2 < b.Pixels.size(); i += 3)
    n += a.Pixels[i] != b.Pixels[i] || a.Pixels[i + 1] != b.Pixels[i + 1] || a.Pixels[i + 2] != b.Pixels[i + 2];
  return n;
}
}  // namespace

TEST(BackendPicture, BatchedDrawsWhatImmediateDraws) {
  TSnapshotSurface surface;
  std::string error;
  if (!surface.Create(kWidth, kHeight, error)) GTEST_SKIP() << "no display to draw on: " << error;

  // The first level, a busy middle one, the last boss level and the last one,
  // with full volleys and a shockwave going so sparks and glows are everywhere.
  const struct {
    int Level, Frames;
    unsigned long Seed;
  } cases[] = {{1, 240, 11}, {20, 400, 20}, {39, 400, 39}, {40, 500, 40}};
  for (const auto& c : cases) {
    SCOPED_TRACE("level " + std::to_string(c.Level));
    TSnapshotOptions options;
    options.Level = c.Level, options.Frames = c.Frames, options.Seed = c.Seed;
    options.Width = kWidth, options.Height = kHeight, options.Bullets = 3, options.Bombs = true;
    const TRgbImage immediate = Draw(surface, TRendererKind::Immediate, options);
    const TRgbImage batched = Draw(surface, TRendererKind::Batched, options);
    ASSERT_EQ(immediate.Width, kWidth);
    ASSERT_EQ(batched.Pixels.size(), immediate.Pixels.size());
    // The grid alone lights tens of thousands of pixels: a black picture from
    // either backend is a fault, not a match.
    EXPECT_GT(Lit(immediate), 20000);
    EXPECT_GT(Lit(batched), 20000);
    const int differing = Differing(immediate, batched);
    std::printf("level %d: %d of %d pixels differ (%.3f%%)\n", c.Level, differing, kWidth * kHeight,
                100.0 * differing / (kWidth * kHeight));
    EXPECT_LE(differing, kWidth * kHeight / 200) << "more than half a percent of the picture differs";
  }
}
