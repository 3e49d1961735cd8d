// The sound bank through the recording device: which wave each event starts,
// the restart in one device call that keeps a wave from stacking on itself
// (and from falling silent between a stop and a play), the on/off switch, the
// intro's loop, and a machine without sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "assets/BuiltInWaves.h"
#include "sound/RecordingSoundDevice.h"
#include "sound/SoundErrors.h"
#include "sound/WaveList.h"
#include "sound/WaveReader.h"
#include "sound/frmDXSounds.h"
#include "sound/synth/WaveBank.h"

namespace {
using TKind = TSoundEvent::TKind;

struct TExpectedWave {
  const char* Name;
  unsigned Channels, Bits, Rate;
  double Seconds;
};

// The bank as the game knows it, in item order.
const TExpectedWave kBank[] = {
    {"PlayerShoot", 1, 8, 11025, 0.09},
    {"GruntHit", 1, 8, 22050, 0.15},
    {"BoidHit", 1, 8, 22050, 0.23},
    {"SnakeHit", 1, 8, 22050, 0.25},
    {"SnakeDestroyed", 1, 8, 22050, 2.26},
    {"GravitarHit", 1, 8, 22050, 0.58},
    {"GravitarDestroyed", 1, 8, 22050, 1.23},
    {"PodHit", 1, 8, 22050, 1.23},
    {"PodDestroyed", 1, 8, 22050, 1.07},
    {"PodChildHit", 1, 8, 22050, 0.18},
    {"PodChildDestroyed", 1, 8, 22050, 0.58},
    {"PlayerHit", 1, 8, 22050, 0.11},
    {"NewLevel", 1, 8, 22050, 2.91},
    {"GravitarSpawned", 1, 8, 22050, 2.25},
    {"Intro", 2, 16, 22050, 28.5},
    {"GraviBomb", 1, 8, 8000, 1.76},
};

TWave SmallWave(double seconds = 0.05) {
  TWave w;
  w.Format = {1, 1, 22050, 22050, 1, 8};
  w.Data.assign(size_t(seconds * 22050), 128);
  return w;
}

// The wave the build carries under that name, read as the game reads it;
// one the build lacks fails the test and reads as no frames at all.
TWave ParsedBuiltInWave(const char* name) {
  std::span<const std::uint8_t> bytes = BuiltInWaveBytes(name);
  EXPECT_FALSE(bytes.empty()) << name;
  return bytes.empty() ? TWave{} : ReadWave(bytes.data(), bytes.size());
}

}  // namespace

TEST(SoundBankWaves, EveryBuiltInWaveParsesWithItsFormatAndLength) {
  for (const TExpectedWave& e : kBank) {
    SCOPED_TRACE(e.Name);
    const TWave w = ParsedBuiltInWave(e.Name);
    ASSERT_GT(w.Frames(), 0u);
    EXPECT_EQ(w.Format.Channels, e.Channels);
    EXPECT_EQ(w.Format.BitsPerSample, e.Bits);
    EXPECT_EQ(w.Format.SamplesPerSec, e.Rate);
    EXPECT_NEAR(w.Seconds(), e.Seconds, e.Seconds * 0.10);
  }
}

// A build that synthesises its waves when the game starts (the web page) must
// play exactly what the desktop embeds: every byte of every wave, in the bank's
// order, and nothing for a name the bank does not have. The waves are made in
// the reverse of the build tool's order, and the short ones twice, so that no
// state left behind by one synthesis can change the next.
TEST(SoundBankWaves, SynthesisingAtStartGivesTheBuildTimeBytes) {
  std::span<const std::string_view> names = synth::BankWaveNames();
  ASSERT_EQ(names.size(), std::size(kBank));
  for (size_t i = names.size(); i-- > 0;) {
    SCOPED_TRACE(kBank[i].Name);
    EXPECT_EQ(names[i], kBank[i].Name);
    std::span<const std::uint8_t> built = BuiltInWaveBytes(kBank[i].Name);
    for (int pass = 0; pass < (kBank[i].Seconds < 5 ? 2 : 1); ++pass) {
      std::vector<std::uint8_t> made = synth::SynthesiseWave(kBank[i].Name);
      ASSERT_EQ(made.size(), built.size());
      EXPECT_TRUE(std::equal(made.begin(), made.end(), built.begin())) << "pass " << pass;
    }
  }
  EXPECT_TRUE(synth::SynthesiseWave("NoSuchWave").empty());
  EXPECT_TRUE(BuiltInWaveBytes("NoSuchWave").empty());
}

