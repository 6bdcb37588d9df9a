#!/bin/sh
# Builds the benchmarks and runs every one of them under Wine in one go, then
# prints one table: each figure, its baseline measured in the same run, and
# their ratio. The programs' own reports are kept in bench/bench.log of the
# edition's build folder.
#   tools/bench.sh [idle seconds, 60] [log hold seconds, 600]
# The idle seconds are those of each idle measurement (Ortelan's, and
# OrtelanCmd's with and without /log); the log hold is the hold whose log's
# rows are checked for punctuality. With the defaults a run takes about 14
# minutes on 2 cores, 10 of them that hold; the CPU shares and the log's
# punctuality mean what they say only on a machine left idle meanwhile.
# It measures the 32-bit edition, or the x64 edition where the 32-bit one
# runs only in the test VM (timings under emulation mean nothing).
# As root it mounts a 256 MiB tmpfs as drive P: of the prefix for the
# figures of "限界作成"; otherwise those are skipped.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/editions.sh"
idle=${1:-60}
log_hold=${2:-600}

"$root/tools/deps.sh"
name=win32
edition $name
if in_vm; then
    echo "The 32-bit edition cannot be measured here ($(vm_reason): it would run in the test VM, and timings under emulation mean nothing): measuring the x64 edition natively instead."
    name=x64
    edition $name
fi
ORTELAN_EDITIONS=$name "$root/tools/build.sh" --target Ortelan OrtelanCmd app_bench memory_bench touch_bench \
    disk_bench perf_bench cmd_bench >/dev/null
"$root/tools/wine-prefix.sh" "$build/wineprefix" null "$winearch"

volume="$build/bench-volume"
link="$build/wineprefix/dosdevices/p:"
log="$build/bench/bench.log"
cleanup() {
    rm -f "$link"
    while mountpoint -q "$volume" 2>/dev/null; do umount "$volume" || break; done
    WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
}
trap cleanup EXIT
cleanup
mkdir -p "$volume"
if mount -t tmpfs -o size=256m tmpfs "$volume" 2>/dev/null; then
    ln -s "$volume" "$link"
    export ORTELAN_BENCH_VOLUME=P:
fi

: >"$log"
# Start-up and close first, on a host not yet busy with the other
# benchmarks' memory and files.
# The console companion's long hold comes last, so that nothing else
# measured here disturbs its log.
for run in "app_bench.exe" "memory_bench.exe" "touch_bench.exe" "disk_bench.exe" "perf_bench.exe $idle" \
    "cmd_bench.exe $idle $log_hold"; do
    echo "running $run ..." >&2
    # shellcheck disable=SC2086
    "$build/wine-exec.sh" "$build/bench/"$run >>"$log" 2>&1 || echo "$run failed; see $log" >&2
done

echo "Ortelan's $name edition, Wine $(WINEARCH=$winearch "$root/tools/wine.sh" --version | sed 's/^wine-//'), $(nproc) cores, $(. /etc/os-release && echo "$PRETTY_NAME")"
echo
echo "| figure | Ortelan | baseline | ratio | goal |"
echo "|---|---|---|---|---|"
tr -d '\r' <"$log" | awk -F'|' '
function figure(value, unit) {
    if (value >= 100) return sprintf("%.0f %s", value, unit)
    if (value >= 10) return sprintf("%.1f %s", value, unit)
    if (value >= 1) return sprintf("%.2f %s", value, unit)
    return sprintf("%.3g %s", value, unit)
}
/^@row\|/ {
    ratio = $4 > 0 ? sprintf("%.2f", $3 / $4) : "-"
    printf "| %s | %s | %s (%s) | %s | %s |\n", $2, figure($3, $6), figure($4, $6), $5, ratio, ($7 == "" ? "-" : $7)
}'
