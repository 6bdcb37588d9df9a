#!/bin/sh
# Run in the test VM: every test of a 32-bit build under Wine, those that
# check the built files on the host (label host) excepted, with CTest, which
# lists each test program's cases when it starts (the build is configured
# so by tools/build.sh). CTest's output streams to the host and is kept in
# LOG too.
#   test-job.sh BUILD LOG
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=$1
prefix=$(sed -n 's/^ORTELAN_WINE_PREFIX:PATH=//p' "$build/CMakeCache.txt")
"$here/prefix.sh" "$prefix" null || exit 1

# Wine's server and services start once, before CTest lists the first test
# program, so that its listing does not pay for them.
started=$(date +%s)
"$build/wine-exec.sh" cmd /c exit </dev/null >/dev/null 2>&1
echo "Wine's server and services started in $(($(date +%s) - started)) s."

status=0
ctest --test-dir "$build" -LE host -j 2 --output-on-failure --timeout 600 --output-log "$2" || status=$?
WINEPREFIX="$prefix" wineserver -k 2>/dev/null
exit $status
