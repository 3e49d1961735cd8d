#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR with another prefix and checks that
# every file is in place and that the desktop entry and metadata validate.
#   tests/install/check_install.sh BUILD_DIR
set -uo pipefail
build=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
fail() { echo "INSTALL FAIL: $*"; exit 1; }

DESTDIR=$stage cmake --install "$build" --prefix /opt/qv >/dev/null || fail "cmake --install"
root=$stage/opt/qv
id=org.quadrovolt.Quadrovolt
for f in bin/quadrovolt libexec/quadrovolt/quadrovolt share/applications/$id.desktop \
         share/metainfo/$id.metainfo.xml share/icons/hicolor/scalable/apps/$id.svg \
         share/man/man6/quadrovolt.6 share/doc/quadrovolt/copyright; do
  [[ -s $root/$f ]] || fail "missing $f"
done
for size in 48 64 128 256; do
  png=$root/share/icons/hicolor/${size}x${size}/apps/$id.png
  [[ $(identify -format '%wx%h' "$png" 2>/dev/null) == "${size}x${size}" ]] || fail "icon $png is not ${size}x${size}"
done
[[ -x $root/bin/quadrovolt && -x $root/libexec/quadrovolt/quadrovolt ]] || fail "not executable"
desktop-file-validate "$root/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/share/metainfo/$id.metainfo.xml" >/dev/null || fail "appstreamcli validate"
grep -q "<release version=\"$("$root/bin/quadrovolt" --version | cut -d' ' -f2)\"" "$root/share/metainfo/$id.metainfo.xml" ||
  fail "the metadata's release is not the game's version"
if command -v man >/dev/null; then
  man --warnings -l "$root/share/man/man6/quadrovolt.6" 2>&1 >/dev/null | grep . && fail "man page warnings"
fi
# The installed launcher runs the installed game, wherever the tree was put.
out=$(HOME=$stage/home XDG_DATA_HOME="" "$root/bin/quadrovolt" --version) || fail "installed launcher: $out"
[[ $out == "quadrovolt "* ]] || fail "installed launcher printed '$out'"
echo "INSTALL PASS"
