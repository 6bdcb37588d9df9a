#!/bin/sh
# Builds the programs of the release alone, Ortelan.exe and its console
# companion OrtelanCmd.exe, without tests or benchmarks, in a fresh build
# folder.
#   build-product.sh SOURCE BUILD [TOOLCHAIN]
# TOOLCHAIN is a CMake toolchain file, relative to SOURCE; the 32-bit one by
# default.
set -eu
source=$(cd "$1" && pwd)
build=$2
toolchain=${3:-cmake/toolchain-i686-mingw32.cmake}

rm -rf "$build"
cmake -S "$source" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$source/$toolchain" \
    -DORTELAN_TESTS=OFF -DORTELAN_BENCH=OFF >/dev/null
cmake --build "$build" --target Ortelan OrtelanCmd -j "$(nproc)" >/dev/null
