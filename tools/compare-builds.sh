#!/usr/bin/env bash
# Compares kelvo-calc's output between a committed revision and the working tree, byte for
# byte, on a generated schedule of forward and reverse lines and on the CSV, XLSX and ODS files in
# tests/: the CSV result with its exit status and standard error, the result workbook's parts and
# the result document's content (unpacked: a workbook's own dates differ from run to run).
#   bash tools/compare-builds.sh [REVISION] [ROWS] [SEED]     (defaults: HEAD 100000 1)
# Exit 0 when every output is identical; otherwise the first differing lines are shown.
set -euo pipefail
cd "$(dirname "$0")/.."
revision="${1:-HEAD}"
rows="${2:-100000}"
seed="${3:-1}"

work=build/compare
mkdir -p "$work"
commit=$(git rev-parse --verify "$revision^{commit}")
old_src="$work/src-$commit"
old_build="$work/build-$commit"
if [ ! -d "$old_src" ]; then
    git worktree add --detach -f "$old_src" "$commit" >/dev/null
fi
only_calc=(-DCMAKE_BUILD_TYPE=Release -DKELVO_BUILD_APP=OFF -DKELVO_BUILD_TESTS=OFF -DKELVO_BUILD_BENCH=OFF)
cmake -S "$old_src" -B "$old_build" "${only_calc[@]}" >/dev/null
cmake --build "$old_build" -j "$(nproc)" --target kelvo-calc >/dev/null
cmake -S . -B "$work/build-current" -DCMAKE_BUILD_TYPE=Release -DKELVO_BUILD_APP=OFF -DKELVO_BUILD_TESTS=OFF >/dev/null
cmake --build "$work/build-current" -j "$(nproc)" --target kelvo-calc generate_schedule >/dev/null

"$work/build-current/bench/generate_schedule" "$rows" "$seed" >"$work/schedule.csv"
inputs=("$work/schedule.csv")
while IFS= read -r -d '' fixture; do inputs+=("$fixture"); done \
    < <(find tests \( -name '*.csv' -o -name '*.xlsx' -o -name '*.ods' \) -type f -print0 2>/dev/null)

status=0
for input in "${inputs[@]}"; do
    old_rc=0 new_rc=0
    "$old_build/cli/kelvo-calc" "$input" >"$work/old.out" 2>"$work/old.err" || old_rc=$?
    "$work/build-current/cli/kelvo-calc" "$input" >"$work/new.out" 2>"$work/new.err" || new_rc=$?
    if [ "$old_rc" != "$new_rc" ] || ! cmp -s "$work/old.out" "$work/new.out" || ! cmp -s "$work/old.err" "$work/new.err"; then
        echo "DIFFERENT: $input (exit $old_rc before, $new_rc now)"
        diff "$work/old.out" "$work/new.out" | head -n 10 || true
        diff "$work/old.err" "$work/new.err" | head -n 10 || true
        status=1
    fi
    rm -f "$work/old.xlsx" "$work/new.xlsx"
    "$old_build/cli/kelvo-calc" -o "$work/old.xlsx" "$input" 2>/dev/null || true
    "$work/build-current/cli/kelvo-calc" -o "$work/new.xlsx" "$input" 2>/dev/null || true
    for part in xl/worksheets/sheet1.xml xl/styles.xml xl/workbook.xml; do
        if ! cmp -s <(unzip -p "$work/old.xlsx" "$part" 2>/dev/null) <(unzip -p "$work/new.xlsx" "$part" 2>/dev/null); then
            echo "DIFFERENT: $input as a workbook ($part)"
            status=1
        fi
    done
    rm -f "$work/old.ods" "$work/new.ods"
    "$old_build/cli/kelvo-calc" -o "$work/old.ods" "$input" 2>/dev/null || true
    "$work/build-current/cli/kelvo-calc" -o "$work/new.ods" "$input" 2>/dev/null || true
    for part in content.xml META-INF/manifest.xml mimetype; do
        if ! cmp -s <(unzip -p "$work/old.ods" "$part" 2>/dev/null) <(unzip -p "$work/new.ods" "$part" 2>/dev/null); then
            echo "DIFFERENT: $input as a document ($part)"
            status=1
        fi
    done
done
[ "$status" -eq 0 ] && echo "identical: ${#inputs[@]} inputs ($rows generated rows, seed $seed) against $revision"
exit "$status"
