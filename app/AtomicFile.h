#pragma once
// Writing a file so that a failure never leaves it half-written: the bytes go
// to a temporary beside it, which is renamed over the old file only once it
// is complete. Nothing here allocates, so it may run in the middle of play.
#include <cstddef>
#include <cstdint>

struct TFileChunk {
  const void* Data;
  std::size_t Size;
};

// True when every chunk was written and the file is in place; otherwise the
// old file (or none) is left as it was and errno says why.
bool WriteFileAtomically(const char* path, const TFileChunk* chunks, int count);

// A write killed half-way leaves its temporary behind; this removes it (a
// file or a link of that name only), so it does not lie there for ever.
void RemoveStaleTemporary(const char* path);
