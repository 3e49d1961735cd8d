// Play must not touch the heap once it is under way: every entity, bullet and
// particle is pooled. This binary counts every call of the global operator
// new and plays a busy stretch of the game.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <new>
#include <string>

#include "app/AtomicFile.h"
#include "gfx/BatchingRenderer.h"
#include "tests/support/Arrange.h"
#include "tools/harness/TempFolder.h"
#include "tools/harness/WindowlessGame.h"

namespace {
std::atomic<long> Allocations{0};
}

void* operator new(std::size_t size) {
  ++Allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  ++Allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {
// Stands in for the driver behind the batching backend: counts what it is
// handed, so the batching side runs in full without a GL context.
struct TCountingSink : TBatchSink {
  long Runs = 0, Vertices = 0;
  void Viewport(int, int, int, int) override {}
  void Frustum(double, double, double, double, double, double) override {}
  void ClearFrame() override {}
  void BeginFrameState() override {}
  unsigned CreateTexture(int, int, const std::uint8_t*) override { return 1; }
  void Draw(const TDrawList& list) override {
    Runs += long(list.Runs().size());
    Vertices += long(list.Vertices().size());
  }
};

// Replays one level over and over, steering and firing, and returns the heap
// allocations made in the measured stretch after a warm-up. Drawn with the
// null renderer, or with the batching backend when a sink is given.
void ReplayLevel(int level, TCountingSink* batchedInto = nullptr) {
  std::unique_ptr<TBatchingRenderer> batching;
  if (batchedInto) batching = std::make_unique<TBatchingRenderer>(std::unique_ptr<TBatchSink>(batchedInto));
  TWindowlessSetup setup;
  setup.Seed = 7;
  setup.Renderer = batching.get();
  setup.Host.KeepReplays = false;  // recorded all the same, only not written
  // Replaying a level over and over is the steady state: its enemies, pickups
  // and title message are recycled, not made anew. (A first visit to a new
  // level may make the entities it needs; that is the pool filling up.)
  setup.Host.AllLevelsOpen = true;
  setup.Host.Assists = TReplayAssists{3, true, false};  // full volleys, never hurt
  TWindowlessGame windowless(setup);
  TGameHost& host = windowless.Host();
  host.ChooseStartLevel(level);
  host.Button(true, true);  // start, then keep firing

  int frameNo = 0;
  int peakParticles = 0, peakBullets = 0;
  auto play = [&](int frames) {
    for (int i = 0; i < frames; ++i, ++frameNo) {
      if (frameNo % 40 == 0) {  // fly somewhere new
        host.PointerAt(int(512 + 400 * std::cos(frameNo * 0.05)), int(384 + 300 * std::sin(frameNo * 0.08)));
        host.Button(false, true);
        host.Button(false, false);
      }
      TArrange(host).PinLevel(level);  // the level never ends
      host.Tick();
      GL().Flush();  // as the frame does before every swap
      peakBullets = std::max(peakBullets, host.ActiveBullets());
      peakParticles = std::max(peakParticles, host.ActiveParticles());
    }
  };

  play(1500);  // warm-up: the level's entities have all been made once
  ASSERT_EQ(host.State(), GameState::Playing);
  ASSERT_EQ(host.Level(), level);
  const long before = Allocations.load();
  const long runsBefore = batchedInto ? batchedInto->Runs : 0;
  play(2000);
  const long during = Allocations.load() - before;
  if (batchedInto) {
    // The queue really was filled and drawn out every frame.
    EXPECT_GT(batchedInto->Runs - runsBefore, 2000 * 10);
    EXPECT_GT(batchedInto->Vertices, 2000L * 9604) << "the grid's lines alone are 9604 vertices a frame";
  }
  EXPECT_EQ(during, 0) << "heap allocations in 2000 frames of play on level " << level;
  EXPECT_EQ(host.RecordedTicks(), 3499u) << "every frame after the start was recorded";
  EXPECT_EQ(host.State(), GameState::Playing);
  EXPECT_GE(host.Score(), 1000) << "enemies were being shot down";
  EXPECT_GE(peakParticles, 990) << "the particle pool was saturated";
  EXPECT_GE(peakBullets, 30) << "the ship was firing full volleys";
}
}  // namespace

TEST(SteadyState, PlayAllocatesNothing) { ReplayLevel(1); }

// Snakes, pods bursting into children and grunts, all recycled.
TEST(SteadyState, APodLevelAllocatesNothingOnceWarm) { ReplayLevel(6); }

// The batching backend's queue is reserved once: the busiest level drawn
// through it allocates nothing either.
TEST(SteadyState, BatchedDrawingAllocatesNothing) { ReplayLevel(39, new TCountingSink); }

// The save at a new highest level comes in the middle of play: the atomic
// write under it, refused or not, allocates nothing.
TEST(SteadyState, WritingAFileAtomicallyAllocatesNothing) {
  const TTempFolder folder;
  const std::string path = (folder.Path() / "QUADROVOLT.DAT").string();
  const std::string temp = path + ".tmp";
  const std::string dir = (folder.Path() / "a-folder").string();
  std::filesystem::create_directories(dir);
  const std::uint8_t record[128] = {1, 2, 3};
  const TFileChunk chunk{record, sizeof record};
  const long before = Allocations.load();
  bool written = WriteFileAtomically(path.c_str(), &chunk, 1);        // a new file
  written = WriteFileAtomically(path.c_str(), &chunk, 1) && written;  // over the old one
  const bool folderRefused = !MayReplaceAtomically(dir.c_str()) && !WriteFileAtomically(dir.c_str(), &chunk, 1);
  if (FILE* f = std::fopen(temp.c_str(), "wb")) std::fclose(f);  // a killed write's leftover
  const bool leftoverRefused = !WriteFileAtomically(path.c_str(), &chunk, 1);
  RemoveStaleTemporary(path.c_str());
  written = WriteFileAtomically(path.c_str(), &chunk, 1) && written;
  const long during = Allocations.load() - before;
  EXPECT_TRUE(written);
  EXPECT_TRUE(folderRefused);
  EXPECT_TRUE(leftoverRefused);
  EXPECT_EQ(during, 0) << "heap allocations in the writes, the refusals and the clean-up";
}
