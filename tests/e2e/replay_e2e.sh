#!/usr/bin/env bash
# End-to-end replays: the real game under Xvfb records a short game played
# with the mouse, prints its final line when Escape ends it, and the headless
# runner replays the file it wrote to the very same line. Then R on the title
# plays it back with "REPLAY" in the HUD, a key press returns to the title,
# and a second start of the game draws a different level script. Last, R on a
# paused title plays a level-17 replay to its end, visibly and as recorded, and
# the title's choice afterwards is the player's: with only level 1 open, fire
# on a locked number starts level 1, not the replay's 17.
#   tests/e2e/replay_e2e.sh path/to/quadrovolt path/to/quadrovolt_headless [screenshot-dir]
set -uo pipefail


e2e_name="REPLAY E2E"
source "$(dirname "$0")/lib.sh"
read_game_headless_shots "$@"
# "REPLAY" stands in the HUD line at arena x -190..-115, y 520.
replay_label=80x22+322+4
watching() { (($(yellow_pixels "$1" $replay_label) > 40)) && title_gone "$1"; }
# Waits up to 15 s for the game's final line in its log $1; leaves it in $final.
wait_final_line() {
  for _ in $(seq 150); do
    final=$(grep -m1 '^final: ' "$1")
    [[ -n "$final" ]] && return 0
    sleep 0.1
  done
  fail "the game printed no final line: $(cat "$1")"
}

start_x_server 120

# The game up to its title (the window is left in $win).
open_title() {  # $1: log
  game_log=$1
  start_game
  through_setup_to_title replay
}

# One mouse game: start with a click, fly to a few places (Escape is the
# caller's).
play_one_game() {  # $1: log
  open_title "$1"
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
wait_final_line "$shots/game1.log"
recorded=$final
echo "the game said:     $recorded"
[[ -f "$work/QUADROVOLT.RPL" ]] || fail "no QUADROVOLT.RPL beside the save file"
replayed=$("$headless" --replay "$work/QUADROVOLT.RPL" 2>&1)
echo "headless replayed: $replayed"
[[ "$recorded" == "$replayed" ]] || fail "the headless replay differs from the game"
echo "replay size: $(stat -c %s "$work/QUADROVOLT.RPL") bytes"

# --- R on the title watches it -----------------------------------------------
shoot_until "$shots/replay-title.png" 15 title_drawn || fail "Escape in play did not return to the title"
xdotool key R
shoot_until "$shots/replay-watching.png" 15 watching
watching_yellow=$(yellow_pixels "$shots/replay-watching.png" $replay_label)
play_yellow=$(yellow_pixels "$shots/replay-play.png" $replay_label)
watching_title=$(white_pixels "$shots/replay-watching.png" $title_band)
echo "watching: $watching_yellow yellow pixels where REPLAY goes (in play: $play_yellow), $watching_title white in the title band"
[[ $watching_yellow -gt 40 && $play_yellow -lt 10 ]] || fail "no REPLAY in the HUD while watching"
[[ $watching_title -lt 2000 ]] || fail "R did not leave the title"
xdotool key q
shoot_until "$shots/replay-stopped.png" 15 title_drawn
echo "after a key: $(white_pixels "$shots/replay-stopped.png" $title_band) white pixels in the title band"
title_drawn "$shots/replay-stopped.png" || fail "a key did not end the replay"
after=$(grep -c '^final: ' "$shots/game1.log")
[[ $after -eq 1 ]] || fail "watching a replay printed a final line as if it were recorded"
xdotool key --delay 200 Escape
wait_exit
[[ "$code" == "0" ]] || fail "Escape on the title did not quit (exit code '$code')"

# --- A second start of the game draws another level script ------------------
cp "$work/QUADROVOLT.RPL" "$shots/first.rpl"
play_one_game "$shots/game2.log"
import -window root "$shots/replay-play2.png"
xdotool key --delay 200 Escape
wait_final_line "$shots/game2.log"
shoot_until "$shots/replay-title2.png" 15 title_drawn || fail "Escape in the second game did not return to the title"
xdotool key --delay 200 Escape
wait_exit
[[ "$code" == "0" ]] || fail "the second game did not quit (exit code '$code')"
script1=$(od -An -tx1 -j14 -N8 "$shots/first.rpl" | tr -d ' \n')
script2=$(od -An -tx1 -j14 -N8 "$work/QUADROVOLT.RPL" | tr -d ' \n')
echo "level scripts drawn from $script1 and $script2"
[[ -n "$script1" && "$script1" != "$script2" ]] || fail "two starts drew the same level script"

# --- R on a paused title, and the level choice after watching ---------------
rm -f "$work"/QUADROVOLT*.RPL "$work/QUADROVOLT.DAT"  # only level 1 open
"$headless" --frames 300 --level 17 --bullets 3 --record "$work/QUADROVOLT-BEST.RPL" >/dev/null ||
  fail "the headless runner did not record the level-17 game"
open_title "$shots/game3.log"
# A locked number in the middle of the strip (the one level open stays chosen).
xdotool keydown Right
sleep 0.3
xdotool keyup Right
xdotool key P
sleep 0.5
xdotool key R
shoot_until "$shots/replay-paused-r.png" 15 watching || fail "R on a paused title did not show the replay"
echo "R on a paused title: $(yellow_pixels "$shots/replay-paused-r.png" $replay_label) yellow pixels where REPLAY goes"
# It plays to its end by itself (3 s, longer on a loaded machine), and back on the title.
sleep 5
shoot_until "$shots/replay-paused-end.png" 60 title_drawn || fail "the replay did not end on the title"
if grep -q "replay diverges" "$shots/game3.log"; then
  fail "the watched game parted from its recording: $(grep 'replay diverges' "$shots/game3.log")"
fi
# Fire, with the locked number still in the middle.
sleep 1.5
xdotool mousemove --window "$win" 512 300 mousedown 1
sleep 0.5
xdotool mouseup 1
sleep 1
xdotool key --delay 200 Escape
wait_final_line "$shots/game3.log"
echo "after watching level 17, fire on a locked level played: $final"
[[ "$final" == *" level 1 "* ]] || fail "the replay's level leaked into the next game"
shoot_until "$shots/replay-title3.png" 15 title_drawn || fail "Escape in the third game did not return to the title"
xdotool key --delay 200 Escape
wait_exit
[[ "$code" == "0" ]] || fail "the third game did not quit (exit code '$code')"

kill "$xvfb_pid" 2>/dev/null
rm -rf "$work"
echo "REPLAY E2E PASS (screenshots in $shots)"
