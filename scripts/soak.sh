#!/usr/bin/env bash
# The soak: from each start level the headless runner plays, with the
# automatic pilot and an unharmed ship, three bullets and bombs, until five
# levels are complete (at most 60,000 frames), checking every entity every
# frame. One line per start level; fails when any start level does not get there.
#   scripts/soak.sh [HEADLESS_BINARY [LEVEL...]]    (default: build/quadrovolt_headless, levels 1..40)
# Build the runner first, e.g.
#   cmake -S . -B build -DQUADROVOLT_BUILD_GAME=OFF && cmake --build build --target quadrovolt_headless
# A sanitizer build (see run-tests.sh) soaks under AddressSanitizer and UBSan.
set -uo pipefail
cd "$(dirname "$0")/.."
headless=${1:-build/quadrovolt_headless}
shift || true
levels=("$@")
[[ ${#levels[@]} -eq 0 ]] && levels=($(seq 1 40))
[[ -x $headless ]] || { echo "no headless runner at $headless" >&2; exit 2; }

failed=0
for level in "${levels[@]}"; do
  out=$("$headless" --level "$level" --until-levels 5 --frames 60000 --bullets 3 --bombs --seed "$level" 2>&1)
  status=$?
  line=$(grep -E "^level $level: " <<<"$out" | head -1)
  if [[ $status -ne 0 || $line != *"5 levels complete at frame"* ]]; then
    failed=$((failed + 1))
    echo "level $level: FAILED (exit $status)"
    echo "$out" | sed 's/^/    /' | tail -20
  else
    echo "$line"
  fi
done
echo "soak: $((${#levels[@]} - failed)) of ${#levels[@]} start levels passed"
[[ $failed -eq 0 ]]
