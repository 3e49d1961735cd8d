#pragma once
// A device that mixes in memory the way the game's real mixer does: every wave
// turned into stereo floats at the output rate, the sounding waves added at
// the bank's share sample by sample, the sum through the limiter. The caller
// moves its clock on; the device keeps how loud the sum got before the
// limiter (and how often it went past full scale, where a mixer without one
// would clip) and how loud it left. For measuring the mix of whole games
// without a sound card.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sound/MixLimiter.h"
#include "sound/SoundDevice.h"

class TMixingSoundDevice : public TSoundDevice {
 public:
  static constexpr int OutputRate = 22050;
  static constexpr double FullScale = 32768.0;  // one step past the largest 16-bit sample

  void Open() override;
  void Close() override;
  TSoundHandle Load(const std::string& name, const TWave& wave) override;
  void Play(TSoundHandle handle, bool looped) override;
  void Stop(TSoundHandle handle) override;
  bool IsPlaying(TSoundHandle handle) const override;

  // Mixes the next `frames` output frames of the sounding waves.
  void Render(int frames);
  // Mixes one game tick of `hz` ticks a second, carrying the fractions of a
  // frame over so that ticks add up to exact seconds.
  void RenderTick(int hz);

  // The largest sum of the waves met so far, before the limiter, in 16-bit
  // steps (may be past full scale); and as decibels against full scale.
  double MixPeak() const { return MixPeakLevel; }
  double MixPeakDbfs() const;
  // Samples (each channel counted) whose sum, before the limiter, fell
  // outside the 16-bit range: where a mixer without the limiter would clip.
  std::int64_t OverFullScale() const { return Over; }
  // For each wave, in load order: in how many of those it was sounding.
  const std::vector<std::int64_t>& OverFullScaleWith() const { return OverShare; }

  // What leaves the limiter, the output: its largest sample in 16-bit steps,
  // as decibels, and how many samples reached full scale (the largest 16-bit
  // value or past it).
  double Peak() const { return PeakLevel; }
  double PeakDbfs() const;
  std::int64_t ClippedSamples() const { return Clipped; }
  const TMixLimiter& Limiter() const { return Limit; }

  std::int64_t FramesRendered() const { return Rendered; }
  const std::string& NameOf(TSoundHandle handle) const;

 private:
  struct TVoice {
    std::string Name;
    std::vector<float> Samples;  // interleaved left, right, -1..1
    size_t Position = 0;         // in frames
    bool Playing = false;
    bool Looped = false;
  };
  static constexpr int BlockFrames = 256;
  bool Valid(TSoundHandle handle) const { return handle >= 0 && handle < int(Voices.size()); }
  void MixFrame(float* frame);

  bool Opened = false;
  std::vector<TVoice> Voices;
  std::vector<std::int64_t> OverShare;
  std::vector<int> Sounding;  // scratch: the voices in the current frame
  std::array<float, 2 * BlockFrames> Block{};
  TMixLimiter Limit;
  double MixPeakLevel = 0, PeakLevel = 0;
  std::int64_t Over = 0, Clipped = 0, Rendered = 0;
  double TickRemainder = 0;
};
