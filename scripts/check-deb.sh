#!/usr/bin/env bash
# Builds the Debian package, runs lintian on it, installs it with apt-get,
# starts the installed game under Xvfb from the menu entry's command, plays a
# few seconds so that a score is saved, checks the save file landed in the
# data directory, and removes the package again. Needs root (or sudo).
#   scripts/check-deb.sh [BUILD_DIR]
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-deb}
sudo=""; [[ $(id -u) -ne 0 ]] && sudo=sudo
fail() { echo "DEB FAIL: $*"; exit 1; }

# A build folder given on the command line is used as it is configured.
if [[ ! -f $build/CMakeCache.txt ]]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUADROVOLT_BUILD_TESTS=OFF >/dev/null || fail "cmake"
fi
cmake --build "$build" -j2 --target quadrovolt || fail "build"
(cd "$build" && rm -f quadrovolt_*.deb && cpack -G DEB >/dev/null) || fail "cpack"
deb=$(ls "$build"/quadrovolt_*.deb) || fail "no package"
echo "package: $deb"
dpkg-deb -f "$deb" Depends
lintian --fail-on error "$deb" || fail "lintian reports errors"

dpkg-query -W quadrovolt >/dev/null 2>&1 && fail "quadrovolt is installed already; remove it first"
$sudo apt-get install -y -qq "$(realpath "$deb")" >/dev/null || fail "apt-get install"
trap '$sudo apt-get remove -y -qq quadrovolt >/dev/null' EXIT
command=$(sed -n 's/^Exec=//p' /usr/share/applications/org.quadrovolt.Quadrovolt.desktop)

home=$(mktemp -d)
export HOME=$home XDG_DATA_HOME=""
# The part that runs inside Xvfb, as its own small script.
cat >"$home/play.sh" <<'PLAY'
SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 $command >"$home/game.log" 2>&1 &
pid=$!
for _ in $(seq 100); do xdotool search --name "^Quadrovolt Setup" >/dev/null 2>&1 && break; sleep 0.1; done
sleep 1; xdotool key Return; sleep 2
xdotool mousemove 512 384 mousedown 1; sleep 0.3; xdotool mouseup 1; sleep 1
# Sweep the gun round while firing until something is shot down.
xdotool mousedown 1
for _ in $(seq 6); do
  for at in "900 384" "900 700" "512 700" "100 700" "100 384" "100 60" "512 60" "900 60"; do
    xdotool mousemove $at; sleep 0.25
  done
done
xdotool mouseup 1
xdotool key --delay 300 Escape Escape
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
wait "$pid"
PLAY
# /usr/games is on every Debian user's PATH (not on root's).
export command home PATH=$PATH:/usr/games
xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash "$home/play.sh"; code=$?
echo "game exit code $code; data directory:"; ls -la "$home/.local/share/quadrovolt"
[[ $code -eq 0 ]] || fail "the game ended with $code: $(cat "$home/game.log")"
[[ $(stat -c %s "$home/.local/share/quadrovolt/QUADROVOLT.DAT" 2>/dev/null) == 128 ]] || fail "no save file in the data directory"
rm -rf "$home"
echo "DEB PASS"
