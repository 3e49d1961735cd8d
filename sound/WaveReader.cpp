#include "sound/WaveReader.h"

#include <cstring>

#include "sound/SoundErrors.h"

namespace {

constexpr std::uint32_t kMinRate = 1000;
constexpr std::uint32_t kMaxRate = 384000;
constexpr std::size_t kHeaderSize = 12;  // "RIFF", length, "WAVE"
constexpr std::size_t kChunkHeaderSize = 8;
constexpr std::size_t kFormatSize = 16;  // the PCM format record

std::uint16_t Read16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }

std::uint32_t Read32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}

bool IsId(const std::uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

TWaveFormat ReadFormat(const std::uint8_t* p) {
  TWaveFormat f;
  f.FormatTag = Read16(p);
  f.Channels = Read16(p + 2);
  f.SamplesPerSec = Read32(p + 4);
  f.AvgBytesPerSec = Read32(p + 8);
  f.BlockAlign = Read16(p + 12);
  f.BitsPerSample = Read16(p + 14);
  return f;
}

// Only formats a mixer can play as they stand: PCM, mono or stereo, 8 or 16
// bits, a believable rate and a frame size that agrees with the rest.
bool IsPlayable(const TWaveFormat& f) {
  if (f.FormatTag != 1) return false;
  if (f.Channels != 1 && f.Channels != 2) return false;
  if (f.BitsPerSample != 8 && f.BitsPerSample != 16) return false;
  if (f.SamplesPerSec < kMinRate || f.SamplesPerSec > kMaxRate) return false;
  return f.BlockAlign == f.Channels * f.BitsPerSample / 8;
}

}  // namespace

TWave ReadWave(const std::uint8_t* bytes, std::size_t size) {
  if (!bytes || size < kHeaderSize) throw EWaveInvalid();
  if (!IsId(bytes, "RIFF") || !IsId(bytes + 8, "WAVE")) throw EWaveInvalid();
  // The RIFF length counts everything after the first 8 bytes. A file shorter
  // than it claims has been cut off; bytes beyond it are not part of the wave.
  const std::uint64_t riffEnd = std::uint64_t(Read32(bytes + 4)) + 8;
  if (riffEnd < kHeaderSize || riffEnd > size) throw EWaveInvalid();
  const std::size_t end = std::size_t(riffEnd);

  TWave wave;
  bool haveFormat = false;
  bool haveData = false;
  std::size_t pos = kHeaderSize;
  while (end - pos >= kChunkHeaderSize) {
    const std::uint8_t* header = bytes + pos;
    if (Read32(header) == 0) break;  // an id of zero ends the chunk list
    const std::uint64_t length = Read32(header + 4);
    pos += kChunkHeaderSize;
    if (length > end - pos) throw EWaveInvalid();
    const std::uint8_t* body = bytes + pos;
    if (IsId(header, "fmt ")) {
      if (length < kFormatSize) throw EWaveInvalid();
      wave.Format = ReadFormat(body);
      haveFormat = true;
    } else if (IsId(header, "data")) {
      wave.Data.assign(body, body + length);
      haveData = true;
    }
    pos += std::size_t(length);
  }

  if (!haveFormat || !haveData || !IsPlayable(wave.Format)) throw EWaveInvalid();
  // Trust the frame size, not the stored byte rate; drop a torn last frame.
  wave.Format.AvgBytesPerSec = wave.Format.SamplesPerSec * wave.Format.BlockAlign;
  wave.Data.resize(wave.Data.size() - wave.Data.size() % wave.Format.BlockAlign);
  return wave;
}
