#pragma once
// A device that mixes in memory, the way the game's real mixer does: every
// wave turned into 16-bit stereo at the output rate, the sounding waves added
// sample by sample. The caller moves its clock on; the device keeps how loud
// the sum got and how many samples went past full scale (where the real mixer
// would clip). For measuring the mix of whole games without a sound card.
#include <cstdint>
#include <string>
#include <vector>

#include "sound/SoundDevice.h"

class TMixingSoundDevice : public TSoundDevice {
 public:
  static constexpr int OutputRate = 22050;
  static constexpr double FullScale = 32768.0;  // one step past the largest 16-bit sample

  void Open() override { Opened = true; }
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

  // The largest sum met so far, in 16-bit steps (may be past full scale).
  double Peak() const { return PeakLevel; }
  // The same as decibels against full scale: above 0 means the mix clipped.
  double PeakDbfs() const;
  // Samples (each channel counted) whose sum fell outside the 16-bit range.
  std::int64_t ClippedSamples() const { return Clipped; }
  std::int64_t FramesRendered() const { return Rendered; }
  // For each wave, in load order: in how many clipped samples it was sounding.
  const std::vector<std::int64_t>& ClipsWith() const { return ClipShare; }
  const std::string& NameOf(TSoundHandle handle) const;

 private:
  struct TVoice {
    std::string Name;
    std::vector<std::int16_t> Samples;  // interleaved left, right
    size_t Position = 0;                // in frames
    bool Playing = false;
    bool Looped = false;
  };
  bool Valid(TSoundHandle handle) const { return handle >= 0 && handle < int(Voices.size()); }

  bool Opened = false;
  std::vector<TVoice> Voices;
  std::vector<std::int64_t> ClipShare;
  std::vector<int> Sounding;  // scratch: the voices in the current frame
  double PeakLevel = 0;
  std::int64_t Clipped = 0, Rendered = 0;
  double TickRemainder = 0;
};
