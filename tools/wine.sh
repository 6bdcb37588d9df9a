#!/bin/sh
# Runs Wine with the loader that fits the prefix (WINEARCH). Debian's `wine`
# starts the 32-bit loader whenever it is installed, which hands 64-bit
# programs on to the 64-bit one; a host that runs no 32-bit x86 code refuses
# the 32-bit loader itself. A 64-bit prefix needs only the 64-bit loader, so
# it gets that one directly, as Debian's `wine` does when wine32 is missing.
if [ "${WINEARCH:-}" = win64 ]; then
    export WINELOADER="${WINELOADER:-/usr/lib/wine/wine64}"
    exec /usr/lib/wine/wine64 "$@"
fi
exec wine "$@"
