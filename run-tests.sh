#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the unit
# tests under ctest, then the end-to-end test of the real game under Xvfb.
# The last line says how many passed and failed.
set -uo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh --test || { echo "0 passed, 1 failed"; exit 1; }

if ! { cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
       cmake --build build-test -j"$(nproc)"; }; then
  echo "Build failed"
  echo "0 passed, 1 failed"
  exit 1
fi

ctest --test-dir build-test --output-on-failure -j"$(nproc)" | tee build-test/ctest.log
unit_status=${PIPESTATUS[0]}
unit_total=$(grep -oE 'tests failed out of [0-9]+' build-test/ctest.log | grep -oE '[0-9]+$' || echo 0)
unit_failed=$(grep -oE '[0-9]+ tests failed out of' build-test/ctest.log | grep -oE '^[0-9]+' || echo 0)
if [[ $unit_status -ne 0 && $unit_failed -eq 0 ]]; then unit_failed=1; fi

e2e_passed=0
e2e_failed=0
if tests/e2e/run_e2e.sh build-test/quadrovolt; then e2e_passed=1; else e2e_failed=1; fi

passed=$((unit_total - unit_failed + e2e_passed))
failed=$((unit_failed + e2e_failed))
echo "${passed} passed, ${failed} failed"
[[ $failed -eq 0 ]]
