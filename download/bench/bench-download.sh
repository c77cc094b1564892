#!/usr/bin/env bash
# Download throughput of the component beside bare WinInet loops (in rounds, one right after
# the other: the goal's reference reads as the component does, what has arrived and at most
# 1025 bytes; a loop of blocking 1025-byte reads and one of 64 KiB reads are printed beside
# it) and curl, on the same loopback server and body, on a quiet machine and again with
# one busy process per core that the benchmark starts beside the transfer (and stops by their
# process ids); the component with the assistant's progress interval beside it without a
# progress handler (in pairs); the peak memory of 1 MiB and 256 MiB transfers of the
# component alone; then the assistant's working set idle and during a 64 MiB download beside
# the idle working set of its window built from the platform's own controls; and the cost of
# the check before the installer's start on the demo installer and on a 64 MiB signed file.
# Prints figures; checks nothing.
#   download/bench/bench-download.sh [pairs]    (default 7)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/env.sh"
cd "$LV_ROOT"
"$LV_ROOT/scripts/bootstrap.sh"
cmake --preset win >/dev/null
cmake --build --preset win --target download_bench trust_bench DemoInstaller \
    test_authority_trusted >/dev/null
cmake --preset release >/dev/null
cmake --build build/release --target UpgradeAssistant PlatformDialog working_set_probe >/dev/null
bench="$LV_ROOT/build/win/download/download_bench.exe"
export LV_BENCH="$bench" LV_PAIRS="${1:-7}"
echo "load average (1/5/15 min) at the start: $(cut -d' ' -f1-3 /proc/loadavg)"
python3 tests/fixtures/httpserver.py run --host files.download-bench.example -- bash -c '
    set -e
    size=$((64 * 1024 * 1024))
    url="http://$LV_TEST_HTTP_HOST/t/ok-$size"
    echo "Throughput, quiet (goal: component / fair loop >= 0.95, median of the rounds)"
    wine "$LV_BENCH" throughput $size "$LV_PAIRS"
    echo "Progress at the assistant'"'"'s interval (goal: with / without OnProgress >= 0.95)"
    wine "$LV_BENCH" progress $size "$LV_PAIRS"
    echo "Throughput with one busy process per core (goal: component / fair loop >= 0.90)"
    load=()
    for _ in $(seq 1 "$(nproc)"); do
        sh -c "while :; do :; done" &
        load+=($!)
    done
    trap "kill \${load[*]} 2>/dev/null" EXIT
    wine "$LV_BENCH" throughput $size "$LV_PAIRS"
    kill "${load[@]}" 2>/dev/null || true
    wait "${load[@]}" 2>/dev/null || true
    trap - EXIT
    best=0
    for i in 1 2 3; do
        s=$(curl -s -x "$http_proxy" -o /dev/null -w "%{speed_download}" "$url")
        best=$(python3 -c "print(max($best, $s))")
    done
    python3 -c "print(\"  curl (best of 3)                  %8.1f MiB/s\" % ($best / 1048576))"
    echo "Peak memory of the component alone (fresh process each)"
    wine "$LV_BENCH" peak $((1024 * 1024))
    wine "$LV_BENCH" peak $((256 * 1024 * 1024))
'
echo "The check before the installer's start (signature, chain and signer, held handle)"
large="$LV_ROOT/build/bench-trust/signed-64MiB.exe"
if [[ ! -f $large ]]; then
    python3 - "$LV_ROOT" "$LV_ROOT/build/win/demo/DemoInstaller.exe" "$large" <<'PY'
import os, sys
sys.path.insert(0, os.path.join(sys.argv[1], "tests", "fixtures"))
import test_authority
demo, large = sys.argv[2:4]
os.makedirs(os.path.dirname(large), exist_ok=True)
plain = test_authority.unsign(demo, large + ".plain")
with open(plain, "ab") as f:  # zero bytes after the image, covered by the signature
    f.truncate(64 * 1024 * 1024)
test_authority.sign(plain, large)
os.remove(plain)
PY
fi
wine "$LV_ROOT/build/win/download/trust_bench.exe" "Z:$LV_ROOT/build/win/demo/DemoInstaller.exe" "Z:$large"
trap 'wineserver -k 2>/dev/null || true; lv_stop_xvfb' EXIT
lv_start_xvfb
python3 download/bench/memory_bench.py build/release/assistant/UpgradeAssistant.exe \
    build/release/bench/PlatformDialog.exe build/release/bench/working_set_probe.exe
echo "load average (1/5/15 min) at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
