#!/bin/sh
# Remakes the README's pictures, docs/ortelan-*.png, of the 32-bit edition:
# Ortelan runs under Xvfb in a Wine virtual desktop, the screenshot driver
# (tools/screenshots/) takes it from state to state, and each picture is cut
# to the window it shows (tools/screenshots/take.sh). Where this host runs
# no 32-bit programs, or with ORTELAN_WIN32_IN_VM=1, that happens in the
# test VM (tools/vm/).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/editions.sh"

"$root/tools/deps.sh"
edition win32
ORTELAN_EDITIONS=win32 "$root/tools/build.sh" --target Ortelan screenshot_driver

shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
if in_vm; then
    echo "Taking the pictures in the test VM ($(vm_reason))."
    "$root/tools/vm/run.sh" --share "$shots" "$root/tools/screenshots/take.sh" "$build" "$shots" || true
else
    "$root/tools/screenshots/take.sh" "$build" "$shots" || true
fi

if [ ! -f "$shots/all.done" ]; then
    echo "The driver did not reach every state; docs/ is unchanged." >&2
    exit 1
fi
cp "$shots"/ortelan-*.png "$root/docs/"
echo "Pictures remade:" "$root"/docs/ortelan-*.png
