#!/usr/bin/env bash
# Installs what is missing, builds the calculator and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target kelvo
exec ./build/release/ui/kelvo "$@"
