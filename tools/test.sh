#!/usr/bin/env bash
# Installs what is missing, builds everything and runs all tests (no display needed).
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-dev}"

bash tools/deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --preset "$preset" -j "$(nproc)"
