#pragma once
// The software GL driver frees and re-allocates megabytes of binned scene
// every frame. By default the C library hands the top of the heap back to the
// kernel on each of those frees and large blocks come from fresh mappings, so
// the next frame page-faults all of it in again: with llvmpipe that was a
// fifth of the game's own thread and cost whole steps. This keeps freed heap
// memory in the process for the next frame instead. Call it once, early.
void KeepFreedHeapForReuse();
