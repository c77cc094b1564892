#!/usr/bin/env bash
# Busy-indicator benchmarks: bullet placement natively (Google Benchmark), and the
# indicator's real paint path under Wine beside the platform's erase-only paint cycle of a
# plain window of the same size, with the ratio and the share of a core beside their goals.
# Prints figures; checks nothing.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/env.sh"
cd "$LV_ROOT"
"$LV_ROOT/scripts/bootstrap.sh"
cmake --preset host >/dev/null
cmake --build --preset host --target marquee_placement_bench >/dev/null
cmake --preset win >/dev/null
cmake --build --preset win --target marquee_paint_bench >/dev/null

build/host/marquee/bench/marquee_placement_bench
trap 'lv_stop_xvfb; wineserver -k 2>/dev/null || true' EXIT
lv_start_xvfb
"$LV_ROOT/scripts/wine-run" build/win/marquee/bench/marquee_paint_bench.exe "${1:-10000}"
