#!/usr/bin/env bash
# End-to-end sound: the real game plays through SDL's disk audio driver, which
# writes every sample the mixer hands the device to a file. A short level-12
# game recorded by the headless runner is watched with R on the title; from
# the samples: the intro plays on the title and stops on the first shot of
# play, a shot is heard after fire, and no sample reaches full scale (nor
# passes the ceiling of the limiter after the mix).
#   tests/e2e/sound_e2e.sh path/to/quadrovolt path/to/quadrovolt_headless [output-dir]
# SOUND_E2E_FRAMES (1000) and SOUND_E2E_WATCH (6 s) make it a longer game.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
e2e_name="SOUND E2E"
source "$here/lib.sh"
read_game_headless_shots "$@"
# The built-in shot, as the build made it: the capture is matched against it.
shot_wave=$(dirname "$game")/generated/waves/PlayerShoot.wav
[[ -f "$shot_wave" ]] || fail "no built shot wave at $shot_wave"

# Level 12 with triple fire: shots, hits and explosions at once. Longer than
# it is watched, so that it is still going when the key ends it.
"$headless" --frames "${SOUND_E2E_FRAMES:-1000}" --level 12 --bullets 3 --record "$work/QUADROVOLT.RPL" >"$shots/record.log" 2>&1 ||
  fail "the headless runner did not record: $(cat "$shots/record.log")"

start_x_server 140
game_log=$shots/sound-game.log
audio=$shots/sound.raw
(cd "$work" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$audio" LIBGL_ALWAYS_SOFTWARE=1 exec "$game") >>"$game_log" 2>&1 &
game_pid=$!
through_setup_to_title sound
sleep 2  # the intro on the title
xdotool windowfocus "$win" 2>/dev/null
xdotool key R
# Six seconds of the replay, then a key returns to the title. Not waiting for
# the title to come back on its own: a busy frame can light the title's band.
sleep "${SOUND_E2E_WATCH:-6}"
xdotool key q
shoot_until "$shots/sound-after.png" 20 title_drawn || fail "a key did not end the replay"
sleep 1
xdotool key --delay 200 Escape
wait_exit
[[ "$code" == "0" ]] || fail "Escape on the title did not quit (exit code '$code')"
kill "$xvfb_pid" 2>/dev/null
grep -q "playing without sound" "$game_log" && fail "the disk driver did not open: $(cat "$game_log")"
[[ -s "$audio" ]] || fail "the disk driver wrote no samples"

# The device plays 32-bit float stereo at 22050 Hz (what the game asks the
# mixer for, and the disk driver takes any format as it is); below, samples
# are counted in 16-bit steps. The intro is the only stereo wave: every effect
# is mono, so once the intro stops both sides carry the same samples. Blocks
# of 256 frames (12 ms) are sorted by that.
python3 - "$audio" "$shot_wave" <<'PY' || fail "the samples do not show what the game should have played"
import array, math, sys, wave

rate, block, ceiling = 22050, 256, 32768 * 10 ** (-1 / 20)
floats = array.array("f")
with open(sys.argv[1], "rb") as f:
    data = f.read()
floats.frombytes(data[: len(data) // 4 * 4])
if sys.byteorder == "big":
    floats.byteswap()
raw = [v * 32768 for v in floats]
left, right = raw[0::2], raw[1::2]
frames = len(right)
peak = max(max(raw), -min(raw))
clipped = sum(1 for v in raw if not -32768 < v < 32767)
print(f"captured {frames / rate:.1f} s: peak {20 * math.log10(max(peak, 1) / 32768):.2f} dBFS, "
      f"{clipped} samples at full scale")

def sounding(b):  # loud enough to be a wave, not the dither of a tail
    return max(abs(v) for v in left[b * block:(b + 1) * block]) > 200
def stereo(b):
    return any(l != r for l, r in zip(left[b * block:(b + 1) * block], right[b * block:(b + 1) * block]))

blocks = frames // block
seconds = lambda b: b * block / rate
first = next((b for b in range(blocks) if sounding(b)), None)
if first is None:
    sys.exit("nothing sounds in the capture")
if not stereo(first):
    sys.exit(f"the first sound, at {seconds(first):.2f} s, is not the intro")
shot = next((b for b in range(first, blocks) if sounding(b) and not stereo(b)), None)
if shot is None:
    sys.exit("no effect sounds after the intro")
intro = sum(1 for b in range(first, shot) if stereo(b))
last_intro = max(b for b in range(first, shot) if stereo(b))
print(f"intro from {seconds(first):.2f} s ({seconds(intro):.2f} s of it), last at {seconds(last_intro):.2f} s; "
      f"first effect alone at {seconds(shot):.2f} s")
if seconds(intro) < 1.5:
    sys.exit("the intro did not play on the title")
if seconds(shot - last_intro) > 0.1:
    sys.exit("the intro stopped well before the first sound of play")
# Play goes on for seconds after the first shot: the intro must not come back.
back = next((b for b in range(shot, min(blocks, shot + int(5 * rate / block))) if stereo(b)), None)
if back is not None:
    sys.exit(f"the intro sounds again at {seconds(back):.2f} s, in play")

# The first sound of play is the shot: its start matches the built wave
# (brought to the output rate), whatever level the mixer plays it at.
with wave.open(sys.argv[2], "rb") as w:
    src = [(b - 128) / 128 for b in w.readframes(w.getnframes())]
    step = w.getframerate() / rate
n = int(0.03 * rate)  # shots come every 40 ms while fire is held
tpl = []
for i in range(n):
    a = i * step
    k = int(a)
    tpl.append(src[k] * (1 - (a - k)) + src[k + 1] * (a - k))
tnorm = math.sqrt(sum(t * t for t in tpl))
best = 0.0
for start in range(max(0, (last_intro - 1) * block), (shot + 2) * block):
    seg = left[start:start + n]
    if len(seg) < n:
        break
    snorm = math.sqrt(sum(v * v for v in seg))
    if snorm > 0:
        best = max(best, sum(t * v for t, v in zip(tpl, seg)) / (tnorm * snorm))
print(f"first sound of play against the shot wave: correlation {best:.2f}")
if best < 0.8:
    sys.exit("the first sound of play is not the shot")
if clipped:
    sys.exit(f"{clipped} samples clipped")
if peak > ceiling:
    sys.exit(f"a sample of {peak:.0f} passed the limiter's ceiling of {ceiling:.0f}")
PY
rm -rf "$work"
echo "SOUND E2E PASS (capture in $audio)"
