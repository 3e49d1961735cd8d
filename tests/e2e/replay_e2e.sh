#!/usr/bin/env bash
# End-to-end replays: the real game under Xvfb records a short game played
# with the mouse, prints its final line when Escape ends it, and the headless
# runner replays the file it wrote to the very same line. Then R on the title
# plays it back with "REPLAY" in the HUD, a key press returns to the title,
# and a second start of the game draws a different level script.
#   tests/e2e/replay_e2e.sh path/to/quadrovolt path/to/quadrovolt_headless [screenshot-dir]
set -uo pipefail

game=$(realpath "$1")
headless=$(realpath "$2")
shots=${3:-$(mktemp -d)}
mkdir -p "$shots"
work=$(mktemp -d)

fail() {
  echo "REPLAY E2E FAIL: $*"
  [[ -n "${game_pid:-}" ]] && kill "$game_pid" 2>/dev/null
  [[ -n "${xvfb_pid:-}" ]] && kill "$xvfb_pid" 2>/dev/null
  exit 1
}

# A display number of our own: one without a lock file (other runs use theirs).
n=$((120 + RANDOM % 10))
for _ in $(seq 10); do [[ -e /tmp/.X$n-lock ]] || break; n=$((120 + (n - 119) % 10)); done
display=":$n"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start on $display"

start_game() {  # $1: the log of this run
  (cd "$work" && SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 exec "$game") >"$1" 2>&1 &
  game_pid=$!
}
wait_window() {
  local id=""
  for _ in $(seq 100); do
    id=$(xdotool search --name "^$1\$" 2>/dev/null | head -n1)
    [[ -n "$id" ]] && break
    kill -0 "$game_pid" 2>/dev/null || fail "the game exited early"
    sleep 0.1
  done
  echo "$id"
}
wait_exit() {
  for _ in $(seq 50); do
    kill -0 "$game_pid" 2>/dev/null || { wait "$game_pid"; return $?; }
    sleep 0.1
  done
  return 124
}
# Pixels in a rectangle WxH+X+Y: near-white, and yellow (red and green, no blue).
white_pixels() {
  convert "$1" -crop "$2" +repage -colorspace Gray -threshold 80% -format '%[fx:int(mean*w*h+0.5)]' info:
}
yellow_pixels() {
  convert "$1" -crop "$2" +repage -fx '(r>0.5 && g>0.5 && b<0.3) ? 1 : 0' -format '%[fx:int(mean*w*h+0.5)]' info:
}
title_band=910x120+80+180
# "REPLAY" stands in the HUD line at arena x -190..-115, y 520.
replay_label=80x22+322+4

# One mouse game: start with a click, fly to a few places (the window is
# left in $win; Escape is the caller's).
play_one_game() {  # $1: log
  start_game "$1"
  local setup
  setup=$(wait_window "Quadrovolt Setup - ESC Quit")
  [[ -n "$setup" ]] || fail "no setup dialog"
  sleep 1
  xdotool windowfocus "$setup" 2>/dev/null
  xdotool key Return
  win=$(wait_window "PENDRIX - Quadrovolt Final Edition Beta 0.0.0.2")
  [[ -n "$win" ]] || fail "no game window"
  sleep 2
  xdotool windowfocus "$win" 2>/dev/null
  xdotool mousemove --window "$win" 512 300
  sleep 0.3
  xdotool mousedown 1
  sleep 0.5
  for p in "300 200" "700 250" "650 600" "250 550" "512 384"; do
    # shellcheck disable=SC2086
    xdotool mousemove --window "$win" $p click 3
    sleep 0.6
  done
  xdotool mouseup 1
  sleep 0.3
}

# --- A recorded game, and its headless replay -------------------------------
play_one_game "$shots/game1.log"
import -window root "$shots/replay-play.png"
xdotool key --delay 200 Escape
sleep 1
recorded=$(grep -m1 '^final: ' "$shots/game1.log")
echo "the game said:     $recorded"
[[ -n "$recorded" ]] || fail "the game printed no final line: $(cat "$shots/game1.log")"
[[ -f "$work/QUADROVOLT.RPL" ]] || fail "no QUADROVOLT.RPL beside the save file"
replayed=$("$headless" --replay "$work/QUADROVOLT.RPL" 2>&1)
echo "headless replayed: $replayed"
[[ "$recorded" == "$replayed" ]] || fail "the headless replay differs from the game"
echo "replay size: $(stat -c %s "$work/QUADROVOLT.RPL") bytes"

# --- R on the title watches it -----------------------------------------------
import -window root "$shots/replay-title.png"
xdotool key R
sleep 1.5
import -window root "$shots/replay-watching.png"
watching_yellow=$(yellow_pixels "$shots/replay-watching.png" $replay_label)
play_yellow=$(yellow_pixels "$shots/replay-play.png" $replay_label)
watching_title=$(white_pixels "$shots/replay-watching.png" $title_band)
echo "watching: $watching_yellow yellow pixels where REPLAY goes (in play: $play_yellow), $watching_title white in the title band"
[[ $watching_yellow -gt 40 && $play_yellow -lt 10 ]] || fail "no REPLAY in the HUD while watching"
[[ $watching_title -lt 2000 ]] || fail "R did not leave the title"
xdotool key q
sleep 1
import -window root "$shots/replay-stopped.png"
stopped_title=$(white_pixels "$shots/replay-stopped.png" $title_band)
echo "after a key: $stopped_title white pixels in the title band"
[[ $stopped_title -gt 2000 ]] || fail "a key did not end the replay"
after=$(grep -c '^final: ' "$shots/game1.log")
[[ $after -eq 1 ]] || fail "watching a replay printed a final line as if it were recorded"
xdotool key --delay 200 Escape
wait_exit || fail "Escape on the title did not quit"

# --- A second start of the game draws another level script ------------------
cp "$work/QUADROVOLT.RPL" "$shots/first.rpl"
play_one_game "$shots/game2.log"
import -window root "$shots/replay-play2.png"
xdotool key --delay 200 Escape
sleep 1
xdotool key --delay 200 Escape
wait_exit || fail "the second game did not quit"
script1=$(od -An -tx1 -j14 -N8 "$shots/first.rpl" | tr -d ' \n')
script2=$(od -An -tx1 -j14 -N8 "$work/QUADROVOLT.RPL" | tr -d ' \n')
echo "level scripts drawn from $script1 and $script2"
[[ -n "$script1" && "$script1" != "$script2" ]] || fail "two starts drew the same level script"

kill "$xvfb_pid" 2>/dev/null
rm -rf "$work"
echo "REPLAY E2E PASS (screenshots in $shots)"
