#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the unit
# tests under ctest, then the end-to-end test of the real game under Xvfb.
# The last line says how many passed and failed.
set -uo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh --test || { echo "0 passed, 1 failed"; exit 1; }

# The layout of the C++ files the last commit (and any change not yet
# committed) touched.
if scripts/check-format.sh; then format_passed=1 format_failed=0; else format_passed=0 format_failed=1; fi

# The test command's builds make every warning an error.
if ! { cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUADROVOLT_WERROR=ON -DQUADROVOLT_BUILD_SERVER=ON >/dev/null &&
       cmake --build build-test -j"$(nproc)"; }; then
  echo "Build failed"
  echo "${format_passed} passed, $((format_failed + 1)) failed"
  exit 1
fi

ctest --test-dir build-test --output-on-failure -j"$(nproc)" | tee build-test/ctest.log
unit_status=${PIPESTATUS[0]}
unit_total=$(grep -oE 'tests failed out of [0-9]+' build-test/ctest.log | grep -oE '[0-9]+$' || echo 0)
unit_failed=$(grep -oE '[0-9]+ tests failed out of' build-test/ctest.log | grep -oE '^[0-9]+' || echo 0)
if [[ $unit_status -ne 0 && $unit_failed -eq 0 ]]; then unit_failed=1; fi

# The end-to-end checks: each a command line, counted as one check.
e2e_passed=0
e2e_failed=0
run_check() {
  if "$@"; then e2e_passed=$((e2e_passed + 1)); else e2e_failed=$((e2e_failed + 1)); fi
}
desktop_checks=(
  # The setup dialog, the title, play and Escape in the real game under Xvfb.
  "tests/e2e/run_e2e.sh build-test/quadrovolt"
  # The real game records a game; the headless runner must replay it to the
  # same final line. Run alone, after ctest: it drives a real window and its timing.
  "tests/e2e/replay_e2e.sh build-test/quadrovolt build-test/quadrovolt_headless"
  # What the mixer plays, through SDL's disk audio driver: intro, shot, no clipping.
  "tests/e2e/sound_e2e.sh build-test/quadrovolt build-test/quadrovolt_headless"
  # The session ended under a game in progress (the X server or the window's
  # client killed, the window destroyed or closed, a hangup, SIGTERM, a closed
  # output, a full disk): each time the replay and the new best score are kept.
  "tests/e2e/session_end.sh build-test/quadrovolt build-test/quadrovolt_headless"
  # The score board with the real service on 127.0.0.1: a ticketed game sent
  # and ranked, the outbox across a service outage, a refusal on the title, an
  # entry watched, the steps held while a slow service takes a submission.
  "tests/e2e/board_e2e.sh build-test/quadrovolt build-test/server/quadrovolt-scores"
)
for check in "${desktop_checks[@]}"; do
  # shellcheck disable=SC2086  # a command line, split into its words on purpose
  run_check $check
done

# --- The web page ---------------------------------------------------------
# Built with emscripten in build-web (the page and the headless runner only);
# the runner under node must end games as the native one does, and the page
# must load, draw, play and keep its save in headless Chromium.
web_checks=(
  "tests/web/wasm_matches_native.sh build-test/quadrovolt_headless build-web/quadrovolt_headless.js"
  "/usr/bin/python3 tests/web/browser_test.py build-web/web"
  # Replays across the page and the desktop both ways, the pad, touch, full
  # screen, the kept controls.
  "/usr/bin/python3 tests/web/page_complete_test.py build-web/web build-test/quadrovolt_headless"
  # The waves the page synthesises at load are the native build's.
  "tests/wasm/waves_match.sh build-test/quadrovolt_wavegen build-web/quadrovolt_wavegen.js"
  # The score board in the page, against the real service serving it: nothing
  # sent with sharing off, a ticketed game on the board, the outbox across a
  # restart, a refusal's reason, an entry watched; the board script's rules.
  "/usr/bin/python3 tests/web/board_page_test.py build-web/web build-test/server/quadrovolt-scores build-test/quadrovolt_headless"
  "node --test --test-reporter=dot tests/web/board_rules_test.js"
)
mkdir -p build-web
if scripts/build-web.sh build-web >build-web/build.log 2>&1; then
  for check in "${web_checks[@]}"; do
    # shellcheck disable=SC2086
    run_check $check
  done
