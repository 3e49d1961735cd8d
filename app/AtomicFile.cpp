#include "app/AtomicFile.h"

#include <cstdio>

bool WriteFileAtomically(const char* path, const TFileChunk* chunks, int count) {
  char temp[4096];
  if (std::snprintf(temp, sizeof temp, "%s.tmp", path) >= int(sizeof temp)) return false;
  std::FILE* f = std::fopen(temp, "wb");
  if (!f) return false;
  bool written = true;
  for (int i = 0; i < count && written; ++i)
    written = std::fwrite(chunks[i].Data, 1, chunks[i].Size, f) == chunks[i].Size;
  written = std::fflush(f) == 0 && written;
  written = std::fclose(f) == 0 && written;
  if (written && std::rename(temp, path) == 0) return true;
  std::remove(temp);
  return false;
}
