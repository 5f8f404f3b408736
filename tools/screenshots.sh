#!/usr/bin/env bash
# Builds the program and saves a picture of every window and reference picture into
# screenshots/ (git ignores it), drawn in a real X server (Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh --screenshots
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$(nproc)" --target kelvo_screenshots
mkdir -p screenshots
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" ./build/dev/ui/kelvo_screenshots screenshots
# The same at a device-pixel ratio of 2: the windows keep their proportions, text and pictures
# stay sharp.
QT_SCALE_FACTOR=2 xvfb-run -a -s "-screen 0 2600x2100x24 -dpi 96" ./build/dev/ui/kelvo_screenshots screenshots/hidpi
ls screenshots screenshots/hidpi
