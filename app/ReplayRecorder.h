#pragma once
// Records the game being played: the header when play begins, then every
// input message, tick and joystick reading as it happens, into one buffer
// reserved up front (a long game grows it a handful of times at most).
#include <cstdint>
#include <vector>

#include "app/Replay.h"

class TReplayRecorder {
 public:
  // Room for well over five minutes of busy mouse play.
  static constexpr std::size_t ReservedBytes = 256 * 1024;

  // A checkpoint every ReplayCheckpointTicks: over five hours of them.
  static constexpr std::size_t ReservedCheckpoints = 4096;

  TReplayRecorder() {
    Stream.reserve(ReservedBytes);
    Marks.reserve(ReservedCheckpoints * ReplayCheckpointSize);
  }

  void Begin(const TReplayHeader& header);
  bool Recording() const { return Active; }
  // An input message that changes the game's state.
  void Event(const TInputEvent& e);
  // A timer tick: the frame it starts is the next one recorded.
  void Tick();
  void JoystickRead(bool ok, const TJoyInfo& info);
  // The game's checksum after the ticks recorded so far (once per tick).
  void Checkpoint(std::uint64_t checksum);
  // The game is over: input after its last tick is dropped.
  void End();

  const TReplayHeader& Header() const { return Head; }
  const std::vector<std::uint8_t>& Input() const { return Stream; }
  std::uint32_t Ticks() const { return Head.Ticks; }
  std::size_t Checkpoints() const { return MarkCount; }
  bool Write(const char* path) const {
    return WriteReplayFile(path, Head, Stream.data(), Stream.size(), Marks.data(), MarkCount);
  }
  std::vector<std::uint8_t> Bytes() const {
    return ReplayFileBytes(Head, Stream.data(), Stream.size(), Marks.data(), MarkCount);
  }

 private:
  bool Active = false;
  TReplayHeader Head;
  std::vector<std::uint8_t> Stream;
  std::size_t EndOfLastTick = 0;
  // Where the last byte is a tick run that may take one more tick.
  std::size_t OpenRun = SIZE_MAX;
  // A cursor move last in the stream is replaced by the next one.
  std::size_t OpenCursor = SIZE_MAX;
  int CursorX = 0, CursorY = 0, CursorBeforeOpen[2] = {0, 0};
  TJoyReading LastJoy;
  int SameJoyReads = 0;
  // The checkpoints as the file holds them.
  std::vector<std::uint8_t> Marks;
  std::size_t MarkCount = 0;
  std::uint32_t LastMarkTick = 0;
};
