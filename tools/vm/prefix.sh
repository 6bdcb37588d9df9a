#!/bin/sh
# Run in the test VM: puts the cached Wine prefix (tools/vm/cache.sh) at
# PREFIX, copy-on-write: the prefix folder of the read-only cache, seen
# through the VM's overlay, whose writes go to the scratch disk. Each job
# starts from the same clean prefix at no cost, and the cache is never
# changed. A MODE other than null is set as tools/wine-prefix.sh sets it.
#   prefix.sh PREFIX [null|desktop]
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
mkdir -p "$1"
mount --bind "$ORTELAN_VM_GUEST/prefix" "$1"
# Wine uses only a prefix owned by its user, root here.
chown 0:0 "$1"
if [ "${2:-null}" != null ]; then
    "$root/tools/wine-prefix.sh" "$1" "$2" win32
fi
