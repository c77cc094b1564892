#!/usr/bin/env bash
# Runs the assistant against the demo maker site (nginx on a free loopback port, reached as
# the program's proxy): bootstrap, build, then
#   with a display: the assistant on $DISPLAY for a person to use; the customer numbers to
#     try and the local address of the sign-up page are printed first;
#   without one: the scripted tour on a private Xvfb, printing the path of each screenshot.
# nginx and Xvfb are stopped by their own process ids on every way out.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
cd "$LV_ROOT"

"$LV_ROOT/scripts/bootstrap.sh"
cmake --preset win >/dev/null
cmake --build --preset win --target UpgradeAssistant DemoInstaller trust_root >/dev/null
exe="$LV_ROOT/build/win/assistant/UpgradeAssistant.exe"
installer="$LV_ROOT/build/win/demo/DemoInstaller.exe"
demo="$LV_ROOT/demo/run_demo.py"

if [[ -n ${DISPLAY:-} ]] && xdpyinfo >/dev/null 2>&1; then
    exec python3 "$demo" interactive "$exe" "$installer"
fi

trap 'lv_stop_xvfb' EXIT
lv_start_xvfb
python3 "$demo" tour "$exe" "$installer"
