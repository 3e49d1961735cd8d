#!/usr/bin/env bash
# The headless runner refuses what it cannot do as asked, each with its
# reason on standard error and nothing on standard output: a bad command line
# (exit 2), a replay of other rules of play unless --any-version is given
# (exit 2), and a file it cannot write the replay to (exit 1, saying why,
# before it plays).
#   tests/tools/headless_refusals.sh HEADLESS OLD_VERSION_REPLAY
set -uo pipefail
headless=$1
older=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
# (How any option's value is read is the command line's own unit test; here
# are the runner's ranges and rules.)
# expect CODE REASON ARGS...: the exit code, a part of what standard error must say.
expect() {
  local code=$1 reason=$2
  shift 2
  # A runner that took a bad line for a long run is stopped, not waited for.
  timeout 60 "$headless" "$@" >"$work/out" 2>"$work/err"
  local got=$?
  if [[ $got -ne $code ]] || { [[ -n $reason ]] && ! grep -qF -- "$reason" "$work/err"; } || [[ -s $work/out && $code -ne 0 ]]; then
    echo "FAIL: $*: exit $got (want $code), stderr: $(head -n 1 "$work/err"), stdout: $(head -c 200 "$work/out")"
    failed=1
  else
    echo "ok: $* -> $code: $(head -n 1 "$work/err")"
  fi
}
expect 2 "--level: '-40' is out of range 1..40" --level -40
expect 2 "--level: '41' is out of range" --level 41
expect 2 "--bullets: '4' is out of range 1..3" --bullets 4
expect 2 "--frames: '-5' is out of range" --frames -5
expect 2 "--frames: '99999999999999' is out of range" --frames 99999999999999
expect 2 "--frames: '12x' is not a whole number" --frames 12x
expect 2 "--record needs a value (FILE), not the option --frames" --record --frames 10
expect 2 "unknown option --no-such-option" --no-such-option
expect 2 "--record and --replay go alone" --record "$work/a.rpl" --replay "$work/b.rpl"
expect 2 "--record and --replay go alone, and with the grid" --no-grid --record "$work/a.rpl"
expect 2 "--any-version goes with --replay" --any-version
expect 2 "a replay holds at most 720000 frames" --frames 720001 --record "$work/long.rpl"
expect 2 "recorded by game version 2, this is 3" --replay "$older"
expect 0 "warning: recorded by game version 2, this is 3" --replay "$older" --any-version
grep -q '^final: ' "$work/out" || { echo "FAIL: --any-version played no game to its final line"; failed=1; }
mkdir "$work/folder.rpl"
expect 1 "cannot write the replay: Is a directory" --frames 5000 --record "$work/folder.rpl"
ln -s "$work/victim" "$work/link.rpl"
# (The system's words for ELOOP differ between C libraries; the rule's are the runner's own.)
expect 1 "a link is not followed" --frames 5000 --record "$work/link.rpl"
[[ ! -e $work/victim ]] || { echo "FAIL: the link at the replay's name was followed"; failed=1; }
# A temporary a killed run left is cleared; a link there is removed, not followed.
echo precious >"$work/kept"
ln -s "$work/kept" "$work/out.rpl.tmp"
expect 0 "" --frames 50 --record "$work/out.rpl"
[[ $(cat "$work/kept") == precious && -f $work/out.rpl && ! -e $work/out.rpl.tmp ]] ||
  { echo "FAIL: the temporary's link was written through or the replay is missing"; failed=1; }
[[ $failed -eq 0 ]] && echo "every refusal as meant"
exit $failed
