// Every backend draws the picture the others draw: the same frames of the
// same levels on the same seeds, read back from a real context, may differ in
// at most half a percent of their pixels. The batched OpenGL 1.5 backend is
// held to the immediate one, and the OpenGL ES 3.0 one (in an ES context of
// its own) to the batched one.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/SnapshotSurface.h"
#include "tools/snapshot/SnapshotGame.h"

namespace {
constexpr int kWidth = 1024, kHeight = 768;

TRgbImage Draw(TSnapshotSurface& surface, TRendererKind kind, const TSnapshotOptions& options) {
  std::string error;
  EXPECT_TRUE(surface.UseRenderer(kind, error)) << RendererKindName(kind) << ": " << error;
  // A desktop context runs ES shaders too: only an ES one proves the backend
  // needs nothing more than ES 3.0.
  const bool es = surface.ContextVersion().rfind("OpenGL ES 3", 0) == 0;
  EXPECT_EQ(es, NeedsEsContext(kind)) << RendererKindName(kind) << " drew in " << surface.ContextVersion();
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

TEST(BackendPicture, EveryBackendDrawsTheSamePicture) {
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
    const TRgbImage gles3 = Draw(surface, TRendererKind::Gles3, options);
    const struct {
      const char* Pair;
      const TRgbImage &Reference, &Drawn;
    } pairs[] = {{"batched against immediate", immediate, batched}, {"gles3 against batched", batched, gles3}};
    for (const auto& p : pairs) {
      SCOPED_TRACE(p.Pair);
      ASSERT_EQ(p.Reference.Width, kWidth);
      ASSERT_EQ(p.Drawn.Width, kWidth);
      ASSERT_EQ(p.Drawn.Pixels.size(), p.Reference.Pixels.size());
      // The grid alone lights tens of thousands of pixels: a black picture
      // from any backend is a fault, not a match.
      EXPECT_GT(Lit(p.Drawn), 20000);
      const int differing = Differing(p.Reference, p.Drawn);
      std::printf("level %d, %s: %d of %d pixels differ (%.3f%%)\n", c.Level, p.Pair, differing, kWidth * kHeight,
                  100.0 * differing / (kWidth * kHeight));
      EXPECT_LE(differing, kWidth * kHeight / 200) << "more than half a percent of the picture differs";
    }
    EXPECT_GT(Lit(immediate), 20000);
  }
}
