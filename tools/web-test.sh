#!/usr/bin/env bash
# The web page in headless Chromium (tests/web/page_test.mjs: 300 lines against kelvo-calc, the
# phone's width, offline, from disk, screenshots into build/web-test/screenshots;
# schedule_test.mjs: schedules chosen on the page, their results against kelvo-calc's), and the
# module's number texts against the native ones on 300 000 values and texts. Installs what is
# missing: emscripten, chromium, npm and puppeteer-core (which downloads no browser).
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh --web-test
export NODE_PATH=/usr/share/nodejs
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$(nproc)" --target kelvo-calc number_batch
bash tools/web.sh --no-serve >/dev/null

out=build/web-test
mkdir -p "$out"
cp tests/web/package.json tests/web/package-lock.json tests/web/*.mjs "$out/"
(cd "$out" && npm ci --no-audit --no-fund --ignore-scripts --loglevel=error >/dev/null)

# The module converts doubles without the standard library's to_chars: its texts must be the
# native ones, byte for byte.
node build/web-cmake/web/kelvo_number_batch.js 7 100000 >"$out/numbers-web.txt"
build/dev/tests/number_batch 7 100000 >"$out/numbers-native.txt"
if ! cmp -s "$out/numbers-web.txt" "$out/numbers-native.txt"; then
    echo "The web module's number texts differ from the native ones:" >&2
    diff "$out/numbers-web.txt" "$out/numbers-native.txt" | head -20 >&2
    exit 1
fi
echo "number texts: $(wc -l <"$out/numbers-native.txt") lines equal"

node "$out/page_test.mjs" "$(pwd)/build/web" "$(pwd)/build/dev/cli/kelvo-calc" "$(pwd)/$out"
node "$out/schedule_test.mjs" "$(pwd)/build/web" "$(pwd)/build/dev/cli/kelvo-calc" "$(pwd)" "$(pwd)/$out"

# The budgets, measured.
cp bench/web_budget.mjs "$out/"
node "$out/web_budget.mjs" "$(pwd)/build/web"
