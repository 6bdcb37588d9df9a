#!/bin/sh
# Sets up what is missing, builds both editions of Ortelan and runs every
# test of each under Wine, the 32-bit edition's first, then the static
# analysis; fails if any test of either edition fails or any finding is
# made, and ends with one summary of both.
# The 32-bit edition's tests under Wine run in the test VM (tools/vm/)
# where this host runs no 32-bit programs, or when ORTELAN_WIN32_IN_VM=1;
# its checks of the built files (label host) then run here.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/editions.sh"

"$root/tools/deps.sh"
"$root/tools/build.sh"

logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# "<passed>/<total> tests passed" from a CTest log, or a word on its absence.
counted() {
    sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p' "$1" 2>/dev/null |
        awk '{ print $2 - $1 "/" $2 " tests passed" } END { if (NR == 0) print "no result" }'
}

status=0
summary=""
for name in $editions; do
    edition "$name"
    if in_vm; then
        echo "Testing the $name edition in $build: its tests under Wine in the test VM ($(vm_reason)), the checks of its built files here"
        "$root/tools/vm/run.sh" --share "$build" --share "$logs" "$root/tools/vm/test-job.sh" "$build" "$logs/$name-vm.log" ||
            status=1
        # After the VM's run, the test programs' lists are there and newer
        # than the programs, so that CTest here does not run them to list;
        # without them it would, and fail.
        if grep -q "tests passed" "$logs/$name-vm.log" 2>/dev/null; then
            ctest --test-dir "$build" -L host -j 2 --output-on-failure --timeout 600 --output-log "$logs/$name.log" ||
                status=1
        else
            echo "CTest did not list the tests in the VM, so the checks of the built files cannot be listed here either."
            status=1
        fi
        summary="$summary
  $name edition: $(counted "$logs/$name-vm.log") in the test VM, $(counted "$logs/$name.log") here (built files)"
    else
        echo "Testing the $name edition in $build"
        "$root/tools/wine-prefix.sh" "$build/wineprefix" null "$winearch"
        ctest --test-dir "$build" -j 2 --output-on-failure --timeout 600 --output-log "$logs/$name.log" || status=1
        # The tests leave Wine's server running with their prefix; end it.
        WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
        summary="$summary
  $name edition: $(counted "$logs/$name.log")"
    fi
done

# Static analysis: any finding fails the run.
analysis="no finding"
"$root/tools/cppcheck.sh" || { status=1; analysis="findings (above)"; }

echo
echo "Summary:$summary
  static analysis: $analysis"
[ $status -eq 0 ] && echo "All passed." || echo "FAILED: see above."
exit $status
