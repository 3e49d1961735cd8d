# Sanitizer build: AddressSanitizer and UBSan on everything, stopping at the
# first report (run-tests.sh builds it in build-asan).
option(QUADROVOLT_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
# Fuzzers of the readers of outside bytes (clang's libFuzzer), one per
# tests/fuzz/fuzz_<name>.cpp; everything is instrumented for them.
option(QUADROVOLT_FUZZ "Build the libFuzzer fuzzers under tests/fuzz (clang only)" OFF)
set(QUADROVOLT_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
if(QUADROVOLT_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "QUADROVOLT_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  add_compile_options(${QUADROVOLT_SANITIZERS} -fsanitize=fuzzer-no-link)
  add_link_options(${QUADROVOLT_SANITIZERS})
elseif(QUADROVOLT_SANITIZE)
  add_compile_options(${QUADROVOLT_SANITIZERS})
  add_link_options(${QUADROVOLT_SANITIZERS})
endif()
