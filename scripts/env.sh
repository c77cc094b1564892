# Sourced by the scripts: where things live and how Wine is run for this project.
LV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export LV_ROOT
# The project's own Wine prefix under the build folder (never ~/.wine). A test may point
# LV_WINEPREFIX at a second prefix, e.g. to start Wine under another system language.
export WINEPREFIX=${LV_WINEPREFIX:-$LV_ROOT/build/wineprefix}
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko installers: they would want the network. A test may add overrides of its
# own in LV_EXTRA_DLLOVERRIDES (the DLL-planting tests ask for native DLLs first).
export WINEDLLOVERRIDES="mscoree,mshtml=${LV_EXTRA_DLLOVERRIDES:+;$LV_EXTRA_DLLOVERRIDES}"

# lv_start_xvfb: starts a private Xvfb on a free display; sets DISPLAY and LV_XVFB_PID.
lv_start_xvfb() {
    local n
    for n in $(seq 91 140); do
        [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        LV_XVFB_PID=$!
        local i
        for i in $(seq 1 100); do
            [[ -e /tmp/.X11-unix/X$n ]] && { export DISPLAY=":$n"; return 0; }
            kill -0 "$LV_XVFB_PID" 2>/dev/null || break
            sleep 0.1
        done
        kill "$LV_XVFB_PID" 2>/dev/null
    done
    echo "could not start Xvfb" >&2
    return 1
}

# lv_stop_xvfb: stops the Xvfb that lv_start_xvfb started, by its own process id.
lv_stop_xvfb() {
    [[ -n ${LV_XVFB_PID:-} ]] || return 0
    kill "$LV_XVFB_PID" 2>/dev/null
    wait "$LV_XVFB_PID" 2>/dev/null
    LV_XVFB_PID=
}
