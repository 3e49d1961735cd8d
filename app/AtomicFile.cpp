#include "app/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {
long long SpaceForTests = -1;

bool TemporaryPath(const char* path, char (&temp)[4096]) {
  if (std::snprintf(temp, sizeof temp, "%s.tmp", path) < int(sizeof temp)) return true;
  errno = ENAMETOOLONG;
  return false;
}

// The reason something other than a regular file stands where one is to go.
int Refusal(mode_t mode) {
  if (S_ISDIR(mode)) return EISDIR;
  if (S_ISLNK(mode)) return ELOOP;
  return EEXIST;
}

// Made afresh: O_EXCL fails on anything already there, a dangling link
// included (O_NOFOLLOW says the same twice), so no byte goes anywhere but
// into a new file of our own.
int CreateTemporary(const char* temp, mode_t mode) {
  const int fd = ::open(temp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
  if (fd >= 0 || errno != EEXIST) return fd;
  struct stat st;
  if (::lstat(temp, &st) == 0 && S_ISDIR(st.st_mode))
    errno = EISDIR;
  else
    errno = EEXIST;
  return -1;
}

bool WriteAll(int fd, const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    std::size_t part = size;
    if (SpaceForTests >= 0 && (long long)part > SpaceForTests) part = std::size_t(SpaceForTests);
    if (part == 0) {
      errno = ENOSPC;
      return false;
    }
    const ssize_t n = ::write(fd, p, part);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (SpaceForTests >= 0) SpaceForTests -= n;
    p += n;
    size -= std::size_t(n);
  }
  return true;
}

// What may stand at PATH: a regular file (its permissions are handed on) or
// nothing; anything else is refused with its reason.
bool ReplaceableMode(const char* path, mode_t& mode) {
  struct stat old;
  mode = 0666;  // less the umask, as any new file
  if (::lstat(path, &old) != 0) return errno == ENOENT;
  if (!S_ISREG(old.st_mode)) {
    errno = Refusal(old.st_mode);
    return false;
  }
  mode = old.st_mode & 0777;  // a player's 0600 stays 0600
  return true;
}
}  // namespace

bool MayReplaceAtomically(const char* path) {
  char temp[4096];
  mode_t mode;
  if (!TemporaryPath(path, temp) || !ReplaceableMode(path, mode)) return false;
  struct stat st;
  if (::lstat(temp, &st) == 0) {
    errno = S_ISDIR(st.st_mode) ? EISDIR : EEXIST;
    return false;
  }
  return true;
}

bool WriteFileAtomically(const char* path, const TFileChunk* chunks, int count) {
  char temp[4096];
  mode_t mode;
  // Checked before anything is made, so a refused write leaves no temporary.
  if (!TemporaryPath(path, temp) || !ReplaceableMode(path, mode)) return false;
  const int fd = CreateTemporary(temp, mode);
  if (fd < 0) return false;
  bool written = true;
  for (int i = 0; i < count && written; ++i) written = WriteAll(fd, chunks[i].Data, chunks[i].Size);
  // On the disk before the rename, so a crash after it finds the new file
  // whole. (A full disk can show only here, or at the close, on some file
  // systems.) The rename is not synced: after a power cut the folder holds
  // the old file or the new one, whole either way.
  if (written && ::fsync(fd) != 0 && errno != EINVAL) written = false;
  int cause = written ? 0 : errno;
  if (::close(fd) != 0 && written) written = false, cause = errno;
  if (written) {
    // PATH may have changed since it was checked; rename never writes
    // through what it replaces, so the worst is the name given a new file.
    if (::rename(temp, path) == 0) return true;
    cause = errno;
  }
  ::unlink(temp);
  errno = cause;
  return false;
}

void RemoveStaleTemporary(const char* path) {
  char temp[4096];
  struct stat st;
  // Only a file or a link: a folder or a device of that name is none of ours.
  if (TemporaryPath(path, temp) && ::lstat(temp, &st) == 0 && (S_ISREG(st.st_mode) || S_ISLNK(st.st_mode)))
    ::unlink(temp);
}

void SetAtomicWriteSpaceForTests(long long bytes) { SpaceForTests = bytes < 0 ? -1 : bytes; }
