#!/usr/bin/env bash
# Determinism guard: the committed replay must play to its committed final
# line. A change that alters play fails it on purpose. It was recorded under
# game version 2, whose rules differ from today's only where it never goes
# (level 30), so it is played with --any-version: its line must still come
# out the same. (tests/replays/levels.sh guards every start level.)
#   tests/replays/guard.sh HEADLESS              check
#   tests/replays/guard.sh HEADLESS --update     the change is meant: rewrite the expected line
#   tests/replays/guard.sh HEADLESS --rerecord   the replay format changed: record the game anew
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
headless=$1
err=$(mktemp)
trap 'rm -f "$err"' EXIT
case "${2:-}" in
  --update)
    "$headless" --replay "$here/guard.rpl" --any-version 2>"$err" | grep '^final:' >"$here/guard.expected.new" &&
      mv "$here/guard.expected.new" "$here/guard.expected" && cat "$here/guard.expected" && exit 0
    cat "$err"; rm -f "$here/guard.expected.new"; exit 1 ;;
  --rerecord)
    "$headless" --frames 3000 --level 6 --bullets 3 --bombs --seed 12 --record "$here/guard.rpl" |
      tail -n 1 >"$here/guard.expected" && cat "$here/guard.expected"
    exit ;;
  "") ;;
  *) echo "usage: tests/replays/guard.sh HEADLESS [--update | --rerecord]" >&2; exit 2 ;;
esac
got=$("$headless" --replay "$here/guard.rpl" --any-version 2>"$err" | tail -n 1)
want=$(cat "$here/guard.expected")
if [[ "$got" != "$want" ]]; then
  cat "$err"
  echo "replayed: $got"
  echo "expected: $want"
  echo "If the change is meant to alter play: tests/replays/guard.sh $headless --update"
  exit 1
fi
echo "$got"
