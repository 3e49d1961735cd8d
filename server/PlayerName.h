#pragma once
// A name on the board: trimmed of spaces at both ends, then 1 to 12
// characters of letters, digits, space, '.', '-' and '_'. Anything else
// (quotes, markup, control characters, other scripts) is refused rather
// than changed, so a player sees their name as it will show.
#include <optional>
#include <string>

std::optional<std::string> BoardName(const std::string& raw);
constexpr const char* BoardNameRule = "a name is 1 to 12 letters, digits, spaces, '.', '-' or '_'";
