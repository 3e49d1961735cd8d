// The SDL2_mixer sound device on SDL's dummy audio driver (a real mixer with
// no speaker) and on its disk driver (what it would play, in a file), and the
// silent fallback when no output can be opened at all.
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "assets/BuiltInWaves.h"
#include "platform/SdlMixerSoundDevice.h"
#include "sound/MixLimiter.h"
#include "sound/SoundErrors.h"
#include "sound/WaveReader.h"
#include "sound/frmDXSounds.h"

namespace {

TWave BuiltIn(const char* name) {
  std::span<const std::uint8_t> bytes = BuiltInWaveBytes(name);
  if (bytes.empty()) throw std::runtime_error(std::string("missing wave ") + name);
  return ReadWave(bytes.data(), bytes.size());
}

TWave Tone(double seconds, unsigned channels = 1, unsigned bits = 8) {
  TWave w;
  unsigned align = channels * bits / 8;
  w.Format = {1, std::uint16_t(channels), 22050, 22050 * align, std::uint16_t(align), std::uint16_t(bits)};
  w.Data.resize(size_t(seconds * 22050) * align);
  for (size_t i = 0; i < w.Data.size(); ++i) w.Data[i] = std::uint8_t(bits == 8 ? 128 + (i % 20 < 10 ? 20 : -20) : i);
  return w;
}

// Waits (up to `limit` seconds) for the device's view of a wave to change.
bool WaitUntilStopped(const TSdlMixerSoundDevice& device, TSoundHandle handle, double limit) {
  auto giveUp = std::chrono::steady_clock::now() + std::chrono::duration<double>(limit);
  while (device.IsPlaying(handle)) {
    if (std::chrono::steady_clock::now() > giveUp) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

class SdlMixerDevice : public ::testing::Test {
 protected:
  void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
  void TearDown() override { unsetenv("SDL_AUDIODRIVER"); }
};

}  // namespace

TEST_F(SdlMixerDevice, PlaysAWaveOnceToItsEnd) {
  TSdlMixerSoundDevice device;
  ASSERT_NO_THROW(device.Open());
  TSoundHandle shot = device.Load("PlayerShoot", BuiltIn("PlayerShoot"));
  EXPECT_FALSE(device.IsPlaying(shot));
  device.Play(shot, false);
  EXPECT_TRUE(device.IsPlaying(shot));
  EXPECT_TRUE(WaitUntilStopped(device, shot, 3.0));  // 0.09 s of sound
}

TEST_F(SdlMixerDevice, LoopsUntilStopped) {
  TSdlMixerSoundDevice device;
  device.Open();
  TSoundHandle loop = device.Load("Loop", Tone(0.05, 2, 16));
  device.Play(loop, true);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // six times its length
  EXPECT_TRUE(device.IsPlaying(loop));
  device.Stop(loop);
  EXPECT_FALSE(device.IsPlaying(loop));
}

TEST_F(SdlMixerDevice, OneChannelPerWaveSoRestartsDoNotStack) {
  TSdlMixerSoundDevice device;
  device.Open();
  TSoundHandle a = device.Load("NewLevel", BuiltIn("NewLevel"));
  TSoundHandle b = device.Load("GravitarSpawned", BuiltIn("GravitarSpawned"));
  device.Play(a, false);
  device.Play(b, false);
  device.Play(a, false);
  device.Play(a, false);
  EXPECT_TRUE(device.IsPlaying(a));
  EXPECT_TRUE(device.IsPlaying(b));
  EXPECT_EQ(Mix_Playing(-1), 2);  // the two waves mix; the repeats took no extra channel
  device.Stop(a);
  EXPECT_FALSE(device.IsPlaying(a));
  EXPECT_TRUE(device.IsPlaying(b));
}

TEST_F(SdlMixerDevice, LoadsEveryFormatOfTheBank) {
  TSdlMixerSoundDevice device;
  device.Open();
  for (const char* name : {"PlayerShoot", "GruntHit", "Intro", "GraviBomb"}) {
    SCOPED_TRACE(name);
    TSoundHandle h = NoSound;
    ASSERT_NO_THROW(h = device.Load(name, BuiltIn(name)));
    device.Play(h, false);
    EXPECT_TRUE(device.IsPlaying(h));
  }
  // More waves than the channels first set aside still each get their own.
  TSoundHandle last = NoSound;
  for (int i = 0; i < 40; ++i) last = device.Load("Extra", Tone(0.5));
  device.Play(last, false);
  EXPECT_TRUE(device.IsPlaying(last));
}

TEST_F(SdlMixerDevice, RefusesWavesItCannotHoldAndIgnoresUnknownHandles) {
  TSdlMixerSoundDevice device;
  try {
    device.Load("Early", Tone(0.1));  // before the output is open
    ADD_FAILURE();
  } catch (const ESoundBufferError& e) {
    EXPECT_STREQ(e.what(), "Sound Buffer cannot be made");
  }
  device.Open();
  EXPECT_THROW(device.Load("Empty", TWave{}), ESoundBufferError);
  device.Play(7, false);
  device.Play(NoSound, true);
  device.Stop(-5);
  EXPECT_FALSE(device.IsPlaying(7));
  device.Close();
  device.Close();  // closing twice is harmless
  device.Open();   // and the output can be opened again
  EXPECT_TRUE(device.IsOpen());
}

TEST_F(SdlMixerDevice, TheBankPlaysAndStopsTheIntro) {
  TSdlMixerSoundDevice device;
  TFormSounds sounds(device);
  ASSERT_TRUE(device.IsOpen());
  sounds.PlayIntro();
  sounds.PlayGruntHit();
  sounds.PlayGruntHit();
  EXPECT_EQ(Mix_Playing(-1), 2);
  sounds.SetSoundOn(false);
  sounds.StopIntro();
  std::this_thread::sleep_for(std::chrono::milliseconds(400));  // the hit is long over
  EXPECT_EQ(Mix_Playing(-1), 0);
}

// What the real mixer hands the device, as SDL's disk driver writes it (32-bit
// floats, stereo, 22050 Hz): a quiet wave alone comes out at the bank's share
// bit for bit; sixteen loud ones at once, five times full scale together,
// leave at the limiter's ceiling and not above.
TEST(SdlMixerDeviceOnDisk, TheMixLeavesThroughTheLimiter) {
  const std::string file = testing::TempDir() + "quadrovolt-mix-" + std::to_string(getpid()) + ".raw";
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
  {
    TSdlMixerSoundDevice device;
    ASSERT_NO_THROW(device.Open());
    const TSoundHandle quiet = device.Load("Quiet", Tone(0.2));  // a square wave of 20 steps around 128
    device.Play(quiet, false);
    ASSERT_TRUE(WaitUntilStopped(device, quiet, 3.0));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    TWave loud = Tone(0.3);
    std::fill(loud.Data.begin(), loud.Data.end(), std::uint8_t(255));
    std::vector<TSoundHandle> all;
    for (int i = 0; i < 16; ++i) all.push_back(device.Load("Loud", loud));
    for (TSoundHandle h : all) device.Play(h, false);
    ASSERT_TRUE(WaitUntilStopped(device, all.back(), 3.0));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  unsetenv("SDL_AUDIODRIVER");
  unsetenv("SDL_DISKAUDIOFILE");
  std::vector<float> out;
  if (FILE* f = std::fopen(file.c_str(), "rb")) {
    float block[1024];
    for (size_t n; (n = std::fread(block, sizeof(float), 1024, f)) > 0;) out.insert(out.end(), block, block + n);
    std::fclose(f);
  }
  std::remove(file.c_str());
  ASSERT_GT(out.size(), 2u * 22050 / 2) << "the disk driver wrote too little of " << file;

  const float q = 20.0f / 128 * MixVolume / MixVolumeFull;  // the tone's step at the share, exact in floats
  const auto loudStart = std::find_if(out.begin(), out.end(), [](float v) { return std::fabs(v) > 0.1f; });
  ASSERT_NE(loudStart, out.end()) << "the loud waves are not in the output";
  EXPECT_EQ(std::count_if(out.begin(), loudStart, [&](float v) { return v == q || v == -q; }), 2 * 4410);
  EXPECT_EQ(std::count(out.begin(), loudStart, 0.0f) + 2 * 4410, loudStart - out.begin());
  float peak = 0;
  for (float v : out) peak = std::max(peak, std::fabs(v));
  EXPECT_LE(peak, TMixLimiter::Ceiling);
  EXPECT_GE(peak, 0.99f * TMixLimiter::Ceiling);
}

TEST(SdlMixerDeviceWithoutOutput, FailsToOpenAndTheBankRunsSilently) {
  setenv("SDL_AUDIODRIVER", "no-such-audio-driver", 1);
  {
    TSdlMixerSoundDevice device;
    try {
      device.Open();
      ADD_FAILURE() << "opened a driver that does not exist";
    } catch (const ESoundDeviceError& e) {
      EXPECT_STREQ(e.what(), "DirectSound cannot be initialized");
    }
    EXPECT_FALSE(device.IsOpen());

    std::unique_ptr<TFormSounds> sounds;
    testing::internal::CaptureStderr();
    ASSERT_NO_THROW(sounds = std::make_unique<TFormSounds>(device));
    // One line, with SDL's own reason (it names the driver it could not find).
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.rfind("quadrovolt: playing without sound: DirectSound cannot be initialized: ", 0), 0u) << said;
    EXPECT_NE(said.find("no-such-audio-driver"), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_FALSE(device.IsOpen());
    sounds->PlayIntro();
    sounds->PlayPlayerShoot();
    sounds->StopIntro();
  }
  unsetenv("SDL_AUDIODRIVER");
}
