// The replay reader on any bytes. Most random bytes stop at the checksum, so
// when the first byte is odd the fuzzer seals the rest itself (the stream
// length in the header made to fit, the checksum appended) and the reader's
// later checks and the walk of the input stream get fuzzed as well. A replay
// it accepts must decode to its end without an error, and is then played for
// a few hundred ticks in a game object with null backends, under the
// sanitizers: whatever the reader lets through, the game must take.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/GameHost.h"
#include "app/Replay.h"
#include "gfx/NullRenderer.h"
#include "gfx/Random.h"
#include "gfx/ScopedRenderer.h"
#include "sound/SilentSoundDevice.h"
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

constexpr int TicksPlayed = 300;

// One game object for every input: watching puts it back as it was.
struct TFuzzGame {
  TNullRenderer Renderer;
  TScopedRenderer Installed{Renderer};  // before the game, which draws until it is gone
  TSilentSoundDevice Sound;
  std::unique_ptr<TGameHost> Host;
  TFuzzGame() {
    RandomSeed(1);
    // Watching never saves; the path only has to be somewhere harmless.
    THostOptions options;
    options.SavePath = "/nonexistent-quadrovolt-fuzz/QUADROVOLT.DAT";
    options.KeepReplays = false;
    Host = std::make_unique<TGameHost>(Sound, options);
  }
};

void Play(TReplay replay) {
  static TFuzzGame fuzz;
  TGameHost& host = *fuzz.Host;
  host.Watch(std::move(replay));
  FUZZ_REQUIRE(host.Watching());
  const TTickInput nothing;  // the player does nothing while it plays
  for (int i = 0; i < TicksPlayed && host.Watching(); ++i)
    if (host.Step(nothing)) host.Render();
  host.FinishGame();
  FUZZ_REQUIRE(!host.Watching() && host.State() == GameState::Title);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> bytes;
  if (size > 0 && (data[0] & 1)) {
    bytes.assign(data + 1, data + size);
    // The stream takes whatever the header and the checkpoints leave.
    const std::size_t headerSize =
        bytes.size() > ReplayField::FormatVersion.Offset && bytes[ReplayField::FormatVersion.Offset] == 1
            ? ReplayField::SizeVersion1
            : ReplayField::Size;
    if (bytes.size() >= headerSize) {
      std::size_t marks = 0;
      if (headerSize == ReplayField::Size) {
        marks = bytes[ReplayField::Checkpoints.Offset] % 4;
        if (marks * ReplayCheckpointSize > bytes.size() - headerSize) marks = 0;
        PutLittleEndian(bytes.data() + ReplayField::Checkpoints.Offset, marks, 4);
      }
      PutLittleEndian(bytes.data() + ReplayField::StreamLength.Offset,
                      bytes.size() - headerSize - marks * ReplayCheckpointSize, 4);
    }
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
  Play(std::move(replay));
  return 0;
}
