#!/bin/sh
# Runs the 32-bit edition's tests on a host that runs no 32-bit x86 programs,
# where tools/test.sh can only build them: every 32-bit Linux program, Wine's
# loader and its services included, runs under qemu's i386 user-mode
# emulation, in a private namespace that alone sends i386 programs to qemu.
# It is slow and not exact: qemu 7.2 now and then crashes a multi-threaded
# guest as a process starts or ends, so the failed tests are run up to twice
# more and a failed build (whose last step runs each test program) once more.
# Builds into build-emulated/ (or $ORTELAN_BUILD_EMULATED).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ORTELAN_BUILD_EMULATED:-$root/build-emulated}

"$root/tools/deps.sh" emulated

# Two builds of the fixes of tools/emulated-i386: the real one for emulated
# programs and an empty one for the host's own, which inherit the preload.
# The loader picks the one of its kind through $LIB.
shim="$build/emulated-i386"
src="$root/tools/emulated-i386"
mkdir -p "$shim/lib/i386-linux-gnu" "$shim/lib/x86_64-linux-gnu"
gcc -m32 -O2 -fPIC -ffreestanding -nostdlib -shared -o "$shim/lib/i386-linux-gnu/libwinefix.so" \
    "$src/memory-map.c" "$src/fault-signals.c" "$src/syscall.S"
printf '' | gcc -x c -fPIC -shared -o "$shim/lib/x86_64-linux-gnu/libwinefix.so" -
export QEMU_SET_ENV="LD_PRELOAD=$shim/\$LIB/libwinefix.so"

# binfmt_misc reads the \x escapes itself.
i386='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
binfmt=":qemu-i386:M::$i386:$mask:/usr/bin/qemu-i386-static:F"

# On one processor: on two, qemu crashed guests running busy threads far
# more often. The server and services start before the first test, since
# cold starts crashed more often too.
taskset -c 0 unshare -Urm --propagation private sh -c '
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
    printf "%s" "$1" >/proc/sys/fs/binfmt_misc/register
    export ORTELAN_EDITIONS=win32 ORTELAN_BUILD="$3"
    "$2/tools/build.sh" || "$2/tools/build.sh"
    "$2/tools/wine-prefix.sh" "$3/wineprefix" null win32
    "$3/wine-exec.sh" cmd /c exit </dev/null >/dev/null 2>&1 || true
    # A rerun of the failed tests alone sets their fixtures up anew, so that
    # what a crashed program left on a test volume is gone.
    status=0
    ctest --test-dir "$3" -j 1 --output-on-failure -E Reproducible ||
        ctest --test-dir "$3" -j 1 --output-on-failure --rerun-failed ||
        ctest --test-dir "$3" -j 1 --output-on-failure --rerun-failed || status=1
    WINEPREFIX="$3/wineprefix" wineserver -k 2>/dev/null || true
    exit $status' sh "$binfmt" "$root" "$build"
