#include "platform/web/PageOptions.h"

#include <charconv>

namespace {
bool ParseInt(std::string_view text, int& value) {
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && p == end;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "%2F" and "+" as a form writes them; a stray '%' stays as it is.
std::string Decoded(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int hi = i + 2 < text.size() && text[i] == '%' ? HexValue(text[i + 1]) : -1;
    const int lo = hi >= 0 ? HexValue(text[i + 2]) : -1;
    if (lo >= 0) {
      out += char(hi * 16 + lo);
      i += 2;
    } else {
      out += text[i] == '+' ? ' ' : text[i];
    }
  }
  return out;
}
}  // namespace

TPageOptions ParsePageQuery(std::string_view query) {
  TPageOptions options;
  if (!query.empty() && query.front() == '?') query.remove_prefix(1);
  while (!query.empty()) {
    const std::size_t amp = query.find('&');
    const std::string_view pair = query.substr(0, amp);
    query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
    const std::size_t eq = pair.find('=');
    const std::string_view name = pair.substr(0, eq);
    const std::string_view value = eq == std::string_view::npos ? std::string_view() : pair.substr(eq + 1);
    int n = 0;
    if (name == "level") {
      if (ParseInt(value, n) && n >= 1 && n <= 40) options.Level = n;
    } else if (name == "pilot") {
      options.Pilot = value == "1";
    } else if (name == "fps") {
      options.ReportRate = value == "1";
    } else if (name == "mode") {
      if (value == "keyboard") options.ControlMode = 0;
      if (value == "mouse") options.ControlMode = 1;
      if (value == "joystick") options.ControlMode = 2;
      if (value == "touch") options.ControlMode = 3;
    } else if (name == "save") {
      options.KeepSave = value != "0";
    } else if (name == "board") {
      options.Board = Decoded(value);
    } else if (name == "watch") {
      options.Watch = Decoded(value);
    }
  }
  return options;
}
