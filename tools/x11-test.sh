#!/usr/bin/env bash
# The program's windows in a real X server with a window manager: Xvfb and openbox, the stacking
# of the program's windows under "Всегда сверху", and windows destroyed by another X client
# (tests/ui/x11_main.cpp). Installs what is missing; takes a few seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-dev}"
missing=()
for package in xvfb xauth openbox libxcb1-dev; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=()
    if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)" --target x11_test
test_program="$(pwd)/build/$preset/tests/x11_test"
xvfb-run -a -s "-screen 0 1280x1024x24" sh -c "openbox >/dev/null 2>&1 & sleep 1; QT_QPA_PLATFORM=xcb '$test_program'"
