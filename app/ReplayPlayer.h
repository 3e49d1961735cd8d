#pragma once
// Plays a parsed replay back one tick at a time: the input messages that came
// before each tick, then the joystick readings its frame takes.
#include <cstdint>

#include "app/Replay.h"

class TReplayPlayer {
 public:
  // Takes over a replay that ParseReplay accepted.
  void Load(TReplay replay);
  bool Loaded() const { return Ready; }
  const TReplayHeader& Header() const { return Data.Header; }
  void Unload() { Ready = false; }

  // Starts the next tick; false once every recorded tick has been played.
  bool BeginTick();
  // The tick's input messages in order; false when there are no more.
  bool NextEvent(TInputEvent& e);
  // What the joystick read in the frame being drawn.
  bool ReadJoystick(TJoyInfo& info);
  std::uint32_t TicksPlayed() const { return Played; }
  // The checksum recorded after `tick`, when the recording kept one there
  // (asked once per tick, in order).
  bool CheckpointAt(std::uint32_t tick, std::uint64_t& checksum);

 private:
  void TakeJoyReadings();

  TReplay Data;
  TReplayDecoder Decoder{nullptr, 0, TReplayInputState{}};
  bool Ready = false;
  bool InEvents = false;
  int RunLeft = 0;
  std::uint32_t Played = 0;
  TJoyReading Last;
  TJoyReading Queue[MaxJoyReadsPerTick];
  int Queued = 0, Taken = 0;
  std::size_t NextCheckpoint = 0;
};
