#include "app/Replay.h"

#include <cstdio>
#include <cstring>

#include "app/AtomicFile.h"

namespace {

constexpr char Magic[8] = {'Q', 'V', 'R', 'E', 'P', 'L', 'A', 'Y'};
constexpr int JoyFields = 7;

enum : std::uint8_t {
  OpTicksLast = 0x7F,
  OpKeyDown = 0x80,
  OpKeyUp = 0x81,
  OpOtherKeyDown = 0x82,
  OpLeftDown = 0x83,
  OpLeftUp = 0x84,
  OpRightDown = 0x85,
  OpRightUp = 0x86,
  OpCursor = 0x87,
  OpJoySame = 0x88,
  OpJoyRead = 0x89,
};

unsigned* JoyField(TJoyInfo& j, int i) {
  unsigned* fields[JoyFields] = {&j.XPos, &j.YPos, &j.ZPos, &j.Buttons, &j.RightX, &j.RightY, &j.RightTrigger};
  return fields[i];
}
unsigned JoyField(const TJoyInfo& j, int i) { return *JoyField(const_cast<TJoyInfo&>(j), i); }

std::uint64_t Fnv1a(std::uint64_t h, const std::uint8_t* p, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 0x100000001B3ull;
  return h;
}
constexpr std::uint64_t FnvStart = 0xCBF29CE484222325ull;

// Fixed-width little-endian fields of the header.
struct TWriter {
  std::uint8_t* P;
  void U(std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) *P++ = std::uint8_t(v >> (8 * i));
  }
};
struct TReader {
  const std::uint8_t* P;
  std::uint64_t U(int bytes) {
    std::uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= std::uint64_t(*P++) << (8 * i);
    return v;
  }
};

void PutHeader(std::uint8_t* out, const TReplayHeader& h, std::size_t streamLength) {
  std::memcpy(out, Magic, sizeof Magic);
  TWriter w{out + sizeof Magic};
  w.U(ReplayFormatVersion, 2);
  w.U(h.GameVersion, 4);
  w.U(h.ScriptState, 8);
  w.U(h.PlaySeed, 8);
  w.U(std::uint8_t(h.StartLevel), 1);
  w.U(h.InputMode, 1);
  w.U(std::uint8_t(h.Assists.BulletLevel & 3) | (h.Assists.NoDamage ? 4 : 0) | (h.Assists.Bombs ? 8 : 0), 1);
  for (int byte = 0; byte < 32; ++byte) {
    std::uint8_t bits = 0;
    for (int k = 0; k < 8; ++k) bits |= std::uint8_t(h.Start.Keys[byte * 8 + k] ? 1 << k : 0);
    w.U(bits, 1);
  }
  const TReplayInputState& s = h.Start;
  w.U((s.MouseLeft ? 1 : 0) | (s.MouseRight ? 2 : 0) | (s.KeyFire ? 4 : 0) | (s.JoyFire ? 8 : 0), 1);
  w.U(std::uint32_t(s.CursorX), 4);
  w.U(std::uint32_t(s.CursorY), 4);
  for (int i = 0; i < JoyFields; ++i) w.U(JoyField(s.JoyInfo, i), 4);
  w.U(h.Ticks, 4);
  w.U(std::uint32_t(streamLength), 4);
}

}  // namespace

TJoyReading StartJoyReading(const TReplayInputState& start) { return TJoyReading{false, start.JoyInfo}; }

// ---------------------------------------------------------------------------

void ReplayEncode::Varint(std::vector<std::uint8_t>& out, std::uint32_t v) {
  while (v >= 0x80) {
    out.push_back(std::uint8_t(v | 0x80));
    v >>= 7;
  }
  out.push_back(std::uint8_t(v));
}

void ReplayEncode::Signed(std::vector<std::uint8_t>& out, std::int32_t v) {
  Varint(out, (std::uint32_t(v) << 1) ^ std::uint32_t(v >> 31));
}

void ReplayEncode::JoyRead(std::vector<std::uint8_t>& out, const TJoyReading& last, const TJoyReading& now) {
  std::uint8_t mask = now.Ok ? 0x80 : 0;
  for (int i = 0; i < JoyFields; ++i)
    if (JoyField(now.Info, i) != JoyField(last.Info, i)) mask |= std::uint8_t(1 << i);
  out.push_back(OpJoyRead);
  out.push_back(mask);
  for (int i = 0; i < JoyFields; ++i)
    if (mask & (1 << i)) Varint(out, JoyField(now.Info, i));
}

// ---------------------------------------------------------------------------

TReplayDecoder::TReplayDecoder(const std::uint8_t* data, std::size_t size, const TReplayInputState& start)
    : Data(data), Size(size), CursorX(start.CursorX), CursorY(start.CursorY), Last(StartJoyReading(start)) {}

