#!/usr/bin/env bash
# Fuzzes the number texts, kelvo-calc's CSV reading and its workbook reading with libFuzzer
# (clang), each target for the given number of seconds (default 60) within 256 MiB of memory,
# starting from the corpus in tests/fuzz/corpus.
# New inputs it finds stay in build/fuzz; a crash leaves its input there and fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
    sudo_cmd=()
    if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq clang libclang-rt-14-dev >/dev/null
fi

out=build/fuzz
mkdir -p "$out"
flags=(-std=c++20 -O1 -g -I. -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
core=(core/*.cpp)
clang++ "${flags[@]}" tests/fuzz/number_fuzz.cpp "${core[@]}" -o "$out/number_fuzz"
schedule=(schedule/columns.cpp schedule/row.cpp schedule/shown_numbers.cpp schedule/run.cpp schedule/formats/text/*.cpp
    schedule/formats/csv/csv_reader.cpp schedule/formats/csv/csv_writer.cpp schedule/formats/csv/csv_table.cpp
    schedule/formats/cells/*.cpp)
clang++ "${flags[@]}" tests/fuzz/csv_fuzz.cpp "${schedule[@]}" "${core[@]}" -o "$out/csv_fuzz"
# The spreadsheet readers, without the writers (the workbook writer's library is loaded at run time).
workbook=(schedule/formats/package/*.cpp schedule/formats/xlsx/number_formats.cpp
    schedule/formats/xlsx/shared_strings.cpp schedule/formats/xlsx/sheet_reader.cpp schedule/formats/xlsx/workbook.cpp
    schedule/formats/ods/content_reader.cpp schedule/formats/ods/document_kind.cpp schedule/formats/ods/cell_styles.cpp
    schedule/formats/files.cpp)
clang++ "${flags[@]}" tests/fuzz/xlsx_fuzz.cpp "${workbook[@]}" "${schedule[@]}" "${core[@]}" \
    $(pkg-config --cflags --libs minizip expat zlib) -o "$out/xlsx_fuzz"

for target in number csv xlsx; do
    mkdir -p "$out/corpus-$target"
    echo "fuzzing $target for $seconds s"
    # A workbook's bounds keep any input within the memory limit; a hang is a fault too. The
    # memory is the program's: AddressSanitizer's quarantine of freed blocks is kept small, so
    # that many small allocations (a header searched across 16 384 cells) do not count.
    status=0
    ASAN_OPTIONS=quarantine_size_mb=16 "$out/${target}_fuzz" -max_total_time="$seconds" -max_len=4096 \
        -rss_limit_mb=256 -timeout=20 -artifact_prefix="$out/" -print_final_stats=1 \
        "$out/corpus-$target" "tests/fuzz/corpus/$target" >"$out/$target.log" 2>&1 || status=$?
    grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|==[0-9]+==ERROR|SUMMARY)' "$out/$target.log" || true
    [ "$status" -eq 0 ] || { echo "the $target fuzzer found a fault (exit $status); its input is in $out"; exit 1; }
done
