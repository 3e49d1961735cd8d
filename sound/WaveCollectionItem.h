#pragma once
// One named wave of the bank and its place on the sound device.
#include <string>

#include "sound/SoundDevice.h"
#include "sound/Wave.h"

class TWaveCollectionItem {
 public:
  TWaveCollectionItem() = default;
  TWaveCollectionItem(std::string name, bool looped, TWave wave);

  std::string Name;
  bool Looped = false;
  TWave Wave;

  // How many copies may sound at once; 0 means no limit. Negative is taken as 0.
  int MaxPlayingCount() const { return MaxPlaying; }
  void SetMaxPlayingCount(int count) { MaxPlaying = count < 0 ? 0 : count; }

  // Hands the wave to the device. An item without wave data stays
  // uninitialised. Device errors pass through to the caller.
  void Initialize(TSoundDevice& device);
  // Forgets the device (which is about to close or has failed).
  void Finalize();
  bool Initialized() const { return Device != nullptr; }

  // Starts the wave from its beginning (looping when Looped). With `wait` the
  // call returns only when a single play has ended. Uninitialised: does nothing.
  void Play(bool wait = false);
  // Silences the wave. Uninitialised: does nothing.
  void Stop();

 private:
  int MaxPlaying = 0;
  TSoundDevice* Device = nullptr;
  TSoundHandle Handle = NoSound;
};
