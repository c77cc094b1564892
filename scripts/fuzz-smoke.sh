#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (natively) and gives each a bounded smoke run.
# Writes a one-case report per target into the report folder given as $1.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
out=${1:?report folder}
fuzzdir="$LV_ROOT/build/fuzz"
targets=$(find "$LV_ROOT" -path "$LV_ROOT/build" -prune -o -name '*_fuzz.cpp' -print | sort)
[[ -n $targets ]] || exit 0
cmake -S "$LV_ROOT/tests/fuzz" -B "$fuzzdir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_C_COMPILER=clang -DLV_ROOT="$LV_ROOT" >/dev/null && cmake --build "$fuzzdir" >/dev/null
for src in $targets; do
    name=$(basename "$src" .cpp)
    corpus="$(dirname "$src")/corpus/$name"
    mkdir -p "$fuzzdir/corpus-$name"
    if "$fuzzdir/$name" -max_total_time=20 -timeout=5 -rss_limit_mb=2048 \
        "$fuzzdir/corpus-$name" ${corpus:+$( [[ -d $corpus ]] && echo "$corpus")} \
        >"$fuzzdir/$name.log" 2>&1; then
        result=pass
    else
        result=fail
        tail -20 "$fuzzdir/$name.log"
    fi
    python3 "$LV_ROOT/scripts/report.py" "$out/$name.xml" "fuzz" "$name" "$result"
done