bool TReplayDecoder::ReadVarint(std::uint32_t& v) {
  v = 0;
  for (int shift = 0; shift < 35; shift += 7) {
    if (Pos >= Size) return Error = "the input stream stops in the middle of a number", false;
    const std::uint8_t b = Data[Pos++];
    if (shift == 28 && (b & 0xF0)) return Error = "a number in the input stream is too large", false;
    v |= std::uint32_t(b & 0x7F) << shift;
    if (!(b & 0x80)) return true;
  }
  return Error = "a number in the input stream is too large", false;
}

bool TReplayDecoder::JoyNext() const { return Pos < Size && (Data[Pos] == OpJoyRead || Data[Pos] == OpJoySame); }

bool TReplayDecoder::Next(TReplayOp& op) {
  if (Pos >= Size) return false;
  const std::uint8_t code = Data[Pos++];
  using E = TInputEvent::TKind;
  auto event = [&](E kind) {
    op.Kind = TReplayOp::TKind::Event;
    op.Event = TInputEvent{};
    op.Event.Kind = kind;
  };
  if (code <= OpTicksLast) {
    op.Kind = TReplayOp::TKind::Ticks;
    op.Count = code + 1;
    return true;
  }
  switch (code) {
    case OpKeyDown:
    case OpKeyUp:
      if (Pos >= Size) return Error = "the input stream stops in the middle of a key", false;
      event(code == OpKeyDown ? E::KeyDown : E::KeyUp);
      op.Event.Key = Data[Pos++];
      return true;
    case OpOtherKeyDown: event(E::OtherKeyDown); return true;
    case OpLeftDown: event(E::LeftDown); return true;
    case OpLeftUp: event(E::LeftUp); return true;
    case OpRightDown: event(E::RightDown); return true;
    case OpRightUp: event(E::RightUp); return true;
    case OpCursor: {
      std::uint32_t dx, dy;
      if (!ReadVarint(dx) || !ReadVarint(dy)) return false;
      const std::int64_t x = CursorX + std::int32_t((dx >> 1) ^ (0u - (dx & 1)));
      const std::int64_t y = CursorY + std::int32_t((dy >> 1) ^ (0u - (dy & 1)));
      if (x < INT32_MIN || x > INT32_MAX || y < INT32_MIN || y > INT32_MAX)
        return Error = "the cursor moves outside any window", false;
      CursorX = x, CursorY = y;
      event(E::Cursor);
      op.Event.X = int(x), op.Event.Y = int(y);
      return true;
    }
    case OpJoySame: {
      std::uint32_t n;
      if (!ReadVarint(n)) return false;
      if (n < 1 || n > MaxJoyReadsPerTick) return Error = "too many joystick readings in one frame", false;
      op.Kind = TReplayOp::TKind::JoySame;
      op.Count = int(n);
      op.Joy = Last;
      return true;
    }
    case OpJoyRead: {
      if (Pos >= Size) return Error = "the input stream stops in the middle of a joystick reading", false;
      const std::uint8_t mask = Data[Pos++];
      TJoyReading now = Last;
      now.Ok = (mask & 0x80) != 0;
      for (int i = 0; i < JoyFields; ++i) {
        if (!(mask & (1 << i))) continue;
        std::uint32_t v;
        if (!ReadVarint(v)) return false;
        *JoyField(now.Info, i) = v;
      }
      Last = now;
      op.Kind = TReplayOp::TKind::JoyRead;
      op.Joy = now;
      return true;
    }
    default: Error = "an unknown code in the input stream"; return false;
  }
}

// ---------------------------------------------------------------------------

