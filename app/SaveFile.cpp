#include "app/SaveFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include "app/AtomicFile.h"

namespace SaveFile {

void PutInt(TRecord& buffer, std::int32_t value, int offset) {
  if (offset < 0 || offset > RecordSize - 4) return;
  std::uint32_t v = std::uint32_t(value);
  for (int i = 0; i < 4; ++i) buffer[offset + i] = std::uint8_t(v >> (8 * i));
}

std::int32_t GetInt(const TRecord& buffer, int offset) {
  if (offset < 0 || offset > RecordSize - 4) return 0;
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= std::uint32_t(buffer[offset + i]) << (8 * i);
  return std::int32_t(v);
}

std::string TransformText(const std::string& text) {
  std::string out = text;
  for (size_t i = 25; i < out.size(); ++i) {
    int p = int(i) + 1;  // positions count from 1
    out[i] = char(std::uint8_t(out[i]) ^ std::uint8_t(p - 21));
  }
  return out;
}

namespace {
std::int32_t Checksum(const TRecord& record) {
  std::uint32_t sum = 0;
  for (int i = 0; i < ChecksumOffset; ++i) sum += record[i];
  return std::int32_t(sum);
}
}  // namespace

TRecord MakeRecord(std::int32_t hiScore, std::int32_t maxLevel) {
  // The filler has its own clock-seeded generator so that saving never
  // disturbs the game's shared random sequence.
  std::mt19937 filler(std::uint32_t(std::chrono::steady_clock::now().time_since_epoch().count()));
  TRecord record;
  for (auto& b : record) b = std::uint8_t(filler() & 0xFF);
  std::string marker = TransformText(Marker);
  std::memcpy(record.data(), marker.data(), marker.size());
  PutInt(record, hiScore, HiScoreOffset);
  PutInt(record, maxLevel, MaxLevelOffset);
  PutInt(record, Checksum(record), ChecksumOffset);
  return record;
}

bool ReadRecord(const TRecord& record, std::int32_t& hiScore, std::int32_t& maxLevel) {
  if (Checksum(record) != GetInt(record, ChecksumOffset)) return false;
  hiScore = GetInt(record, HiScoreOffset);
  maxLevel = GetInt(record, MaxLevelOffset);
  return true;
}

bool SaveGame(const std::string& path, std::int32_t hiScore, std::int32_t maxLevel) {
  TRecord record = MakeRecord(hiScore, maxLevel);
  const TFileChunk chunk{record.data(), record.size()};
  if (WriteFileAtomically(path.c_str(), &chunk, 1)) return true;
  // The old record stays as it was; the player should still hear that the
  // new one is lost (and why) rather than find out at the next start.
  const int cause = errno;
  std::fprintf(stderr, "quadrovolt: could not save the best score %d and level %d to %s: %s\n", int(hiScore),
               int(maxLevel), ShownPath(path).c_str(), std::strerror(cause));
  errno = cause;
  return false;
}

bool ReadSavedRecord(const std::string& path, std::int32_t& hiScore, std::int32_t& maxLevel) {
  hiScore = 0;
  maxLevel = 1;
  // Never blocks on a pipe or a device left at the save file's name.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return false;
  struct stat info;
  // One byte more than a record tells a file that is too long from a good one.
  std::uint8_t bytes[RecordSize + 1];
  std::size_t got = 0;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    for (ssize_t n; got < sizeof bytes && (n = ::read(fd, bytes + got, sizeof bytes - got)) != 0;) {
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) break;
      got += std::size_t(n);
    }
  }
  ::close(fd);
  return ReadSaveBytes(bytes, got, hiScore, maxLevel);
}

std::string ShownPath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(path, error);
  return error ? path : full.lexically_normal().string();
}

void LoadGame(const std::string& path, std::int32_t& hiScore, std::int32_t& maxLevel) {
  RemoveStaleTemporary(path.c_str());
  ReadSavedRecord(path, hiScore, maxLevel);
}

bool ReadSaveBytes(const std::uint8_t* bytes, std::size_t size, std::int32_t& hiScore, std::int32_t& maxLevel) {
  hiScore = 0;
  maxLevel = 1;
  if (!bytes || size != RecordSize) return false;
  TRecord record;
  std::memcpy(record.data(), bytes, RecordSize);
  std::int32_t hi, max;
  if (!ReadRecord(record, hi, max)) return false;
  hiScore = hi;
  // A hand-edited level outside the forty would unlock nothing or
  // everything at random; keep it to a level that exists.
  maxLevel = max < 1 ? 1 : (max > MaxLevelCap ? MaxLevelCap : max);
  return true;
}

}  // namespace SaveFile
