#!/usr/bin/env bash
# Prepares the Wine prefix named by WINEPREFIX (default: the project's): created once with
# wineboot, then the project's settings applied whenever their version changes.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
settings_version=3
ready="$WINEPREFIX/.lv-ready"
[[ -f $ready && $(cat "$ready") == "$settings_version" ]] && exit 0

if [[ ! -f $WINEPREFIX/system.reg ]]; then
    echo "bootstrap: creating Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
fi
# Wine's own fonts (Marlett for the caption buttons and check marks, Tahoma, the system
# fonts) are looked for in C:\windows\Fonts: Debian's Wine installs them under its data
# folder, where this Wine does not find them, and the close button would show an "r".
wine_fonts=/usr/share/wine/fonts
if [[ -d $wine_fonts ]]; then
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp -u "$wine_fonts"/* "$WINEPREFIX/drive_c/windows/Fonts/"
fi
# Verdana, which Debian lacks, is replaced by DejaVu Sans.
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Verdana /t REG_SZ /d 'DejaVu Sans' /f >/dev/null 2>&1
# There is no window manager on Xvfb: Wine draws the frames itself and does not wait for a
# manager that never answers (which costs two seconds per destroyed window).
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
wineserver -w
echo "$settings_version" >"$ready"
