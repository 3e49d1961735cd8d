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

// A 16-bit sample as the mixer adds it: at the bank's share of full volume.
int Scaled(int sample) { return sample * MixVolume / MixVolumeFull; }

}  // namespace

TEST(SoundMixer, AddsTheSoundingWavesAndCountsWhatGoesPastFullScale) {
  TMixingSoundDevice mix;
  EXPECT_THROW(mix.Load("Early", Level(200, 10)), ESoundBufferError);
  mix.Open();
  const TSoundHandle loud = mix.Load("Loud", Level(128 + 96, 100));  // three quarters of full scale
  const TSoundHandle soft = mix.Load("Soft", Level(128 - 32, 50));   // a quarter, the other way
  EXPECT_THROW(mix.Load("Empty", TWave{}), ESoundBufferError);
  const int loudLevel = Scaled(24575), softLevel = Scaled(-8191);

  mix.Render(10);  // nothing sounds yet
  EXPECT_EQ(mix.Peak(), 0);
  mix.Play(loud, false);
  mix.Play(soft, false);
  mix.Render(10);
  EXPECT_EQ(mix.Peak(), loudLevel + softLevel);  // the soft one pulls the other way
  EXPECT_EQ(mix.ClippedSamples(), 0);

  // Enough copies of the loud one to pass full scale on both sides, for 40 frames.
  mix.Stop(soft);
  const int copies = 32767 / loudLevel;
  std::vector<TSoundHandle> more;
  for (int i = 0; i < copies; ++i) more.push_back(mix.Load("More", Level(128 + 96, 100)));
  for (TSoundHandle h : more) mix.Play(h, false);
  mix.Render(40);
  EXPECT_NEAR(mix.PeakDbfs(), 20 * std::log10((copies + 1) * loudLevel / 32768.0), 0.01);
  EXPECT_EQ(mix.ClippedSamples(), 80);
  EXPECT_EQ(mix.ClipsWith()[size_t(loud)], 80);
  EXPECT_EQ(mix.ClipsWith()[size_t(soft)], 0);
  EXPECT_EQ(mix.ClipsWith()[size_t(more.back())], 80);

  // Loud has 50 frames left; played again it starts over and runs its whole length.
  mix.Play(loud, false);
  mix.Render(99);
  EXPECT_TRUE(mix.IsPlaying(loud));
  mix.Render(1);
  EXPECT_FALSE(mix.IsPlaying(loud));
  EXPECT_EQ(mix.FramesRendered(), 160);
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
  EXPECT_NEAR(stereo.Peak(), Scaled(9999), 1);
  stereo.Stop(ramp);
  EXPECT_FALSE(stereo.IsPlaying(ramp));

  // A hundred ticks a second make exactly one second of output.
  for (int i = 0; i < 100; ++i) stereo.RenderTick(100);
  EXPECT_EQ(stereo.FramesRendered(), 1000 + TMixingSoundDevice::OutputRate);
}

// The pilot on level 12 with triple fire for a minute, as the headless runner
// records it: shots, hits, explosions, ship contacts and new levels all at
// once. The sum of what the bank plays must never pass full scale.
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
    std::printf("level-12 mix: peak %.2f dBFS, %lld clipped samples in %.1f s\n", mix.PeakDbfs(),
                static_cast<long long>(mix.ClippedSamples()), double(mix.FramesRendered()) / mix.OutputRate);
    for (size_t h = 0; h < mix.ClipsWith().size(); ++h)
      if (mix.ClipsWith()[h])
        std::printf("  clipping with %s in %lld\n", mix.NameOf(int(h)).c_str(),
                    static_cast<long long>(mix.ClipsWith()[h]));
  }

  EXPECT_GT(mix.PeakDbfs(), -6.0) << "a busy game is loud: the mixer heard almost nothing";
  EXPECT_LE(mix.Peak(), 32767.0);
  EXPECT_EQ(mix.ClippedSamples(), 0);
}
