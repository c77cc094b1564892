#!/usr/bin/env bash
# Runs the assistant: bootstrap, build, start it under Wine on $DISPLAY. Without a display
# it runs on a private Xvfb, saves a screenshot of the window, prints its path and closes it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
cd "$LV_ROOT"

"$LV_ROOT/scripts/bootstrap.sh"
cmake --preset win >/dev/null
cmake --build --preset win --target UpgradeAssistant >/dev/null
exe="$LV_ROOT/build/win/assistant/UpgradeAssistant.exe"

if [[ -n ${DISPLAY:-} ]] && xdpyinfo >/dev/null 2>&1; then
    exec "$LV_ROOT/scripts/wine-run" "$exe"
fi

trap 'lv_stop_xvfb' EXIT
lv_start_xvfb
"$LV_ROOT/scripts/wine-run" "$exe" &
app=$!
window=""
for _ in $(seq 1 300); do
    window=$(xdotool search --onlyvisible --name 'registrieren|Register full version' 2>/dev/null | head -1 || true)
    [[ -n $window ]] && break
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
done
if [[ -z $window ]]; then
    echo "the assistant's window did not appear" >&2
    kill "$app" 2>/dev/null || true
    exit 1
fi
sleep 1.5 # let the first paint and the animation settle
mkdir -p "$LV_ROOT/build/screenshots"
shot="$LV_ROOT/build/screenshots/assistant.png"
import -window "$window" "$shot"
echo "screenshot: $shot"
xdotool windowfocus --sync "$window" key --clearmodifiers alt+F4 2>/dev/null || true
for _ in $(seq 1 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill "$app" 2>/dev/null || true
wait "$app" 2>/dev/null || true
wineserver -k 2>/dev/null || true
