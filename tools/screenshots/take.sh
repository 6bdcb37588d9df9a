#!/bin/sh
# Takes the pictures for tools/screenshots.sh into the folder SHOTS: the
# 32-bit Ortelan of the build folder BUILD runs under Xvfb in a Wine virtual
# desktop with a prefix of its own, and the screenshot driver takes it from
# state to state. Run on the host, or in the test VM (tools/vm/), where the
# prefix starts as a copy of the VM's cached one.
#   take.sh BUILD SHOTS
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$1
shots=$2

prefix="$build/wineprefix-shots"
export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ -n "${ORTELAN_VM_GUEST:-}" ]; then
    "$root/tools/vm/prefix.sh" "$prefix" desktop
else
    wineserver -k 2>/dev/null || true
    "$root/tools/wine-prefix.sh" "$prefix" desktop
fi
wineserver -k 2>/dev/null || true
export ORTELAN_EXE="$build/Ortelan.exe" ORTELAN_SHOTS="$shots"

# Wine's server and services outlive the driver; started first and detached,
# they do not hold the driver's output pipe open.
xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    wineserver -p </dev/null >/dev/null 2>&1
    wine wineboot </dev/null >/dev/null 2>&1
    wine "$1" | while read -r what name left top width height; do
        case $what in
        shot)
            import -window root -crop "${width}x${height}+${left}+${top}" +repage -strip "$2/ortelan-$name.png"
            touch "$2/$name.done"
            ;;
        end)
            touch "$2/all.done"
            ;;
        esac
    done
    wineserver -k' sh "$build/screenshot_driver.exe" "$shots"
