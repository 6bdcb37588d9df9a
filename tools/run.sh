#!/bin/sh
# Sets up what is missing, builds both editions of Ortelan and runs one under
# Wine: the 32-bit one, or the x64 one with the argument x64 or on a host
# that cannot run the 32-bit one (as with ORTELAN_WIN32_IN_VM=1, which sends
# the 32-bit edition's tests to the test VM). It runs on the user's display,
# or without one under Xvfb, saving a screenshot to screenshot.png in the
# edition's build folder.
#   run.sh [win32|x64]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/editions.sh"
name=${1:-win32}
edition "$name"

"$root/tools/deps.sh"
if [ "$name" = win32 ] && in_vm; then
    why="$(vm_reason), so the 32-bit edition runs only in the test VM"
    if [ $# -ne 0 ]; then
        echo "$why: ./tools/run.sh x64 runs the x64 edition." >&2
        exit 1
    fi
    echo "$why; running the x64 edition."
    name=x64
    edition "$name"
fi
"$root/tools/build.sh" --target Ortelan

prefix="$build/wineprefix-run"
export WINEPREFIX="$prefix" WINEARCH="$winearch" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The x64 edition closes cleanly after "限界確保" only so (cmake/wine-exec.sh.in).
[ "$winearch" != win64 ] || export LD_PRELOAD=libgcc_s.so.1

# A desktop of the other kind, left from an earlier run, must end first.
wineserver -k 2>/dev/null || true

if [ -n "${DISPLAY:-}" ]; then
    "$root/tools/wine-prefix.sh" "$prefix" x11 "$winearch"
    wineserver -k 2>/dev/null || true
    exec "$root/tools/wine.sh" "$build/Ortelan.exe"
fi

# No display: a virtual desktop on Xvfb, which draws the window's caption.
"$root/tools/wine-prefix.sh" "$prefix" desktop "$winearch"
wineserver -k 2>/dev/null || true
shot="$build/screenshot.png"
xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    "$3" "$1" &
    sleep 6
    import -window root "$2"
    wineserver -k' sh "$build/Ortelan.exe" "$shot" "$root/tools/wine.sh"
echo "No display: Ortelan ($name) ran under Xvfb; screenshot saved to $shot"
