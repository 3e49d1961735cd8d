#pragma once
// The one shared random generator. Seeded from the clock at start; tests seed it.
#include <cstdint>

void RandomSeed(std::uint64_t seed);
void RandomSeedFromClock();
// The generator's whole state, so a replay can put it back exactly as it was.
std::uint64_t RandomState();
void RandomRestore(std::uint64_t state);
float Random();     // uniform in [0, 1)
int Random(int n);  // uniform in 0..n-1; 0 when n <= 0 (emitters may pass an empty range)
