#!/usr/bin/env bash
# Start-up time (process start to the main window's first frame drawn) and peak resident memory
# of kelvo and of a bare Qt Widgets program built the same way (one label in a window of the
# same size), in one Xvfb server, several runs each; prints the medians and the ratios.
# Both programs report the moment of their first frame themselves (KELVO_STARTUP_REPORT).
# Usage: bench/startup.sh [--build DIR] [RUNS]
#   --build DIR  measure the programs of an existing build (DIR/ui/kelvo, DIR/bench/bare_qt)
#                without installing or building anything
set -euo pipefail
cd "$(dirname "$0")/.."
build=""
runs=21
while [ $# -gt 0 ]; do
    case "$1" in
        --build) build="$2"; shift 2 ;;
        *) runs="$1"; shift ;;
    esac
done

if [ -z "$build" ]; then
    bash tools/deps.sh --screenshots
    cmake --preset release >/dev/null
    cmake --build --preset release -j "$(nproc)" --target kelvo bare_qt >/dev/null
    build=build/release
fi

# A server of our own on a free display number, which it names once it is ready; it is not
# reset when a measured program, its only client, ends.
work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

# One run: milliseconds to the first frame, then the peak resident memory in KiB. The program's
# report comes through a pipe that this shell waits on, so nothing polls (and takes a core from
# the program) while it starts; the start is the shell's own clock, read without a subprocess.
mkfifo "$work/report"
measure() {
    local program=$1
    local start pid shown=""
    start=${EPOCHREALTIME//[.,]/}
    KELVO_STARTUP_REPORT=1 "$program" >"$work/report" 2>/dev/null &
    pid=$!
    read -r -t 10 shown <"$work/report" || true
    if [ -z "$shown" ]; then
        echo "$program drew no frame" >&2
        kill "$pid" 2>/dev/null || true
        exit 1
    fi
    sleep 0.5
    local peak
    peak=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    awk -v s="$start" -v e="$shown" -v p="$peak" 'BEGIN { printf "%.1f %d\n", (e / 1000 - s) / 1000, p }'
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# The two programs take turns, and each ratio is taken within a turn (kelvo's run over the bare
# run just before it): a slower spell of the machine then weighs on both sides of a ratio alike.
# The ratio printed is the median of the turns' ratios.
bare=$build/bench/bare_qt
kelvo=$build/ui/kelvo
measure "$bare" >/dev/null  # warm the caches
measure "$kelvo" >/dev/null
: >"$work/bare.txt"
: >"$work/kelvo.txt"
for _ in $(seq 1 "$runs"); do
    measure "$bare" >>"$work/bare.txt"
    measure "$kelvo" >>"$work/kelvo.txt"
done
for name in bare kelvo; do
    echo "$name: start-up $(awk '{print $1}' "$work/$name.txt" | median) ms," \
        "peak memory $(awk '{print $2}' "$work/$name.txt" | median) KiB (median of $runs)"
done
startup=$(paste "$work/bare.txt" "$work/kelvo.txt" | awk '{print $3 / $1}' | median)
memory=$(paste "$work/bare.txt" "$work/kelvo.txt" | awk '{print $4 / $2}' | median)
# The fastest tenth: each program's start-up at the tenth of its runs that were quickest, which
# is what the machine gives when nothing else takes it.
tenth() { sort -n | awk '{a[NR]=$1} END {i=int(NR/10); if (i<1) i=1; print a[i]}'; }
fastest=$(awk -v k="$(awk '{print $1}' "$work/kelvo.txt" | tenth)" -v b="$(awk '{print $1}' "$work/bare.txt" | tenth)" \
    'BEGIN { printf "%.2f", k / b }')
awk -v s="$startup" -v m="$memory" -v n="$runs" -v f="$fastest" \
    'BEGIN { printf "ratios kelvo / bare Qt (median of %d turns): start-up %.2f, memory %.2f; start-up at the fastest tenth %.2f\n", n, s, m, f }'
