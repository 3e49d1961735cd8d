#include "platform/web/PageOptions.h"

#include <charconv>

namespace {
bool ParseInt(std::string_view text, int& value) {
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && p == end;
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
    }
  }
  return options;
}
