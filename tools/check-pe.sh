#!/bin/sh
# Checks the headers, manifest and imports of a built Ortelan.exe, or of the
# console companion OrtelanCmd.exe.
#   check-pe.sh EXE [EDITION [KIND]]
# EDITION is win32 (the default) or x64; KIND is gui (Ortelan.exe, the
# default) or console (OrtelanCmd.exe).
set -u
exe=$1
edition=${2:-win32}
kind=${3:-gui}
dump=$(x86_64-w64-mingw32-objdump -p "$exe") || exit 1
status=0
fail() { echo "FAIL: $*"; status=1; }

characteristics=$(echo "$dump" | awk '/^Characteristics/ {print $2; exit}')
case $edition in
win32)
    format=pei-i386 architecture=X86
    [ $(( characteristics & 0x20 )) -eq 0 ] || fail "marked large-address aware ($characteristics)"
    [ $(( characteristics & 0x100 )) -ne 0 ] || fail "not marked as a 32-bit machine image ($characteristics)"
    ;;
x64)
    # A 64-bit program has the whole address space only when it says so.
    format=pei-x86-64 architecture=amd64
    [ $(( characteristics & 0x20 )) -ne 0 ] || fail "not marked large-address aware ($characteristics)"
    [ $(( characteristics & 0x100 )) -eq 0 ] || fail "marked as a 32-bit machine image ($characteristics)"
    ;;
*)
    echo "unknown edition $edition" >&2
    exit 2
    ;;
esac
# The program's own manifest names the processor; Ortelan.exe's names it
# once more for the common controls it asks for.
case $kind in
gui) subsystem=2 manifests=2 ;;
console) subsystem=3 manifests=1 ;;
*)
    echo "unknown kind $kind" >&2
    exit 2
    ;;
esac
echo "$dump" | grep -q "file format $format\$" || fail "not a $format image"
echo "$dump" | grep -Eq "Subsystem[[:space:]]+0000000$subsystem" || fail "not a $kind-subsystem program"
# The Unicode start-up code takes its arguments from __wgetmainargs.
echo "$dump" | grep -q '__wgetmainargs' || fail "no Unicode entry point"
echo "$dump" | grep -q '[^w]__getmainargs' && fail "ANSI start-up code linked"

# With another processor in its manifest, Windows does not start it.
architectures=$(grep -ao 'processorArchitecture="[^"]*"' "$exe" | sort | uniq -c | awk '{print $1, $2}')
[ "$architectures" = "$manifests processorArchitecture=\"$architecture\"" ] ||
    fail "manifest architectures are not $manifests times $architecture: $architectures"
# Without it, Windows would redirect a 32-bit console program's file out of
# a protected folder instead of refusing it.
if [ "$kind" = console ]; then
    grep -aq 'requestedExecutionLevel level="asInvoker"' "$exe" || fail "no request to run as the invoker"
fi

allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|shlwapi|ole32|oleaut32|advapi32|pdh|msvcrt)\.dll$'
for dll in $(echo "$dump" | awk '/DLL Name:/ {print tolower($3)}'); do
    echo "$dll" | grep -Eq "$allowed" || fail "imports $dll, which is not part of Windows"
done
# Only the folder browser, the path checks and the counter of Windows need
# these; loaded when first used, they cost the program's start nothing.
for dll in shell32 shlwapi ole32 pdh; do
    echo "$dump" | grep -qi "DLL Name: $dll\.dll" && fail "imports $dll.dll, which it loads when first used"
done
[ $status -eq 0 ] && echo "PE headers, manifest and imports as expected for the $kind program of $edition"
exit $status
