#!/bin/sh
# Makes the test VM's cached Wine prefix (tools/vm/cache.sh), in the VM:
# a 32-bit prefix for the tests, with the null display driver. Its server
# ends (its services with it) before the VM does, so that its registry is written out.
#   make-prefix.sh PREFIX
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
started=$(date +%s)
"$root/tools/wine-prefix.sh" "$1" null win32
WINEPREFIX="$1" wineserver -w 2>/dev/null || true
echo "Wine prefix made in $(($(date +%s) - started)) s."
