#!/usr/bin/env bash
# Runs every test: bootstrap, build both presets, host tests natively, Windows tests under
# Wine on a private Xvfb, then the release build's size and DLLs. Ends with one line
# "N passed, N failed".
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
cd "$LV_ROOT"

"$LV_ROOT/scripts/bootstrap.sh"

cmake --preset host >/dev/null
cmake --build --preset host
cmake --preset win >/dev/null
cmake --build --preset win

reports="$LV_ROOT/build/reports"
rm -rf "$reports"
mkdir -p "$reports/host" "$reports/win"

GTEST_OUTPUT="xml:$reports/host/" ctest --preset host --output-junit "$reports/host-ctest.xml" || true
"$LV_ROOT/scripts/fuzz-smoke.sh" "$reports/host" || true

trap 'wineserver -k 2>/dev/null || true; lv_stop_xvfb' EXIT
lv_start_xvfb
GTEST_OUTPUT="xml:$reports/win/" LV_REPORTS="$reports/win" \
    ctest --preset win --output-junit "$reports/win-ctest.xml" || true

# The program as shipped: under 1 MB and only system DLLs (a size regression once went
# unnoticed).
if size_out=$("$LV_ROOT/scripts/release-size.sh" 2>&1); then size_ok=pass; else size_ok=fail; fi
echo "$size_out"
python3 "$LV_ROOT/scripts/report.py" "$reports/win/release_size.xml" release size "$size_ok" "$size_out"

python3 "$LV_ROOT/scripts/summarize.py" "$reports"