TEST(SoundBankWaves, WavesAreNeitherSilentNorClippedAndStartAtRest) {
  for (const TExpectedWave& e : kBank) {
    SCOPED_TRACE(e.Name);
    const TWave w = ParsedBuiltInWave(e.Name);
    ASSERT_GT(w.Frames(), 0u);
    // Samples as -1..1 (first channel only is enough for these checks).
    std::vector<double> s;
    for (size_t f = 0; f < w.Frames(); ++f) {
      const std::uint8_t* p = &w.Data[f * w.Format.BlockAlign];
      s.push_back(w.Format.BitsPerSample == 8 ? (p[0] - 128) / 128.0 : std::int16_t(p[0] | (p[1] << 8)) / 32768.0);
    }
    double peak = 0, sum = 0;
    for (double v : s) {
      peak = std::max(peak, std::fabs(v));
      sum += v;
    }
    EXPECT_GT(peak, 0.4);
    EXPECT_LT(peak, 0.99);
    EXPECT_LT(std::fabs(sum / double(s.size())), 0.01);  // no offset
    EXPECT_LT(std::fabs(s.front()), 0.02);               // no click on starting
    EXPECT_LT(std::fabs(s.back()), 0.02);                // nor on ending or looping
  }
}

TEST(SoundBank, LoadsTheSixteenWavesInOrderOnStart) {
  TRecordingSoundDevice device;
  {
    TFormSounds sounds(device);
    EXPECT_FALSE(sounds.SoundOff);
    ASSERT_TRUE(device.IsOpen());
    ASSERT_EQ(device.Count(TKind::Load), 16);
    for (int i = 0; i < 16; ++i) {
      EXPECT_EQ(device.Log[size_t(i)].Name, kBank[i].Name);
      EXPECT_EQ(device.FormatOf(i).SamplesPerSec, kBank[i].Rate);
    }
    EXPECT_EQ(device.Count(TKind::Play), 0);  // nothing sounds until asked
  }
  EXPECT_FALSE(device.IsOpen());  // the bank closes what it opened
}

TEST(SoundBank, EachEventStartsItsOwnWave) {
  struct TCase {
    void (TFormSounds::*Play)();
    const char* Wave;
  } cases[] = {
      {&TFormSounds::PlayPlayerShoot, "PlayerShoot"},
      {&TFormSounds::PlayGruntHit, "GruntHit"},
      {&TFormSounds::PlayBoidHit, "BoidHit"},
      {&TFormSounds::PlaySnakeHit, "SnakeHit"},
      {&TFormSounds::PlaySnakeDestroyed, "SnakeDestroyed"},
      {&TFormSounds::PlayGravitarHit, "GravitarHit"},
      {&TFormSounds::PlayGravitarDestroyed, "GravitarDestroyed"},
      {&TFormSounds::PlayPodHit, "PodHit"},
      {&TFormSounds::PlayPodDestroyed, "PodDestroyed"},
      {&TFormSounds::PlayPodChildHit, "PodChildHit"},
      {&TFormSounds::PlayPodChildDestroyed, "PodChildDestroyed"},
      {&TFormSounds::PlayPlayerHit, "PlayerHit"},
      {&TFormSounds::PlayNewLevel, "NewLevel"},
      {&TFormSounds::PlayGravitarSpawned, "GravitarSpawned"},
      {&TFormSounds::PlayIntro, "Intro"},
      {&TFormSounds::PlayGraviBomb, "GraviBomb"},
  };
  TRecordingSoundDevice device;
  TFormSounds sounds(device);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Wave);
    device.Log.clear();
    (sounds.*c.Play)();
    // Exactly one call, restarting this wave; nothing else is touched.
    ASSERT_EQ(device.Log.size(), 1u);
    EXPECT_EQ(device.Log[0].Kind, TKind::Play);
    EXPECT_EQ(device.Log[0].Name, c.Wave);
    EXPECT_EQ(device.Log[0].Looped, std::string(c.Wave) == "Intro");
    EXPECT_TRUE(device.IsPlaying(c.Wave));
  }
}

