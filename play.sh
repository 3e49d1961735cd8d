#!/usr/bin/env bash
# Installs what is missing, builds Quadrovolt and starts it.
set -euo pipefail
cd "$(dirname "$0")"
# --web: build the web page and serve it on 127.0.0.1 (open the URL it prints).
if [[ "${1:-}" == "--web" ]]; then
  scripts/install-deps.sh --web
  scripts/build-web.sh build-web
  exec scripts/serve-web.sh build-web/web "${2:-8000}"
fi
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DQUADROVOLT_BUILD_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)" --target quadrovolt
exec ./build/quadrovolt-launcher "$@"
