#pragma once
// The player's choices about the score board, kept in a small text file
// beside the save file (board.cfg): whether scores are shared at all, the
// name shown on the board, the player key that ties one player's entries
// together, and the address of the board's service. One "field = value"
// line each; anything else is skipped and said.
#include <string>
#include <vector>

constexpr const char* BoardSettingsFileName = "board.cfg";
constexpr const char* DefaultBoardAddress = "http://127.0.0.1:8470";
// Overrides the kept address (a test's service, a private board).
constexpr const char* BoardAddressVariable = "QUADROVOLT_BOARD";

struct TBoardSettings {
  bool Sharing = false;  // off until the player turns it on
  std::string Name;      // shown on the board; a valid one whenever Sharing is on
  std::string Key;       // 32 lower-case hex digits, made once
  std::string Address = DefaultBoardAddress;
};

// The board's rule: 1 to 12 letters, digits, spaces, '.', '-' or '_' once
// the spaces at the ends are trimmed. The trimmed name, or "" when refused.
std::string BoardName(const std::string& name);
// 32 hex digits of the kernel's randomness.
std::string NewPlayerKey();
bool IsPlayerKey(const std::string& key);

std::string FormatBoardSettings(const TBoardSettings& settings);
// Reads what FormatBoardSettings wrote. A bad line, a name the board would
// refuse or a key that is not 32 hex digits is skipped and said in
// complaints (the field keeps its default); sharing stays off without a
// name. A missing key is made afresh.
TBoardSettings ParseBoardSettings(const std::string& text, std::vector<std::string>& complaints);

// Reads the file (none: the defaults, with a new key); the complaints as above.
TBoardSettings LoadBoardSettings(const std::string& path, std::vector<std::string>& complaints);
// Written beside the old one and renamed over it; false (errno) on failure.
bool SaveBoardSettings(const std::string& path, const TBoardSettings& settings);
// At the start of a session: saved only when it would change the file, and
// with no file yet only once the player chose something (sharing on, a name,
// another address), so that a player who never shares gets no file at all.
// True when nothing needed writing or the write went through.
bool KeepBoardSettings(const std::string& path, const TBoardSettings& settings);

// The address the game talks to: the environment's, else the kept one.
std::string BoardAddress(const TBoardSettings& settings);
