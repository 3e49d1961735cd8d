#!/usr/bin/env bash
# Serves a built web page folder on 127.0.0.1 and prints its URL.
#   scripts/serve-web.sh [folder] [port]     default: build-web/web, 8000
# A port another program holds is said plainly, and the script exits 1.
set -euo pipefail
folder=${1:-build-web/web}
port=${2:-8000}
[[ -f "$folder/index.html" ]] || { echo "No page in $folder: build it with scripts/build-web.sh" >&2; exit 1; }
exec python3 - "$folder" "$port" <<'PY'
import functools
import http.server
import sys

folder, port = sys.argv[1], int(sys.argv[2])


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, ".wasm": "application/wasm",
                      ".webmanifest": "application/manifest+json"}


try:
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), functools.partial(Handler, directory=folder))
except OSError as e:
    print("Port %d on 127.0.0.1 is taken (%s): stop what holds it, or give another port: "
          "scripts/serve-web.sh %s PORT" % (port, e.strerror, folder), file=sys.stderr)
    sys.exit(1)
print("Quadrovolt is served at http://127.0.0.1:%d/  (Ctrl+C stops it)" % port, flush=True)
try:
    server.serve_forever()
except KeyboardInterrupt:
    pass
PY
