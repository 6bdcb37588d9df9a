#!/bin/sh
# Remakes the README's pictures, docs/ortelan-*.png: Ortelan runs under Xvfb
# in a Wine virtual desktop, the screenshot driver (tools/screenshots/)
# takes it from state to state, and each picture is cut to the window it
# shows.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ORTELAN_BUILD:-$root/build}

"$root/tools/deps.sh"
ORTELAN_EDITIONS=win32 "$root/tools/build.sh" --target Ortelan screenshot_driver

prefix="$build/wineprefix-shots"
export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineserver -k 2>/dev/null || true
"$root/tools/wine-prefix.sh" "$prefix" desktop
wineserver -k 2>/dev/null || true

shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
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

if [ ! -f "$shots/all.done" ]; then
    echo "The driver did not reach every state; docs/ is unchanged." >&2
    exit 1
fi
cp "$shots"/ortelan-*.png "$root/docs/"
echo "Pictures remade:" "$root"/docs/ortelan-*.png
