#pragma once
// The 128-byte record that keeps the best score and the highest level reached
// between runs: a marker, the two numbers at fixed places, random filler and a
// checksum of everything before it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace SaveFile {

constexpr int RecordSize = 128;
constexpr int HiScoreOffset = 33;
constexpr int MaxLevelOffset = 57;
constexpr int ChecksumOffset = 124;
constexpr std::int32_t MaxLevelCap = 40;
constexpr const char* Marker = "QUASAR-WON'T-STALL-HURRY!";
constexpr const char* DefaultFileName = "QUADROVOLT.DAT";

using TRecord = std::array<std::uint8_t, RecordSize>;

// Little-endian 32-bit write and read; an offset that does not leave room for
// four bytes inside the record is ignored (write) or reads 0.
void PutInt(TRecord& buffer, std::int32_t value, int offset);
std::int32_t GetInt(const TRecord& buffer, int offset);

// Characters 1 to 25 stay; each character at position p beyond 25 becomes
// character XOR (p - 21).
std::string TransformText(const std::string& text);

// The record for these numbers, with fresh random filler.
TRecord MakeRecord(std::int32_t hiScore, std::int32_t maxLevel);
// True when the checksum matches; then the two numbers are filled in.
bool ReadRecord(const TRecord& record, std::int32_t& hiScore, std::int32_t& maxLevel);

// Writes the record beside the file and renames it over the old one, so a
// failed save leaves the previous record intact. A failure says so in one
// line on standard error and gives false.
bool SaveGame(const std::string& path, std::int32_t hiScore, std::int32_t maxLevel);
// True when the file holds one sound record; then the two numbers are filled
// in. Allocates nothing: a game reads it again mid-play before it saves.
bool ReadSavedRecord(const std::string& path, std::int32_t& hiScore, std::int32_t& maxLevel);
// The path as a player can find it (absolute), for what the game says.
std::string ShownPath(const std::string& path);
// HiScore 0 and MaxLevel 1 unless the file holds a sound record. A temporary
// that a killed save left beside the file is removed first.
void LoadGame(const std::string& path, std::int32_t& hiScore, std::int32_t& maxLevel);
// The same for the file's bytes as read: anything but one sound record of
// exactly 128 bytes leaves the defaults (and gives false). MaxLevel always
// comes out 1..40.
bool ReadSaveBytes(const std::uint8_t* bytes, std::size_t size, std::int32_t& hiScore, std::int32_t& maxLevel);

}  // namespace SaveFile
