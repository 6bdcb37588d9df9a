# The test VM's second stage, run by the host's own /bin/sh on the overlay
# of the host's root (tools/vm/init): it mounts what a running system has,
# then the job's writable shares at their host paths, runs the job with its
# output on the console, writes its exit status into the job folder, and
# ends the VM. Argument: the job folder (tools/vm/run.sh), which
# holds the job's script, its environment and the shares.
job=$1
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root USER=root LOGNAME=root
export TERM=dumb

mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
mkdir -p /dev/pts /dev/shm
mount -t devpts -o gid=5,mode=620 devpts /dev/pts
mount -t tmpfs -o mode=1777 shm /dev/shm
mount -t tmpfs -o mode=755 run /run
# Output without carriage returns, as the host's terminal or log expects.
stty -onlcr </dev/console 2>/dev/null
exec </dev/null >/dev/console 2>&1

# The host's Wine servers, X displays and their locks show through the lower
# layer; none of them runs here.
rm -rf /tmp/.wine-* /tmp/.X*-lock /tmp/.X11-unix /tmp/.ICE-unix

# The shares, written by the host: one "tag path" line each, the job folder
# first.
while read -r tag path; do
    mkdir -p "$path"
    mount -t 9p -o trans=virtio,version=9p2000.L,msize=512000,cache=loose "$tag" "$path" ||
        echo "ortelan-vm: cannot mount the share $path"
done <"$job/shares"

# shellcheck disable=SC1091
. "$job/environment"
cd /
/bin/sh "$job/script" </dev/null
echo $? >"$job/status"

# qemu's debug-exit port ends it at once and quietly; the kernel's power-off
# is the fallback. Neither returns.
sync
printf '\000' | dd of=/dev/port bs=1 seek=244 count=1 2>/dev/null
echo o >/proc/sysrq-trigger
while :; do read -r _ </dev/console || :; done
