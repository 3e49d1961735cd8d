#pragma once
// The board as last read, kept for a second: the board is read far more
// often than it changes, and every read of it otherwise ranks every accepted
// entry again. A verdict or a removal in this process marks it stale: the
// next reader reads it again, and readers that come while it does are given
// the board as it was a moment ago rather than queue behind it. A change made
// by another process sharing the database shows within the second.
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "server/store/ScoreStore.h"

class TBoardCache {
 public:
  using TFetch = std::function<std::vector<TBoardRow>()>;
  explicit TBoardCache(std::chrono::milliseconds keep = std::chrono::seconds(1)) : Keep(keep) {}

  // The board from `since`, `limit` rows: kept, or fetched now and kept.
  std::vector<TBoardRow> Board(std::int64_t since, int limit, const TFetch& fetch);
  // Every board kept is out of date from now.
  void Clear();

 private:
  struct TKept {
    std::vector<TBoardRow> Rows;
    std::chrono::steady_clock::time_point At;
    bool Stale = false;
    bool Reading = false;  // a reader is fetching it again
  };
  std::chrono::milliseconds Keep;
  std::mutex Lock;
  std::uint64_t Generation = 0;
  std::map<std::pair<std::int64_t, int>, TKept> Kept;
};
