#!/bin/sh
# Installs what building, running and testing Ortelan needs on Debian 12,
# skipping what is already there. Runs apt-get through sudo when not root.
#   deps.sh           building, running and testing
#   deps.sh release   and packing the release (tools/release.sh)
#   deps.sh chart     and charting OrtelanCmd's logs (tools/chart.py)
#   deps.sh vm        and running the 32-bit edition in a virtual machine
#                     (tools/vm/), where this host runs no 32-bit programs
set -eu

packages="cmake make g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
googletest wine wine32:i386 wine64 fonts-wine xvfb xauth imagemagick fonts-ipafont-gothic util-linux e2fsprogs procps cppcheck"
[ "${1:-}" != release ] || packages="$packages git python3"
[ "${1:-}" != chart ] || packages="$packages python3-matplotlib"
# The VM's kernel and busybox are unpacked from Debian's packages, not
# installed (tools/vm/cache.sh).
# qemu's recommendations (its graphical front-ends, firmware for other
# machines) serve no purpose here. The callers install the rest first.
recommends=""
if [ "${1:-}" = vm ]; then
    packages="$packages qemu-system-x86"
    recommends="--no-install-recommends"
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi

missing=""
for package in $packages; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing="$missing $package"
done

if [ -n "$missing" ]; then
    echo "Installing:$missing"
    $sudo apt-get update -q
    # shellcheck disable=SC2086
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q $recommends $missing
fi
