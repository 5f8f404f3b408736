#!/usr/bin/env bash
# Start-up time (process start to main window shown) and peak resident memory of kelvo and of
# a bare Qt Widgets program built the same way, in one Xvfb server, several runs each; prints
# the medians and the ratios. Usage: bench/startup.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-7}"

bash tools/deps.sh --screenshots
command -v xwininfo >/dev/null || { apt-get install -y -qq x11-utils >/dev/null; }
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target kelvo bare_qt >/dev/null

display=:97
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY="$display"
for _ in $(seq 1 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done

# One run: milliseconds to the window, then the peak resident memory in KiB.
measure() {
    local program=$1 title=$2
    local start now pid
    start=$(date +%s%N)
    "$program" >/dev/null 2>&1 &
    pid=$!
    until xwininfo -name "$title" >/dev/null 2>&1; do sleep 0.002; done
    now=$(date +%s%N)
    sleep 0.5
    local peak
    peak=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$(( (now - start) / 1000000 )) $peak"
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

declare -A times peaks
for name in bare kelvo; do
    if [ "$name" = kelvo ]; then program=build/release/ui/kelvo title="kelvo v2.1"; else program=build/release/bench/bare_qt title="bare qt"; fi
    measure "$program" "$title" >/dev/null  # warm the caches
    results=$(for _ in $(seq 1 "$runs"); do measure "$program" "$title"; done)
    times[$name]=$(echo "$results" | awk '{print $1}' | median)
    peaks[$name]=$(echo "$results" | awk '{print $2}' | median)
    echo "$name: start-up ${times[$name]} ms, peak memory ${peaks[$name]} KiB (median of $runs)"
done
awk -v tk="${times[kelvo]}" -v tb="${times[bare]}" -v pk="${peaks[kelvo]}" -v pb="${peaks[bare]}" \
    'BEGIN { printf "ratios kelvo / bare Qt: start-up %.2f, memory %.2f\n", tk / tb, pk / pb }'
