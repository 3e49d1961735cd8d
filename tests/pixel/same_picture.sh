#!/usr/bin/env bash
# The snapshot tool gives the same PNG for the same seed and options, and a
# different one for another seed.
#   tests/pixel/same_picture.sh path/to/quadrovolt_snapshot
set -euo pipefail
tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
args=(--level 7 --frames 150 --width 640 --height 480 --cursor 100,-80)
"$tool" "${args[@]}" --seed 11 --out "$dir/first.png"
"$tool" "${args[@]}" --seed 11 --out "$dir/second.png"
"$tool" "${args[@]}" --seed 12 --out "$dir/other.png"
cmp "$dir/first.png" "$dir/second.png" || { echo "same seed, different pictures"; exit 1; }
if cmp -s "$dir/first.png" "$dir/other.png"; then
  echo "another seed gave the same picture"
  exit 1
fi
echo "same seed, same picture; another seed, another picture"
