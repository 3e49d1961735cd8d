#pragma once
// A device with no output: accepts every wave and plays nothing. For runs
// without sound (the headless runner, benchmarks).
#include "sound/SoundDevice.h"

class TSilentSoundDevice : public TSoundDevice {
 public:
  void Open() override {}
  void Close() override { Loaded = 0; }
  TSoundHandle Load(const std::string&, const TWave&) override { return Loaded++; }
  void Play(TSoundHandle, bool) override {}
  void Stop(TSoundHandle) override {}
  bool IsPlaying(TSoundHandle) const override { return false; }

 private:
  int Loaded = 0;
};
