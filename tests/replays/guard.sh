#!/usr/bin/env bash
# Determinism guard: the committed replay must play to its committed final
# line. A change that alters play fails it on purpose.
#   tests/replays/guard.sh HEADLESS              check
#   tests/replays/guard.sh HEADLESS --update     the change is meant: rewrite the expected line
#   tests/replays/guard.sh HEADLESS --rerecord   the replay format changed: record the game anew
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
headless=$1
case "${2:-}" in
  --update)
    "$headless" --replay "$here/guard.rpl" >"$here/guard.expected" && cat "$here/guard.expected"
    exit ;;
  --rerecord)
    "$headless" --frames 3000 --level 6 --bullets 3 --bombs --seed 12 --record "$here/guard.rpl" |
      tail -n 1 >"$here/guard.expected" && cat "$here/guard.expected"
    exit ;;
esac
err=$(mktemp)
trap 'rm -f "$err"' EXIT
got=$("$headless" --replay "$here/guard.rpl" 2>"$err")
want=$(cat "$here/guard.expected")
if [[ "$got" != "$want" ]]; then
  cat "$err"
  echo "replayed: $got"
  echo "expected: $want"
  echo "If the change is meant to alter play: tests/replays/guard.sh $headless --update"
  exit 1
fi
echo "$got"
