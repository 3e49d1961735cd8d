#include "sound/MixingSoundDevice.h"

#include <algorithm>
#include <cmath>

#include "sound/SoundErrors.h"

namespace {

// One channel of one source frame as -1..1, as the real mixer converts it:
// 8-bit samples are unsigned around 128, 16-bit ones signed little-endian.
float SourceSample(const TWave& wave, size_t frame, unsigned channel) {
  const std::uint8_t* p = &wave.Data[frame * wave.Format.BlockAlign];
  if (wave.Format.BitsPerSample == 8) return float(p[channel]) / 128.0f - 1.0f;
  p += 2 * channel;
  return float(std::int16_t(p[0] | (p[1] << 8))) / 32768.0f;
}

double Dbfs(double level) { return level > 0 ? 20 * std::log10(level / TMixingSoundDevice::FullScale) : -INFINITY; }

}  // namespace

void TMixingSoundDevice::Open() {
  Opened = true;
  Limit.Reset(OutputRate, 2);
}

void TMixingSoundDevice::Close() {
  Opened = false;
  Voices.clear();
  OverShare.clear();
}

// Converted once to the output's format, as the real device does on loading:
// mono goes to both sides, other rates are stretched by straight-line steps
// (the real mixer's resampler is smoother: its peaks can differ by a little).
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
    const float w = float(at - double(a));
    for (unsigned c = 0; c < 2; ++c) {
      const unsigned from = f.Channels == 2 ? c : 0;
      const float sa = SourceSample(wave, a, from);
      voice.Samples[2 * i + c] = w == 0 ? sa : sa * (1 - w) + SourceSample(wave, b, from) * w;
    }
  }
  Voices.push_back(std::move(voice));
  OverShare.push_back(0);
  Sounding.reserve(Voices.size());
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

// One frame of the sum, added as the real mixer adds float samples: each wave
// at the bank's share, channel after channel in handle order, the running sum
// kept as a float.
void TMixingSoundDevice::MixFrame(float* frame) {
  constexpr float volume = float(MixVolume), perStep = 1.0f / float(MixVolumeFull);
  Sounding.clear();
  float left = 0, right = 0;
  for (size_t h = 0; h < Voices.size(); ++h) {
    TVoice& v = Voices[h];
    if (!v.Playing) continue;
    left = float(double(left) + double(v.Samples[2 * v.Position] * volume * perStep));
    right = float(double(right) + double(v.Samples[2 * v.Position + 1] * volume * perStep));
    Sounding.push_back(int(h));
    if (++v.Position * 2 >= v.Samples.size()) {
      v.Position = 0;
      v.Playing = v.Looped;
    }
  }
  for (float sum : {left, right}) {
    const double level = std::fabs(double(sum) * FullScale);
    MixPeakLevel = std::max(MixPeakLevel, level);
    if (level > 32767.0) {
      ++Over;
      for (int h : Sounding) ++OverShare[size_t(h)];
    }
  }
  frame[0] = left;
  frame[1] = right;
}

void TMixingSoundDevice::Render(int frames) {
  while (frames > 0) {
    const int n = std::min(frames, BlockFrames);
    for (int i = 0; i < n; ++i) MixFrame(&Block[size_t(2 * i)]);
    Limit.Process(Block.data(), n);
    for (int i = 0; i < 2 * n; ++i) {
      const double level = std::fabs(double(Block[size_t(i)]) * FullScale);
      PeakLevel = std::max(PeakLevel, level);
      if (level >= 32767.0) ++Clipped;
    }
    Rendered += n;
    frames -= n;
  }
}

void TMixingSoundDevice::RenderTick(int hz) {
  TickRemainder += double(OutputRate) / hz;
  const int frames = int(TickRemainder);
  TickRemainder -= frames;
  Render(frames);
}

double TMixingSoundDevice::MixPeakDbfs() const { return Dbfs(MixPeakLevel); }
double TMixingSoundDevice::PeakDbfs() const { return Dbfs(PeakLevel); }

const std::string& TMixingSoundDevice::NameOf(TSoundHandle handle) const {
  static const std::string none;
  return Valid(handle) ? Voices[size_t(handle)].Name : none;
}
