#!/usr/bin/env bash
# Busy-indicator benchmarks: bullet placement natively (Google Benchmark); the indicator's
# real paint path under Wine beside the platform's erase-only paint cycle of a plain window
# of the same size, with the ratio and the share of a core beside their goals; then its
# process time per second while animating beside the platform's own marquee progress bar of
# the same size (bench/PlatformMarquee.cpp). Prints figures; checks nothing.
#   marquee/bench/bench-marquee.sh [paints] [seconds per round of the peer comparison]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/env.sh"
cd "$LV_ROOT"
"$LV_ROOT/scripts/bootstrap.sh"
cmake --preset host >/dev/null
cmake --build --preset host --target marquee_placement_bench >/dev/null
cmake --preset win >/dev/null
cmake --build --preset win --target marquee_paint_bench platform_marquee >/dev/null

build/host/marquee/bench/marquee_placement_bench
trap 'lv_stop_xvfb; wineserver -k 2>/dev/null || true' EXIT
lv_start_xvfb
echo "load average (1/5/15 min) at the start: $(cut -d' ' -f1-3 /proc/loadavg)"
"$LV_ROOT/scripts/wine-run" build/win/marquee/bench/marquee_paint_bench.exe "${1:-10000}"
"$LV_ROOT/scripts/wine-run" build/win/bench/platform_marquee.exe "${2:-4}"
echo "load average (1/5/15 min) at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