TEST(SoundBank, TwoHitsInOneFrameGiveOneSoundStartedAtTheSecond) {
  TRecordingSoundDevice device;
  TFormSounds sounds(device);
  device.Log.clear();
  sounds.PlayGruntHit();
  sounds.PlayGruntHit();
  // The second hit restarted the wave (the device's play cuts what sounds);
  // it was never stopped in between, so no block of silence could slip in.
  ASSERT_EQ(device.Log.size(), 2u);
  EXPECT_EQ(device.Count(TKind::Play, "GruntHit"), 2);
  EXPECT_EQ(device.Count(TKind::Stop), 0);
  EXPECT_EQ(device.LastIndex(TKind::Play, "GruntHit"), 1);

  // Different waves are not cut by each other.
  sounds.PlayBoidHit();
  EXPECT_TRUE(device.IsPlaying("GruntHit"));
  EXPECT_TRUE(device.IsPlaying("BoidHit"));
}

TEST(SoundBank, PlayIntroWhileRunningRestartsIt) {
  TRecordingSoundDevice device;
  TFormSounds sounds(device);
  sounds.PlayIntro();
  device.Log.clear();
  sounds.PlayIntro();
  ASSERT_EQ(device.Log.size(), 1u);
  EXPECT_EQ(device.Log[0].Kind, TKind::Play);
  EXPECT_TRUE(device.Log[0].Looped);
  sounds.StopIntro();
  EXPECT_FALSE(device.IsPlaying("Intro"));
}

TEST(SoundBank, SoundOffStartsNothingButStopIntroStillSilencesTheMusic) {
  TRecordingSoundDevice device;
  TFormSounds sounds(device);
  sounds.PlayIntro();
  ASSERT_TRUE(device.IsPlaying("Intro"));

  sounds.SetSoundOn(false);
  EXPECT_TRUE(sounds.SoundOff);
  EXPECT_FALSE(device.IsPlaying("Intro")) << "sound off leaves the title music playing";
  device.Log.clear();
  sounds.PlayPlayerShoot();
  sounds.PlayGruntHit();
  sounds.PlayNewLevel();
  sounds.PlayGraviBomb();
  sounds.PlayIntro();
  EXPECT_TRUE(device.Log.empty());

  sounds.StopIntro();
  EXPECT_FALSE(device.IsPlaying("Intro"));
  EXPECT_EQ(device.Count(TKind::Stop, "Intro"), 1);

  sounds.SetSoundOn(true);
  EXPECT_FALSE(device.IsPlaying("Intro")) << "an intro stopped while silent came back";
  sounds.PlayPlayerShoot();
  EXPECT_TRUE(device.IsPlaying("PlayerShoot"));

  // The title asks for its music while sound is off: ticked on, it starts.
  sounds.SetSoundOn(false);
  sounds.PlayIntro();
  EXPECT_FALSE(device.IsPlaying("Intro"));
  sounds.SetSoundOn(true);
  EXPECT_TRUE(device.IsPlaying("Intro")) << "the title's intro does not start when sound comes on";
  device.Log.clear();
  sounds.SetSoundOn(true);
  EXPECT_TRUE(device.Log.empty()) << "sound on again restarted the intro";
}

TEST(SoundBank, AMachineWithoutSoundRunsSilentlyAndSaysWhyInOneLine) {
  using TFailure = TRecordingSoundDevice::TFailure;
  const struct {
    TFailure Failure;
    const char* Reason;
    const char* Line;
  } cases[] = {
      {TFailure::NoOutput, "no audio driver here",
       "quadrovolt: playing without sound: DirectSound cannot be initialized: no audio driver here\n"},
      {TFailure::NoMixer, "", "quadrovolt: playing without sound: Primary Buffer cannot be made\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Line);
    TRecordingSoundDevice device;
    device.OpenFailure = c.Failure;
    device.FailureReason = c.Reason;
    std::unique_ptr<TFormSounds> sounds;
    testing::internal::CaptureStderr();
    ASSERT_NO_THROW(sounds = std::make_unique<TFormSounds>(device));
    sounds->PlayPlayerShoot();
    sounds->PlayIntro();
    sounds->StopIntro();
    sounds.reset();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.Line);
    EXPECT_TRUE(device.Log.empty());
  }
  // A machine with sound says nothing.
  TRecordingSoundDevice working;
  testing::internal::CaptureStderr();
  { TFormSounds sounds(working); }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(SoundBank, AWaveTheDeviceCannotHoldSilencesTheWholeBank) {
  TRecordingSoundDevice device;
  device.FailLoadNumber = 5;
  testing::internal::CaptureStderr();
  TFormSounds sounds(device);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "quadrovolt: playing without sound: Sound Buffer cannot be made\n");
  EXPECT_FALSE(device.IsOpen());  // given back rather than left half-loaded
  device.Log.clear();
  sounds.PlayPlayerShoot();  // loaded before the failure, but the bank went silent
  sounds.PlayGraviBomb();
  EXPECT_TRUE(device.Log.empty());
}

