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
e2e_name=E2E
game_log=$shots/game.log
source "$(dirname "$0")/lib.sh"

# The arena border: x = +-500 maps to columns ~38 and ~986, y = +-500 to rows ~28 and ~740.
border_counts() {
  echo "$(white_pixels "$1" 8x600+34+84) $(white_pixels "$1" 8x600+982+84) $(white_pixels "$1" 900x8+62+24)"
}
border_drawn() {
  local left right top
  read -r left right top < <(border_counts "$1")
  ((right > 1000 && left > 1000 && top > 1500))
}

start_x_server 90

# Escape in the setup dialog ends the program without a game window.
start_game
wait_window "Quadrovolt Setup - ESC Quit"
shoot_until "$shots/setup.png" 15 setup_drawn
echo "setup dialog: $(lit_pixels "$shots/setup.png" 1024x768+0+0) lit pixels"
setup_drawn "$shots/setup.png" || fail "the setup dialog is not drawn"
xdotool windowfocus "$window" 2>/dev/null
xdotool key Escape
wait_exit
[[ "$code" == "0" ]] || fail "Escape in the setup dialog: exit code '${code}'"

# Enter in the setup dialog plays: the game window opens on the title.
start_game
through_setup_to_title second
echo "title: $(white_pixels "$shots/second-title.png" $title_band) white pixels in the title band," \
     "$(lit_pixels "$shots/second-title.png" 1024x768+0+0) lit in all"
title_drawn "$shots/second-title.png" || fail "the big white title is not drawn"

# Mouse control: a left click starts the game.
xdotool windowfocus "$win" 2>/dev/null
xdotool mousemove --window "$win" 512 300
sleep 0.3
# A real click lasts a good tenth of a second: hold it so a frame sees it.
xdotool mousedown 1
sleep 0.4
xdotool mouseup 1
shoot_until "$shots/play.png" 15 border_drawn
read -r left_edge right_edge top_edge < <(border_counts "$shots/play.png")
echo "play: border white pixels left $left_edge right $right_edge top $top_edge"
border_drawn "$shots/play.png" || fail "no white arena border in play"

xdotool key --delay 200 Escape
shoot_until "$shots/back-to-title.png" 15 title_drawn
echo "after Escape: $(white_pixels "$shots/back-to-title.png" $title_band) white pixels in the title band"
title_drawn "$shots/back-to-title.png" || fail "Escape in play did not return to the title"
kill -0 "$game_pid" 2>/dev/null || fail "the first Escape ended the program"

xdotool key --delay 200 Escape
wait_exit
[[ -n "$code" ]] || fail "Escape on the title did not quit"
[[ $code -eq 0 ]] || fail "exit code $code"

kill "$xvfb_pid" 2>/dev/null
rm -rf "$work"
echo "E2E PASS (screenshots in $shots)"
