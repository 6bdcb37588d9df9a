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
    # CTest lists each test program's cases by running it. Where the tests
    # run in the test VM, this host may not run them, so CTest lists them
    # when it starts in the VM, under emulation, where everything takes up
    # to twenty times longer: a journey that starts Ortelan a dozen times
    # takes two to three minutes on a busy host.
    discovery=POST_BUILD listing=120 case=300
    if in_vm; then
        discovery=PRE_TEST listing=900 case=1200
    fi
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/$toolchain" \
        -DORTELAN_WINE_TESTS=ON -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=$discovery \
        -DORTELAN_DISCOVERY_TIMEOUT=$listing -DORTELAN_TEST_TIMEOUT=$case >/dev/null
    cmake --build "$build" -j "$(nproc)" "$@"
done
