#!/usr/bin/env python3
"""The test cases of a build and the programs they run, for run.sh.

  cases.py BUILD stamp            each test program's path and time, a line each
  cases.py BUILD select STAMP EXCLUDE
                                  the numbers of the cases that can see a fault
                                  built since STAMP was taken, comma-separated,
                                  less those whose names match EXCLUDE (a
                                  regular expression as CTest's -E takes it)

A case can see a fault only when its test program was built again with it, or
when its program drives the built Ortelan.exe or OrtelanCmd.exe (the
end-to-end tests) and one of them was built again. Every other case runs the very program that passed before
the fault, so it is left out; CTest adds the fixtures the chosen cases need.
"""
import json
import os
import re
import subprocess
import sys

# The test programs that start the real Ortelan.exe and OrtelanCmd.exe.
PROGRAM_DRIVERS = {"e2e_tests.exe"}
DRIVEN = ("Ortelan.exe", "OrtelanCmd.exe")


def ctest(build, *options):
    return subprocess.run(["ctest", "--test-dir", build] + list(options),
                          check=True, capture_output=True, text=True).stdout


def tests(build):
    # The JSON listing holds each case's command but not the number that -I
    # selects by; the plain listing has the numbers.
    numbers = {}
    for line in ctest(build, "-N").splitlines():
        match = re.match(r"\s*Test\s+#(\d+): (\S+)", line)
        if match:
            numbers[match.group(2)] = int(match.group(1))
    found = []
    for test in json.loads(ctest(build, "--show-only=json-v1"))["tests"]:
        command = test.get("command") or []
        # Windows programs run through the build's Wine runner.
        program = command[1] if len(command) > 1 and command[0].endswith("wine-exec.sh") else None
        found.append((numbers[test["name"]], test["name"], program))
    return found


def stamp(build):
    programs = {program for _, _, program in tests(build) if program}
    programs.update(os.path.join(build, name) for name in DRIVEN)
    for program in sorted(programs):
        print("%s\t%s" % (program, os.stat(program).st_mtime_ns if os.path.exists(program) else 0))


def select(build, stamp_path, exclude):
    before = {}
    with open(stamp_path) as f:
        for line in f:
            program, _, time = line.rstrip("\n").partition("\t")
            before[program] = time

    def rebuilt(program):
        time = str(os.stat(program).st_mtime_ns) if os.path.exists(program) else "0"
        return before.get(program) != time

    program_rebuilt = any(rebuilt(os.path.join(build, name)) for name in DRIVEN)
    # CTest numbers the cases anew when -E leaves some out, so the cases
    # left out are dropped here and -I is given alone.
    chosen = [number for number, name, program in tests(build)
              if program and not re.search(exclude, name)
              and (rebuilt(program) or (program_rebuilt and os.path.basename(program) in PROGRAM_DRIVERS))]
    print(",".join(str(number) for number in sorted(chosen)))


def main(argv):
    if len(argv) >= 3 and argv[2] == "stamp":
        stamp(argv[1])
    elif len(argv) >= 5 and argv[2] == "select":
        select(argv[1], argv[3], argv[4])
    else:
        sys.exit(__doc__)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
