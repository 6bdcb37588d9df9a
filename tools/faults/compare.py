#!/usr/bin/env python3
"""Compares two runs of run.sh: BEFORE.tsv and AFTER.tsv (each with its .cases
file beside it, the cases that run counted).

  compare.py BEFORE.tsv AFTER.tsv

Prints the faults, how many each run caught, the faults caught by one run but
not the other, and how many of each run's cases caught no fault.
"""
import os
import sys


def load(path):
    rows = {}
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    for line in lines[1:]:
        fields = line.split("\t")
        if len(fields) < 4:
            continue
        cases = [case for case in fields[3].split(",") if case]
        rows[fields[0]] = (fields[1], cases)
    all_cases = []
    side = os.path.splitext(path)[0] + ".cases"
    if os.path.exists(side):
        with open(side, encoding="utf-8") as f:
            all_cases = [line.strip() for line in f if line.strip()]
    return rows, all_cases


def caught(rows):
    return {fault for fault, (result, _) in rows.items() if result == "yes"}


def idle_cases(rows, all_cases):
    catching = {case for _, cases in rows.values() for case in cases}
    return [case for case in all_cases if case not in catching]


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    before, before_cases = load(argv[1])
    after, after_cases = load(argv[2])
    faults = sorted(set(before) | set(after))
    print("faults: %d (before ran %d, after ran %d)" % (len(faults), len(before), len(after)))
    print("caught before: %d" % len(caught(before)))
    print("caught after: %d" % len(caught(after)))
    for title, lost in (("caught before but not after", caught(before) - caught(after)),
                        ("caught after but not before", caught(after) - caught(before))):
        print("%s: %d" % (title, len(lost)))
        for fault in sorted(lost):
            print("  " + fault)
    for name, rows, cases in (("before", before, before_cases), ("after", after, after_cases)):
        if not cases:
            print("cases %s: no .cases file" % name)
            continue
        idle = idle_cases(rows, cases)
        print("cases %s: %d, %d caught no fault" % (name, len(cases), len(idle)))
        for case in idle:
            print("  " + case)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
