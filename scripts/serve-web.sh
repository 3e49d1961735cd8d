#!/usr/bin/env bash
# Serves a built web page folder on 127.0.0.1 and prints its URL.
#   scripts/serve-web.sh [folder] [port]     default: build-web/web, 8000
set -euo pipefail
folder=${1:-build-web/web}
port=${2:-8000}
[[ -f "$folder/index.html" ]] || { echo "No page in $folder: build it with scripts/build-web.sh" >&2; exit 1; }
echo "Quadrovolt is served at http://127.0.0.1:$port/  (Ctrl+C stops it)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$folder"
