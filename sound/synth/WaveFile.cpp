#include "sound/synth/WaveFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "sound/synth/Synth.h"

namespace synth {

TWaveData MakeMono(int rate, double seconds) {
  TWaveData w;
  w.Rate = rate;
  w.Bits = 8;
  w.Channels = 1;
  // An even number of frames keeps the data chunk even-sized, so no pad byte is needed.
  size_t frames = size_t(std::lround(seconds * rate)) & ~size_t(1);
  w.Samples.assign(1, std::vector<double>(frames, 0.0));
  return w;
}

namespace {

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(std::uint8_t(v & 0xFF));
  out.push_back(std::uint8_t((v >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void PutId(std::vector<std::uint8_t>& out, const char* id) {
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(id[i]));
}

}  // namespace

std::vector<std::uint8_t> EncodeWave(const TWaveData& wave) {
  const size_t frames = wave.Frames();
  const int bytesPerSample = wave.Bits / 8;
  const int blockAlign = bytesPerSample * wave.Channels;
  const std::uint32_t dataSize = std::uint32_t(frames * blockAlign);

  std::vector<std::uint8_t> out;
  out.reserve(44 + dataSize);
  PutId(out, "RIFF");
  Put32(out, 4 + (8 + 16) + (8 + dataSize));
  PutId(out, "WAVE");
  PutId(out, "fmt ");
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, unsigned(wave.Channels));
  Put32(out, std::uint32_t(wave.Rate));
  Put32(out, std::uint32_t(wave.Rate * blockAlign));
  Put16(out, unsigned(blockAlign));
  Put16(out, unsigned(wave.Bits));
  PutId(out, "data");
  Put32(out, dataSize);

  // 8-bit samples get a little triangular dither so that fading tails turn
  // into soft hiss rather than gritty steps; true silence stays silent.
  TNoise dither(0xD17E5EEDull);
  for (size_t i = 0; i < frames; ++i) {
    for (int c = 0; c < wave.Channels; ++c) {
      double x = std::clamp(wave.Samples[size_t(c)][i], -1.0, 1.0);
      if (wave.Bits == 8) {
        double scaled = x * 127.0;
        if (std::fabs(scaled) > 1.0) {
          // Two draws in a fixed order: the order of the operands of one
          // expression is the compiler's choice, and would differ between builds.
          double up = dither.Uniform();
          double down = dither.Uniform();
          scaled += up - down;
        }
        long q = std::clamp(std::lround(scaled), -127l, 127l);
        out.push_back(std::uint8_t(128 + q));
      } else {
        long q = std::clamp(std::lround(x * 32767.0), -32767l, 32767l);
        Put16(out, unsigned(std::uint16_t(std::int16_t(q))));
      }
    }
  }

  return out;
}

bool WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (std::fclose(f) == 0) && ok;
  return ok;
}

}  // namespace synth
