#!/bin/sh
# Checks the headers and imports of the built Ortelan.exe.
set -u
exe=$1
dump=$(i686-w64-mingw32-objdump -p "$exe") || exit 1
status=0
fail() { echo "FAIL: $*"; status=1; }

echo "$dump" | grep -q 'file format pei-i386' || fail "not a PE i386 image"
echo "$dump" | grep -Eq 'Subsystem[[:space:]]+00000002' || fail "not a GUI-subsystem program"
characteristics=$(echo "$dump" | awk '/^Characteristics/ {print $2; exit}')
[ $(( characteristics & 0x20 )) -eq 0 ] || fail "marked large-address aware ($characteristics)"
[ $(( characteristics & 0x100 )) -ne 0 ] || fail "not marked as a 32-bit machine image ($characteristics)"
# The Unicode start-up code takes its arguments from __wgetmainargs.
echo "$dump" | grep -q '__wgetmainargs' || fail "no Unicode entry point"
echo "$dump" | grep -q '[^w]__getmainargs' && fail "ANSI start-up code linked"

allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|shlwapi|ole32|oleaut32|advapi32|pdh|msvcrt)\.dll$'
for dll in $(echo "$dump" | awk '/DLL Name:/ {print tolower($3)}'); do
    echo "$dll" | grep -Eq "$allowed" || fail "imports $dll, which is not part of Windows"
done
# Only the folder browser, the path checks and the counter of Windows need
# these; loaded when first used, they cost the program's start nothing.
for dll in shell32 shlwapi ole32 pdh; do
    echo "$dump" | grep -qi "DLL Name: $dll\.dll" && fail "imports $dll.dll, which it loads when first used"
done
[ $status -eq 0 ] && echo "PE headers and imports as expected"
exit $status
