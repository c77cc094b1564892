#!/usr/bin/env bash
# Installs what the project needs and prepares its Wine prefix. Idempotent and quiet when
# everything is already in place.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

packages=(
    g++-mingw-w64-x86-64-posix wine wine64 xvfb xdotool imagemagick fonts-dejavu-core
    cmake ninja-build googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev locales
    x11-utils
    python3 nginx
    openssl osslsigncode
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "bootstrap: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# The system language of Wine follows LC_ALL; both locales must exist.
need_locales=0
for l in de_DE en_US; do
    locale -a 2>/dev/null | grep -qi "^$l\.utf-\?8$" || need_locales=1
done
if ((need_locales)); then
    echo "bootstrap: generating de_DE.UTF-8 and en_US.UTF-8"
    sed -i -E 's/^# *(de_DE\.UTF-8 UTF-8|en_US\.UTF-8 UTF-8)/\1/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' >>/etc/locale.gen
    grep -q '^en_US.UTF-8 UTF-8' /etc/locale.gen || echo 'en_US.UTF-8 UTF-8' >>/etc/locale.gen
    locale-gen >/dev/null
fi

"$LV_ROOT/scripts/make-prefix.sh"
