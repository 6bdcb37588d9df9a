# The two editions of Ortelan, for the scripts beside this one, which source
# this file after setting root to the source tree.
#   edition NAME
# sets, for NAME win32 or x64: toolchain, the CMake toolchain file (in the
# source tree); build, the build folder (build/ or $ORTELAN_BUILD, and
# build-x64/ or $ORTELAN_BUILD_X64); winearch, the kind of Wine prefix that
# runs the edition's programs.
#   runs_here
# fails only when this host refuses to start the edition's Wine loader (the
# shell's 126): Wine's 32-bit loader is itself a 32-bit x86 program, which a
# kernel with 32-bit emulation off cannot run. A Wine that is missing or
# broken in any other way still counts as running here, so that its tests
# fail rather than go unrun.
#   in_vm
# succeeds when the edition's tests under Wine run in the test VM
# (tools/vm/): the 32-bit edition's where this host refuses to start Wine's
# 32-bit loader, or anywhere when ORTELAN_WIN32_IN_VM=1 asks for it (for
# developing and measuring the VM on a host that runs 32-bit programs);
#   vm_reason
# prints which of the two it is.
editions="win32 x64"

edition() {
    case $1 in
    win32)
        toolchain=cmake/toolchain-i686-mingw32.cmake
        build=${ORTELAN_BUILD:-$root/build}
        winearch=win32
        ;;
    x64)
        toolchain=cmake/toolchain-x86_64-mingw32.cmake
        build=${ORTELAN_BUILD_X64:-$root/build-x64}
        winearch=win64
        ;;
    *)
        echo "unknown edition $1: win32 or x64" >&2
        exit 2
        ;;
    esac
}

runs_here() {
    WINEARCH=$winearch "$root/tools/wine.sh" --version >/dev/null 2>&1 || [ $? -ne 126 ]
}

in_vm() {
    [ "$winearch" = win32 ] && { [ "${ORTELAN_WIN32_IN_VM:-}" = 1 ] || ! runs_here; }
}

# Why in_vm holds, for the commands' messages.
vm_reason() {
    if runs_here; then
        echo "ORTELAN_WIN32_IN_VM=1 is set"
    else
        echo "this host runs no 32-bit x86 programs"
    fi
}
