#!/usr/bin/env bash
# Builds the release preset (the program as shipped) and prints its size beside the goal
# and the DLLs it loads (at start and on first use). Fails when the goal is not met or when
# a DLL is not part of Windows: the program must run from its one .exe.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
cd "$LV_ROOT"

"$LV_ROOT/scripts/bootstrap.sh"
cmake --preset release >/dev/null
cmake --build --preset release >/dev/null
exe="$LV_ROOT/build/release/assistant/UpgradeAssistant.exe"

goal=1000000 # bytes: under 1 MB
size=$(stat -c %s "$exe")
verdict="met"
((size < goal)) || verdict="NOT met"
printf '%s\n' "${exe#"$LV_ROOT"/}"
printf 'size: %d bytes (%d KiB); goal: under %d bytes (1 MB): %s\n' \
    "$size" $(((size + 1023) / 1024)) "$goal" "$verdict"

# DLLs that come with every Windows installation and that the program may import.
system_dlls=" advapi32 bcrypt comctl32 comdlg32 crypt32 gdi32 gdiplus imm32 kernel32 msimg32 msvcrt ole32 "
system_dlls+=" oleacc oleaut32 shell32 shlwapi user32 uxtheme version winmm wininet winspool wintrust "
foreign=0
# check DLL HOW: prints the DLL, how it is loaded and whether Windows has it.
check() {
    local name
    name=$(tr '[:upper:]' '[:lower:]' <<<"${1%.[dD][lL][lL]}")
    if [[ $system_dlls == *" $name "* ]]; then
        printf '  %-16s %-20s system\n' "$1" "$2"
    else
        printf '  %-16s %-20s NOT a system DLL\n' "$1" "$2"
        foreign=1
    fi
}
imported=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
echo "DLLs:"
while read -r dll; do check "$dll" "at start"; done <<<"$imported"
# A delay-loaded DLL keeps its name as a plain string; so does one loaded by name.
while read -r dll; do
    grep -qixF "$dll" <<<"$imported" || check "$dll" "on first use"
done < <(strings -a "$exe" | grep -ixE '[a-z0-9_]+\.dll' | sort -fu)
((foreign == 0)) || { echo "the release program needs DLLs that Windows does not have" >&2; exit 1; }
[[ $verdict == met ]] || { echo "the release program is not under 1 MB" >&2; exit 1; }
