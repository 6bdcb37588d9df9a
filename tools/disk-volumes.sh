#!/bin/sh
# Small volumes for the disk pressure tests, which cannot mount anything
# themselves from inside Wine.
#   disk-volumes.sh setup   ROOT PREFIX
#   disk-volumes.sh cleanup ROOT PREFIX
# ROOT/full      16 MiB tmpfs: a request above its free space fails for real
# ROOT/readonly   1 MiB read-only tmpfs: "access denied", even for root
# ROOT/panel    128 MiB tmpfs, also drive O: of the Wine prefix PREFIX, since
#                the panel measures the free space of a folder's drive root
#                (tests/support/Files.h knows the letter)
# ROOT/large      6 GiB ext4 in a sparse image in the temporary folder (not
#                ROOT, which the test VM reaches over 9p), loop-mounted: more
#                than 4 GiB free, so that sizes must be counted in 64 bits. A
#                file is sized there by allocation, which writes no data
#                blocks: the image takes about 3 MB of disk.
# The tests skip themselves when a volume is not there (mounting needs root).
# Set-up never fails: it clears what an interrupted run left and mounts what
# it may.
set -u
action=$1 root=$2 prefix=$3
link="$prefix/dosdevices/o:"
image="${TMPDIR:-/tmp}/ortelan-large-$(printf %s "$root" | cksum | cut -d' ' -f1).img"

unmount_all() {
    for volume in full readonly panel large; do
        while mountpoint -q "$root/$volume" 2>/dev/null; do
            umount "$root/$volume" 2>/dev/null || umount -l "$root/$volume" || break
        done
    done
    rm -f "$link" "$image"
}

mount_volume() {  # name size [ro]
    mkdir -p "$root/$1"
    if mount -t tmpfs -o "size=$2,mode=0777" tmpfs "$root/$1" 2>/dev/null; then
        if [ "${3:-}" = ro ] && ! mount -o remount,ro "$root/$1"; then
            umount "$root/$1"
            echo "cannot make $root/$1 read-only: the tests that need it will be skipped"
            return
        fi
        echo "mounted $2 tmpfs at $root/$1${3:+ (read-only)}"
    else
        echo "cannot mount a tmpfs at $root/$1: the tests that need it will be skipped"
    fi
}

mount_image() {  # name size
    mkdir -p "$root/$1"
    rm -f "$image"
    if truncate -s "$2" "$image" && mkfs.ext4 -q -F -m 0 -O ^has_journal -N 64 "$image" &&
        mount -o loop "$image" "$root/$1" 2>/dev/null && chmod 0777 "$root/$1"; then
        echo "mounted $2 ext4 at $root/$1"
    else
        rm -f "$image"
        echo "cannot mount an ext4 image at $root/$1: the tests that need it will be skipped"
    fi
}

case $action in
setup)
    unmount_all
    mount_volume full 16m
    mount_volume readonly 1m ro
    mount_volume panel 128m
    mount_image large 6g
    if mountpoint -q "$root/panel"; then
        mkdir -p "$prefix/dosdevices"
        ln -s "$root/panel" "$link" && echo "drive O: is $root/panel"
    fi
    ;;
cleanup)
    unmount_all
    ;;
*)
    echo "usage: $0 setup|cleanup ROOT PREFIX" >&2
    exit 2
    ;;
esac
exit 0
