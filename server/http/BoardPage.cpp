#include "server/http/BoardPage.h"

#include <ctime>

std::string EscapeHtml(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string ReplayLink(std::int64_t id) { return "/api/entries/" + std::to_string(id) + "/replay"; }
std::string WatchLink(std::int64_t id) { return "/play/?watch=" + ReplayLink(id); }

std::string UtcDay(std::int64_t ms) {
  const std::time_t t = std::time_t(ms / 1000);
  std::tm day{};
  gmtime_r(&t, &day);
  char text[16];
  std::strftime(text, sizeof text, "%Y-%m-%d", &day);
  return text;
}

std::int64_t WeekStartMs(std::int64_t ms) {
  constexpr std::int64_t Day = 86400000;
  const std::int64_t days = ms >= 0 ? ms / Day : (ms - Day + 1) / Day;
  // 1970-01-01 was a Thursday: three days after a Monday.
  const std::int64_t sinceMonday = ((days + 3) % 7 + 7) % 7;
  return (days - sinceMonday) * Day;
}

std::string BoardPageHtml(const std::vector<TBoardRow>& rows, const std::string& period) {
  const bool week = period == "week";
  std::string h =
      "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
      "<title>Quadrovolt scores</title><style>"
      "body{background:#05060d;color:#cfe8ff;font-family:monospace;margin:2em auto;max-width:52em}"
      "h1{color:#7ff}a{color:#8cf}table{border-collapse:collapse;width:100%}"
      "th,td{padding:.3em .6em;text-align:left}tr:nth-child(even){background:#0c1020}td.n{text-align:right}"
      "</style></head><body>\n<h1>Quadrovolt score board</h1>\n<p>";
  h += week ? "<a href=\"/board?period=all\">All time</a> | <b>This week</b> (from Monday 00:00 UTC)"
            : "<b>All time</b> | <a href=\"/board?period=week\">This week</a>";
  h += " &middot; <a href=\"/play/\">Play</a></p>\n";
  if (rows.empty()) {
    h += "<p>No scores yet.</p>\n";
  } else {
    h += "<table>\n<tr><th>#</th><th>Name</th><th>Score</th><th>Level</th><th>Sent</th><th>Replay</th><th></th></tr>\n";
    for (const TBoardRow& r : rows) {
      h += "<tr><td class=\"n\">" + std::to_string(r.Rank) + "</td><td>" + EscapeHtml(r.Name) +
           "</td><td class=\"n\">" + std::to_string(r.Score) + "</td><td class=\"n\">" + std::to_string(r.Level) +
           "</td><td>" + UtcDay(r.ReceivedAt) + "</td><td><a href=\"" + ReplayLink(r.Id) + "\" download=\"quadrovolt-" +
           std::to_string(r.Id) + ".rpl\">.rpl</a></td><td><a href=\"" + EscapeHtml(WatchLink(r.Id)) +
           "\">watch</a></td></tr>\n";
    }
    h += "</table>\n";
  }
  h += "<p>Every score here was played again by the server from its replay before it was shown.</p>\n</body></html>\n";
  return h;
}
