#include "sound/MixingSoundDevice.h"

#include <algorithm>
#include <cmath>

#include "sound/SoundErrors.h"

namespace {

// One channel of one source frame as -1..1: 8-bit samples are unsigned around
// 128, 16-bit ones signed little-endian.
double SourceSample(const TWave& wave, size_t frame, unsigned channel) {
  const std::uint8_t* p = &wave.Data[frame * wave.Format.BlockAlign];
  if (wave.Format.BitsPerSample == 8) return (p[channel] - 128) / 128.0;
  p += 2 * channel;
  return std::int16_t(p[0] | (p[1] << 8)) / 32768.0;
}

}  // namespace

void TMixingSoundDevice::Close() {
  Opened = false;
  Voices.clear();
  ClipShare.clear();
}

// Converted once to the output's format, as the real device does on loading:
// mono goes to both sides, other rates are stretched by straight-line steps.
TSoundHandle TMixingSoundDevice::Load(const std::string& name, const TWave& wave) {
  const TWaveFormat& f = wave.Format;
  if (!Opened || wave.Empty() || f.SamplesPerSec == 0 || (f.Channels != 1 && f.Channels != 2) ||
      (f.BitsPerSample != 8 && f.BitsPerSample != 16))
    throw ESoundBufferError(SoundErrorText(SCannotMake, SBufferName));
  const size_t frames = wave.Frames();
  const double step = double(f.SamplesPerSec) / OutputRate;
  const size_t out = (frames * OutputRate + f.SamplesPerSec - 1) / f.SamplesPerSec;
  TVoice voice;
  voice.Name = name;
  voice.Samples.resize(out * 2);
  for (size_t i = 0; i < out; ++i) {
    const double at = double(i) * step;
    const size_t a = std::min(size_t(at), frames - 1), b = std::min(a + 1, frames - 1);
    const double w = at - double(a);
    for (unsigned c = 0; c < 2; ++c) {
      const unsigned from = f.Channels == 2 ? c : 0;
      const double v = SourceSample(wave, a, from) * (1 - w) + SourceSample(wave, b, from) * w;
      voice.Samples[2 * i + c] = std::int16_t(std::clamp(v * 32767.0, -32768.0, 32767.0));
    }
  }
  Voices.push_back(std::move(voice));
  ClipShare.push_back(0);
  return TSoundHandle(Voices.size() - 1);
}

void TMixingSoundDevice::Play(TSoundHandle handle, bool looped) {
  if (!Valid(handle)) return;
  TVoice& v = Voices[size_t(handle)];
  v.Position = 0;
  v.Playing = !v.Samples.empty();
  v.Looped = looped;
}

void TMixingSoundDevice::Stop(TSoundHandle handle) {
  if (Valid(handle)) Voices[size_t(handle)].Playing = false;
}

bool TMixingSoundDevice::IsPlaying(TSoundHandle handle) const {
  return Valid(handle) && Voices[size_t(handle)].Playing;
}

void TMixingSoundDevice::Render(int frames) {
  for (int i = 0; i < frames; ++i) {
    Sounding.clear();
    int left = 0, right = 0;
    for (size_t h = 0; h < Voices.size(); ++h) {
      TVoice& v = Voices[h];
      if (!v.Playing) continue;
      // Scaled as the real mixer does it, in whole steps rounded towards zero.
      left += v.Samples[2 * v.Position] * MixVolume / MixVolumeFull;
      right += v.Samples[2 * v.Position + 1] * MixVolume / MixVolumeFull;
      Sounding.push_back(int(h));
      if (++v.Position * 2 >= v.Samples.size()) {
        v.Position = 0;
        v.Playing = v.Looped;
      }
    }
    for (int sum : {left, right}) {
      PeakLevel = std::max(PeakLevel, double(std::abs(sum)));
      if (sum > 32767 || sum < -32768) {
        ++Clipped;
        for (int h : Sounding) ++ClipShare[size_t(h)];
      }
    }
    ++Rendered;
  }
}

void TMixingSoundDevice::RenderTick(int hz) {
  TickRemainder += double(OutputRate) / hz;
  const int frames = int(TickRemainder);
  TickRemainder -= frames;
  Render(frames);
}

double TMixingSoundDevice::PeakDbfs() const {
  return PeakLevel > 0 ? 20 * std::log10(PeakLevel / FullScale) : -INFINITY;
}

const std::string& TMixingSoundDevice::NameOf(TSoundHandle handle) const {
  static const std::string none;
  return Valid(handle) ? Voices[size_t(handle)].Name : none;
}
