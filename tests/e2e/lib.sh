# Shared by the end-to-end scripts: an X server of their own, the game in it,
# its windows and its exit, and pixels counted in screenshots.
# The sourcing script sets $e2e_name (its name in failure messages), $work
# (where the game runs and its save file lands) and $game_log.

# The arguments of a script that plays and then replays headless: the game,
# the headless runner and where screenshots go (a folder of its own unless
# given). Sets $game, $headless, $shots and a fresh $work.
read_game_headless_shots() {
  game=$(realpath "$1")
  headless=$(realpath "$2")
  shots=${3:-$(mktemp -d)}
  mkdir -p "$shots"
  work=$(mktemp -d)
}

fail() {
  echo "$e2e_name FAIL: $*"
  [[ -n "${game_pid:-}" ]] && kill "$game_pid" 2>/dev/null
  [[ -n "${xvfb_pid:-}" ]] && kill "$xvfb_pid" 2>/dev/null
  exit 1
}

# Starts Xvfb on a display among $1..$1+9 without a lock file and exports
# DISPLAY. -noreset: otherwise the server resets whenever its last client
# leaves (every xdotool call does), and refuses whoever connects meanwhile,
# the game included.
start_x_server() {
  local first=$1 n
  n=$((first + RANDOM % 10))
  for _ in $(seq 10); do
    [[ -e /tmp/.X$n-lock ]] || break
    n=$((first + (n - first + 1) % 10))
  done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do
    # Ours must be the server that answers, not another one on that display.
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start on $DISPLAY"
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  fail "Xvfb did not answer on $DISPLAY"
}

# No sound card here: SDL's dummy driver stands in; software GL under Xvfb.
start_game() {
  (cd "$work" && SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 exec "$game") >>"$game_log" 2>&1 &
  game_pid=$!
}

# Waits up to 30 s for a window with this exact name; leaves its id in $window.
# Not for $(...): a failure there would only end the subshell.
wait_window() {
  window=""
  for _ in $(seq 300); do
    window=$(xdotool search --name "^$1\$" 2>/dev/null | head -n1)
    [[ -n "$window" ]] && return 0
    kill -0 "$game_pid" 2>/dev/null || fail "the game ended before its window '$1' opened: $(cat "$game_log")"
    sleep 0.1
  done
  fail "no window '$1' after 30 s"
}

# Waits up to 15 s for the game to end; leaves its exit code in $code, empty
# when it is still running.
wait_exit() {
  code=""
  for _ in $(seq 150); do
    if ! kill -0 "$game_pid" 2>/dev/null; then
      wait "$game_pid"
      code=$?
      return 0
    fi
    sleep 0.1
  done
}

# Screenshots the screen into $1 until "$3... $1" succeeds, for at most $2
# seconds: a loaded machine may take a while to draw what was asked for.
shoot_until() {
  local png=$1 deadline=$((SECONDS + $2))
  shift 2
  while :; do
    if import -window root "$png" 2>/dev/null && "$@" "$png"; then return 0; fi
    ((SECONDS < deadline)) || return 1
    sleep 0.25
  done
}

# Pixels in a rectangle WxH+X+Y of a screenshot: near-white, not black, and
# yellow (red and green, no blue).
white_pixels() {
  convert "$1" -crop "$2" +repage -colorspace Gray -threshold 80% -format '%[fx:int(mean*w*h+0.5)]' info:
}
lit_pixels() {
  convert "$1" -crop "$2" +repage -colorspace Gray -threshold 8% -format '%[fx:int(mean*w*h+0.5)]' info:
}
yellow_pixels() {
  convert "$1" -crop "$2" +repage -fx '(r>0.5 && g>0.5 && b<0.3) ? 1 : 0' -format '%[fx:int(mean*w*h+0.5)]' info:
}

# The title "Q U A D R O V O L T" stands at arena y = 200, x from -450: on a
# 1024 x 768 window that is rows ~180..300, columns ~80..990.
title_band=910x120+80+180
title_drawn() { (($(white_pixels "$1" $title_band) > 2000)); }
title_gone() { (($(white_pixels "$1" $title_band) < 2000)); }
# The setup dialog, once drawn, lights thousands of pixels of a black screen.
setup_drawn() { (($(lit_pixels "$1" 1024x768+0+0) > 3000)); }

# From the setup dialog of a game just started, with Enter, to its drawn
# title; leaves the game window in $win, focused. $1 names the screenshots.
through_setup_to_title() {
  wait_window "Quadrovolt Setup - ESC Quit"
  shoot_until "$shots/$1-setup.png" 15 setup_drawn || fail "the setup dialog is not drawn"
  xdotool windowfocus "$window" 2>/dev/null
  xdotool key Return
  wait_window "PENDRIX - Quadrovolt Final Edition Beta 0.0.0.2"
  win=$window
  shoot_until "$shots/$1-title.png" 15 title_drawn || fail "the title is not drawn"
  xdotool windowfocus "$win" 2>/dev/null
}
