#!/usr/bin/env bash
# Creates the Wine prefix named by WINEPREFIX (default: the project's) once: wineboot, then
# Verdana, which Debian lacks, replaced by DejaVu Sans.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
ready="$WINEPREFIX/.lv-ready"
[[ -f $ready ]] && exit 0
echo "bootstrap: creating Wine prefix $WINEPREFIX"
mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Verdana /t REG_SZ /d 'DejaVu Sans' /f >/dev/null 2>&1
wineserver -w
touch "$ready"
