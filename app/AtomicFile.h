#pragma once
// Writing a file so that a failure never leaves it half-written: the bytes go
// to a temporary beside it (PATH.tmp), which is synced and then renamed over
// the old file only once it is complete. Nothing here allocates, so it may
// run in the middle of play.
//
// Only a regular file, or nothing, is ever replaced. The temporary is made
// afresh (never opened through a link or over something already there), and
// whatever else is at PATH is refused and left as it is:
//   a folder               EISDIR
//   a symbolic link        ELOOP: not followed and not replaced, so neither
//                          the link nor the file it names is touched (the game
//                          never makes one; whoever did meant it to stay)
//   a device, pipe, socket EEXIST
// Something left at PATH.tmp is refused the same way (EEXIST, EISDIR for a
// folder): a write never removes what it did not make. A temporary that a
// killed write left is RemoveStaleTemporary's to clear, at the next start.
#include <cstddef>
#include <cstdint>

struct TFileChunk {
  const void* Data;
  std::size_t Size;
};

// True when every chunk was written and the file is in place; otherwise the
// old file (or none) is left as it was, no temporary is left behind, and
// errno says why.
bool WriteFileAtomically(const char* path, const TFileChunk* chunks, int count);

// What WriteFileAtomically checks before it makes anything: true when PATH
// holds a regular file or nothing and nothing is at PATH.tmp; otherwise
// false with errno set as the write would set it. A tool asks before a long
// run rather than find out at the end.
bool MayReplaceAtomically(const char* path);

// A write killed half-way leaves its temporary behind; this removes it (a
// file or a link of that name only: the link, never what it names), so it
// does not lie there for ever nor stop the next write.
void RemoveStaleTemporary(const char* path);

// Test seam: the writes find only this many bytes of free space from now on
// and fail past them with ENOSPC, as on a full disk; -1, the default, lifts
// the limit.
void SetAtomicWriteSpaceForTests(long long bytes);
