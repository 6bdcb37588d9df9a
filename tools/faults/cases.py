#!/usr/bin/env python3
"""The test cases of a build and the programs they run, for run.sh.

  cases.py BUILD stamp            each test program's path and time, a line each
  cases.py BUILD select STAMP     the numbers of the cases that can see a fault
                                  built since STAMP was taken, comma-separated

A case can see a fault only when its test program was built again with it, or
when its program drives the built Ortelan.exe (the end-to-end tests) and that
was built again. Every other case runs the very program that passed before
the fault, so it is left out; CTest adds the fixtures the chosen cases need.
"""
import json
import os
import subprocess
import sys

# The test programs that start the real Ortelan.exe.
PROGRAM_DRIVERS = {"e2e_tests.exe"}


def tests(build):
    listing = subprocess.run(["ctest", "--test-dir", build, "--show-only=json-v1"],
                             check=True, capture_output=True, text=True).stdout
    found = []
    for number, test in enumerate(json.loads(listing)["tests"], start=1):
        command = test.get("command") or []
        # Windows programs run through the build's Wine runner.
        program = command[1] if len(command) > 1 and command[0].endswith("wine-exec.sh") else None
        found.append((number, program))
    return found


def stamp(build):
    programs = {program for _, program in tests(build) if program}
    programs.add(os.path.join(build, "Ortelan.exe"))
    for program in sorted(programs):
        print("%s\t%s" % (program, os.stat(program).st_mtime_ns if os.path.exists(program) else 0))


def select(build, stamp_path):
    before = {}
    with open(stamp_path) as f:
        for line in f:
            program, _, time = line.rstrip("\n").partition("\t")
            before[program] = time

    def rebuilt(program):
        time = str(os.stat(program).st_mtime_ns) if os.path.exists(program) else "0"
        return before.get(program) != time

    program_rebuilt = rebuilt(os.path.join(build, "Ortelan.exe"))
    chosen = [number for number, program in tests(build)
              if program and (rebuilt(program)
                              or (program_rebuilt and os.path.basename(program) in PROGRAM_DRIVERS))]
    print(",".join(str(number) for number in chosen))


def main(argv):
    if len(argv) >= 3 and argv[2] == "stamp":
        stamp(argv[1])
    elif len(argv) >= 4 and argv[2] == "select":
        select(argv[1], argv[3])
    else:
        sys.exit(__doc__)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
