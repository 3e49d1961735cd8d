#pragma once
// What a reader promises about what it hands back, checked on every input the
// fuzzer tries: a broken promise aborts, which the fuzzer reports as a crash
// and saves the input.
#include <cstdio>
#include <cstdlib>

#define FUZZ_REQUIRE(condition)                                           \
  do {                                                                    \
    if (!(condition)) {                                                   \
      std::fprintf(stderr, "reader broke its promise: %s\n", #condition); \
      std::abort();                                                       \
    }                                                                     \
  } while (0)
