#include "app/AtomicFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

namespace {
bool TemporaryPath(const char* path, char (&temp)[4096]) {
  if (std::snprintf(temp, sizeof temp, "%s.tmp", path) < int(sizeof temp)) return true;
  errno = ENAMETOOLONG;
  return false;
}
}  // namespace

bool WriteFileAtomically(const char* path, const TFileChunk* chunks, int count) {
  char temp[4096];
  if (!TemporaryPath(path, temp)) return false;
  std::FILE* f = std::fopen(temp, "wb");
  if (!f) return false;
  bool written = true;
  int cause = 0;
  for (int i = 0; i < count && written; ++i)
    written = std::fwrite(chunks[i].Data, 1, chunks[i].Size, f) == chunks[i].Size;
  if (!written) cause = errno;
  // A full disk often shows only when the buffer goes out, at the flush.
  if (std::fflush(f) != 0 && written) written = false, cause = errno;
  if (std::fclose(f) != 0 && written) written = false, cause = errno;
  if (written && std::rename(temp, path) == 0) return true;
  if (written) cause = errno;
  std::remove(temp);
  errno = cause;
  return false;
}

void RemoveStaleTemporary(const char* path) {
  char temp[4096];
  struct stat st;
  // Only a file: a folder or a device of that name is none of ours.
  if (TemporaryPath(path, temp) && ::lstat(temp, &st) == 0 && (S_ISREG(st.st_mode) || S_ISLNK(st.st_mode)))
    std::remove(temp);
}
