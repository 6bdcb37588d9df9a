#!/bin/sh
# Runs the disk benchmark, with a 256 MiB tmpfs as drive P: of the build's
# Wine prefix for the limit creation (the panel measures a drive root's free
# space). Mounting needs root; without it that figure is skipped.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${ORTELAN_BUILD:-$root/build}
volume="$build/bench-volume"
link="$build/wineprefix/dosdevices/p:"

cleanup() {
    rm -f "$link"
    while mountpoint -q "$volume"; do umount "$volume" || break; done
}
trap cleanup EXIT
cleanup

mkdir -p "$volume"
if mount -t tmpfs -o size=256m tmpfs "$volume"; then
    ln -s "$volume" "$link"
    export ORTELAN_BENCH_VOLUME=P:
fi
"$build/wine-exec.sh" "$build/bench/disk/disk_bench.exe"
