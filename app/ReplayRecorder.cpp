#include "app/ReplayRecorder.h"

void TReplayRecorder::Begin(const TReplayHeader& header) {
  Head = header;
  Head.Ticks = 0;
  Stream.clear();
  Active = true;
  EndOfLastTick = 0;
  OpenRun = OpenCursor = SIZE_MAX;
  CursorX = header.Start.CursorX, CursorY = header.Start.CursorY;
  LastJoy = StartJoyReading(header.Start);
  SameJoyReads = 0;
  Marks.clear();
  MarkCount = 0;
  LastMarkTick = 0;
}

void TReplayRecorder::Checkpoint(std::uint64_t checksum) {
  if (!Active || Head.Ticks == 0 || Head.Ticks == LastMarkTick) return;
  ReplayEncode::Checkpoint(Marks, TReplayCheckpoint{Head.Ticks, checksum});
  ++MarkCount;
  LastMarkTick = Head.Ticks;
}

void TReplayRecorder::Event(const TInputEvent& e) {
  if (!Active) return;
  using E = TInputEvent::TKind;
  OpenRun = SIZE_MAX;
  if (e.Kind == E::Cursor) {
    // Moves in a row: only the last one can be seen by the game.
    if (OpenCursor != SIZE_MAX) {
      Stream.resize(OpenCursor);
      CursorX = CursorBeforeOpen[0], CursorY = CursorBeforeOpen[1];
    }
    if (e.X == CursorX && e.Y == CursorY) {
      OpenCursor = SIZE_MAX;
      return;
    }
    OpenCursor = Stream.size();
    CursorBeforeOpen[0] = CursorX, CursorBeforeOpen[1] = CursorY;
    Stream.push_back(ReplayCode::Cursor);
    ReplayEncode::Signed(Stream, std::int32_t(std::uint32_t(e.X) - std::uint32_t(CursorX)));
    ReplayEncode::Signed(Stream, std::int32_t(std::uint32_t(e.Y) - std::uint32_t(CursorY)));
    CursorX = e.X, CursorY = e.Y;
    return;
  }
  OpenCursor = SIZE_MAX;
  switch (e.Kind) {
    case E::KeyDown: Stream.push_back(ReplayCode::KeyDown), Stream.push_back(std::uint8_t(e.Key)); break;
    case E::KeyUp: Stream.push_back(ReplayCode::KeyUp), Stream.push_back(std::uint8_t(e.Key)); break;
    case E::OtherKeyDown: Stream.push_back(ReplayCode::OtherKeyDown); break;
    case E::LeftDown: Stream.push_back(ReplayCode::LeftDown); break;
    case E::LeftUp: Stream.push_back(ReplayCode::LeftUp); break;
    case E::RightDown: Stream.push_back(ReplayCode::RightDown); break;
    case E::RightUp: Stream.push_back(ReplayCode::RightUp); break;
    default: break;
  }
}

void TReplayRecorder::Tick() {
  if (!Active) return;
  OpenCursor = SIZE_MAX;
  SameJoyReads = 0;
  ++Head.Ticks;
  if (OpenRun != SIZE_MAX && Stream[OpenRun] < ReplayCode::TicksLast) {
    ++Stream[OpenRun];
  } else {
    OpenRun = Stream.size();
    Stream.push_back(0);
  }
  EndOfLastTick = Stream.size();
}

void TReplayRecorder::JoystickRead(bool ok, const TJoyInfo& info) {
  // Readings belong to the frame of the last tick; before the first one
  // there is no frame to give them to.
  if (!Active || Head.Ticks == 0) return;
  const TJoyReading now{ok, info};
  if (now == LastJoy) {
    ++SameJoyReads;
    return;
  }
  OpenRun = OpenCursor = SIZE_MAX;
  if (SameJoyReads > 0) {
    Stream.push_back(ReplayCode::JoySame);
    ReplayEncode::Varint(Stream, std::uint32_t(SameJoyReads));
    SameJoyReads = 0;
  }
  ReplayEncode::JoyRead(Stream, LastJoy, now);
  LastJoy = now;
  EndOfLastTick = Stream.size();
}

void TReplayRecorder::End() {
  if (!Active) return;
  Active = false;
  Stream.resize(EndOfLastTick);
}
