#pragma once
// The last stage of the mix: a look-ahead peak limiter that keeps the summed
// waves under a ceiling below full scale, whatever plays at once. Every home
// runs it after its mixer (the desktop in SDL2_mixer's post-mix hook, the
// in-memory mixer the tests measure with, and the page the same arithmetic in
// its audio graph).
//
// While every sample stays within the ceiling the sound passes bit for bit,
// only delayed by the look-ahead. A frame past the ceiling asks for the gain
// that brings it down to it; that gain is held for the look-ahead and averaged
// over it, so the gain falls smoothly in the look-ahead before the loud frame
// comes out and is fully down when it does. Then it climbs back slowly, so the
// limiting is heard as a moment quieter, not as a click or a buzz. A hard
// ceiling on each sample makes the guarantee final.
//
// Runs on the mixer's thread: it never allocates and takes no lock.
#include <array>
#include <cstdint>

class TMixLimiter {
 public:
  static constexpr float Ceiling = 0.891250938f;  // -1 dBFS: below full scale after any rounding
  static constexpr double LookAheadSeconds = 0.0015;
  static constexpr double ReleaseDbPerSecond = 20.0;  // a 6 dB cut is gone in 0.3 s
  static constexpr float LowestGain = 1e-4f;          // -80 dB: even an infinite sample leaves a way back
  static constexpr int MaxChannels = 8;
  static constexpr int MaxLookAhead = 256;  // frames: 1.5 ms up to 170 kHz

  TMixLimiter() { Reset(22050, 2); }

  // For an output of `rate` frames a second and `channels` interleaved
  // channels (1..MaxChannels); forgets all sound before.
  void Reset(int rate, int channels);
  // Limits `frames` interleaved frames in place. The sound comes out
  // LookAheadFrames() - 1 frames later than it went in.
  void Process(float* samples, int frames);

  int LookAheadFrames() const { return LookAhead; }
  int Channels() const { return ChannelCount; }
  // The gain the last frame left with (1 when it passed untouched).
  float Gain() const { return LastGain; }
  // Since the last Reset: the frames that left turned down, and the lowest gain.
  std::int64_t LimitedFrames() const { return Limited; }
  float DeepestGain() const { return Deepest; }
  // Samples the hard ceiling had to cut by more than a rounding: none while
  // the gain does its work.
  std::int64_t CutSamples() const { return Cut; }

 private:
  int ChannelCount = 2;
  int LookAhead = 1;
  float ReleaseStep = 1;  // the held gain is multiplied by this each frame until back at 1
  int Position = 0;       // the slot of the newest frame in each ring
  float Held = 1;
  float LastGain = 1;
  std::int64_t Limited = 0, Cut = 0;
  float Deepest = 1;
  std::array<float, MaxLookAhead> Needed{};                 // the gain each frame in the look-ahead asks for
  std::array<float, MaxLookAhead> HeldGains{};              // the held gain after each of them
  std::array<float, MaxLookAhead * MaxChannels> Delayed{};  // the frames on their way out
};
