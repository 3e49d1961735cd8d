#pragma once
// Where the sound bank's waves are played. A device mixes on its own; the
// game only loads waves once, then starts and stops them.
#include <string>

#include "sound/Wave.h"

using TSoundHandle = int;
inline constexpr TSoundHandle NoSound = -1;

class TSoundDevice {
 public:
  virtual ~TSoundDevice() = default;

  // Starts the output. Throws ESoundDeviceError when there is none to start.
  virtual void Open() = 0;
  // Stops everything and forgets every loaded wave; safe to call when closed.
  virtual void Close() = 0;
  // Hands the device a wave to keep ready for playing. Throws ESoundBufferError
  // when it cannot be held (or the device is not open).
  virtual TSoundHandle Load(const std::string& name, const TWave& wave) = 0;
  // Starts the wave from its beginning, once or looping. A wave that is
  // already sounding is cut and started again; different waves mix.
  virtual void Play(TSoundHandle handle, bool looped) = 0;
  virtual void Stop(TSoundHandle handle) = 0;
  virtual bool IsPlaying(TSoundHandle handle) const = 0;
};
