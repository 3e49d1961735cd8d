#pragma once
// A replay: everything needed to play one game again, frame for frame.
//
// A game is a function of the level script, the random generator's state when
// play began and the input of every frame, so that is what a replay keeps.
// The file is the header (ReplayField, below), the input stream, the
// checkpoints (version 2 on) and an FNV-1a 64-bit hash of every byte before
// it; all numbers are little-endian.
//
// The input stream holds only what changed, in the order the game saw it
// (ReplayCode):
//   0x00..0x7F   that many plus one frames end here (one tick each)
//   0x80 k       key k pressed (repeats of a held key are kept only where
//                they count, i.e. while P is held: each one flips pause)
//   0x81 k       key k released
//   0x82         a key the game does not track pressed (flips pause under P)
//   0x83 / 0x84  left button down / up
//   0x85 / 0x86  right button down / up
//   0x87 dx dy   cursor moved by (dx, dy), zigzag varints
//   0x88 n       the next n joystick readings repeat the last one (varint)
//   0x89 m ...   a joystick reading: bit 7 of m says whether the read worked,
//                bits 0-6 which of the seven fields changed; each changed
//                field follows as a varint, in the order above
// Input messages come before the tick they precede; joystick readings are
// taken while a frame is drawn, so they follow the tick that drew it.
//
// A checkpoint is a tick (4 bytes) and the game's checksum after it (8): one
// every ReplayCheckpointTicks ticks and one at the end, so a replay that no
// longer plays as it was recorded says where it parted.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/Joystick.h"

// Version 1 files (no checkpoints) are still read.
constexpr std::uint16_t ReplayFormatVersion = 2;
// The rules of play a replay was recorded under. Raise it with every change
// that alters play (an enemy's move, a level's rule, the order of a frame):
// a replay of another version is another game, so every host refuses it (the
// headless runner plays one anyway, with a warning, when asked to).
//   2  replays with checkpoints
//   3  level 30: a black hole's collapse counts towards the quota
constexpr std::uint32_t GameVersion = 3;

// The header's fields, each placed right after the one before it.
namespace ReplayField {
struct TField {
  std::size_t Offset, Size;
};
constexpr TField After(TField f, std::size_t size) { return TField{f.Offset + f.Size, size}; }
constexpr TField Magic{0, 8};  // "QVREPLAY"
constexpr TField FormatVersion = After(Magic, 2);
constexpr TField GameVersion = After(FormatVersion, 4);  // of the build that recorded it
constexpr TField ScriptState = After(GameVersion, 8);    // generator state when the level script was drawn
constexpr TField PlaySeed = After(ScriptState, 8);       // generator state when play began
constexpr TField StartLevel = After(PlaySeed, 1);        // 1..40
constexpr TField InputMode = After(StartLevel, 1);       // 0 keyboard, 1 mouse, 2 joystick
// Developer assists (0 in a player's game): bits 0-1 bullet level held (0
// none), bit 2 damage held at 0, bit 3 bombs kept at 9; applied before every
// frame of play (and the held damage never passes 100 within a frame).
constexpr TField Assists = After(InputMode, 1);
constexpr TField StartKeys = After(Assists, 32);      // keys held when play began, key k in bit k % 8 of byte k / 8
constexpr TField StartButtons = After(StartKeys, 1);  // bit 0 left button, 1 right, 2 key fire, 3 joystick fire
constexpr TField CursorX = After(StartButtons, 4);    // arena units, signed
constexpr TField CursorY = After(CursorX, 4);
constexpr TField StartJoystick = After(CursorY, 7 * 4);  // X, Y, Z, Buttons, RightX, RightY, RightTrigger
constexpr TField Ticks = After(StartJoystick, 4);        // timer ticks, paused ones included
constexpr TField StreamLength = After(Ticks, 4);         // bytes of input stream after the header
constexpr TField Checkpoints = After(StreamLength, 4);   // how many follow the stream (version 2 on)
constexpr std::size_t SizeVersion1 = Checkpoints.Offset;
constexpr std::size_t Size = Checkpoints.Offset + Checkpoints.Size;
}  // namespace ReplayField

// The input stream's codes (see above).
namespace ReplayCode {
constexpr std::uint8_t TicksLast = 0x7F;
constexpr std::uint8_t KeyDown = 0x80;
constexpr std::uint8_t KeyUp = 0x81;
constexpr std::uint8_t OtherKeyDown = 0x82;
constexpr std::uint8_t LeftDown = 0x83;
constexpr std::uint8_t LeftUp = 0x84;
constexpr std::uint8_t RightDown = 0x85;
constexpr std::uint8_t RightUp = 0x86;
constexpr std::uint8_t Cursor = 0x87;
constexpr std::uint8_t JoySame = 0x88;
constexpr std::uint8_t JoyRead = 0x89;
}  // namespace ReplayCode

constexpr std::size_t ReplayHeaderSize = ReplayField::Size;
constexpr std::size_t ReplayCheckpointSize = 12;
constexpr std::size_t ReplayTrailerSize = 8;
constexpr std::uint32_t ReplayCheckpointTicks = 500;
// A joystick's axes and buttons read 0..65535: anything more is not a reading.
constexpr unsigned MaxJoyField = 65535;
// More joystick readings than this in one frame is not something the game does.
constexpr int MaxJoyReadsPerTick = 16;
// The longest game a replay may hold: two hours of play, far longer than any
// game a person plays, and what the score board's referee re-plays at most.
constexpr std::uint32_t MaxReplayTicks = 2 * 60 * 60 * 100;
// Anything bigger is not a replay this game wrote.
constexpr std::size_t MaxReplayFileSize = 64u << 20;

