#include "app/Replay.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "app/AtomicFile.h"

namespace {

constexpr char Magic[8] = {'Q', 'V', 'R', 'E', 'P', 'L', 'A', 'Y'};
constexpr int JoyFields = 7;
static_assert(ReplayField::StartJoystick.Size == JoyFields * 4 && ReplayField::Magic.Size == sizeof Magic);

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

// Little-endian numbers: a whole field, or its part `index` of `bytes` bytes.
void Put(std::uint8_t* base, ReplayField::TField f, std::uint64_t v, std::size_t bytes = 0, std::size_t index = 0) {
  if (!bytes) bytes = f.Size;
  std::uint8_t* p = base + f.Offset + index * bytes;
  for (std::size_t i = 0; i < bytes; ++i) p[i] = std::uint8_t(v >> (8 * i));
}
std::uint64_t Get(const std::uint8_t* base, ReplayField::TField f, std::size_t bytes = 0, std::size_t index = 0) {
  if (!bytes) bytes = f.Size;
  const std::uint8_t* p = base + f.Offset + index * bytes;
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < bytes; ++i) v |= std::uint64_t(p[i]) << (8 * i);
  return v;
}

void PutHeader(std::uint8_t* out, const TReplayHeader& h, std::size_t streamLength, std::size_t checkpoints) {
  namespace F = ReplayField;
  std::memcpy(out + F::Magic.Offset, Magic, sizeof Magic);
  Put(out, F::FormatVersion, ReplayFormatVersion);
  Put(out, F::GameVersion, h.GameVersion);
  Put(out, F::ScriptState, h.ScriptState);
  Put(out, F::PlaySeed, h.PlaySeed);
  Put(out, F::StartLevel, std::uint8_t(h.StartLevel));
  Put(out, F::InputMode, h.InputMode);
  Put(out, F::Assists,
      std::uint8_t(h.Assists.BulletLevel & 3) | (h.Assists.NoDamage ? 4 : 0) | (h.Assists.Bombs ? 8 : 0));
  const TReplayInputState& s = h.Start;
  for (std::size_t byte = 0; byte < F::StartKeys.Size; ++byte) {
    std::uint8_t bits = 0;
    for (int k = 0; k < 8; ++k) bits |= std::uint8_t(s.Keys[byte * 8 + k] ? 1 << k : 0);
    Put(out, F::StartKeys, bits, 1, byte);
  }
  Put(out, F::StartButtons, (s.MouseLeft ? 1 : 0) | (s.MouseRight ? 2 : 0) | (s.KeyFire ? 4 : 0) | (s.JoyFire ? 8 : 0));
  Put(out, F::CursorX, std::uint32_t(s.CursorX));
  Put(out, F::CursorY, std::uint32_t(s.CursorY));
  for (int i = 0; i < JoyFields; ++i) Put(out, F::StartJoystick, JoyField(s.JoyInfo, i), 4, std::size_t(i));
  Put(out, F::Ticks, h.Ticks);
  Put(out, F::StreamLength, std::uint32_t(streamLength));
  Put(out, F::Checkpoints, std::uint32_t(checkpoints));
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
  out.push_back(ReplayCode::JoyRead);
  out.push_back(mask);
  for (int i = 0; i < JoyFields; ++i)
    if (mask & (1 << i)) Varint(out, JoyField(now.Info, i));
}

void ReplayEncode::Checkpoint(std::vector<std::uint8_t>& out, const TReplayCheckpoint& c) {
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(c.Tick >> (8 * i)));
  for (int i = 0; i < 8; ++i) out.push_back(std::uint8_t(c.Checksum >> (8 * i)));
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

bool TReplayDecoder::JoyNext() const {
  return Pos < Size && (Data[Pos] == ReplayCode::JoyRead || Data[Pos] == ReplayCode::JoySame);
}

