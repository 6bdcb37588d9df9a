#!/bin/sh
# Builds the programs twice, the second time from a copy of the sources in
# another folder, and fails unless both builds give the same bytes: Ortelan.exe
# and OrtelanCmd.exe.
#   check-reproducible.sh SOURCE WORK [TOOLCHAIN]
# WORK is emptied first and removed when the builds match.
set -eu
tools=$(cd "$(dirname "$0")" && pwd)
source=$(cd "$1" && pwd)
work=$2
toolchain=${3:-cmake/toolchain-i686-mingw32.cmake}

rm -rf "$work"
mkdir -p "$work/elsewhere/sources"
# The copy holds what a checkout holds: no build folders, no release.
tar -C "$source" --exclude=./.git --exclude='./build*' --exclude=./dist -c . | tar -x -C "$work/elsewhere/sources"

first="$work/first"
second="$work/elsewhere/build/second"
"$tools/build-product.sh" "$source" "$first" "$toolchain"
"$tools/build-product.sh" "$work/elsewhere/sources" "$second" "$toolchain"

for program in Ortelan.exe OrtelanCmd.exe; do
    cmp "$first/$program" "$second/$program"
    echo "Both builds give $program $(sha256sum <"$first/$program" | cut -d' ' -f1)"
done
rm -rf "$work"
