// The limiter after the mix: whatever is summed into it, nothing leaves above
// its ceiling (below full scale), a loud moment is brought to the ceiling and
// not far under it, and sound within the ceiling passes bit for bit.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "sound/MixLimiter.h"

namespace {

constexpr float C = TMixLimiter::Ceiling;

// Interleaved frames of `channels` channels, each channel given by `at`.
std::vector<float> Signal(int frames, int channels, const std::function<float(int, int)>& at) {
  std::vector<float> s(size_t(frames) * size_t(channels));
  for (int i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c) s[size_t(i * channels + c)] = at(i, c);
  return s;
}

// A tone of about 0.3 of full scale, never the same sample twice in a row.
float Quiet(int i, int c) { return 0.3f * std::sin(0.05f * float(i) + float(c)); }

struct TCase {
  const char* What;
  int Rate, Channels;
  std::function<float(int, int)> At;
};

}  // namespace

TEST(SoundLimiter, LoudBurstsLeaveAtTheCeilingAndNeverAbove) {
  const float plus12 = std::pow(10.0f, 12.0f / 20);        // +12 dBFS: every effect of the bank at its peak at once
  auto burst = [](int i) { return (i / 1000) % 3 == 1; };  // a third of the time, in bursts of 1000 frames
  const TCase cases[] = {
      {"tone bursts at +12 dBFS", 22050, 2,
       [&](int i, int c) { return burst(i) ? plus12 * std::sin(0.07f * float(i) + float(c)) : Quiet(i, c); }},
      {"the same at 48 kHz, mono", 48000, 1,
       [&](int i, int) { return burst(i) ? plus12 * std::sin(0.03f * float(i)) : Quiet(i, 0); }},
      {"lone samples at +12 dBFS", 44100, 2, [&](int i, int c) { return i % 700 == 350 ? plus12 : Quiet(i, c); }},
      {"square bursts, one side only", 22050, 2,
       [&](int i, int c) { return burst(i) && c == 1 ? (i % 20 < 10 ? plus12 : -plus12) : Quiet(i, c); }},
      {"full scale at the highest pitch", 22050, 2,
       [&](int i, int) { return burst(i) ? (i % 2 ? 1.0f : -1.0f) : 0.0f; }},
  };
  for (const TCase& k : cases) {
    SCOPED_TRACE(k.What);
    TMixLimiter limiter;
    limiter.Reset(k.Rate, k.Channels);
    std::vector<float> s = Signal(12000, k.Channels, k.At);
    limiter.Process(s.data(), 12000);
    float peak = 0;
    for (float v : s) peak = std::max(peak, std::fabs(v));
    EXPECT_LE(peak, C);
    EXPECT_GE(peak, 0.99f * C) << "brought far below the ceiling";
    EXPECT_GT(limiter.LimitedFrames(), 0);
    EXPECT_LT(limiter.DeepestGain(), 1.0f);
    EXPECT_EQ(limiter.CutSamples(), 0) << "the hard ceiling did the gain's work";
  }
  EXPECT_NEAR(20 * std::log10(C), -1.0, 1e-4);
}

TEST(SoundLimiter, SoundWithinTheCeilingPassesBitForBitOnlyDelayed) {
  for (int rate : {22050, 48000}) {
    for (int channels : {1, 2}) {
      SCOPED_TRACE(testing::Message() << rate << " Hz, " << channels << " channels");
      TMixLimiter limiter;
      limiter.Reset(rate, channels);
      const int delay = limiter.LookAheadFrames() - 1;
      EXPECT_EQ(delay + 1, int(std::lround(TMixLimiter::LookAheadSeconds * rate)));
      // Up to the ceiling itself, in blocks of any size.
      const std::vector<float> in = Signal(5000, channels, [](int i, int c) { return i % 97 ? Quiet(i, c) : -C; });
      std::vector<float> out = in;
      for (int done = 0, n = 1; done < 5000; done += n, n = std::min(3 * n, 5000 - done))
        limiter.Process(out.data() + done * channels, n);
      for (size_t i = 0; i < size_t(delay * channels); ++i) ASSERT_EQ(out[i], 0.0f);
      for (size_t i = size_t(delay * channels); i < out.size(); ++i)
        ASSERT_EQ(out[i], in[i - size_t(delay * channels)]);
      EXPECT_EQ(limiter.LimitedFrames(), 0);
    }
  }
}

