#!/bin/sh
# Configures and builds Ortelan and its tests, both editions: the 32-bit one
# into build/ (or $ORTELAN_BUILD), the x64 one into build-x64/ (or
# $ORTELAN_BUILD_X64). Arguments go to the build of each, e.g.
# --target Ortelan. ORTELAN_EDITIONS=win32 (or x64) builds that one alone.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/editions.sh"

for name in ${ORTELAN_EDITIONS:-$editions}; do
    edition "$name"
    # Where Wine cannot run the edition's programs, its tests are built but
    # not listed for CTest, which would run them at build time to list them.
    wine_tests=ON
    runs_here || wine_tests=OFF
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/$toolchain" \
        -DORTELAN_WINE_TESTS=$wine_tests >/dev/null
    cmake --build "$build" -j "$(nproc)" "$@"
done
