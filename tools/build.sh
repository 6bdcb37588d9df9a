#!/bin/sh
# Configures and builds Ortelan and its tests into build/ (or $ORTELAN_BUILD).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ORTELAN_BUILD:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" "$@"
