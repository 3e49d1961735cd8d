#!/usr/bin/env bash
# Records a headless run, plays the replay back, and wants the same final line.
#   tests/replays/roundtrip.sh HEADLESS [run options...]
set -uo pipefail
headless=$1
shift
file=$(mktemp --suffix=.rpl)
trap 'rm -f "$file"' EXIT
recorded=$("$headless" "$@" --record "$file" | tail -n 1)
replayed=$("$headless" --replay "$file" 2>&1)
echo "recorded: $recorded"
echo "replayed: $replayed"
[[ "$recorded" == final:* && "$recorded" == "$replayed" ]]
