#!/usr/bin/env bash
# The launcher starts the game in the player's data directory, passes its
# arguments and exit code through, moves an old save file in once, and when
# the directory cannot be used runs the game in an empty scratch folder after
# one line on stderr. A stand-in game beside a copy of the launcher records
# where it was started and writes a save file there, as the game does.
#   tests/install/check_launcher.sh path/to/quadrovolt-launcher
set -uo pipefail
t=$(mktemp -d)
trap 'chmod -R u+w "$t"; rm -rf "$t"' EXIT
fail() { echo "LAUNCHER FAIL: $*"; exit 1; }

mkdir -p "$t/bin" "$t/home" "$t/src"
sed "s|^old_save=.*|old_save=\"$t/src/QUADROVOLT.DAT\"|" "$1" >"$t/bin/launcher"
cat >"$t/bin/quadrovolt" <<GAME
#!/bin/sh
pwd >"$t/started-in"
echo "\$*" >"$t/args"
echo saved >QUADROVOLT.DAT
exit 7
GAME
chmod +x "$t/bin/launcher" "$t/bin/quadrovolt"
launch() { env -i PATH="$PATH" "$@" "$t/bin/launcher" --one "two words" 2>"$t/stderr"; }

# XDG_DATA_HOME wins; the directory is made; arguments and exit code pass.
launch HOME="$t/home" XDG_DATA_HOME="$t/xdg"; code=$?
[[ $code -eq 7 ]] || fail "exit code $code"
[[ $(cat "$t/started-in") == "$t/xdg/quadrovolt" ]] || fail "started in $(cat "$t/started-in")"
[[ $(cat "$t/args") == "--one two words" ]] || fail "arguments: $(cat "$t/args")"
[[ -f $t/xdg/quadrovolt/QUADROVOLT.DAT && ! -s $t/stderr ]] || fail "no save in the data directory"

# Unset, empty or relative XDG_DATA_HOME: ~/.local/share/quadrovolt.
for xdg in unset "" relative/dir; do
  rm -rf "$t/home/.local"
  if [[ $xdg == unset ]]; then launch HOME="$t/home"; else launch HOME="$t/home" XDG_DATA_HOME="$xdg"; fi
  [[ $(cat "$t/started-in") == "$t/home/.local/share/quadrovolt" ]] || fail "XDG_DATA_HOME '$xdg': $(cat "$t/started-in")"
done

# A save left in the source tree moves in once; one already there is kept.
rm -rf "$t/xdg"
echo old >"$t/src/QUADROVOLT.DAT"
mkdir -p "$t/xdg/quadrovolt"
launch HOME="$t/home" XDG_DATA_HOME="$t/xdg"
[[ ! -e $t/src/QUADROVOLT.DAT ]] || fail "the old save was not moved"
echo old >"$t/src/QUADROVOLT.DAT"
echo newer >"$t/xdg/quadrovolt/QUADROVOLT.DAT"
sed -i 's|^echo saved.*|:|' "$t/bin/quadrovolt"
launch HOME="$t/home" XDG_DATA_HOME="$t/xdg"
[[ $(cat "$t/xdg/quadrovolt/QUADROVOLT.DAT") == newer && $(cat "$t/src/QUADROVOLT.DAT") == old ]] ||
  fail "an existing save was overwritten"
sed -i 's|^:$|echo saved >QUADROVOLT.DAT|' "$t/bin/quadrovolt"

# Unusable data directories: the game still runs, in an empty scratch folder
# that is gone afterwards, and stderr says why in one line.
touch "$t/a-file"
unusable=("XDG_DATA_HOME=$t/a-file" "XDG_DATA_HOME=$t/a-file/below" "XDG_DATA_HOME=/proc/quadrovolt-test" "HOME=relative")
if [[ $(id -u) -ne 0 ]]; then
  mkdir -p "$t/ro/quadrovolt" && chmod a-w "$t/ro/quadrovolt"
  unusable+=("XDG_DATA_HOME=$t/ro")
fi
for setting in "${unusable[@]}"; do
  launch HOME="$t/home" "$setting"; code=$?
  where=$(cat "$t/started-in")
  [[ $code -eq 7 ]] || fail "$setting: exit code $code"
  [[ $(wc -l <"$t/stderr") -eq 1 ]] && grep -q "^quadrovolt: .*playing without keeping the high score" "$t/stderr" ||
    fail "$setting: stderr '$(cat "$t/stderr")'"
  [[ $where != "$t"* && $where != / && ! -e $where ]] || fail "$setting: played in '$where', which is still there"
done
echo "LAUNCHER PASS"
