// The replay reader on any bytes. Most random bytes stop at the checksum, so
// when the first byte is odd the fuzzer seals the rest itself (the stream
// length in the header made to fit, the checksum appended) and the reader's
// later checks and the walk of the input stream get fuzzed as well. A replay
// it accepts must decode to its end without an error.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/Replay.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {
std::uint64_t Fnv1a(const std::uint8_t* p, std::size_t n) {
  std::uint64_t h = 0xCBF29CE484222325ull;
  for (std::size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 0x100000001B3ull;
  return h;
}

void PutLittleEndian(std::uint8_t* p, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) p[i] = std::uint8_t(v >> (8 * i));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> bytes;
  if (size > 0 && (data[0] & 1)) {
    bytes.assign(data + 1, data + size);
    if (bytes.size() >= ReplayHeaderSize)
      PutLittleEndian(bytes.data() + ReplayHeaderSize - 4, bytes.size() - ReplayHeaderSize, 4);
    const std::uint64_t hash = Fnv1a(bytes.data(), bytes.size());
    bytes.resize(bytes.size() + ReplayTrailerSize);
    PutLittleEndian(bytes.data() + bytes.size() - ReplayTrailerSize, hash, ReplayTrailerSize);
  } else {
    bytes.assign(data, data + size);
  }

  TReplay replay;
  std::string why;
  if (!ParseReplay(bytes.data(), bytes.size(), replay, why)) {
    FUZZ_REQUIRE(!why.empty());
    return 0;
  }
  FUZZ_REQUIRE(replay.Header.StartLevel >= 1 && replay.Header.StartLevel <= 40);
  FUZZ_REQUIRE(replay.Header.InputMode <= 2);
  FUZZ_REQUIRE(replay.Header.Ticks > 0);
  TReplayDecoder decoder(replay.Stream.data(), replay.Stream.size(), replay.Header.Start);
  TReplayOp op;
  while (decoder.Next(op)) {
  }
  FUZZ_REQUIRE(decoder.Error == nullptr && decoder.AtEnd());
  return 0;
}
