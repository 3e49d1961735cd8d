#!/usr/bin/env bash
# The guard on every level: one short recorded game from each start level,
# 1 to 40 (the pilot with three bullets and bombs, the start level as the
# seed), must each play to its committed final line. A change that alters play
# on any level fails it on purpose, and names every level whose line changed.
#   tests/replays/levels.sh HEADLESS                      check all forty
#   tests/replays/levels.sh HEADLESS --rerecord [L...]    the change is meant: record those games anew
#                                                         (all forty unless levels are named)
#   tests/replays/levels.sh HEADLESS --update             rewrite the lines from the games as they are
#                                                         (only for a change that alters no play)
# Each game is 600 frames, but level 30's runs 3000 frames without bombs, so
# that its first black holes live to collapse on the ship (a bomb would take
# them first) and the collapse counts towards the quota. The lines are in
# levels/expected, one "level L: final: ..." a level.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)/levels
headless=$1
mode=${2:-}
expected=$here/expected
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
recipe_for() {
  if [[ $1 -eq 30 ]]; then echo --frames 3000 --bullets 3; else echo --frames 600 --bullets 3 --bombs; fi
}
file_for() { printf '%s/level%02d.rpl' "$here" "$1"; }

# The line a replay plays to, or what the runner said when it played to none.
# Recorded under older rules, a game still plays: the line says whether it
# came out the same.
replay_line() {
  local out
  out=$("$headless" --replay "$(file_for "$1")" --any-version 2>"$work/err" | grep '^final:')
  if [[ -n $out ]]; then echo "$out"; else echo "no final line: $(grep -v 'warning:' "$work/err" | tail -n 1)"; fi
}

case $mode in
  --rerecord)
    shift 2
    levels=("$@")
    [[ ${#levels[@]} -gt 0 ]] || levels=($(seq 1 40))
    touch "$expected"
    for level in "${levels[@]}"; do
      [[ $level =~ ^[0-9]+$ && $level -ge 1 && $level -le 40 ]] || { echo "no level $level" >&2; exit 2; }
      # shellcheck disable=SC2046  # the recipe's words, split on purpose
      line=$("$headless" $(recipe_for "$level") --level "$level" --seed "$level" --record "$(file_for "$level")" |
        grep '^final:') || { echo "level $level: recording failed" >&2; exit 1; }
      grep -v "^level $level: " "$expected" >"$work/lines"
      echo "level $level: $line" >>"$work/lines"
      sort -t' ' -k2,2n "$work/lines" >"$expected"
      echo "level $level: $line"
    done
    exit 0 ;;
  --update)
    : >"$work/lines"
    for level in $(seq 1 40); do
      line=$(replay_line "$level")
      [[ $line == final:* ]] || { echo "level $level: $line: record it anew with --rerecord $level" >&2; exit 1; }
      echo "level $level: $line" >>"$work/lines"
    done
    mv "$work/lines" "$expected" && cat "$expected"
    exit 0 ;;
  "") ;;
  *) echo "usage: tests/replays/levels.sh HEADLESS [--rerecord [LEVEL...] | --update]" >&2; exit 2 ;;
esac

changed=()
for level in $(seq 1 40); do
  want=$(grep "^level $level: " "$expected" | cut -d' ' -f3-)
  if [[ ! -f $(file_for "$level") || -z $want ]]; then
    echo "level $level: no committed game or line"
    changed+=("$level")
    continue
  fi
  got=$(replay_line "$level")
  if [[ "$got" != "$want" ]]; then
    echo "level $level: CHANGED"
    echo "  replayed: $got"
    echo "  expected: $want"
    changed+=("$level")
  fi
done
if [[ ${#changed[@]} -gt 0 ]]; then
  echo "play changed from start level(s) ${changed[*]}"
  echo "If the change is meant to alter play: tests/replays/levels.sh $headless --rerecord ${changed[*]}"
  exit 1
fi
echo "all forty start levels play as recorded"
