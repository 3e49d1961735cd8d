#include "board/BoardSettings.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "app/AtomicFile.h"

namespace {
std::string Trim(const std::string& s) {
  const std::size_t a = s.find_first_not_of(" \t\r");
  if (a == std::string::npos) return "";
  const std::size_t b = s.find_last_not_of(" \t\r");
  return s.substr(a, b - a + 1);
}

bool NameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' || c == '.' ||
         c == '-' || c == '_';
}

// An address the client can reach: http:// or https:// and a host.
bool IsAddress(const std::string& a) {
  for (const char* scheme : {"http://", "https://"}) {
    const std::string s = scheme;
    if (a.size() > s.size() && a.compare(0, s.size(), s) == 0) return a.find_first_of(" \t") == std::string::npos;
  }
  return false;
}
}  // namespace

std::string BoardName(const std::string& name) {
  // Only spaces are trimmed, as the board trims them.
  const std::size_t a = name.find_first_not_of(' ');
  if (a == std::string::npos) return "";
  const std::string trimmed = name.substr(a, name.find_last_not_of(' ') - a + 1);
  if (trimmed.size() > 12) return "";
  for (char c : trimmed)
    if (!NameChar(c)) return "";
  return trimmed;
}

std::string NewPlayerKey() {
  std::random_device kernel;
  static const char Hex[] = "0123456789abcdef";
  std::string key;
  for (int i = 0; i < 4; ++i) {
    std::uint32_t word = kernel();
    for (int d = 0; d < 8; ++d, word >>= 4) key += Hex[word & 15];
  }
  return key;
}

bool IsPlayerKey(const std::string& key) {
  return key.size() == 32 && key.find_first_not_of("0123456789abcdef") == std::string::npos;
}

std::string FormatBoardSettings(const TBoardSettings& s) {
  std::string out = "# Quadrovolt's score board: what the game shares, and where.\n";
  out += std::string("sharing = ") + (s.Sharing ? "on" : "off") + "\n";
  out += "name = " + s.Name + "\n";
  out += "key = " + s.Key + "\n";
  out += "address = " + s.Address + "\n";
  return out;
}

TBoardSettings ParseBoardSettings(const std::string& text, std::vector<std::string>& complaints) {
  TBoardSettings s;
  std::istringstream in(text);
  std::string line;
  int number = 0;
  auto complain = [&](const std::string& what) {
    complaints.push_back("line " + std::to_string(number) + ": " + what);
  };
  while (std::getline(in, line)) {
    ++number;
    const std::string t = Trim(line);
    if (t.empty() || t[0] == '#') continue;
    const std::size_t eq = t.find('=');
    if (eq == std::string::npos) {
      complain("not a \"field = value\" line");
      continue;
    }
    const std::string field = Trim(t.substr(0, eq)), value = Trim(t.substr(eq + 1));
    if (field == "sharing") {
      if (value == "on" || value == "off")
        s.Sharing = value == "on";
      else
        complain("sharing is on or off");
    } else if (field == "name") {
      const std::string name = BoardName(value);
      if (name.empty() && !value.empty()) complain("a name is 1 to 12 letters, digits, spaces, '.', '-' or '_'");
      s.Name = name;
    } else if (field == "key") {
      if (IsPlayerKey(value))
        s.Key = value;
      else
        complain("a player key is 32 hex digits");
    } else if (field == "address") {
      if (IsAddress(value))
        s.Address = value;
      else
        complain("an address is http://HOST[:PORT] or https://...");
    } else {
      complain("no field \"" + field + "\"");
    }
  }
  if (s.Name.empty()) s.Sharing = false;
  if (s.Key.empty()) s.Key = NewPlayerKey();
  return s;
}

namespace {
// A settings file is a few lines: anything past 4 KiB is not one. False when
// there is no file to read.
bool ReadSettingsText(const std::string& path, std::string& text) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  char buffer[4096];
  file.read(buffer, sizeof buffer);
  text.assign(buffer, std::size_t(file.gcount()));
  return true;
}
}  // namespace

TBoardSettings LoadBoardSettings(const std::string& path, std::vector<std::string>& complaints) {
  std::string text;
  ReadSettingsText(path, text);
  return ParseBoardSettings(text, complaints);
}

bool SaveBoardSettings(const std::string& path, const TBoardSettings& settings) {
  const std::string text = FormatBoardSettings(settings);
  const TFileChunk chunk{text.data(), text.size()};
  return WriteFileAtomically(path.c_str(), &chunk, 1);
}

bool KeepBoardSettings(const std::string& path, const TBoardSettings& settings) {
  std::string onDisk;
  if (ReadSettingsText(path, onDisk)) {
    // A key missing from the file is made afresh on reading, so it differs.
    std::vector<std::string> complaints;
    const TBoardSettings kept = ParseBoardSettings(onDisk, complaints);
    if (kept.Sharing == settings.Sharing && kept.Name == settings.Name && kept.Key == settings.Key &&
        kept.Address == settings.Address)
      return true;
  } else if (!settings.Sharing && settings.Name.empty() && settings.Address == DefaultBoardAddress) {
    return true;
  }
  return SaveBoardSettings(path, settings);
}

std::string BoardAddress(const TBoardSettings& settings) {
  const char* env = std::getenv(BoardAddressVariable);
  return env && *env ? std::string(env) : settings.Address;
}
