#!/bin/sh
# Sets up what is missing, builds Ortelan and runs every test under Wine.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ORTELAN_BUILD:-$root/build}

"$root/tools/deps.sh"
"$root/tools/build.sh"
"$root/tools/wine-prefix.sh" "$build/wineprefix" null

status=0
ctest --test-dir "$build" -j 2 --output-on-failure --timeout 600 || status=$?

# The tests leave Wine's server running with their prefix; end it.
WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true

# Static analysis: any finding fails the run.
"$root/tools/cppcheck.sh" || status=1
exit $status
