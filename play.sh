#!/usr/bin/env bash
# Installs what is missing, builds Quadrovolt and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DQUADROVOLT_BUILD_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)" --target quadrovolt
exec ./build/quadrovolt-launcher "$@"
