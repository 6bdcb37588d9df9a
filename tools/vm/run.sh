#!/bin/sh
# Runs one job in the test VM: a whole-system qemu VM whose kernel runs
# 32-bit x86 programs, booted from the guest material that tools/vm/cache.sh
# keeps (or from --guest DIR), with the host's own root as its read-only
# base and a fresh scratch disk for what it writes. The job is a shell
# script of the host's, run as root in the guest with its arguments and
# with the host's locale; its output streams here, and its exit status is
# this command's. Every --share DIR is writable in the guest at its own
# path; the rest of the host's files are seen as they were at boot.
#   run.sh [--guest DIR] [--share DIR]... [--timeout SECONDS] SCRIPT [ARG...]
# Unattended: no terminal is needed or used, the VM ends within the time-out
# (ORTELAN_VM_TIMEOUT, default 1800 s) and never outlives this command, and
# its temporary files go with it.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
guest=""
timeout=${ORTELAN_VM_TIMEOUT:-1800}
shares=""
while [ $# -gt 0 ]; do
    case $1 in
    --guest) guest=$2; shift 2 ;;
    --share) shares="$shares $(cd "$2" && pwd)"; shift 2 ;;
    --timeout) timeout=$2; shift 2 ;;
    *) break ;;
    esac
done
[ $# -ge 1 ] || { echo "usage: $0 [--guest DIR] [--share DIR]... [--timeout SECONDS] SCRIPT [ARG...]" >&2; exit 2; }
"$here/../deps.sh" vm
[ -n "$guest" ] || guest=$("$here/cache.sh")

job=$(mktemp -d "${TMPDIR:-/tmp}/ortelan-vm.XXXXXX")
for path in "$job" $shares; do
    case $path in
    *[!A-Za-z0-9/._+-]*)
        echo "The VM shares folders by their paths, which must be plain (letters, digits, / . _ + -): $path" >&2
        rm -rf "$job"
        exit 2
        ;;
    esac
done
vm=""
cleanup() {
    if [ -n "$vm" ]; then
        kill "$vm" 2>/dev/null || true
        wait "$vm" 2>/dev/null || true
    fi
    rm -rf "$job"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Single-quoted for the guest's shell.
quote() {
    printf "'%s'" "$(printf '%s' "$1" | sed "s/'/'\\\\''/g")"
}

cp "$here/stage2.sh" "$job/stage2.sh"
script=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
shift
set -- "$script" "$@"
{
    printf 'exec /bin/sh'
    for argument in "$@"; do
        printf ' %s' "$(quote "$argument")"
    done
    echo
} >"$job/script"
{
    echo "export ORTELAN_VM_GUEST=$(quote "$guest")"
    for variable in LANG LC_ALL LC_CTYPE LC_MESSAGES TZ CI; do
        eval "value=\${$variable-}"
        [ -z "$value" ] || echo "export $variable=$(quote "$value")"
    done
} >"$job/environment"

set -- -virtfs "local,path=$job,mount_tag=job,security_model=none,multidevs=remap"
echo "job $job" >"$job/shares"
number=0
for share in $shares; do
    set -- "$@" -virtfs "local,path=$share,mount_tag=share$number,security_model=none,multidevs=remap"
    echo "share$number $share" >>"$job/shares"
    number=$((number + 1))
done

# The guest's writes go to a sparse disk, made fresh for each job: large
# enough for the disk tests' biggest file, taking only what is written.
truncate -s 24G "$job/scratch.img"
mkfs.ext4 -q -F -O ^has_journal,^metadata_csum -E lazy_itable_init=1 "$job/scratch.img"

accel=${ORTELAN_VM_ACCEL:-tcg,thread=multi}
started=$(date +%s)
# Both the time-out and qemu end when their parent does, so that neither
# outlives this script, however it ends; a signal to this script ends them
# first (the shell runs its traps while it waits for a background job, not
# for one in the foreground).
setpriv --pdeathsig KILL timeout -k 10 "$timeout" setpriv --pdeathsig KILL \
    qemu-system-x86_64 -machine q35 -accel "$accel" -smp 2 -m 4G \
    -nodefaults -display none -no-reboot -nic none -device isa-debug-exit,iobase=0xf4,iosize=4 \
    -chardev stdio,id=console,signal=off -serial chardev:console \
    -kernel "$guest/vmlinuz" -initrd "$guest/initrd.img" \
    -append "console=ttyS0 quiet panic=-1 ortelan.job=$job" \
    -drive "file=$job/scratch.img,if=virtio,format=raw,cache=unsafe" \
    -virtfs "local,path=/,mount_tag=hostroot,security_model=none,readonly=on,multidevs=remap" \
    "$@" </dev/null &
vm=$!
status=0
wait "$vm" || status=$?
vm=""
elapsed=$(($(date +%s) - started))

if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    echo "The VM job did not end within its time-out of $timeout s (ORTELAN_VM_TIMEOUT); the VM was stopped." >&2
    exit 124
fi
if [ ! -f "$job/status" ]; then
    echo "The VM stopped after $elapsed s before its job ended (qemu's status $status); see the lines above." >&2
    exit 125
fi
status=$(cat "$job/status")
echo "The VM job ended with status $status after $elapsed s." >&2
exit "$status"
