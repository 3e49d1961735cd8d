#!/usr/bin/env bash
# Each tool given answers --help with a usage line on standard output, nothing
# on standard error, and exit 0, without a display (none is given, so a tool
# that went on to open a window would fail). Each refuses an unknown option
# with exit 2 and its reason on standard error, and makes no file doing so:
# it runs in an empty folder (its TMPDIR too), given a folder it could write
# into as well, and both must stay empty.
#   tests/install/check_tool_help.sh path/to/tool...
set -uo pipefail
fail() { echo "TOOL HELP FAIL: $*"; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
out=$scratch/out err=$scratch/err
[[ $# -gt 0 ]] || fail "no tools given"
run() { (cd "$scratch/run" && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER TMPDIR="$scratch/run" "$@"); }
for tool in "$@"; do
  tool=$(realpath "$tool")
  name=$(basename "$tool")
  rm -rf "$scratch/run" && mkdir -p "$scratch/run/into"
  run "$tool" --help >"$out" 2>"$err"
  code=$?
  [[ $code -eq 0 ]] || fail "$name --help: exit $code: $(cat "$err")"
  grep -qi "^usage: .*$name\|^usage: ${name#quadrovolt_}" "$out" || fail "$name --help: no usage line: $(cat "$out")"
  [[ ! -s $err ]] || fail "$name --help wrote to stderr: $(cat "$err")"
  usage=$(head -n1 "$out")
  for line in "--no-such-option" "--no-such-option into" "into --no-such-option"; do
    # shellcheck disable=SC2086  # the words of the line, split on purpose
    run "$tool" $line >"$out" 2>"$err"
    code=$?
    [[ $code -eq 2 ]] || fail "$name $line: exit $code, not 2: $(cat "$err")"
    # The first problem on the line is named: the option, or a word before it.
    want="^$name: unknown option --no-such-option"
    [[ $line == --* ]] || want="^$name: ."
    grep -q -- "$want" "$err" || fail "$name $line: no reason given: $(cat "$err")"
    made=$(cd "$scratch/run" && find . -mindepth 1 ! -path ./into)
    [[ -z $made ]] || fail "$name $line made files: $made"
  done
  echo "$name: $usage"
done
echo "TOOL HELP PASS"
