// The wave reader on any bytes: it either throws "Wave is invalid" or hands
// back a PCM wave the mixer can play as it stands, whole frames only.
#include <cstddef>
#include <cstdint>

#include "sound/SoundErrors.h"
#include "sound/WaveReader.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const TWave wave = ReadWave(data, size);
    const TWaveFormat& f = wave.Format;
    FUZZ_REQUIRE(f.FormatTag == 1);
    FUZZ_REQUIRE(f.Channels == 1 || f.Channels == 2);
    FUZZ_REQUIRE(f.BitsPerSample == 8 || f.BitsPerSample == 16);
    FUZZ_REQUIRE(f.BlockAlign == f.Channels * f.BitsPerSample / 8);
    FUZZ_REQUIRE(f.AvgBytesPerSec == f.SamplesPerSec * f.BlockAlign);
    FUZZ_REQUIRE(wave.Data.size() % f.BlockAlign == 0);
    FUZZ_REQUIRE(wave.Data.size() <= size);
  } catch (const EWaveInvalid&) {
  }
  return 0;
}
