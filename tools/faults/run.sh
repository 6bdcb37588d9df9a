#!/bin/bash
# Measures which test cases catch which fault: for each fault of faults.txt
# (or of the sample that FAULTS_FILE names, beside it) in turn it writes the
# fault into the product, builds, runs CTest, records the failing cases and
# puts the file back exactly as it was.
#
#   tools/faults/run.sh [TREE] [OUT.tsv] [BUILD]
#
# TREE is a checkout (default: this one) whose BUILD folder (default: build,
# the 32-bit edition; build-x64 for the x64 one) has been configured and
# built once. The run starts with the suite unfaulted and writes the cases
# that fail then into OUT.baseline; those are left out of every fault's run
# (an existing OUT.baseline is used as it is). OUT.tsv (default:
# tools/faults/out.tsv in TREE) gets a row per fault: id, caught
# (yes/no/nobuild), count of failing cases, the failing cases (comma-separated)
# and the seconds the fault took. Only the cases whose test program the fault
# rebuilt are run, and the end-to-end ones when it rebuilt Ortelan.exe: any
# other case runs the very program that passed unfaulted (cases.py);
# FAULTS_ALL_CASES=1 runs every case all the same. A run that is stopped can
# be started again: faults already in OUT.tsv are skipped. OUT.cases beside it
# lists every case the run counted, for compare.py. One to fifteen minutes a
# fault, depending on how busy the machine is.
# The product files must be committed: a stopped run restores from its copy
# and then from git. The restored file gets a new time, so the next build
# compiles it again.
set -u
here=$(cd "$(dirname "$0")" && pwd)
tree=$(cd "${1:-$here/../..}" && pwd)
out=${2:-$tree/tools/faults/out.tsv}
build=$tree/${3:-build}
exclude=OrtelanExecutable
faults="$here/faults.py"

[ -d "$build" ] || { echo "no build folder $build: build the tree first" >&2; exit 2; }
"$faults" check "$tree" >/dev/null || { "$faults" check "$tree"; exit 2; }
product="app cmd framework memory disk perf settings res"
if ! git -C "$tree" diff --quiet HEAD -- $product; then
    echo "the product in $tree has uncommitted changes; commit or stash them first" >&2
    exit 2
fi

work=$(mktemp -d)
current=""
restore() {
    if [ -n "$current" ]; then
        cp "$work/original" "$tree/$current"
        git -C "$tree" checkout -- "$current"
        current=""
    fi
}
finish() {
    restore
    rm -rf "$work"
}
trap finish EXIT
trap 'exit 130' INT TERM HUP

baseline=${out%.tsv}.baseline
if [ ! -f "$baseline" ]; then
    cmake --build "$build" -j2 >"$work/build.log" 2>&1 || { tail -20 "$work/build.log" >&2; exit 1; }
    rm -f "$build/Testing/Temporary/LastTestsFailed.log"
    ctest --test-dir "$build" -j2 --timeout 90 -E "$exclude" >"$work/test.log" 2>&1
    sed 's/^[0-9]*://' "$build/Testing/Temporary/LastTestsFailed.log" 2>/dev/null >"$baseline" || true
    echo "unfaulted: $(wc -l <"$baseline") failing case(s), left out of the run"
fi
# Each name as a whole, its regular-expression characters taken literally.
while read -r case; do
    [ -n "$case" ] && exclude="$exclude|^$(printf '%s' "$case" | sed 's/[][\\.*^$+?(){}|]/\\&/g')\$"
done <"$baseline"

[ -f "$out" ] || printf 'id\tcaught\tfailing\tcases\tseconds\n' >"$out"
ctest --test-dir "$build" -N -E "$exclude" | sed -n 's/^ *Test *#[0-9]*: //p' >"${out%.tsv}.cases"

for id in $("$faults" ids); do
    if cut -f1 "$out" | grep -qx -- "$id"; then
        continue
    fi
    started=$(date +%s)
    file=$("$faults" file "$id")
    cp "$tree/$file" "$work/original"
    current=$file
    "$faults" apply "$tree" "$id"

    failed=""
    "$here/cases.py" "$build" stamp >"$work/stamp"
    if cmake --build "$build" -j2 >"$work/build.log" 2>&1; then
        rm -f "$build/Testing/Temporary/LastTestsFailed.log"
        if [ -n "${FAULTS_ALL_CASES:-}" ]; then
            ctest --test-dir "$build" -j2 --timeout 90 -E "$exclude" >"$work/test.log" 2>&1
        else
            chosen=$("$here/cases.py" "$build" select "$work/stamp" "$exclude")
            [ -z "$chosen" ] || ctest --test-dir "$build" -j2 --timeout 90 -I "0,0,0,$chosen" >"$work/test.log" 2>&1
        fi
        if [ -f "$build/Testing/Temporary/LastTestsFailed.log" ]; then
            failed=$(sed 's/^[0-9]*://' "$build/Testing/Temporary/LastTestsFailed.log" | sort | paste -sd, -)
        fi
        if [ -n "$failed" ]; then
            caught=yes
            count=$(echo "$failed" | tr ',' '\n' | wc -l)
        else
            caught=no
            count=0
        fi
    else
        caught=nobuild
        count=0
        tail -20 "$work/build.log" >&2
    fi
    restore
    printf '%s\t%s\t%s\t%s\t%s\n' "$id" "$caught" "$count" "$failed" "$(($(date +%s) - started))" >>"$out"
    echo "$id: $caught ($count)"
done

# Leave the build matching the restored sources.
cmake --build "$build" -j2 >"$work/build.log" 2>&1 || { tail -20 "$work/build.log" >&2; exit 1; }
