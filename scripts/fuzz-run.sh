#!/usr/bin/env bash
# Builds the libFuzzer targets natively with clang (tests/fuzz) and runs each one after the
# other for SECONDS, or until it has made MAX_RUNS executions when -n is given, from its
# committed seed corpus (<folder of the source>/corpus/<name>) and the inputs earlier runs
# found (build/fuzz/corpus-<name>). Prints one line per target: executions, time, corpus
# size and the result; a failing input is kept as build/fuzz/<name>-crash-*. With -r, writes
# a one-case report per target into that folder. Exits non-zero when a target failed.
#
#   scripts/fuzz-run.sh [-n MAX_RUNS] [-r REPORT_FOLDER] [-t TARGET]... SECONDS
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

runs=0
reports=
only=()
while getopts "n:r:t:" opt; do
    case $opt in
    n) runs=$OPTARG ;;
    r) reports=$OPTARG ;;
    t) only+=("$OPTARG") ;;
    *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
seconds=${1:?usage: fuzz-run.sh [-n MAX_RUNS] [-r REPORT_FOLDER] [-t TARGET]... SECONDS}

fuzzdir="$LV_ROOT/build/fuzz"
sources=$(find "$LV_ROOT" -path "$LV_ROOT/build" -prune -o -name '*_fuzz.cpp' -print | sort)
[[ -n $sources ]] || exit 0
mkdir -p "$fuzzdir"
built=1
cmake -S "$LV_ROOT/tests/fuzz" -B "$fuzzdir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_C_COMPILER=clang -DLV_ROOT="$LV_ROOT" >"$fuzzdir/build.log" 2>&1 &&
    cmake --build "$fuzzdir" >>"$fuzzdir/build.log" 2>&1 || { built=0; tail -20 "$fuzzdir/build.log"; }

failed=0
for src in $sources; do
    name=$(basename "$src" .cpp)
    if ((${#only[@]})) && [[ ! " ${only[*]} " == *" $name "* ]]; then continue; fi
    seeds="$(dirname "$src")/corpus/$name"
    found="$fuzzdir/corpus-$name"
    log="$fuzzdir/$name.log"
    mkdir -p "$found"
    corpora=("$found")
    [[ -d $seeds ]] && corpora+=("$seeds")
    start=$SECONDS
    if ((!built)); then
        echo "the fuzz build failed (build/fuzz/build.log)" >"$log"
        result=fail
        failed=1
    elif "$fuzzdir/$name" -max_total_time="$seconds" -runs="$((runs > 0 ? runs : -1))" \
        -timeout=5 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$fuzzdir/$name-" "${corpora[@]}" >"$log" 2>&1; then
        result=pass
    else
        result=fail
        failed=1
    fi
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    corpus=$(grep -o 'corp: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    echo "$name: ${executions:-?} executions in $((SECONDS - start)) s, corpus ${corpus:-?} inputs: $result"
    [[ $result == pass ]] || grep -E 'rule broken|ERROR|SUMMARY|Test unit written' "$log" | head -8
    if [[ -n $reports ]]; then
        python3 "$LV_ROOT/scripts/report.py" "$reports/$name.xml" "fuzz" "$name" "$result" \
            "$(tail -20 "$log")"
    fi
done
exit $failed
