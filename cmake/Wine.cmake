# Programs of this build run under Wine, in a prefix of the build's own, so
# that tests never touch the user's Wine set-up.
set(ORTELAN_WINE_PREFIX ${PROJECT_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix that tests run in")
# Where the disk tests' small volumes are mounted (tools/disk-volumes.sh).
set(ORTELAN_DISK_VOLUMES ${PROJECT_BINARY_DIR}/disk-volumes)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-exec.sh.in ${PROJECT_BINARY_DIR}/wine-exec.sh @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_BINARY_DIR}/wine-exec.sh)
