#pragma once
// The one shared random generator. Seeded from the clock at start; tests seed it.
#include <cstdint>

void RandomSeed(std::uint64_t seed);
void RandomSeedFromClock();
float Random();       // uniform in [0, 1)
int Random(int n);    // uniform in 0..n-1; 0 when n <= 0 (emitters may pass an empty range)