else
  tail -40 build-web/build.log
  echo "Web build failed"
  e2e_failed=$((e2e_failed + ${#web_checks[@]}))
fi

# --- Sanitizer build --------------------------------------------------------
# The unit tests, the headless runs and a short soak again, built with
# AddressSanitizer and UBSan (no game window: logic, tools and tests only).
# The first report stops the test that made it, which then fails.
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
asan_passed=0
asan_failed=0
if cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUADROVOLT_BUILD_GAME=OFF \
         -DQUADROVOLT_SANITIZE=ON -DQUADROVOLT_WERROR=ON >/dev/null &&
   cmake --build build-asan -j"$(nproc)"; then
  ctest --test-dir build-asan --output-on-failure -j"$(nproc)" | tee build-asan/ctest.log
  asan_status=${PIPESTATUS[0]}
  asan_total=$(grep -oE 'tests failed out of [0-9]+' build-asan/ctest.log | grep -oE '[0-9]+$' || echo 0)
  asan_failed=$(grep -oE '[0-9]+ tests failed out of' build-asan/ctest.log | grep -oE '^[0-9]+' || echo 0)
  if [[ $asan_status -ne 0 && $asan_failed -eq 0 ]]; then asan_failed=1; fi
  asan_passed=$((asan_total - asan_failed))
else
  echo "Sanitizer build failed"
  asan_failed=1
fi

# --- Fuzzers ----------------------------------------------------------------
# Every reader of outside bytes under libFuzzer for 30 seconds each, seeded
# from tests/fuzz/<name>/. A crash, a sanitizer report, a leak or a timeout
# fails it; the input that did it is kept as build-fuzz/<name>-crash-...
# A new fuzzer is tests/fuzz/fuzz_<name>.cpp plus its name here.
fuzzers=(save_file model_text wave bitmap replay)
fuzz_passed=0
fuzz_failed=0
if cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
         -DQUADROVOLT_FUZZ=ON -DQUADROVOLT_WERROR=ON -DQUADROVOLT_BUILD_GAME=OFF -DQUADROVOLT_BUILD_TESTS=OFF >/dev/null &&
   cmake --build build-fuzz -j"$(nproc)" --target fuzzers; then
  for name in "${fuzzers[@]}"; do
    mkdir -p "build-fuzz/corpus/$name"
    seeds=()
    [[ -d tests/fuzz/$name ]] && seeds=("tests/fuzz/$name")
    if "build-fuzz/fuzz_$name" -max_total_time=30 -timeout=10 -rss_limit_mb=1024 \
         -artifact_prefix="build-fuzz/$name-" "build-fuzz/corpus/$name" "${seeds[@]}" >"build-fuzz/$name.log" 2>&1; then
      echo "fuzz_$name: passed ($(grep -oE 'Done [0-9]+ runs' "build-fuzz/$name.log" | tail -1))"
      fuzz_passed=$((fuzz_passed + 1))
    else
      echo "fuzz_$name: FAILED"
      tail -40 "build-fuzz/$name.log"
      fuzz_failed=$((fuzz_failed + 1))
    fi
  done
else
  echo "Fuzzer build failed"
  fuzz_failed=${#fuzzers[@]}
fi

passed=$((unit_total - unit_failed + e2e_passed + asan_passed + fuzz_passed + format_passed))
failed=$((unit_failed + e2e_failed + asan_failed + fuzz_failed + format_failed))
echo "${passed} passed, ${failed} failed"
[[ $failed -eq 0 ]]
