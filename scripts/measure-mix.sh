#!/usr/bin/env bash
# Measures what the real game sends to the speakers: for each start level, a
# short pilot game recorded by the headless runner is watched with R on the
# title of the real game, which plays through SDL's disk audio driver into a
# file; from the samples, the peak (dBFS) and how many reached full scale.
# A measurement, not a test: it prints a line per level and a summary.
#   scripts/measure-mix.sh path/to/quadrovolt path/to/quadrovolt_headless [output-dir]
# MEASURE_LEVELS ("1 .. 40"), MEASURE_FRAMES (3000 frames of play per level)
# and MEASURE_SEED (1) choose the games. The capture's sample format (16-bit
# integers or 32-bit floats) is told from its contents.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
e2e_name="MEASURE MIX"
source "$here/../tests/e2e/lib.sh"
read_game_headless_shots "$@"
levels=${MEASURE_LEVELS:-$(seq 1 40)}
frames=${MEASURE_FRAMES:-3000}
seed=${MEASURE_SEED:-1}
game_log=$shots/measure-game.log
summary=$shots/measure-mix.txt
: >"$summary"

start_x_server 160

# The game of one level: recorded, then watched to its end in the real game.
# Leaves the capture in $audio.
measure_level() {
  local level=$1
  rm -rf "$work" && work=$(mktemp -d)
  "$headless" --frames "$frames" --level "$level" --bullets 3 --bombs --seed "$seed" \
    --record "$work/QUADROVOLT-BEST.RPL" >"$shots/record-$level.log" 2>&1 ||
    fail "the headless runner did not record level $level: $(cat "$shots/record-$level.log")"
  audio=$shots/mix-$level.raw
  rm -f "$audio"
  (cd "$work" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$audio" LIBGL_ALWAYS_SOFTWARE=1 exec "$game") >"$game_log" 2>&1 &
  game_pid=$!
  through_setup_to_title "level-$level"
  xdotool key R
  # The game lasts frames / 100 s when the machine keeps pace; the title is
  # back when it has been drawn three times running (a busy frame of play can
  # light the title's band once).
  sleep $((frames / 100))
  local seen=0 deadline=$((SECONDS + frames / 50 + 30))
  while ((seen < 3 && SECONDS < deadline)); do
    if shoot_until "$shots/level-$level-end.png" 1 title_drawn; then seen=$((seen + 1)); else seen=0; fi
    sleep 0.5
  done
  ((seen == 3)) || fail "the replay of level $level did not end in time"
  for _ in 1 2 3; do
    xdotool windowfocus "$win" 2>/dev/null
    xdotool key --delay 200 Escape
    wait_exit
    [[ -n "$code" ]] && break
  done
  [[ "$code" == "0" ]] || fail "the game did not quit after level $level (exit code '$code')"
  grep -q "playing without sound" "$game_log" && fail "the disk driver did not open: $(cat "$game_log")"
  [[ -s "$audio" ]] || fail "the disk driver wrote no samples for level $level"
}

for level in $levels; do
  measure_level "$level"
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
kill "$xvfb_pid" 2>/dev/null
rm -rf "$work"
python3 - "$summary" <<'PY'
import re, sys
rows = [re.search(r"level\s+(\d+):.*peak\s+([+-][\d.]+) dBFS, (\d+) samples", l) for l in open(sys.argv[1])]
rows = [(int(m[1]), float(m[2]), int(m[3])) for m in rows if m]
worst = max(rows, key=lambda r: r[1])
print(f"{len(rows)} levels: worst peak {worst[1]:+.2f} dBFS (level {worst[0]}), "
      f"{sum(r[2] for r in rows)} samples at full scale in {sum(1 for r in rows if r[2])} levels")
PY