bool TReplayDecoder::Next(TReplayOp& op) {
  if (Pos >= Size) return false;
  const std::uint8_t code = Data[Pos++];
  using E = TInputEvent::TKind;
  auto event = [&](E kind) {
    op.Kind = TReplayOp::TKind::Event;
    op.Event = TInputEvent{};
    op.Event.Kind = kind;
  };
  if (code <= ReplayCode::TicksLast) {
    op.Kind = TReplayOp::TKind::Ticks;
    op.Count = code + 1;
    return true;
  }
  switch (code) {
    case ReplayCode::KeyDown:
    case ReplayCode::KeyUp:
      if (Pos >= Size) return Error = "the input stream stops in the middle of a key", false;
      event(code == ReplayCode::KeyDown ? E::KeyDown : E::KeyUp);
      op.Event.Key = Data[Pos++];
      return true;
    case ReplayCode::OtherKeyDown: event(E::OtherKeyDown); return true;
    case ReplayCode::LeftDown: event(E::LeftDown); return true;
    case ReplayCode::LeftUp: event(E::LeftUp); return true;
    case ReplayCode::RightDown: event(E::RightDown); return true;
    case ReplayCode::RightUp: event(E::RightUp); return true;
    case ReplayCode::Cursor: {
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
    case ReplayCode::JoySame: {
      std::uint32_t n;
      if (!ReadVarint(n)) return false;
      if (n < 1 || n > MaxJoyReadsPerTick) return Error = "too many joystick readings in one frame", false;
      op.Kind = TReplayOp::TKind::JoySame;
      op.Count = int(n);
      op.Joy = Last;
      return true;
    }
    case ReplayCode::JoyRead: {
      if (Pos >= Size) return Error = "the input stream stops in the middle of a joystick reading", false;
      const std::uint8_t mask = Data[Pos++];
      TJoyReading now = Last;
      now.Ok = (mask & 0x80) != 0;
      for (int i = 0; i < JoyFields; ++i) {
        if (!(mask & (1 << i))) continue;
        std::uint32_t v;
        if (!ReadVarint(v)) return false;
        if (v > MaxJoyField) return Error = "a joystick reading out of range", false;
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
  namespace F = ReplayField;
  auto refuse = [&](const char* reason) {
    why = reason;
    return false;
  };
  if (!data || size < F::SizeVersion1 + ReplayTrailerSize) return refuse("too short to be a replay");
  if (std::memcmp(data + F::Magic.Offset, Magic, sizeof Magic) != 0) return refuse("not a replay (wrong magic)");
  const auto version = Get(data, F::FormatVersion);
  if (version != 1 && version != ReplayFormatVersion) {
    why = "unknown replay format version " + std::to_string(version);
    return false;
  }
  const std::size_t headerSize = version == 1 ? F::SizeVersion1 : F::Size;
  if (size < headerSize + ReplayTrailerSize) return refuse("too short to be a replay");
  TReplayHeader h;
  h.GameVersion = std::uint32_t(Get(data, F::GameVersion));
  h.ScriptState = Get(data, F::ScriptState);
  h.PlaySeed = Get(data, F::PlaySeed);
  h.StartLevel = int(Get(data, F::StartLevel));
  h.InputMode = std::uint8_t(Get(data, F::InputMode));
  const auto assists = Get(data, F::Assists);
  h.Assists.BulletLevel = int(assists & 3);
  h.Assists.NoDamage = (assists & 4) != 0;
  h.Assists.Bombs = (assists & 8) != 0;
  for (std::size_t byte = 0; byte < F::StartKeys.Size; ++byte) {
    const auto bits = Get(data, F::StartKeys, 1, byte);
    for (int k = 0; k < 8; ++k) h.Start.Keys[byte * 8 + k] = (bits >> k) & 1;
  }
  const auto flags = Get(data, F::StartButtons);
  h.Start.MouseLeft = flags & 1, h.Start.MouseRight = flags & 2;
  h.Start.KeyFire = flags & 4, h.Start.JoyFire = flags & 8;
  h.Start.CursorX = std::int32_t(std::uint32_t(Get(data, F::CursorX)));
  h.Start.CursorY = std::int32_t(std::uint32_t(Get(data, F::CursorY)));
  bool joyInRange = true;
  for (int i = 0; i < JoyFields; ++i) {
    const auto v = Get(data, F::StartJoystick, 4, std::size_t(i));
    joyInRange = joyInRange && v <= MaxJoyField;
    *JoyField(h.Start.JoyInfo, i) = unsigned(v);
  }
  h.Ticks = std::uint32_t(Get(data, F::Ticks));
  const std::uint64_t length = Get(data, F::StreamLength);
  const std::uint64_t checkpoints = version == 1 ? 0 : Get(data, F::Checkpoints);

  const std::uint64_t room = size - headerSize - ReplayTrailerSize;
  const std::uint64_t wanted = length + checkpoints * ReplayCheckpointSize;
  if (wanted != room)
    return refuse(wanted > room ? "truncated (the input stream is cut short)" : "trailing bytes after the replay");
  if (Get(data + size - ReplayTrailerSize, F::TField{0, ReplayTrailerSize}) !=
      Fnv1a(FnvStart, data, size - ReplayTrailerSize))
    return refuse("bad checksum");
  if (h.StartLevel < 1 || h.StartLevel > 40) return refuse("the start level is not one of the forty");
  if (h.InputMode > 2) return refuse("unknown control mode");
  if (flags & 0xF0) return refuse("unknown start flags");
  if (!joyInRange) return refuse("a joystick reading out of range");
  if (h.Ticks == 0) return refuse("a replay without a single frame");
  if (h.Ticks > MaxReplayTicks) return refuse("longer than two hours of play, the most a replay may hold");

  // Walk the whole stream once: every step must read, joystick readings may
  // only follow a tick, and the ticks must add up to the count.
  const std::uint8_t* stream = data + headerSize;
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

  // Checkpoints come in the order of their ticks, all within the game.
  std::vector<TReplayCheckpoint> marks(static_cast<std::size_t>(checkpoints));
  const std::uint8_t* at = stream + length;
  std::uint32_t previous = 0;
  for (TReplayCheckpoint& c : marks) {
    c.Tick = std::uint32_t(Get(at, F::TField{0, 4}));
    c.Checksum = Get(at, F::TField{4, 8});
    at += ReplayCheckpointSize;
    if (c.Tick <= previous || c.Tick > h.Ticks) return refuse("a checkpoint out of order or outside the game");
    previous = c.Tick;
  }

  out.Header = h;
  out.Stream.assign(stream, stream + length);
  out.Checkpoints = std::move(marks);
  return true;
}

bool ReplayPlaysHere(const TReplayHeader& header, std::string& why) {
  if (header.GameVersion == GameVersion) return true;
  why = "recorded by game version " + std::to_string(header.GameVersion) + ", this is " + std::to_string(GameVersion);
  return false;
}

bool LoadReplayFile(const std::string& path, TReplay& out, std::string& why) {
  // Opened without blocking and looked at before a byte is read: a named pipe
  // would otherwise wait for a writer, and a device may never end.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    why = std::string("cannot be opened (") + std::strerror(errno) + ")";
    return false;
  }
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    why = "not a regular file";
    return false;
  }
  if (std::uint64_t(info.st_size) > MaxReplayFileSize) {
    ::close(fd);
    why = "too large to be a replay";
    return false;
  }
  std::vector<std::uint8_t> bytes;
  std::uint8_t block[65536];
  for (;;) {
    const ssize_t got = ::read(fd, block, sizeof block);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      ::close(fd);
      why = "cannot be read";
      return false;
    }
    if (got == 0) break;
    if (bytes.size() + std::size_t(got) > MaxReplayFileSize) {
      ::close(fd);
      why = "too large to be a replay";
      return false;
    }
    bytes.insert(bytes.end(), block, block + got);
  }
  ::close(fd);
  return ParseReplay(bytes.data(), bytes.size(), out, why);
}

namespace {
// A replay file's header and its trailing hash over the header, the stream
// and the checkpoints; false when the file would be too big to read back.
bool FrameReplay(const TReplayHeader& header, const std::uint8_t* stream, std::size_t length,
                 const std::uint8_t* checkpoints, std::size_t count, std::uint8_t (&head)[ReplayHeaderSize],
                 std::uint8_t (&tail)[ReplayTrailerSize]) {
  if (length > MaxReplayFileSize || count > MaxReplayFileSize / ReplayCheckpointSize) return false;
  PutHeader(head, header, length, count);
  const std::size_t marks = count * ReplayCheckpointSize;
  std::uint64_t hash = Fnv1a(Fnv1a(Fnv1a(FnvStart, head, sizeof head), stream, length), checkpoints, marks);
  Put(tail, ReplayField::TField{0, ReplayTrailerSize}, hash);
  return true;
}
}  // namespace

bool WriteReplayFile(const char* path, const TReplayHeader& header, const std::uint8_t* stream, std::size_t length,
                     const std::uint8_t* checkpoints, std::size_t count) {
  std::uint8_t head[ReplayHeaderSize], tail[ReplayTrailerSize];
  if (!FrameReplay(header, stream, length, checkpoints, count, head, tail)) return false;
  const std::size_t marks = count * ReplayCheckpointSize;
  const TFileChunk chunks[] = {{head, sizeof head}, {stream, length}, {checkpoints, marks}, {tail, sizeof tail}};
  return WriteFileAtomically(path, chunks, 4);
}

std::vector<std::uint8_t> ReplayFileBytes(const TReplayHeader& header, const std::uint8_t* stream, std::size_t length,
                                          const std::uint8_t* checkpoints, std::size_t count) {
  std::vector<std::uint8_t> out;
  std::uint8_t head[ReplayHeaderSize], tail[ReplayTrailerSize];
  if (!FrameReplay(header, stream, length, checkpoints, count, head, tail)) return out;
  const std::size_t marks = count * ReplayCheckpointSize;
  out.reserve(sizeof head + length + marks + sizeof tail);
  out.insert(out.end(), head, head + sizeof head);
  out.insert(out.end(), stream, stream + length);
  out.insert(out.end(), checkpoints, checkpoints + marks);
  out.insert(out.end(), tail, tail + sizeof tail);
  return out;
}

void FormatFinalLine(const TReplayResult& r, char* out, std::size_t size) {
  std::snprintf(out, size, "final: frame %u level %d score %d damage %d checksum %016llx", unsigned(r.Frames), r.Level,
                r.Score, r.Damage, static_cast<unsigned long long>(r.Checksum));
}
