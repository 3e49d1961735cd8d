#!/usr/bin/env bash
# The headless runner built for WebAssembly, run under node, must end every
# game on the same final line as the native one, from several start levels,
# and replay a game the native runner recorded (and the other way round) to
# that same line: C library sin/cos/atan differ between glibc and the wasm
# libc, and the game keeps no result of theirs unrounded, so play agrees.
#   tests/web/wasm_matches_native.sh NATIVE_RUNNER WASM_RUNNER_JS
set -uo pipefail
native=$1
wasm=$2
node=(node --no-experimental-fetch)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
for level in 1 7 19 30 39; do
  args=(--frames 2000 --level "$level" --bullets 3 --bombs --seed "$level")
  want=$("$native" "${args[@]}" --record "$work/native$level.rpl" | grep '^final:')
  got=$("${node[@]}" "$wasm" "${args[@]}" --record "$work/wasm$level.rpl" | grep '^final:')
  if [[ -n "$want" && "$want" == "$got" ]]; then
    echo "level $level: same final line: $want"
  else
    echo "level $level: DIFFERENT: native '$want', wasm '$got'"
    failed=1
  fi
  if ! cmp -s "$work/native$level.rpl" "$work/wasm$level.rpl"; then
    echo "level $level: the two recordings DIFFER"
    failed=1
  fi
done
# Each replays the other's recording to the line it printed.
want=$("$native" --replay "$work/wasm19.rpl" | grep '^final:')
got=$("${node[@]}" "$wasm" --replay "$work/native19.rpl" | grep '^final:')
if [[ -n "$want" && "$want" == "$got" ]]; then
  echo "crossed replays: same final line"
else
  echo "crossed replays: DIFFERENT: native '$want', wasm '$got'"
  failed=1
fi
exit $failed
