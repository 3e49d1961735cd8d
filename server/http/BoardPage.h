#pragma once
// The board as a plain HTML page: rank, name, score, level, the day it was
// sent, its replay to download and a link that watches it in the web game.
// Every name is escaped (the name rule already keeps markup out; this keeps
// the page safe whatever is in the database).
#include <string>
#include <vector>

#include "server/store/ScoreStore.h"

std::string EscapeHtml(const std::string& text);
// period: "all" or "week".
std::string BoardPageHtml(const std::vector<TBoardRow>& rows, const std::string& period);
// Where the web game watches an entry's replay from.
std::string WatchLink(std::int64_t entryId);
std::string ReplayLink(std::int64_t entryId);
// "2026-12-10" (UTC) for milliseconds since 1970.
std::string UtcDay(std::int64_t ms);
// Monday 00:00 UTC of the week holding ms.
std::int64_t WeekStartMs(std::int64_t ms);
