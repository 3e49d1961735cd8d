#include "app/ReplayPlayer.h"

#include <utility>

void TReplayPlayer::Load(TReplay replay) {
  Data = std::move(replay);
  Decoder = TReplayDecoder(Data.Stream.data(), Data.Stream.size(), Data.Header.Start);
  Ready = true;
  InEvents = false;
  RunLeft = 0;
  Played = 0;
  Last = StartJoyReading(Data.Header.Start);
  Queued = Taken = 0;
  NextCheckpoint = 0;
}

bool TReplayPlayer::CheckpointAt(std::uint32_t tick, std::uint64_t& checksum) {
  const auto& marks = Data.Checkpoints;
  while (NextCheckpoint < marks.size() && marks[NextCheckpoint].Tick < tick) ++NextCheckpoint;
  if (NextCheckpoint >= marks.size() || marks[NextCheckpoint].Tick != tick) return false;
  checksum = marks[NextCheckpoint++].Checksum;
  return true;
}

bool TReplayPlayer::BeginTick() {
  if (!Ready || Played >= Data.Header.Ticks) return false;
  Queued = Taken = 0;
  ++Played;
  if (RunLeft > 0) {
    // Inside a run of quiet ticks: no messages, and the readings (if any)
    // follow the run's last tick.
    --RunLeft;
    InEvents = false;
    if (RunLeft == 0) TakeJoyReadings();
    return true;
  }
  InEvents = true;
  return true;
}

bool TReplayPlayer::NextEvent(TInputEvent& e) {
  if (!InEvents) return false;
  TReplayOp op;
  while (Decoder.Next(op)) {
    if (op.Kind == TReplayOp::TKind::Event) {
      e = op.Event;
      return true;
    }
    if (op.Kind == TReplayOp::TKind::Ticks) {
      InEvents = false;
      RunLeft = op.Count - 1;
      if (RunLeft == 0) TakeJoyReadings();
      return false;
    }
  }
  // The stream was checked when it was loaded; running dry here means the
  // header's count was the last word.
  InEvents = false;
  return false;
}

void TReplayPlayer::TakeJoyReadings() {
  TReplayOp op;
  while (Decoder.JoyNext() && Decoder.Next(op)) {
    const int n = op.Kind == TReplayOp::TKind::JoySame ? op.Count : 1;
    for (int i = 0; i < n && Queued < MaxJoyReadsPerTick; ++i) Queue[Queued++] = op.Joy;
  }
}

bool TReplayPlayer::ReadJoystick(TJoyInfo& info) {
  // More reads than were recorded repeat the last reading.
  if (Taken < Queued) Last = Queue[Taken++];
  info = Last.Info;
  return Last.Ok;
}
