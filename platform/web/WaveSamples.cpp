#include "platform/web/WaveSamples.h"

#include <cstdint>

bool WaveToPlanarFloats(const TWave& wave, std::vector<float>& samples) {
  samples.clear();
  const TWaveFormat& f = wave.Format;
  const int channels = f.Channels;
  const int bytes = f.BitsPerSample / 8;
  // Web Audio takes 3 000 to 768 000 frames a second.
  if (f.FormatTag != 1 || channels < 1 || (f.BitsPerSample != 8 && f.BitsPerSample != 16)) return false;
  if (f.BlockAlign != channels * bytes || f.SamplesPerSec < 3000 || f.SamplesPerSec > 768000) return false;
  const std::size_t frames = wave.Frames();
  if (frames == 0) return false;
  samples.resize(frames * std::size_t(channels));
  const std::uint8_t* p = wave.Data.data();
  for (std::size_t i = 0; i < frames; ++i) {
    for (int c = 0; c < channels; ++c) {
      float v;
      if (bytes == 1) {
        v = (float(*p) - 128.0f) / 128.0f;
      } else {
        const auto s = std::int16_t(std::uint16_t(p[0] | (p[1] << 8)));
        v = float(s) / 32768.0f;
      }
      samples[std::size_t(c) * frames + i] = v;
      p += bytes;
    }
  }
  return true;
}
