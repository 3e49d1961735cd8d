#!/usr/bin/env bash
# The picture keeps its 4:3 shape on a 16:9 screen: run under
#   xvfb-run -a -s "-screen 0 1280x720x24 -noreset" tests/e2e/widescreen.sh path/to/quadrovolt [shots]
# The game plays in the screen's only mode, 1280 x 720: the picture is 960 x 720
# from column 160, the bars left and right stay black, the arena border's
# corners sit where that picture puts them, and a right click sends the ship to
# the point under the pointer as the mouse rule maps it inside the picture.
set -uo pipefail
game=$(realpath "$1")
shots=${2:-$(mktemp -d)}
mkdir -p "$shots"
work=$(mktemp -d)
fail() { echo "WIDESCREEN FAIL: $*"; kill "${pid:-}" 2>/dev/null; rm -rf "$work"; exit 1; }

(cd "$work" && SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 exec "$game") >"$shots/game.log" 2>&1 &
pid=$!
find_window() {
  for _ in $(seq 100); do
    id=$(xdotool search --name "^$1\$" 2>/dev/null | head -n1)
    [[ -n $id ]] && return
    kill -0 "$pid" 2>/dev/null || fail "the game ended: $(cat "$shots/game.log")"
    sleep 0.1
  done
  fail "no window '$1'"
}
lit() { convert "$1" -crop "$2" +repage -colorspace Gray -threshold 8% -format '%[fx:int(mean*w*h+0.5)]' info:; }
white() { convert "$1" -crop "$2" +repage -colorspace Gray -threshold 80% -format '%[fx:int(mean*w*h+0.5)]' info:; }

find_window "Quadrovolt Setup - ESC Quit"
sleep 1
xdotool windowfocus "$id" 2>/dev/null
xdotool key Return
find_window "PENDRIX - Quadrovolt Final Edition Beta 0.0.0.2"
sleep 2
xdotool mousemove 640 360 mousedown 1
sleep 0.4
xdotool mouseup 1
sleep 1.5
# Window (900, 200) is picture pixel (740, 200): cursor (325, 266) in arena
# units, drawn at column 640 + 325 * 480 / 540 = 929 and row 360 - 266 * 360 / 540 = 183.
xdotool mousemove 900 200 mousedown 3
sleep 0.3
xdotool mouseup 3
sleep 1
import -window root "$shots/widescreen.png" || fail "screenshot"

left_bar=$(lit "$shots/widescreen.png" 160x720+0+0)
right_bar=$(lit "$shots/widescreen.png" 160x720+1120+0)
echo "bars: $left_bar lit pixels left, $right_bar right"
[[ $left_bar -eq 0 && $right_bar -eq 0 ]] || fail "the bars are not black"
# Arena x = -+500 at columns 640 -+ 444 (196, 1084); y = +-500 at rows 360 -+ 333 (27, 693).
left=$(white "$shots/widescreen.png" 8x600+192+60)
right=$(white "$shots/widescreen.png" 8x600+1080+60)
top=$(white "$shots/widescreen.png" 800x8+240+23)
bottom=$(white "$shots/widescreen.png" 800x8+240+689)
echo "border: white pixels left $left right $right top $top bottom $bottom"
[[ $left -gt 800 && $right -gt 800 && $top -gt 1200 && $bottom -gt 1200 ]] || fail "the arena border is not where the 4:3 picture puts it"
# Where a stretched picture would have put the border: no white there.
stretched=$(white "$shots/widescreen.png" 8x600+1162+60)
[[ $stretched -eq 0 ]] || fail "white where a stretched picture has its right border"
# The target's white cross (ten pixels each way) marks where the click landed.
cross=$(white "$shots/widescreen.png" 24x24+917+171)
echo "target cross near (929, 183): $cross white pixels"
[[ $cross -ge 10 ]] || fail "the click did not land under the pointer"

xdotool key --delay 200 Escape
sleep 1
xdotool key --delay 200 Escape
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
wait "$pid"; code=$?
rm -rf "$work"
[[ $code -eq 0 ]] || fail "exit code $code"
echo "WIDESCREEN PASS (screenshot in $shots)"
