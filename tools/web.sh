#!/usr/bin/env bash
# Builds the web page into build/web (installing emscripten if missing, building the schedule
# module's libraries from Debian's sources the first time) and serves it at
# http://localhost:8000 (`--no-serve`: build only). The folder is the whole site: any static
# server serves it, and index.html also works opened from disk.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh --web
# The schedule module's libraries, from Debian's sources (once).
bash tools/web-deps.sh
export NODE_PATH=/usr/share/nodejs
cmake --preset web >/dev/null
cmake --build --preset web -j "$(nproc)"
echo "The page is in build/web"
if [ "${1:-}" != "--no-serve" ]; then
    echo "Serving it at http://localhost:8000 (Ctrl+C stops)"
    exec python3 -m http.server 8000 --bind 127.0.0.1 -d build/web
fi
