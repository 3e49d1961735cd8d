// Freed heap memory stays in the process for the next frame instead of going
// back to the kernel and being faulted in again.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/HeapTuning.h"

// A sanitizer's own allocator keeps its own books: the C library's say nothing.
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
#include <malloc.h>

TEST(HeapTuning, AFrameWorthOfFreedBlocksStaysInTheHeap) {
  KeepFreedHeapForReuse();
  // What a software driver's frame does: megabytes in blocks of 64 KB and a
  // few larger ones, all freed when the frame is drawn.
  std::vector<void*> blocks;
  for (int i = 0; i < 160; ++i) blocks.push_back(std::malloc(64 << 10));
  for (int i = 0; i < 4; ++i) blocks.push_back(std::malloc(3 << 20));
  for (void* b : blocks) {
    ASSERT_NE(b, nullptr);
    std::memset(b, 1, 64 << 10);
  }
  const struct mallinfo2 inUse = mallinfo2();
  for (auto it = blocks.rbegin(); it != blocks.rend(); ++it) std::free(*it);
  const struct mallinfo2 freed = mallinfo2();
  EXPECT_EQ(freed.hblkhd, 0u) << "large blocks were mapped on their own, and unmapped when freed";
  EXPECT_GE(freed.arena, inUse.arena) << "the heap was trimmed back to the kernel";
  EXPECT_GE(freed.fordblks, std::size_t(160) * (64 << 10) + std::size_t(4) * (3 << 20));
}
#endif
