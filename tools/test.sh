#!/bin/sh
# Sets up what is missing, builds both editions of Ortelan and runs every
# test of each under Wine, the 32-bit edition's first; fails if any test of
# either fails.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/editions.sh"

"$root/tools/deps.sh"
"$root/tools/build.sh"

status=0
for name in $editions; do
    edition "$name"
    echo "Testing the $name edition in $build"
    if runs_here; then
        "$root/tools/wine-prefix.sh" "$build/wineprefix" null "$winearch"
    else
        echo "This host refuses to start Wine's 32-bit loader (a kernel with 32-bit emulation off runs no 32-bit x86 programs), so Wine cannot run the $name edition here."
        echo "Its programs and test programs are built and its executable is checked; its tests under Wine run on a host that runs 32-bit programs, or here under emulation: tools/test-emulated.sh."
    fi
    ctest --test-dir "$build" -j 2 --output-on-failure --timeout 600 || status=1
    # The tests leave Wine's server running with their prefix; end it.
    WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
done

# Static analysis: any finding fails the run.
"$root/tools/cppcheck.sh" || status=1
exit $status
