#!/usr/bin/env python3
"""Reads faults.txt beside this file (or the sample that FAULTS_FILE names,
beside it too) and applies its faults to a tree.

  faults.py ids                 every fault's id, one a line
  faults.py check TREE          each find occurs exactly once in its file
  faults.py file ID             the file a fault changes
  faults.py apply TREE ID       writes the fault into TREE (the caller keeps
                                a copy of the file to restore)
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def unescape(text):
    out = []
    i = 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            nxt = text[i + 1]
            out.append({"n": "\n", "t": "\t", "\\": "\\"}.get(nxt, "\\" + nxt))
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def load(path=os.path.join(HERE, os.environ.get("FAULTS_FILE", "faults.txt"))):
    faults = []
    current = {}
    with open(path, encoding="utf-8") as f:
        for raw in f.read().split("\n") + [""]:
            if raw.startswith("#"):
                continue
            if not raw.strip():
                if current:
                    faults.append(current)
                    current = {}
                continue
            key, sep, value = raw.partition(":")
            if not sep or key not in ("id", "file", "find", "replace", "effect"):
                sys.exit("faults.txt: cannot read line: " + raw)
            value = value[1:] if value.startswith(" ") else value
            current[key] = unescape(value) if key in ("find", "replace") else value
    ids = set()
    for fault in faults:
        missing = {"id", "file", "find", "replace", "effect"} - fault.keys()
        if missing:
            sys.exit("fault %s lacks %s" % (fault.get("id", "?"), ", ".join(sorted(missing))))
        if fault["id"] in ids:
            sys.exit("fault id %s twice" % fault["id"])
        ids.add(fault["id"])
    return faults


def read(tree, fault):
    with open(os.path.join(tree, fault["file"]), encoding="utf-8", newline="") as f:
        return f.read()


def main(argv):
    faults = load()
    by_id = {fault["id"]: fault for fault in faults}
    command = argv[1] if len(argv) > 1 else ""
    if command == "ids":
        for fault in faults:
            print(fault["id"])
    elif command == "check":
        bad = 0
        for fault in faults:
            count = read(argv[2], fault).count(fault["find"])
            if count != 1:
                print("%s: find occurs %d times in %s" % (fault["id"], count, fault["file"]))
                bad += 1
        print("%d faults, %d bad" % (len(faults), bad))
        return 1 if bad else 0
    elif command == "file":
        print(by_id[argv[2]]["file"])
    elif command == "apply":
        fault = by_id[argv[3]]
        text = read(argv[2], fault)
        if text.count(fault["find"]) != 1:
            sys.exit("%s: find does not occur exactly once" % fault["id"])
        with open(os.path.join(argv[2], fault["file"]), "w", encoding="utf-8", newline="") as f:
            f.write(text.replace(fault["find"], fault["replace"]))
    else:
        sys.exit(__doc__)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
