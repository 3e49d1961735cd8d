#include "gfx/Random.h"

#include <chrono>

namespace {
// xorshift64*: small, fast and good enough for sparks and spawn points.
std::uint64_t State = 0x9E3779B97F4A7C15ull;

std::uint64_t Next() {
  State ^= State >> 12;
  State ^= State << 25;
  State ^= State >> 27;
  return State * 0x2545F4914F6CDD1Dull;
}
}  // namespace

void RandomSeed(std::uint64_t seed) {
  State = seed ? seed : 0x9E3779B97F4A7C15ull;
  Next();
}

void RandomSeedFromClock() {
  RandomSeed(std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()) ^
             std::uint64_t(std::chrono::system_clock::now().time_since_epoch().count()));
}

std::uint64_t RandomState() { return State; }

// A zero state would stick at zero for ever; it is never reached from a seed.
void RandomRestore(std::uint64_t state) { State = state ? state : 0x9E3779B97F4A7C15ull; }

float Random() {
  // 24 random bits give every float in [0, 1) on a 2^-24 grid, never 1.0.
  return float(Next() >> 40) * (1.0f / 16777216.0f);
}

int Random(int n) {
  if (n <= 0) return 0;
  return int((Next() >> 33) % std::uint64_t(n));
}
