#!/usr/bin/env bash
# Builds the web version into a folder of static files that any web server can
# serve (index.html, index.js, index.wasm), and the headless runner built for
# WebAssembly beside it.
#   scripts/build-web.sh [build folder]      default: build-web
# The page ends up in <build folder>/web/.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-web}
# Debian's emscripten finds its JavaScript packages (acorn) only through this.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
node=$(command -v node)
emcmake cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUADROVOLT_BUILD_GAME=OFF \
  -DQUADROVOLT_BUILD_TESTS=OFF "-DCMAKE_CROSSCOMPILING_EMULATOR=$node;--no-experimental-fetch" >/dev/null
cmake --build "$build" -j"$(nproc)" --target quadrovolt_web quadrovolt_headless quadrovolt_wavegen
echo "The page is in $build/web/"
