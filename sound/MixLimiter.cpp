#include "sound/MixLimiter.h"

#include <algorithm>
#include <cmath>

void TMixLimiter::Reset(int rate, int channels) {
  ChannelCount = std::clamp(channels, 1, MaxChannels);
  LookAhead = std::clamp(int(std::lround(LookAheadSeconds * std::max(rate, 1))), 1, MaxLookAhead);
  ReleaseStep = float(std::pow(10.0, ReleaseDbPerSecond / 20.0 / std::max(rate, 1)));
  Position = 0;
  Held = LastGain = Deepest = 1;
  Limited = Cut = 0;
  Needed.fill(1);
  HeldGains.fill(1);
  Delayed.fill(0);
}

void TMixLimiter::Process(float* samples, int frames) {
  for (int i = 0; i < frames; ++i) {
    float* frame = samples + std::ptrdiff_t(i) * ChannelCount;
    float* slot = &Delayed[size_t(Position) * size_t(ChannelCount)];
    float peak = 0;
    for (int c = 0; c < ChannelCount; ++c) {
      peak = std::max(peak, std::fabs(frame[c]));
      slot[c] = frame[c];
    }
    Needed[size_t(Position)] = peak > Ceiling ? std::max(Ceiling / peak, LowestGain) : 1.0f;

    // Held at the lowest any frame in the look-ahead asks for, and climbing
    // back at the release rate once they ask for more.
    float lowest = 1;
    for (int k = 0; k < LookAhead; ++k) lowest = std::min(lowest, Needed[size_t(k)]);
    Held = std::min({lowest, Held * ReleaseStep, 1.0f});
    HeldGains[size_t(Position)] = Held;

    // The mean of the held gains over the look-ahead: every one of them is at
    // most what the oldest frame, the one leaving now, asked for. All at 1 it
    // is exactly 1.
    double sum = 0;
    for (int k = 0; k < LookAhead; ++k) sum += HeldGains[size_t(k)];
    const float gain = float(sum / LookAhead);

    const int oldest = (Position + 1) % LookAhead;
    const float* out = &Delayed[size_t(oldest) * size_t(ChannelCount)];
    for (int c = 0; c < ChannelCount; ++c) {
      float v = out[c] * gain;
      // The rounding of the mean can leave a last ulp over the ceiling; a
      // sample that is not a number at all comes out as silence.
      if (std::fabs(v) > Ceiling) {
        Cut += std::fabs(v) > Ceiling * 1.0001f;
        v = std::copysign(Ceiling, v);
      } else if (v != v) {
        v = 0;
      }
      frame[c] = v;
    }
    Position = oldest;
    LastGain = gain;
    if (gain < 1) {
      ++Limited;
      Deepest = std::min(Deepest, gain);
    }
  }
}