TEST(SoundBank, OtherStartUpErrorsAreNotSwallowed) {
  TRecordingSoundDevice device;
  device.OpenFailure = TRecordingSoundDevice::TFailure::OtherError;
  EXPECT_THROW(TFormSounds sounds(device), std::runtime_error);
  try {
    TFormSounds sounds(device);
  } catch (const ESoundDeviceError&) {
    ADD_FAILURE() << "a non-sound error was turned into a device error";
  } catch (const std::runtime_error&) {
  }
}

TEST(SoundDeviceErrors, CarryTheirTexts) {
  EXPECT_EQ(SoundErrorText(SCannotInitialize, SOutputName), "DirectSound cannot be initialized");
  EXPECT_EQ(SoundErrorText(SCannotMake, SMixerName), "Primary Buffer cannot be made");
  EXPECT_EQ(SoundErrorText(SCannotMake, SBufferName), "Sound Buffer cannot be made");
  EXPECT_EQ(SoundErrorText(SCannotLock, SBufferName), "Sound Buffer cannot be locked");
  TRecordingSoundDevice device;
  device.OpenFailure = TRecordingSoundDevice::TFailure::NoOutput;
  try {
    device.Open();
    ADD_FAILURE();
  } catch (const ESoundDeviceError& e) {
    EXPECT_STREQ(e.what(), "DirectSound cannot be initialized");
  }
  // A buffer error is a device error, so whoever catches the one catches the other.
  TRecordingSoundDevice closed;
  EXPECT_THROW(closed.Load("X", SmallWave()), ESoundBufferError);
  EXPECT_THROW(closed.Load("X", SmallWave()), ESoundDeviceError);
}

TEST(WaveItems, PlayingCountLimitAndEmptyOrUnloadedItems) {
  TWaveCollectionItem item("Blip", false, SmallWave());
  EXPECT_EQ(item.MaxPlayingCount(), 0);
  item.SetMaxPlayingCount(-3);
  EXPECT_EQ(item.MaxPlayingCount(), 0);
  item.SetMaxPlayingCount(4);
  EXPECT_EQ(item.MaxPlayingCount(), 4);

  TRecordingSoundDevice device;
  device.Open();
  item.Play();  // not loaded yet: nothing to play
  item.Stop();
  EXPECT_TRUE(device.Log.empty());

  TWaveCollectionItem empty("Nothing", false, TWave{});
  empty.Initialize(device);
  EXPECT_FALSE(empty.Initialized());
  empty.Play();
  empty.Stop();
  EXPECT_TRUE(device.Log.empty());

  item.Initialize(device);
  ASSERT_TRUE(item.Initialized());
  item.Play();
  EXPECT_TRUE(device.IsPlaying("Blip"));
  item.Finalize();
  item.Stop();  // forgotten by the item, so it no longer reaches the device
  EXPECT_TRUE(device.IsPlaying("Blip"));
}

TEST(WaveItems, WaitingPlayReturnsEvenIfTheDeviceNeverReportsTheEnd) {
  // The recorder reports a started wave as playing until stopped; a waiting
  // play must still give up shortly after the wave's own length.
  TRecordingSoundDevice device;
  device.Open();
  TWaveCollectionItem item("Blip", false, SmallWave(0.05));
  item.Initialize(device);
  auto start = std::chrono::steady_clock::now();
  item.Play(true);
  double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_GE(waited, 0.05);
  EXPECT_LT(waited, 5.0);
  EXPECT_EQ(device.Count(TKind::Play, "Blip"), 1);
}

TEST(WaveItems, ListFindsByNameAndIndex) {
  TWaveList list;
  list.Add("A", false, SmallWave());
  list.Add("B", true, SmallWave());
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Item(1).Name, "B");
  EXPECT_TRUE(list.Item(1).Looped);
  EXPECT_EQ(list.Find("A"), &list.Item(0));
  EXPECT_EQ(list.Find("C"), nullptr);
  EXPECT_THROW(list.Item(2), std::out_of_range);
  EXPECT_THROW(list.Item(-1), std::out_of_range);
}
