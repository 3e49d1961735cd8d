#include "server/http/BoardCache.h"

std::vector<TBoardRow> TBoardCache::Board(std::int64_t since, int limit, const TFetch& fetch) {
  const std::pair<std::int64_t, int> key{since, limit};
  std::uint64_t generation;
  {
    std::lock_guard<std::mutex> hold(Lock);
    auto it = Kept.find(key);
    if (it != Kept.end()) {
      TKept& k = it->second;
      if (!k.Stale && std::chrono::steady_clock::now() - k.At < Keep) return k.Rows;
      if (k.Reading) return k.Rows;  // another reader is bringing it up to date
      k.Reading = true;
    }
    generation = Generation;
  }
  std::vector<TBoardRow> rows;
  try {
    rows = fetch();
  } catch (...) {
    std::lock_guard<std::mutex> hold(Lock);
    auto it = Kept.find(key);
    if (it != Kept.end()) it->second.Reading = false;
    throw;
  }
  std::lock_guard<std::mutex> hold(Lock);
  TKept& k = Kept[key];
  k.Rows = rows;
  k.At = std::chrono::steady_clock::now();
  // A change that came while it was read: this board may miss it.
  k.Stale = generation != Generation;
  k.Reading = false;
  return rows;
}

void TBoardCache::Clear() {
  std::lock_guard<std::mutex> hold(Lock);
  ++Generation;
  for (auto& [key, kept] : Kept) kept.Stale = true;
}
