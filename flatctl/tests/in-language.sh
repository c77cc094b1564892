#!/usr/bin/env bash
# Runs a Windows test program under Wine with the system language "en" or "de".
# usage: in-language.sh LANGUAGE REPORT-NAME PROGRAM [ARGS...]
# Wine takes the system language from LC_ALL when its server starts, and a running server
# keeps it: the run waits for the prefix's server to end before it starts (so a fresh one
# starts in this language) and after it ends (so the next program gets its own again).
set -euo pipefail
language=$1 name=$2
shift 2
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/env.sh"
case $language in
de) locale=de_DE.UTF-8 ;;
*) locale=en_US.UTF-8 ;;
esac
# Both runs share one program: each reports under its test's name.
if [[ ${GTEST_OUTPUT:-} == xml:*/ ]]; then
    export GTEST_OUTPUT="$GTEST_OUTPUT$name.xml"
fi
wineserver -w
status=0
LC_ALL=$locale LV_TEST_LANGUAGE=$language "$LV_ROOT/scripts/wine-run" "$@" || status=$?
wineserver -w
exit "$status"
