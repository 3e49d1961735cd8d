#!/usr/bin/env bash
# --help and --version answer and exit 0, anything else is refused with one
# line and exit 2; none of them opens a window (no display is given, so a
# window would fail with exit 1). With no window to be had (no display, or
# SDL's video driver set to one without windows or to no driver at all) the
# game ends with exit 1 and says why on standard error, never silently.
#   tests/install/check_command_line.sh path/to/quadrovolt
set -uo pipefail
game=$(realpath "$1")
fail() { echo "COMMAND LINE FAIL: $*"; exit 1; }
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$game" "$@" >"$out" 2>"$err"; }
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT

run --version; code=$?
[[ $code -eq 0 && $(cat "$out") =~ ^quadrovolt\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version: $code '$(cat "$out")'"
run --help; code=$?
[[ $code -eq 0 ]] && grep -q "^Usage: quadrovolt" "$out" && grep -q QUADROVOLT.DAT "$out" || fail "--help: $code"
[[ ! -s $err ]] || fail "--help wrote to stderr"
for bad in --bogus -h "" level1 "--help=x" "--version --bogus"; do
  # shellcheck disable=SC2086  # the last case is two words on purpose
  if [[ $bad == *" "* ]]; then run $bad; else run "$bad"; fi
  code=$?
  [[ $code -eq 2 ]] || fail "'$bad': exit $code"
  [[ $(wc -l <"$err") -eq 1 && ! -s $out ]] || fail "'$bad': not one line on stderr: $(cat "$err")"
done
for driver in "" dummy nonsense; do
  (cd "$(dirname "$out")" && env -u DISPLAY -u WAYLAND_DISPLAY ${driver:+SDL_VIDEODRIVER=$driver} \
     SDL_AUDIODRIVER=dummy timeout 20 "$game" >"$out" 2>"$err")
  code=$?
  [[ $code -eq 1 ]] || fail "no window (SDL_VIDEODRIVER='$driver'): exit $code"
  grep -q "^quadrovolt: no window can be opened: ." "$err" ||
    fail "no window (SDL_VIDEODRIVER='$driver'): no reason on stderr: $(cat "$err")"
done
echo "COMMAND LINE PASS"
