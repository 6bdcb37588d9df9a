#!/bin/sh
# Prints the folder of the test VM's guest material, making it first when
# this host has none for the present recipe:
#   vmlinuz     Debian's kernel, from its package, unpacked, not installed
#   initrd.img  busybox (from busybox-static, unpacked the same way), the
#               kernel modules the VM needs, and tools/vm/init
#   prefix/     a 32-bit Wine prefix for the tests (tools/wine-prefix.sh,
#               null display driver), made in the VM itself
# The material lives outside the clone, in
# ${ORTELAN_VM_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/ortelan-vm}/<key>, the key
# being a hash of everything it is made from: these scripts, the package
# versions, Wine's. It is made in a temporary folder beside and renamed into
# place only when complete, so that a half-made one is never used; another
# clone on this host finds it there. Keys unused for two weeks are removed.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
cache=${ORTELAN_VM_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/ortelan-vm}

# The modules that the VM's init loads (with what they need, in load order);
# loop for the disk tests' large volume, an ext4 image.
modules="virtio_pci virtio_blk 9pnet_virtio 9p overlay crc32c_generic ext4 loop"

candidate() {
    apt-cache policy "$1" 2>/dev/null | awk '/Candidate:/ { print $2 }'
}
kernel=$(apt-cache depends linux-image-amd64 2>/dev/null | awk '/Depends: linux-image-[0-9]/ { print $2; exit }')
kernel_version=$(candidate "$kernel")
busybox_version=$(candidate busybox-static)
wine_version=$(dpkg-query -W -f='${Version}' wine32:i386 2>/dev/null || true)
if [ -z "$kernel" ] || [ -z "$kernel_version" ] || [ -z "$busybox_version" ] || [ -z "$wine_version" ]; then
    echo "The test VM needs apt's package lists (linux-image-amd64, busybox-static) and wine32:i386 installed: run tools/deps.sh vm." >&2
    exit 1
fi
key=$({
    echo "$kernel $kernel_version busybox-static $busybox_version wine32 $wine_version $modules"
    cat "$here/cache.sh" "$here/init" "$here/make-prefix.sh" "$root/tools/wine-prefix.sh" "$root/tools/wine.sh"
} | sha256sum | cut -c1-16)
entry="$cache/$key"

if [ -d "$entry" ]; then
    touch "$entry"
    echo "$entry"
    exit 0
fi

mkdir -p "$cache"
new=$(mktemp -d "$cache/.new-$key.XXXXXX")
trap 'rm -rf "$new"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
started=$(date +%s)
echo "Making the test VM's guest material in $entry ..." >&2

# The packages, fetched as files only.
work="$new/work"
mkdir -p "$work/initrd/bin" "$work/initrd/lib/modules"
sandbox=""
[ "$(id -u)" -ne 0 ] || sandbox="-o APT::Sandbox::User=root"
fetch() {
    # shellcheck disable=SC2086
    (cd "$work" && apt-get download -q $sandbox "$@" >/dev/null)
}
if ! fetch "$kernel=$kernel_version" "busybox-static=$busybox_version"; then
    echo "Fetching failed; updating apt's package lists and trying again." >&2
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -q >/dev/null
    fetch "$kernel=$kernel_version" "busybox-static=$busybox_version"
fi
dpkg-deb -x "$work/${kernel}_"*.deb "$work/kernel"
dpkg-deb -x "$work/busybox-static_"*.deb "$work/busybox"
busybox="$work/busybox/bin/busybox"
release=$(ls "$work/kernel/lib/modules")
cp "$work/kernel/boot/vmlinuz-$release" "$new/vmlinuz"

# The modules and what they depend on, dependencies first.
"$busybox" depmod -b "$work/kernel" "$release"
tree="$work/kernel/lib/modules/$release"
ordered=""
add_module() {  # path relative to the release folder
    case " $ordered " in *" $1 "*) return ;; esac
    for dependency in $(awk -v m="$1:" '$1 == m { $1 = ""; print }' "$tree/modules.dep"); do
        add_module "$dependency"
    done
    ordered="$ordered $1"
}
for module in $modules; do
    path=$(awk -F: -v m="/$module.ko" 'substr($1, length($1) - length(m) + 1) == m { print $1; exit }' "$tree/modules.dep")
    [ -n "$path" ] || { echo "The kernel $release has no module $module." >&2; exit 1; }
    add_module "$path"
done
for path in $ordered; do
    mkdir -p "$work/initrd/lib/modules/$(dirname "$path")"
    cp "$tree/$path" "$work/initrd/lib/modules/$path"
done
echo "$ordered" | tr ' ' '\n' | sed '/^$/d' >"$work/initrd/modules"
cp "$busybox" "$work/initrd/bin/busybox"
cp "$here/init" "$work/initrd/init"
chmod 755 "$work/initrd/init"
(cd "$work/initrd" && find . | "$busybox" cpio -o -H newc 2>/dev/null) | gzip -9 >"$new/initrd.img"
rm -rf "$work"
echo "Kernel $release and initramfs ready after $(($(date +%s) - started)) s; making the Wine prefix in the VM ..." >&2

# The prefix is made by the guest's Wine, as the tests will use it.
"$here/run.sh" --guest "$new" --share "$new" --timeout "${ORTELAN_VM_PREFIX_TIMEOUT:-1200}" \
    "$here/make-prefix.sh" "$new/prefix" >&2

# Complete: in place, unless another run put one there meanwhile.
mv -T "$new" "$entry" 2>/dev/null || rm -rf "$new"
trap - EXIT
echo "The test VM's guest material is ready after $(($(date +%s) - started)) s." >&2

# Keys that no run has used for two weeks are another recipe's; a folder
# still being made a day later was left by a run that was killed.
find "$cache" -mindepth 1 -maxdepth 1 -type d -name '[0-9a-f]*' ! -name "$key" -mtime +14 -exec rm -rf {} + 2>/dev/null || true
find "$cache" -mindepth 1 -maxdepth 1 -type d -name '.new-*' -mtime +1 -exec rm -rf {} + 2>/dev/null || true
echo "$entry"
