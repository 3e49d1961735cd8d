#!/usr/bin/env bash
# Installs the Debian packages Quadrovolt needs, only when some are missing.
#   scripts/install-deps.sh          what the game needs to build and run
#   scripts/install-deps.sh --test   plus what the tests need (Xvfb, xdotool, ...)
#   scripts/install-deps.sh --web    what the web page needs to build (emscripten)
#   scripts/install-deps.sh --server what the score board's service needs to build
set -euo pipefail

packages=(build-essential cmake pkg-config libsdl2-dev libsdl2-mixer-dev libgl1-mesa-dev libgl1-mesa-dri)
packages+=(libgles-dev)  # the OpenGL ES 3.0 backend (QUADROVOLT_RENDERER=gles3): GLES3 headers, libGLESv2
packages+=(libx11-dev)  # Xlib's handler for a lost display: the game saves before it ends
# The score board's client in the game: HTTP on a thread of its own, its
# JSON, the replay's base64 and the player key's SHA-256.
packages+=(libcurl4-openssl-dev nlohmann-json3-dev libssl-dev)
# The score board's service (quadrovolt-scores, -DQUADROVOLT_BUILD_SERVER=ON).
server_packages=(libcpp-httplib-dev)   # its HTTP/1.1 server: threads, timeouts, a body cap
server_packages+=(nlohmann-json3-dev)  # the API's JSON, read strictly
server_packages+=(libsqlite3-dev)      # the default database: one file, nothing else to run
server_packages+=(libpqxx-dev)         # PostgreSQL, shared by several services on any machines
server_packages+=(libssl-dev)          # SHA-256 of the player keys, constant-time token checks
if [[ "${1:-}" == "--server" ]]; then
  packages+=("${server_packages[@]}")
fi
if [[ "${1:-}" == "--test" ]]; then
  packages+=("${server_packages[@]}")
  # The service's tests run a PostgreSQL server of their own.
  packages+=(postgresql)
  packages+=(libgtest-dev xvfb xauth xdotool imagemagick x11-utils sox)
  packages+=(libsdl2-image-dev)  # the snapshot tool writes PNG files with it
  # The install checks: validators for the desktop entry and the AppStream
  # metadata, and lintian for scripts/check-deb.sh's Debian package.
  packages+=(desktop-file-utils appstream lintian)
  # The fuzzers of the file readers: clang with its libFuzzer runtime.
  packages+=(clang libclang-rt-14-dev)
  # The web page: built with emscripten, tested in headless Chromium driven
  # through chromedriver by selenium.
  packages+=(emscripten chromium chromium-driver python3-selenium)
fi
if [[ "${1:-}" == "--web" ]]; then
  # The WebAssembly toolchain (it brings node, which runs the build-time tools).
  packages+=(emscripten python3)  # python3 serves the page (scripts/serve-web.sh)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "Need root (or sudo) to install: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}"
