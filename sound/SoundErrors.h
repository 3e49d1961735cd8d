#pragma once
// Errors of the sound layer. A device error means "no usable sound output":
// the bank catches those and carries on silently. A wave that is not a sound
// RIFF WAVE is a different fault and is not swallowed.
#include <stdexcept>
#include <string>
#include <utility>

// "Wave is invalid": the bytes are not a RIFF WAVE the game can play.
class EWaveInvalid : public std::runtime_error {
 public:
  EWaveInvalid() : std::runtime_error("Wave is invalid") {}
};

// The sound output could not be started or used. The message is the game's
// own; Reason, when known, is what the system behind the device said.
class ESoundDeviceError : public std::runtime_error {
 public:
  explicit ESoundDeviceError(const std::string& message, std::string reason = {})
      : std::runtime_error(message), Reason(std::move(reason)) {}
  std::string Reason;
};

// One wave's buffer on the device could not be made or filled.
class ESoundBufferError : public ESoundDeviceError {
 public:
  using ESoundDeviceError::ESoundDeviceError;
};

// The message patterns, with the part that failed put in for %s.
inline constexpr const char* SCannotInitialize = "%s cannot be initialized";
inline constexpr const char* SCannotMake = "%s cannot be made";
inline constexpr const char* SCannotLock = "%s cannot be locked";
// What can fail: the output as a whole, the mixer behind it, one wave's buffer.
inline constexpr const char* SOutputName = "DirectSound";
inline constexpr const char* SMixerName = "Primary Buffer";
inline constexpr const char* SBufferName = "Sound Buffer";

// Puts `what` into the pattern's %s.
inline std::string SoundErrorText(const char* pattern, const char* what) {
  std::string text = pattern;
  std::string::size_type at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, what);
  return text;
}
