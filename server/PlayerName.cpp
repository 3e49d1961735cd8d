#include "server/PlayerName.h"

std::optional<std::string> BoardName(const std::string& raw) {
  const std::size_t first = raw.find_first_not_of(' ');
  if (first == std::string::npos) return std::nullopt;
  const std::string name = raw.substr(first, raw.find_last_not_of(' ') - first + 1);
  if (name.size() > 12) return std::nullopt;
  for (char c : name) {
    const bool safe = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ' ||
                      c == '.' || c == '-' || c == '_';
    if (!safe) return std::nullopt;
  }
  return name;
}
