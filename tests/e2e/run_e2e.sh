#!/usr/bin/env bash
# End-to-end: the real game in a real X server, driven as a player would.
# The setup dialog comes up (Escape there ends the program; Enter plays), the
# title comes up (big white title drawn), a left click starts play (white arena
# border drawn), Escape goes back to the title, Escape again quits with code 0.
#   tests/e2e/run_e2e.sh path/to/quadrovolt [screenshot-dir]
set -uo pipefail

game=$(realpath "$1")
shots=${2:-$(mktemp -d)}
mkdir -p "$shots"
work=$(mktemp -d)  # the save file lands here, not in the source tree

fail() {
  echo "E2E FAIL: $*"
  [[ -n "${game_pid:-}" ]] && kill "$game_pid" 2>/dev/null
  [[ -n "${xvfb_pid:-}" ]] && kill "$xvfb_pid" 2>/dev/null
  exit 1
}

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start"

# No sound card here: SDL's dummy driver stands in; software GL under Xvfb.
start_game() {
  (cd "$work" && SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 exec "$game") >>"$shots/game.log" 2>&1 &
  game_pid=$!
}
# Waits for a window with this exact name; prints its id.
wait_window() {
  local id=""
  for _ in $(seq 100); do
    id=$(xdotool search --name "^$1\$" 2>/dev/null | head -n1)
    [[ -n "$id" ]] && break
    kill -0 "$game_pid" 2>/dev/null || fail "the game exited early: $(cat "$shots/game.log")"
    sleep 0.1
  done
  echo "$id"
}
# Waits up to 5 s for the game to end; leaves its exit code in $code.
wait_exit() {
  code=""
  for _ in $(seq 50); do
    if ! kill -0 "$game_pid" 2>/dev/null; then
      wait "$game_pid"
      code=$?
      return
    fi
    sleep 0.1
  done
}

# Escape in the setup dialog ends the program without a game window.
start_game
setup=$(wait_window "Quadrovolt Setup - ESC Quit")
[[ -n "$setup" ]] || fail "no setup dialog"
sleep 1
import -window root "$shots/setup.png" || fail "screenshot failed"
xdotool windowfocus "$setup" 2>/dev/null
xdotool key Escape
wait_exit
[[ "$code" == "0" ]] || fail "Escape in the setup dialog: exit code '${code}'"

# Enter in the setup dialog plays: the game window opens on the title.
start_game
setup=$(wait_window "Quadrovolt Setup - ESC Quit")
[[ -n "$setup" ]] || fail "no setup dialog the second time"
sleep 1
xdotool windowfocus "$setup" 2>/dev/null
xdotool key Return
win=$(wait_window "PENDRIX - Quadrovolt Final Edition Beta 0.0.0.2")
[[ -n "$win" ]] || fail "no game window"
sleep 2

# Counts near-white pixels in a rectangle WxH+X+Y of a screenshot.
white_pixels() {
  convert "$1" -crop "$2" +repage -colorspace Gray -threshold 80% -format '%[fx:int(mean*w*h+0.5)]' info:
}
# Counts pixels that are not black.
lit_pixels() {
  convert "$1" -crop "$2" +repage -colorspace Gray -threshold 8% -format '%[fx:int(mean*w*h+0.5)]' info:
}

setup_lit=$(lit_pixels "$shots/setup.png" 1024x768+0+0)
echo "setup dialog: $setup_lit lit pixels"
[[ $setup_lit -gt 3000 ]] || fail "the setup dialog is not drawn"

import -window root "$shots/title.png" || fail "screenshot failed"
# The title "Q U A D R O V O L T" stands at arena y = 200, x from -450: on a
# 1024 x 768 window that is rows ~180..300, columns ~80..990.
title_white=$(white_pixels "$shots/title.png" 910x120+80+180)
title_lit=$(lit_pixels "$shots/title.png" 1024x768+0+0)
echo "title: $title_white white pixels in the title band, $title_lit lit in all"
[[ $title_white -gt 2000 ]] || fail "the big white title is not drawn"

# Mouse control: a left click starts the game.
xdotool windowfocus "$win" 2>/dev/null
xdotool mousemove --window "$win" 512 300
sleep 0.3
# A real click lasts a good tenth of a second: hold it so a frame sees it.
xdotool mousedown 1
sleep 0.4
xdotool mouseup 1
sleep 2
import -window root "$shots/play.png" || fail "screenshot failed"
# The arena border: x = +-500 maps to columns ~38 and ~986, y = +-500 to rows ~28 and ~740.
right_edge=$(white_pixels "$shots/play.png" 8x600+982+84)
left_edge=$(white_pixels "$shots/play.png" 8x600+34+84)
top_edge=$(white_pixels "$shots/play.png" 900x8+62+24)
echo "play: border white pixels left $left_edge right $right_edge top $top_edge"
[[ $right_edge -gt 1000 && $left_edge -gt 1000 && $top_edge -gt 1500 ]] || fail "no white arena border in play"

xdotool key --delay 200 Escape
sleep 1
import -window root "$shots/back-to-title.png"
back_white=$(white_pixels "$shots/back-to-title.png" 910x120+80+180)
echo "after Escape: $back_white white pixels in the title band"
[[ $back_white -gt 2000 ]] || fail "Escape in play did not return to the title"
kill -0 "$game_pid" 2>/dev/null || fail "the first Escape ended the program"

xdotool key --delay 200 Escape
wait_exit
[[ -n "$code" ]] || fail "Escape on the title did not quit"
[[ $code -eq 0 ]] || fail "exit code $code"

kill "$xvfb_pid" 2>/dev/null
rm -rf "$work"
echo "E2E PASS (screenshots in $shots)"
