#!/usr/bin/env bash
# Measures what the real game sends to the speakers: for each start level, a
# short pilot game recorded by the headless runner is watched with R on the
# title of the real game, which plays through SDL's disk audio driver into a
# file; from the samples, the peak (dBFS) and how many reached full scale.
# A measurement, not a test: it prints a line per level and a summary.
#   scripts/measure-mix.sh path/to/quadrovolt path/to/quadrovolt_headless [output-dir]
# MEASURE_LEVELS ("1 .. 40"), MEASURE_FRAMES (3000 frames of play per level),
# MEASURE_SEED (1) and MEASURE_BOMBS (1: the pilot keeps a gravi-bomb going;
# 0: it does not) choose the games. The capture's sample format (16-bit
# integers or 32-bit floats) is told from its contents.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
e2e_name="MEASURE MIX"
source "$here/../tests/e2e/lib.sh"
read_game_headless_shots "$@"
levels=${MEASURE_LEVELS:-$(seq 1 40)}
frames=${MEASURE_FRAMES:-3000}
seed=${MEASURE_SEED:-1}
bombs=()
[[ "${MEASURE_BOMBS:-1}" == 1 ]] && bombs=(--bombs)
game_log=$shots/measure-game.log
summary=$shots/measure-mix.txt
: >"$summary"

# The capture shows when the replay is over: the intro, the only stereo wave,
# plays on the title, stops for the game and comes back on the title after it.
intro_back() {
  python3 - "$1" <<'PY'
import array, math, sys
data = open(sys.argv[1], "rb").read()
f = array.array("f")
f.frombytes(data[: len(data) // 8 * 8])
few = f[::97]  # 32-bit floats of real sound are finite, within a few units and not all tiny
floats = all(math.isfinite(v) and abs(v) < 16 for v in few) and sum(abs(v) > 1e-4 for v in few) > len(few) // 100
s = f if floats else array.array("h", data[: len(data) // 4 * 4])
left, right, n = s[0::2], s[1::2], 1024
stereo = [left[i:i + n] != right[i:i + n] for i in range(0, len(right) - n + 1, n)]
first = next((i for i, v in enumerate(stereo) if v), None)
gap = None if first is None else next((i for i in range(first, len(stereo)) if not stereo[i]), None)
sys.exit(0 if gap is not None and any(stereo[gap + 20:]) else 1)
PY
}

# The game of one level, in an X server of its own: recorded, then watched to
# its end in the real game. Leaves the capture in $audio.
measure_level() {
  local level=$1
  start_x_server 160
  "$headless" --frames "$frames" --level "$level" --bullets 3 "${bombs[@]}" --seed "$seed" \
    --record "$work/QUADROVOLT-BEST.RPL" >"$shots/record-$level.log" 2>&1 ||
    fail "the headless runner did not record level $level: $(cat "$shots/record-$level.log")"
  rm -f "$audio"
  (cd "$work" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$audio" LIBGL_ALWAYS_SOFTWARE=1 exec "$game") >"$game_log" 2>&1 &
  game_pid=$!
  through_setup_to_title "level-$level"
  xdotool key R
  # The game lasts frames / 100 s when the machine keeps pace; a busy one
  # can take several times that.
  sleep $((frames / 100))
  local deadline=$((SECONDS + frames / 100 * 8 + 60))
  until intro_back "$audio"; do
    ((SECONDS < deadline)) || fail "the replay of level $level did not end in time"
    sleep 2
  done
  for _ in 1 2 3; do
    xdotool windowfocus "$win" 2>/dev/null
    xdotool key --delay 200 Escape
    wait_exit
    [[ -n "$code" ]] && break
  done
  [[ "$code" == "0" ]] || fail "the game did not quit after level $level (exit code '$code')"
  kill "$xvfb_pid" 2>/dev/null
  grep -q "playing without sound" "$game_log" && fail "the disk driver did not open: $(cat "$game_log")"
  [[ -s "$audio" ]] || fail "the disk driver wrote no samples for level $level"
}

for level in $levels; do
  audio=$shots/mix-$level.raw
  rm -rf "$work" && work=$(mktemp -d)
  if ! (measure_level "$level"); then
    echo "level $level: not measured" | tee -a "$summary"
    continue
  fi
  python3 - "$audio" "$level" <<'PY' | tee -a "$summary" || fail "the capture of level $level cannot be read"
import array, math, sys

data = open(sys.argv[1], "rb").read()
# 32-bit floats of real sound are finite and within a few units; 16-bit
# stereo frames read as floats give NaNs and huge or denormal values.
floats = array.array("f")
floats.frombytes(data[: len(data) // 4 * 4])
if sys.byteorder == "big":
    floats.byteswap()
is_float = len(floats) > 0 and all(math.isfinite(v) and abs(v) < 16 for v in floats) and \
    sum(1 for v in floats if abs(v) > 1e-4) > len(floats) // 100
if is_float:
    samples, full = [v * 32768 for v in floats], 32767
    kind = "f32"
else:
    ints = array.array("h")
    ints.frombytes(data[: len(data) // 2 * 2])
    if sys.byteorder == "big":
        ints.byteswap()
    samples, full, kind = ints, 32767, "s16"
peak = max(max(samples), -min(samples))
clipped = sum(1 for v in samples if v >= full or v <= -full - 1)
print(f"level {int(sys.argv[2]):2d}: {len(samples) / 2 / 22050:5.1f} s {kind}, "
      f"peak {20 * math.log10(max(peak, 1) / 32768):+6.2f} dBFS, {clipped} samples at full scale")
PY
  rm -f "$audio"
done
rm -rf "$work"
python3 - "$summary" <<'PY'
import re, sys
rows = [re.search(r"level\s+(\d+):.*peak\s+([+-][\d.]+) dBFS, (\d+) samples", l) for l in open(sys.argv[1])]
rows = [(int(m[1]), float(m[2]), int(m[3])) for m in rows if m]
worst = max(rows, key=lambda r: r[1])
print(f"{len(rows)} levels: worst peak {worst[1]:+.2f} dBFS (level {worst[0]}), "
      f"{sum(r[2] for r in rows)} samples at full scale in {sum(1 for r in rows if r[2])} levels")
PY
