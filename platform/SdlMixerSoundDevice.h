#pragma once
// The sound device on SDL2_mixer: one chunk and one mixer channel per wave, so
// playing a wave cuts that wave and starts it over while different waves mix.
// The mixer adds 32-bit floats, which keep a sum past full scale as it is, and
// its post-mix hook sends the sum through the limiter before the speakers.
#include <string>
#include <vector>

#include "sound/MixLimiter.h"
#include "sound/SoundDevice.h"

struct Mix_Chunk;

class TSdlMixerSoundDevice : public TSoundDevice {
 public:
  TSdlMixerSoundDevice() = default;
  ~TSdlMixerSoundDevice() override;
  TSdlMixerSoundDevice(const TSdlMixerSoundDevice&) = delete;
  TSdlMixerSoundDevice& operator=(const TSdlMixerSoundDevice&) = delete;

  void Open() override;
  void Close() override;
  TSoundHandle Load(const std::string& name, const TWave& wave) override;
  void Play(TSoundHandle handle, bool looped) override;
  void Stop(TSoundHandle handle) override;
  bool IsPlaying(TSoundHandle handle) const override;

  bool IsOpen() const { return Opened; }

 private:
  struct TLoadedWave {
    std::string Name;
    Mix_Chunk* Chunk = nullptr;
    unsigned char* Samples = nullptr;  // converted to the mixer's format; owned here
  };
  bool Valid(TSoundHandle handle) const { return Opened && handle >= 0 && handle < int(Waves.size()); }

  bool Opened = false;
  int Channels = 0;
  std::vector<TLoadedWave> Waves;
  TMixLimiter Limiter;  // used by the mixer's thread alone while the output is open
};
