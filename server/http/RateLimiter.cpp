#include "server/http/RateLimiter.h"

#include <algorithm>

bool TRateLimiter::Allow(const std::string& address, std::chrono::steady_clock::time_point now) {
  if (Rate <= 0) return true;
  const double burst = 2 * Rate;
  std::lock_guard<std::mutex> hold(Lock);
  // Forget the addresses that have been quiet long enough to be full again,
  // so a scan from many addresses cannot grow the table without end.
  if (Buckets.size() > 100000) {
    for (auto it = Buckets.begin(); it != Buckets.end();)
      it = std::chrono::duration<double>(now - it->second.Last).count() * Rate >= burst ? Buckets.erase(it)
                                                                                        : std::next(it);
  }
  auto [it, added] = Buckets.try_emplace(address, TBucket{burst, now});
  TBucket& b = it->second;
  b.Tokens = std::min(burst, b.Tokens + std::chrono::duration<double>(now - b.Last).count() * Rate);
  b.Last = now;
  if (b.Tokens < 1) return false;
  b.Tokens -= 1;
  return true;
}
