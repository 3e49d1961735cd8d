#!/usr/bin/env bash
# The page synthesises the sound bank when it loads, in WebAssembly; the
# desktop embeds the waves its build synthesised natively. Both must be the
# same bytes. Runs the wave generator of each build, compares every wave and
# prints how long each build took to synthesise them.
#   tests/wasm/waves_match.sh build/quadrovolt_wavegen build-web/quadrovolt_wavegen.js
set -u
native=${1:?usage: waves_match.sh NATIVE_WAVEGEN WASM_WAVEGEN_JS}
wasm=${2:?usage: waves_match.sh NATIVE_WAVEGEN WASM_WAVEGEN_JS}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/native" "$work/wasm"

# Debian's emscripten finds its JavaScript modules here; node 18 and later
# must not fetch() the .wasm beside the script (it reads it from disk instead).
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
node_flags=()
node --no-experimental-fetch -e '' 2>/dev/null && node_flags+=(--no-experimental-fetch)

"$native" --timing "$work/native" > "$work/native.txt" || { echo "FAIL: native wave generator"; exit 1; }
node "${node_flags[@]}" "$wasm" --timing "$work/wasm" > "$work/wasm.txt" 2> "$work/wasm.err" || {
  echo "FAIL: wasm wave generator"; tail -c 400 "$work/wasm.err"; exit 1; }
echo "native: $(tail -n 1 "$work/native.txt")"
echo "wasm under node: $(tail -n 1 "$work/wasm.txt")"

count=0 bad=0
for f in "$work"/native/*.wav; do
  name=$(basename "$f")
  count=$((count + 1))
  if ! cmp -s "$f" "$work/wasm/$name"; then
    echo "FAIL: $name differs: $(cmp "$f" "$work/wasm/$name" 2>&1 | head -n 1)"
    bad=$((bad + 1))
  fi
done
if [ "$count" -ne 16 ]; then
  echo "FAIL: the native build made $count waves, not 16"
  exit 1
fi
[ "$bad" -eq 0 ] || exit 1
echo "PASS: all 16 waves are the same bytes in both builds"
