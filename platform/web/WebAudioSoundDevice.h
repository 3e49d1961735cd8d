#pragma once
// The page's sound device: Web Audio, one voice per wave. Each loaded wave
// becomes an AudioBuffer; playing it stops the voice it had and starts a new
// one from the beginning, looped or once, so a wave never overlaps itself and
// different waves mix. Browsers keep a page silent until the player presses a
// key or clicks: the output is resumed on the first of those.
#include <vector>

#include "sound/SoundDevice.h"

class TWebAudioSoundDevice : public TSoundDevice {
 public:
  ~TWebAudioSoundDevice() override { Close(); }

  void Open() override;
  void Close() override;
  TSoundHandle Load(const std::string& name, const TWave& wave) override;
  void Play(TSoundHandle handle, bool looped) override;
  void Stop(TSoundHandle handle) override;
  bool IsPlaying(TSoundHandle handle) const override;

 private:
  bool Opened = false;
  int Waves = 0;
  std::vector<float> Samples;  // reused for every wave as it goes over to the browser
};
