#include "server/http/BoardCache.h"

std::vector<TBoardRow> TBoardCache::Board(std::int64_t since, int limit, const TFetch& fetch) {
  const auto now = std::chrono::steady_clock::now();
  std::uint64_t generation;
  {
    std::lock_guard<std::mutex> hold(Lock);
    auto it = Kept.find({since, limit});
    if (it != Kept.end() && now - it->second.At < Keep) return it->second.Rows;
    generation = Generation;
  }
  std::vector<TBoardRow> rows = fetch();
  std::lock_guard<std::mutex> hold(Lock);
  // A board read before a Clear that came while it was read is not kept.
  if (generation == Generation) Kept[{since, limit}] = TKept{rows, now};
  return rows;
}

void TBoardCache::Clear() {
  std::lock_guard<std::mutex> hold(Lock);
  ++Generation;
  Kept.clear();
}