// A +12 dB step after a quiet tone: the gain leaves 1 before the loud frame
// comes out and glides down to what it needs over the look-ahead; after the
// loud part it climbs back at the release rate, then quiet sound passes bit
// for bit again.
TEST(SoundLimiter, FallsAheadOfTheLoudFrameAndReleasesSlowly) {
  constexpr int rate = 22050, start = 2000, loud = 3000;
  const float level = 4 * C;  // needs a gain of a quarter: -12 dB
  TMixLimiter limiter;
  limiter.Reset(rate, 1);
  const int delay = limiter.LookAheadFrames() - 1;
  std::vector<float> gains;
  int unityAgain = -1;
  for (int i = 0; i < start + loud + rate; ++i) {
    float v = i >= start && i < start + loud ? level : Quiet(i, 0);
    limiter.Process(&v, 1);
    gains.push_back(limiter.Gain());
    if (i > start + loud && unityAgain < 0 && limiter.Gain() == 1.0f) unityAgain = i;
    if (unityAgain >= 0 && i > unityAgain + delay) {
      ASSERT_EQ(v, Quiet(i - delay, 0)) << "frame " << i;
    }
  }
  // The loud frame comes out at start + delay, already fully turned down.
  EXPECT_EQ(gains[size_t(start - 1)], 1.0f);
  EXPECT_LT(gains[size_t(start)], 1.0f);
  EXPECT_NEAR(gains[size_t(start + delay)], 0.25f, 1e-6);
  for (int i = start - 1; i < start + delay; ++i)
    EXPECT_LE(gains[size_t(i)] - gains[size_t(i + 1)], 0.75f / float(delay + 1) + 1e-6f) << "a step at frame " << i;
  // 12 dB at 20 dB a second: 0.6 s after the loud part has left the look-ahead.
  ASSERT_GT(unityAgain, 0) << "the gain never came back to 1";
  const double release = double(unityAgain - (start + loud + delay)) / rate;
  EXPECT_NEAR(release, 12.0 / TMixLimiter::ReleaseDbPerSecond, 0.01);
}

TEST(SoundLimiter, BrokenSamplesComeOutBoundedAndTheGainComesBack) {
  TMixLimiter limiter;
  limiter.Reset(0, 99);  // a rate and a layout out of range are taken as the nearest possible
  EXPECT_EQ(limiter.Channels(), TMixLimiter::MaxChannels);
  limiter.Reset(22050, 2);
  const float inf = std::numeric_limits<float>::infinity();
  std::vector<float> s = {std::nanf(""), 0.5f, inf, -inf, std::numeric_limits<float>::max(), 0.1f};
  s.resize(2 * 22050 * 5);  // then five seconds of silence
  limiter.Process(s.data(), 0);
  limiter.Process(s.data(), int(s.size() / 2));
  for (float v : s) ASSERT_TRUE(std::fabs(v) <= C) << v;
  EXPECT_EQ(limiter.CutSamples(), 3) << "only those past what 80 dB down brings under the ceiling";
  const int d = limiter.LookAheadFrames() - 1;
  EXPECT_EQ(s[size_t(2 * d)], 0.0f) << "not a number comes out as silence";
  EXPECT_EQ(limiter.Gain(), 1.0f) << "80 dB down takes four seconds to climb back";
  float v[2] = {};
  for (int i = 0; i <= d; ++i) {
    v[0] = 0.5f, v[1] = -0.5f;
    limiter.Process(v, 1);
  }
  EXPECT_EQ(v[0], 0.5f);
  EXPECT_EQ(v[1], -0.5f);
}
