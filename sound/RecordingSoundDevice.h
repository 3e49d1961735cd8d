#pragma once
// A device for tests: keeps a log of every load, play and stop by wave name,
// and tracks which waves are sounding. Each call is one entry, so a test sees
// how many calls an event cost. It can be told to fail as a machine
// without sound would.
#include <string>
#include <vector>

#include "sound/SoundDevice.h"

struct TSoundEvent {
  enum class TKind { Load, Play, Stop };
  TKind Kind = TKind::Play;
  TSoundHandle Handle = NoSound;
  std::string Name;
  bool Looped = false;
};

class TRecordingSoundDevice : public TSoundDevice {
 public:
  enum class TFailure {
    None,
    NoOutput,    // Open throws ESoundDeviceError, as with no sound card
    NoMixer,     // Open throws ESoundDeviceError for the mixer behind the output
    OtherError,  // Open throws a plain std::runtime_error: not a sound problem
  };
  TFailure OpenFailure = TFailure::None;
  std::string FailureReason;  // what the system would say, given with NoOutput
  int FailLoadNumber = -1;    // the load (counted from 0) that throws ESoundBufferError

  std::vector<TSoundEvent> Log;

  void Open() override;
  void Close() override;
  TSoundHandle Load(const std::string& name, const TWave& wave) override;
  void Play(TSoundHandle handle, bool looped) override;
  void Stop(TSoundHandle handle) override;
  bool IsPlaying(TSoundHandle handle) const override;

  bool IsOpen() const { return Opened; }
  int LoadedCount() const { return int(Waves.size()); }
  const std::string& NameOf(TSoundHandle handle) const;
  const TWaveFormat& FormatOf(TSoundHandle handle) const;
  TSoundHandle HandleOf(const std::string& name) const;  // NoSound when not loaded
  bool IsPlaying(const std::string& name) const { return IsPlaying(HandleOf(name)); }
  int Count(TSoundEvent::TKind kind) const;
  int Count(TSoundEvent::TKind kind, const std::string& name) const;
  // Index in Log of the last event of this kind for the wave, or -1.
  int LastIndex(TSoundEvent::TKind kind, const std::string& name) const;

 private:
  struct TLoaded {
    std::string Name;
    TWaveFormat Format;
    bool Playing = false;
  };
  bool Valid(TSoundHandle handle) const { return handle >= 0 && handle < int(Waves.size()); }

  bool Opened = false;
  int LoadCalls = 0;
  std::vector<TLoaded> Waves;
};
