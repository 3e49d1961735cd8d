// The mix as the player hears it: the bank's waves summed by the in-memory
// mixer over a busy game, which must stay within full scale; and the mixer
// itself, so that a quiet figure cannot come from a mixer that adds nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "sound/MixingSoundDevice.h"
#include "sound/SoundErrors.h"
#include "tools/harness/WindowlessGame.h"
#include "tools/pilot/AutoPilot.h"

namespace {

// A mono 8-bit wave holding one value (0..255 around 128) for `frames` frames.
TWave Level(std::uint8_t value, size_t frames, std::uint32_t rate = 22050) {
  TWave w;
  w.Format = {1, 1, rate, rate, 1, 8};
  w.Data.assign(frames, value);
  return w;
}

TWave StereoRamp(size_t frames) {
  TWave w;
  w.Format = {1, 2, 22050, 22050 * 4, 4, 16};
  for (size_t i = 0; i < frames; ++i)
    for (int v : {int(i) * 100, -int(i) * 100}) {
      w.Data.push_back(std::uint8_t(v & 0xFF));
      w.Data.push_back(std::uint8_t((v >> 8) & 0xFF));
    }
  return w;
}

// A sample of -1..1 as the mixer adds it, at the bank's share, in 16-bit steps.
double Scaled(double sample) { return sample * MixVolume / MixVolumeFull * TMixingSoundDevice::FullScale; }

}  // namespace

TEST(SoundMixer, AddsTheSoundingWavesAndLimitsWhatGoesPastFullScale) {
  TMixingSoundDevice mix;
  EXPECT_THROW(mix.Load("Early", Level(200, 10)), ESoundBufferError);
  mix.Open();
  const TSoundHandle loud = mix.Load("Loud", Level(128 + 96, 100));  // three quarters of full scale
  const TSoundHandle soft = mix.Load("Soft", Level(128 - 32, 50));   // a quarter, the other way
  EXPECT_THROW(mix.Load("Empty", TWave{}), ESoundBufferError);
  const int delay = mix.Limiter().LookAheadFrames() - 1;

  mix.Render(10);  // nothing sounds yet
  EXPECT_EQ(mix.MixPeak(), 0);
  mix.Play(loud, false);
  mix.Play(soft, false);
  // Out of the limiter as it went in, after its look-ahead: far below its ceiling.
  mix.Render(10 + delay);
  EXPECT_EQ(mix.MixPeak(), Scaled(0.75) + Scaled(-0.25));  // the soft one pulls the other way
  EXPECT_EQ(mix.Peak(), mix.MixPeak());
  EXPECT_EQ(mix.OverFullScale(), 0);

  // Enough copies of the loud one to pass full scale on both sides, for 40 frames.
  mix.Stop(soft);
  const int copies = int(32767 / Scaled(0.75));
  std::vector<TSoundHandle> more;
  for (int i = 0; i < copies; ++i) more.push_back(mix.Load("More", Level(128 + 96, 100)));
  for (TSoundHandle h : more) mix.Play(h, false);
  mix.Render(40);
  EXPECT_NEAR(mix.MixPeakDbfs(), 20 * std::log10((copies + 1) * Scaled(0.75) / 32768.0), 0.01);
  EXPECT_EQ(mix.OverFullScale(), 80);
  EXPECT_EQ(mix.OverFullScaleWith()[size_t(loud)], 80);
  EXPECT_EQ(mix.OverFullScaleWith()[size_t(soft)], 0);
  EXPECT_EQ(mix.OverFullScaleWith()[size_t(more.back())], 80);
  // What leaves is the same sum brought down to the limiter's ceiling.
  for (TSoundHandle h : more) mix.Stop(h);
  mix.Stop(loud);
  mix.Render(delay);
  EXPECT_NEAR(mix.Peak(), TMixLimiter::Ceiling * TMixingSoundDevice::FullScale, 1);
  EXPECT_EQ(mix.ClippedSamples(), 0);
  EXPECT_GT(mix.Limiter().LimitedFrames(), 40);

  // Played again, a wave starts over and runs its whole length.
  mix.Play(loud, false);
  mix.Render(99);
  EXPECT_TRUE(mix.IsPlaying(loud));
  mix.Render(1);
  EXPECT_FALSE(mix.IsPlaying(loud));
  EXPECT_EQ(mix.FramesRendered(), 160 + 2 * delay);
}

