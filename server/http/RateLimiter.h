#pragma once
// A token bucket per client address: Rate requests a second on average,
// bursts of up to twice that. An address over it is answered 429.
#include <chrono>
#include <mutex>
#include <string>
#include <unordered_map>

class TRateLimiter {
 public:
  explicit TRateLimiter(double perSecond) : Rate(perSecond) {}
  // True when a request from address may go ahead now (always, at rate 0).
  bool Allow(const std::string& address) { return Allow(address, std::chrono::steady_clock::now()); }
  bool Allow(const std::string& address, std::chrono::steady_clock::time_point now);

 private:
  struct TBucket {
    double Tokens;
    std::chrono::steady_clock::time_point Last;
  };
  double Rate;
  std::mutex Lock;
  std::unordered_map<std::string, TBucket> Buckets;
};
