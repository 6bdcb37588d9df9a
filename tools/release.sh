#!/bin/sh
# Builds the release of the checked-out commit and packs it for Windows users:
#   dist/Ortelan-<version>-win32.zip   the 32-bit edition: Ortelan.exe,
#                                      OrtelanCmd.exe, ReadMe.txt, SHA256SUMS
#   dist/Ortelan-<version>-x64.zip     the x64 edition, the same files
#   dist/SHA256SUMS                    the archives' SHA-256
# The same commit gives the same bytes in any folder and at any time: the
# build is reproducible (cmake/Reproducible.cmake), and every file in the
# archive carries one time taken from the history.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/editions.sh"
dist="$root/dist"

"$root/tools/deps.sh" release

version=$(sed -n 's/^project(Ortelan VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
# The time of the last commit that changed anything but the README and its
# pictures: recording the release's checksums in the README must not change
# the release.
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct -- . ':(exclude)README.md' ':(exclude)docs/*.png')}
if [ -n "$(git -C "$root" status --porcelain)" ]; then
    echo "Note: changes not yet committed are left out of the release." >&2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The commit's own files, whatever the working tree holds besides.
mkdir "$work/source"
git -C "$root" archive HEAD | tar -x -C "$work/source"

# release_edition NAME JAPANESE ENGLISH
# Builds Ortelan.exe and OrtelanCmd.exe of the edition NAME
# (tools/editions.sh) and writes
# dist/Ortelan-<version>-NAME.zip, whose read-me calls the edition by its
# JAPANESE and ENGLISH names.
release_edition() {
    name=$1 japanese=$2 english=$3
    edition "$name"
    build="$work/build-$name" files="$work/files-$name" check="$work/check-$name"
    archive="$dist/Ortelan-$version-$name.zip"

    "$root/tools/build-product.sh" "$work/source" "$build" "$toolchain"
    mkdir "$files"
    cp "$build/Ortelan.exe" "$build/OrtelanCmd.exe" "$files/"
    # Notepad takes the text for UTF-8 by its byte-order mark; Windows ends
    # lines with CR LF.
    {
        printf '\357\273\277'
        sed -e "s/@VERSION@/$version/g" -e "s/@EDITION_JA@/$japanese/g" -e "s/@EDITION_EN@/$english/g" \
            -e 's/$/\r/' "$work/source/docs/windows-readme.txt"
    } >"$files/ReadMe.txt"
    (cd "$files" && sha256sum Ortelan.exe OrtelanCmd.exe ReadMe.txt >SHA256SUMS)
    python3 "$root/tools/pack-zip.py" "$epoch" "$archive" "$files" Ortelan.exe OrtelanCmd.exe ReadMe.txt SHA256SUMS

    # What a user unpacks: the checksums hold, and the programs are the GUI
    # and the console program of its edition that need nothing beyond Windows.
    python3 -m zipfile -e "$archive" "$check"
    (cd "$check" && sha256sum --quiet -c SHA256SUMS)
    "$root/tools/check-pe.sh" "$check/Ortelan.exe" "$name" >/dev/null
    "$root/tools/check-pe.sh" "$check/OrtelanCmd.exe" "$name" console >/dev/null

    describe "$archive" "  "
    describe "$check/Ortelan.exe" "    "
    describe "$check/OrtelanCmd.exe" "    "
    describe "$check/ReadMe.txt" "    "
}

# describe FILE INDENT: one line of the summary.
describe() {
    echo "$2$(basename "$1")  $(stat -c %s "$1") bytes  SHA-256 $(sha256sum <"$1" | cut -d' ' -f1)"
}

rm -rf "$dist"
mkdir -p "$dist"
echo "Ortelan $version, commit $(git -C "$root" rev-parse --short HEAD), in $dist:"
release_edition win32 "32 ビット版" "32-bit edition"
release_edition x64 "x64 版" "x64 edition"

cd "$dist"
sha256sum Ortelan-"$version"-*.zip >SHA256SUMS
