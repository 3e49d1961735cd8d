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
    Stream.push_back(0x87);
    ReplayEncode::Signed(Stream, std::int32_t(std::uint32_t(e.X) - std::uint32_t(CursorX)));
    ReplayEncode::Signed(Stream, std::int32_t(std::uint32_t(e.Y) - std::uint32_t(CursorY)));
    CursorX = e.X, CursorY = e.Y;
    return;
  }
  OpenCursor = SIZE_MAX;
  switch (e.Kind) {
    case E::KeyDown: Stream.push_back(0x80), Stream.push_back(std::uint8_t(e.Key)); break;
    case E::KeyUp: Stream.push_back(0x81), Stream.push_back(std::uint8_t(e.Key)); break;
    case E::OtherKeyDown: Stream.push_back(0x82); break;
    case E::LeftDown: Stream.push_back(0x83); break;
    case E::LeftUp: Stream.push_back(0x84); break;
    case E::RightDown: Stream.push_back(0x85); break;
    case E::RightUp: Stream.push_back(0x86); break;
    default: break;
  }
}

void TReplayRecorder::Tick() {
  if (!Active) return;
  OpenCursor = SIZE_MAX;
  SameJoyReads = 0;
  ++Head.Ticks;
  if (OpenRun != SIZE_MAX && Stream[OpenRun] < 0x7F) {
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
    Stream.push_back(0x88);
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
