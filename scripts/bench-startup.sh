#!/usr/bin/env bash
# Start-up benchmark: time from launching the assistant under Wine until its window is on
# screen, beside the same figure for a minimal Win32 window program (the reference), over
# several runs on a private Xvfb. Prints figures; checks nothing.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
cd "$LV_ROOT"
"$LV_ROOT/scripts/bootstrap.sh"
cmake --preset win >/dev/null
cmake --build --preset win --target UpgradeAssistant MinimalWindow >/dev/null
runs=${1:-5}

trap 'wineserver -k 2>/dev/null || true; lv_stop_xvfb' EXIT
lv_start_xvfb
wineserver -p 60 # keep one server up, as on a desktop where Wine already runs

measure() { # exe, window-name regex -> milliseconds until the window is visible
    local start end pid
    start=$(date +%s%N)
    "$LV_ROOT/scripts/wine-run" "$1" & pid=$!
    until xdotool search --onlyvisible --name "$2" >/dev/null 2>&1; do sleep 0.01; done
    end=$(date +%s%N)
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
    echo $(((end - start) / 1000000))
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

measure build/win/bench/MinimalWindow.exe 'Minimal reference' >/dev/null # warm-up
a=(); m=()
for _ in $(seq "$runs"); do
    m+=("$(measure build/win/bench/MinimalWindow.exe 'Minimal reference')")
    a+=("$(measure build/win/assistant/UpgradeAssistant.exe 'registrieren|Register full version')")
done
printf '%-28s %10s %10s\n' "start-up to window (ms)" "median" "runs"
printf '%-28s %10s   %s\n' "assistant" "$(printf '%s\n' "${a[@]}" | median)" "${a[*]}"
printf '%-28s %10s   %s\n' "reference: minimal window" "$(printf '%s\n' "${m[@]}" | median)" "${m[*]}"