TEST(SoundMixer, ConvertsEveryFormatOfTheBankToStereoAtItsRate) {
  TMixingSoundDevice mix;
  mix.Open();
  // An 11025 Hz wave lasts twice as many output frames; 8000 Hz one 2.76 times.
  const TSoundHandle slow = mix.Load("Slow", Level(255, 1000, 11025));
  const TSoundHandle slower = mix.Load("Slower", Level(255, 800, 8000));
  mix.Play(slow, false);
  mix.Play(slower, false);
  mix.Render(1999);
  EXPECT_TRUE(mix.IsPlaying(slow));
  mix.Render(1);
  EXPECT_FALSE(mix.IsPlaying(slow));
  mix.Render(204);
  EXPECT_TRUE(mix.IsPlaying(slower));
  mix.Render(1);
  EXPECT_FALSE(mix.IsPlaying(slower));

  // 16-bit stereo is taken as it is; looping goes round until stopped.
  TMixingSoundDevice stereo;
  stereo.Open();
  const TSoundHandle ramp = stereo.Load("Ramp", StereoRamp(101));
  stereo.Play(ramp, true);
  stereo.Render(1000);
  EXPECT_TRUE(stereo.IsPlaying(ramp));
  EXPECT_EQ(stereo.MixPeak(), Scaled(10000 / 32768.0));
  EXPECT_EQ(stereo.Peak(), stereo.MixPeak());
  stereo.Stop(ramp);
  EXPECT_FALSE(stereo.IsPlaying(ramp));

  // A hundred ticks a second make exactly one second of output.
  for (int i = 0; i < 100; ++i) stereo.RenderTick(100);
  EXPECT_EQ(stereo.FramesRendered(), 1000 + TMixingSoundDevice::OutputRate);
}

// The pilot on level 12 with triple fire for a minute, as the headless runner
// records it: shots, hits, explosions, ship contacts and new levels all at
// once. What leaves the limiter never reaches full scale, and the bank's share
// leaves enough headroom that the limiter seldom has to act.
TEST(SoundMix, ABusyGameOnLevelTwelveStaysWithinFullScale) {
  constexpr int kFrames = 6000, kTicksPerSecond = 100;
  TMixingSoundDevice mix;
  {
    const TAutoPilotOptions flying{12, 3, false, false};
    TWindowlessSetup setup;
    setup.Sound = &mix;
    setup.Host.AllLevelsOpen = true;
    setup.Host.KeepReplays = false;
    setup.Host.Assists = flying.Assists();
    TWindowlessGame game(setup);
    TAutoPilot pilot(game.Host(), flying);
    pilot.StartGame();
    for (int f = 0; f <= kFrames; ++f) {
      pilot.BeforeTick(f);
      game.Host().Tick();
      mix.RenderTick(kTicksPerSecond);
    }
    EXPECT_GT(game.Host().Level(), 12) << "the pilot should finish levels, so NewLevel plays";
    std::printf(
        "level-12 mix: peak %.2f dBFS before the limiter, %lld samples past full scale; out %.2f dBFS, "
        "%lld at full scale; %lld of %lld frames limited, to %.2f dB at most\n",
        mix.MixPeakDbfs(), static_cast<long long>(mix.OverFullScale()), mix.PeakDbfs(),
        static_cast<long long>(mix.ClippedSamples()), static_cast<long long>(mix.Limiter().LimitedFrames()),
        static_cast<long long>(mix.FramesRendered()), 20 * std::log10(mix.Limiter().DeepestGain()));
    for (size_t h = 0; h < mix.OverFullScaleWith().size(); ++h)
      if (mix.OverFullScaleWith()[h])
        std::printf("  past full scale with %s in %lld\n", mix.NameOf(int(h)).c_str(),
                    static_cast<long long>(mix.OverFullScaleWith()[h]));
  }

  EXPECT_GT(mix.MixPeakDbfs(), -6.0) << "a busy game is loud: the mixer heard almost nothing";
  EXPECT_LE(mix.Peak(), TMixLimiter::Ceiling * TMixingSoundDevice::FullScale);
  EXPECT_EQ(mix.ClippedSamples(), 0);
  EXPECT_LT(mix.Limiter().LimitedFrames(), mix.FramesRendered() / 100)
      << "the limiter is the mix's sound, not its guard";
}
