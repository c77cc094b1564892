#!/usr/bin/env bash
# The test run's bounded smoke run of every libFuzzer target (20 s each, see fuzz-run.sh):
# writes a one-case report per target into the report folder given as $1.
set -uo pipefail
out=${1:?report folder}
"$(dirname "${BASH_SOURCE[0]}")/fuzz-run.sh" -r "$out" 20
