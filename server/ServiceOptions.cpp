#include "server/ServiceOptions.h"

#include <charconv>
#include <cstring>
#include <type_traits>

namespace {
bool Number(const char* text, std::int64_t low, std::int64_t high, std::int64_t& out) {
  const char* end = text + std::strlen(text);
  const auto [p, ec] = std::from_chars(text, end, out);
  return ec == std::errc() && p == end && out >= low && out <= high;
}
}  // namespace

bool ParseServiceOptions(int argc, char** argv, int first, TServiceOptions& o, std::string& why) {
  for (int i = first; i < argc; ++i) {
    const std::string flag = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    auto need = [&]() {
      if (!value) why = flag + " needs a value";
      return value != nullptr;
    };
    auto number = [&](std::int64_t low, std::int64_t high, auto& field) {
      std::int64_t v = 0;
      if (!need()) return false;
      if (!Number(value, low, high, v)) {
        why = flag + " takes a number from " + std::to_string(low) + " to " + std::to_string(high);
        return false;
      }
      field = static_cast<std::remove_reference_t<decltype(field)>>(v);
      ++i;
      return true;
    };
    bool ok = true;
    if (flag == "--listen") {
      if (!need()) return false;
      const std::string text = value;
      const std::size_t colon = text.rfind(':');
      std::int64_t port = 0;
      if (colon == std::string::npos || colon == 0 || !Number(text.c_str() + colon + 1, 0, 65535, port)) {
        why = "--listen takes ADDR:PORT, e.g. 127.0.0.1:8470";
        return false;
      }
      o.Host = text.substr(0, colon);
      if (o.Host.size() > 2 && o.Host.front() == '[' && o.Host.back() == ']')
        o.Host = o.Host.substr(1, o.Host.size() - 2);
      o.Port = int(port);
      ++i;
    } else if (flag == "--db" || flag == "--postgres" || flag == "--web" || flag == "--admin-token-file") {
      if (!need()) return false;
      (flag == "--db"         ? o.SqlitePath
       : flag == "--postgres" ? o.Postgres
       : flag == "--web"      ? o.WebDir
                              : o.AdminTokenFile) = value;
      ++i;
    } else if (flag == "--workers") {
      ok = number(1, 256, o.Workers);
    } else if (flag == "--http-threads") {
      ok = number(1, 1024, o.HttpThreads);
    } else if (flag == "--rate-limit") {
      ok = number(0, 1000000, o.RatePerSecond);
    } else if (flag == "--read-timeout") {
      ok = number(1, 3600, o.ReadTimeoutSeconds);
    } else if (flag == "--write-timeout") {
      ok = number(1, 3600, o.WriteTimeoutSeconds);
    } else if (flag == "--lease") {
      ok = number(1, 86400, o.LeaseSeconds);
    } else if (flag == "--cpu-cap") {
      ok = number(1, 86400, o.CpuCapSeconds);
    } else if (flag == "--ticket-lifetime") {
      ok = number(1, 30 * 86400, o.TicketLifetimeSeconds);
    } else if (flag == "--hold-jobs") {
      ok = number(0, 600000, o.HoldJobsMs);
    } else {
      why = "unknown option " + flag;
      return false;
    }
    if (!ok) return false;
  }
  return true;
}
