#!/usr/bin/env bash
# Each tool given answers --help with a usage line on standard output, nothing
# on standard error, and exit 0, without a display (none is given, so a tool
# that went on to open a window would fail). Those that take options refuse
# an unknown one with exit 2, so --help is not merely "anything goes".
#   tests/install/check_tool_help.sh path/to/tool...
set -uo pipefail
fail() { echo "TOOL HELP FAIL: $*"; exit 1; }
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
[[ $# -gt 0 ]] || fail "no tools given"
for tool in "$@"; do
  name=$(basename "$tool")
  env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$tool" --help >"$out" 2>"$err"
  code=$?
  [[ $code -eq 0 ]] || fail "$name --help: exit $code: $(cat "$err")"
  grep -qi "^usage: .*$name\|^usage: ${name#quadrovolt_}" "$out" || fail "$name --help: no usage line: $(cat "$out")"
  [[ ! -s $err ]] || fail "$name --help wrote to stderr: $(cat "$err")"
  usage=$(head -n1 "$out")
  case $name in
    quadrovolt_embed | quadrovolt_textsheet) ;;  # their arguments are files and seconds, not options
    *)
      env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$tool" --no-such-option >"$out" 2>"$err"
      code=$?
      [[ $code -eq 2 ]] || fail "$name --no-such-option: exit $code"
      ;;
  esac
  echo "$name: $usage"
done
echo "TOOL HELP PASS"
