#include "sound/RecordingSoundDevice.h"

#include <stdexcept>

#include "sound/SoundErrors.h"

void TRecordingSoundDevice::Open() {
  switch (OpenFailure) {
    case TFailure::NoOutput: throw ESoundDeviceError(SoundErrorText(SCannotInitialize, SOutputName), FailureReason);
    case TFailure::NoMixer: throw ESoundDeviceError(SoundErrorText(SCannotMake, SMixerName));
    case TFailure::OtherError: throw std::runtime_error("recording device told to fail");
    case TFailure::None: break;
  }
  Opened = true;
}

void TRecordingSoundDevice::Close() {
  Opened = false;
  Waves.clear();
}

TSoundHandle TRecordingSoundDevice::Load(const std::string& name, const TWave& wave) {
  if (!Opened || LoadCalls++ == FailLoadNumber) throw ESoundBufferError(SoundErrorText(SCannotMake, SBufferName));
  Waves.push_back({name, wave.Format, false});
  TSoundHandle handle = TSoundHandle(Waves.size() - 1);
  Log.push_back({TSoundEvent::TKind::Load, handle, name, false});
  return handle;
}

void TRecordingSoundDevice::Play(TSoundHandle handle, bool looped) {
  if (!Valid(handle)) return;
  Waves[size_t(handle)].Playing = true;  // cut and started over: still one of it sounding
  Log.push_back({TSoundEvent::TKind::Play, handle, Waves[size_t(handle)].Name, looped});
}

void TRecordingSoundDevice::Stop(TSoundHandle handle) {
  if (!Valid(handle)) return;
  Waves[size_t(handle)].Playing = false;
  Log.push_back({TSoundEvent::TKind::Stop, handle, Waves[size_t(handle)].Name, false});
}

bool TRecordingSoundDevice::IsPlaying(TSoundHandle handle) const {
  return Valid(handle) && Waves[size_t(handle)].Playing;
}

const std::string& TRecordingSoundDevice::NameOf(TSoundHandle handle) const {
  static const std::string none;
  return Valid(handle) ? Waves[size_t(handle)].Name : none;
}

const TWaveFormat& TRecordingSoundDevice::FormatOf(TSoundHandle handle) const {
  static const TWaveFormat none;
  return Valid(handle) ? Waves[size_t(handle)].Format : none;
}

TSoundHandle TRecordingSoundDevice::HandleOf(const std::string& name) const {
  for (size_t i = 0; i < Waves.size(); ++i)
    if (Waves[i].Name == name) return TSoundHandle(i);
  return NoSound;
}

int TRecordingSoundDevice::Count(TSoundEvent::TKind kind) const {
  int n = 0;
  for (const TSoundEvent& e : Log) n += e.Kind == kind;
  return n;
}

int TRecordingSoundDevice::Count(TSoundEvent::TKind kind, const std::string& name) const {
  int n = 0;
  for (const TSoundEvent& e : Log) n += e.Kind == kind && e.Name == name;
  return n;
}

int TRecordingSoundDevice::LastIndex(TSoundEvent::TKind kind, const std::string& name) const {
  for (int i = int(Log.size()) - 1; i >= 0; --i)
    if (Log[size_t(i)].Kind == kind && Log[size_t(i)].Name == name) return i;
  return -1;
}
