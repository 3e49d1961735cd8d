#include "platform/HeapTuning.h"

#include <cstdlib>  // brings in the C library's own macros, __GLIBC__ among them

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void KeepFreedHeapForReuse() {
#if defined(__GLIBC__)
  // Blocks up to the largest a frame needs come from the heap, and the heap
  // is trimmed only when far more than a frame's worth lies free at its top.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
}
