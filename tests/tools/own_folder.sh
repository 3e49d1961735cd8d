#!/usr/bin/env bash
# A tool run keeps its files to itself: run twice at once with TMPDIR a fresh
# folder that already holds another run's save file and replay, it leaves
# those as they were and nothing else behind.
#   tests/tools/own_folder.sh TOOL [options...]
set -uo pipefail
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/dir"
others=(quadrovolt-headless.dat QUADROVOLT.DAT QUADROVOLT.RPL QUADROVOLT-BEST.RPL)
for f in "${others[@]}"; do echo "another run's $f" > "$tmp/dir/$f"; done
TMPDIR=$tmp/dir "$@" > "$tmp/first.out" 2>&1 &
first=$!
TMPDIR=$tmp/dir "$@" > "$tmp/second.out" 2>&1
second=$?
wait "$first"
status=$?
if ((status != 0 || second != 0)); then
  echo "a run failed:"
  cat "$tmp/first.out" "$tmp/second.out"
  exit 1
fi
for f in "${others[@]}"; do
  [[ "$(cat "$tmp/dir/$f" 2>/dev/null)" == "another run's $f" ]] || { echo "touched another run's $f"; exit 1; }
  rm "$tmp/dir/$f"
done
left=$(ls -A "$tmp/dir")
[[ -z "$left" ]] || { echo "left behind in TMPDIR: $left"; exit 1; }
echo "two runs at once: another run's files untouched, nothing left behind"
