#pragma once
// Where the sound bank's waves are played. A device mixes on its own; the
// game only loads waves once, then starts and stops them.
#include <string>

#include "sound/Wave.h"

using TSoundHandle = int;
inline constexpr TSoundHandle NoSound = -1;

// Every device plays each wave at this share (of 128) of its recorded level,
// and sends the sum through the limiter (sound/MixLimiter.h). The waves keep
// their loudness against one another; the share leaves the headroom for the
// busiest moments of play (triple fire into a crowd, the ship scraping
// enemies, a gravi-bomb over the new-level chime) to add up below the
// limiter's ceiling nearly always, so that it seldom has to act.
inline constexpr int MixVolume = 45;  // about -9.1 dB
inline constexpr int MixVolumeFull = 128;
// The same share as a gain, for mixers that take one.
inline constexpr float MixShare = float(MixVolume) / float(MixVolumeFull);

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
  // already sounding is cut and started again within this one call, so the
  // mixer never plays it as stopped in between; different waves mix.
  virtual void Play(TSoundHandle handle, bool looped) = 0;
  virtual void Stop(TSoundHandle handle) = 0;
  virtual bool IsPlaying(TSoundHandle handle) const = 0;
};