bool ParseReplay(const std::uint8_t* data, std::size_t size, TReplay& out, std::string& why) {
  auto refuse = [&](const char* reason) {
    why = reason;
    return false;
  };
  if (!data || size < ReplayHeaderSize + ReplayTrailerSize) return refuse("too short to be a replay");
  if (std::memcmp(data, Magic, sizeof Magic) != 0) return refuse("not a replay (wrong magic)");
  TReader r{data + sizeof Magic};
  const auto version = r.U(2);
  if (version != ReplayFormatVersion) {
    why = "unknown replay format version " + std::to_string(version);
    return false;
  }
  TReplayHeader h;
  h.GameVersion = std::uint32_t(r.U(4));
  h.ScriptState = r.U(8);
  h.PlaySeed = r.U(8);
  h.StartLevel = int(r.U(1));
  h.InputMode = std::uint8_t(r.U(1));
  const auto assists = r.U(1);
  h.Assists.BulletLevel = int(assists & 3);
  h.Assists.NoDamage = (assists & 4) != 0;
  h.Assists.Bombs = (assists & 8) != 0;
  for (int byte = 0; byte < 32; ++byte) {
    const auto bits = r.U(1);
    for (int k = 0; k < 8; ++k) h.Start.Keys[byte * 8 + k] = (bits >> k) & 1;
  }
  const auto flags = r.U(1);
  h.Start.MouseLeft = flags & 1, h.Start.MouseRight = flags & 2;
  h.Start.KeyFire = flags & 4, h.Start.JoyFire = flags & 8;
  h.Start.CursorX = std::int32_t(std::uint32_t(r.U(4)));
  h.Start.CursorY = std::int32_t(std::uint32_t(r.U(4)));
  for (int i = 0; i < JoyFields; ++i) *JoyField(h.Start.JoyInfo, i) = unsigned(r.U(4));
  h.Ticks = std::uint32_t(r.U(4));
  const std::uint64_t length = r.U(4);

  if (length != size - ReplayHeaderSize - ReplayTrailerSize)
    return refuse(length > size - ReplayHeaderSize - ReplayTrailerSize ? "truncated (the input stream is cut short)"
                                                                       : "trailing bytes after the replay");
  TReader trailer{data + size - ReplayTrailerSize};
  if (trailer.U(8) != Fnv1a(FnvStart, data, size - ReplayTrailerSize)) return refuse("bad checksum");
  if (h.StartLevel < 1 || h.StartLevel > 40) return refuse("the start level is not one of the forty");
  if (h.InputMode > 2) return refuse("unknown control mode");
  if (flags & 0xF0) return refuse("unknown start flags");
  if (h.Ticks == 0) return refuse("a replay without a single frame");

  // Walk the whole stream once: every step must read, joystick readings may
  // only follow a tick, and the ticks must add up to the count.
  const std::uint8_t* stream = data + ReplayHeaderSize;
  TReplayDecoder decoder(stream, std::size_t(length), h.Start);
  std::uint64_t ticks = 0;
  int readsThisTick = 0;
  bool afterTick = false;
  TReplayOp op;
  while (decoder.Next(op)) {
    switch (op.Kind) {
      case TReplayOp::TKind::Ticks:
        ticks += std::uint64_t(op.Count);
        readsThisTick = 0;
        afterTick = true;
        break;
      case TReplayOp::TKind::Event: afterTick = false; break;
      default:
        if (!afterTick) return refuse("a joystick reading outside a frame");
        readsThisTick += op.Kind == TReplayOp::TKind::JoySame ? op.Count : 1;
        if (readsThisTick > MaxJoyReadsPerTick) return refuse("too many joystick readings in one frame");
        break;
    }
    if (ticks > h.Ticks) return refuse("more frames in the input than the header counts");
  }
  if (decoder.Error) return refuse(decoder.Error);
  if (ticks != h.Ticks) return refuse("fewer frames in the input than the header counts");
  if (!afterTick) return refuse("input after the last frame");

  out.Header = h;
  out.Stream.assign(stream, stream + length);
  return true;
}

bool LoadReplayFile(const std::string& path, TReplay& out, std::string& why) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    why = "cannot open " + path;
    return false;
  }
  std::vector<std::uint8_t> bytes;
  std::uint8_t block[65536];
  std::size_t got;
  while ((got = std::fread(block, 1, sizeof block, f)) > 0) {
    if (bytes.size() + got > MaxReplayFileSize) {
      std::fclose(f);
      why = "too large to be a replay";
      return false;
    }
    bytes.insert(bytes.end(), block, block + got);
  }
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) {
    why = "cannot read " + path;
    return false;
  }
  return ParseReplay(bytes.data(), bytes.size(), out, why);
}

bool WriteReplayFile(const char* path, const TReplayHeader& header, const std::uint8_t* stream, std::size_t length) {
  if (length > MaxReplayFileSize) return false;
  std::uint8_t head[ReplayHeaderSize];
  PutHeader(head, header, length);
  std::uint64_t hash = Fnv1a(Fnv1a(FnvStart, head, sizeof head), stream, length);
  std::uint8_t tail[ReplayTrailerSize];
  TWriter{tail}.U(hash, 8);
  const TFileChunk chunks[] = {{head, sizeof head}, {stream, length}, {tail, sizeof tail}};
  return WriteFileAtomically(path, chunks, 3);
}

void FormatFinalLine(const TReplayResult& r, char* out, std::size_t size) {
  std::snprintf(out, size, "final: frame %u level %d score %d damage %d checksum %016llx", unsigned(r.Frames), r.Level,
                r.Score, r.Damage, static_cast<unsigned long long>(r.Checksum));
}
