#!/usr/bin/env bash
# Start-up benchmark: the assistant beside the same window built from the platform's own
# controls (the reference of the goal) and beside one empty window, in alternating runs on a
# private Xvfb, measured from outside (launch until the window is on screen) and from inside
# (each program's own start-up trace, phase by phase); then each idle window's working set.
# Prints figures and ratios beside the goal; checks nothing.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
cd "$LV_ROOT"
"$LV_ROOT/scripts/bootstrap.sh"
# Both programs as shipped (the release preset); LV_BENCH_BUILD=build/win measures the
# development build instead.
export LV_BENCH_BUILD=${LV_BENCH_BUILD:-build/release}
if [[ $LV_BENCH_BUILD == build/release ]]; then
    cmake --preset release >/dev/null
    cmake --build build/release --target UpgradeAssistant PlatformDialog MinimalWindow working_set_probe >/dev/null
else
    cmake --preset win >/dev/null
    cmake --build --preset win --target UpgradeAssistant PlatformDialog MinimalWindow working_set_probe >/dev/null
fi

trap 'wineserver -k 2>/dev/null || true; lv_stop_xvfb' EXIT
lv_start_xvfb
wineserver -p 60 # keep one server up, as on a desktop where Wine already runs
python3 "$LV_ROOT/bench/startup_bench.py" "${1:-15}"