// One thing the player did, as the game object takes it in.
struct TInputEvent {
  enum class TKind : std::uint8_t { KeyDown, KeyUp, OtherKeyDown, LeftDown, LeftUp, RightDown, RightUp, Cursor };
  TKind Kind = TKind::KeyDown;
  int Key = 0;       // KeyDown, KeyUp: 0..255
  int X = 0, Y = 0;  // Cursor: arena units
};

struct TJoyReading {
  bool Ok = false;
  TJoyInfo Info;
  bool operator==(const TJoyReading& o) const {
    const TJoyInfo &a = Info, &b = o.Info;
    return Ok == o.Ok && a.XPos == b.XPos && a.YPos == b.YPos && a.ZPos == b.ZPos && a.Buttons == b.Buttons &&
           a.RightX == b.RightX && a.RightY == b.RightY && a.RightTrigger == b.RightTrigger;
  }
};

// The held input when play began: it carries over from the title.
struct TReplayInputState {
  bool Keys[256] = {};
  bool MouseLeft = false, MouseRight = false, KeyFire = false, JoyFire = false;
  int CursorX = 0, CursorY = 0;
  TJoyInfo JoyInfo;
};

struct TReplayAssists {
  int BulletLevel = 0;  // 0: the game's own
  bool NoDamage = false;
  bool Bombs = false;
  bool Any() const { return BulletLevel != 0 || NoDamage || Bombs; }
};

struct TReplayHeader {
  std::uint32_t GameVersion = ::GameVersion;
  std::uint64_t ScriptState = 0;
  std::uint64_t PlaySeed = 0;
  int StartLevel = 1;
  std::uint8_t InputMode = 1;
  TReplayAssists Assists;
  TReplayInputState Start;
  std::uint32_t Ticks = 0;
};

// The game's checksum after a tick, as recorded.
struct TReplayCheckpoint {
  std::uint32_t Tick = 0;
  std::uint64_t Checksum = 0;
};

struct TReplay {
  TReplayHeader Header;
  std::vector<std::uint8_t> Stream;
  std::vector<TReplayCheckpoint> Checkpoints;  // by tick; none in a version 1 file
};

// Reads a whole replay file from memory. Refuses (false, with a one-line
// reason) anything truncated, damaged, of an unknown format or inconsistent;
// never reads outside [data, data + size).
bool ParseReplay(const std::uint8_t* data, std::size_t size, TReplay& out, std::string& why);
// True when the replay was recorded under this build's rules of play;
// otherwise false with the reason ("recorded by game version 2, this is 3").
bool ReplayPlaysHere(const TReplayHeader& header, std::string& why);
// Reads and parses a regular file (never a pipe or a device, which could
// block the game); false with a reason when it cannot.
bool LoadReplayFile(const std::string& path, TReplay& out, std::string& why);
// Writes header, stream, checkpoints (count of them, as ReplayEncode::Checkpoint
// wrote them) and hash beside the file and renames it into place; false (the
// old file untouched) when anything fails. Allocates nothing.
bool WriteReplayFile(const char* path, const TReplayHeader& header, const std::uint8_t* stream, std::size_t length,
                     const std::uint8_t* checkpoints, std::size_t count);
// The same bytes as WriteReplayFile writes, in memory (for a game sent or
// offered without a file of its own); empty when they would be refused.
std::vector<std::uint8_t> ReplayFileBytes(const TReplayHeader& header, const std::uint8_t* stream, std::size_t length,
                                          const std::uint8_t* checkpoints, std::size_t count);

// One step of the input stream, as ParseReplay and the replay player read it.
struct TReplayOp {
  enum class TKind : std::uint8_t { Ticks, Event, JoyRead, JoySame };
  TKind Kind = TKind::Ticks;
  int Count = 0;  // Ticks, JoySame
  TInputEvent Event;
  TJoyReading Joy;
};

// Walks an input stream with every bound checked. The cursor and the last
// joystick reading it tracks are what deltas are taken from.
class TReplayDecoder {
 public:
  TReplayDecoder(const std::uint8_t* data, std::size_t size, const TReplayInputState& start);
  bool AtEnd() const { return Pos >= Size; }
  // The next step; false at the end or on a malformed one (then Error says why).
  bool Next(TReplayOp& op);
  // The next step without taking it: true when it is a joystick reading.
  bool JoyNext() const;
  const char* Error = nullptr;
  std::size_t Offset() const { return Pos; }

 private:
  bool ReadVarint(std::uint32_t& v);
  const std::uint8_t* Data;
  std::size_t Size;
  std::size_t Pos = 0;
  std::int64_t CursorX, CursorY;
  TJoyReading Last;
};

// Appends steps to an input stream (the recorder's side of the decoder).
namespace ReplayEncode {
void Varint(std::vector<std::uint8_t>& out, std::uint32_t v);
void Signed(std::vector<std::uint8_t>& out, std::int32_t v);
void JoyRead(std::vector<std::uint8_t>& out, const TJoyReading& last, const TJoyReading& now);
void Checkpoint(std::vector<std::uint8_t>& out, const TReplayCheckpoint& c);
}  // namespace ReplayEncode

// The joystick reading every replay starts from (no read has worked yet).
TJoyReading StartJoyReading(const TReplayInputState& start);

// How a game came out: what the final line reports.
struct TReplayResult {
  std::uint32_t Frames = 0;
  int Level = 0, Score = 0, Damage = 0;
  std::uint64_t Checksum = 0;
};
// "final: frame N level L score S damage D checksum C"
void FormatFinalLine(const TReplayResult& r, char* out, std::size_t size);
