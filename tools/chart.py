#!/usr/bin/python3
"""Draws the CSV log of an OrtelanCmd run (/log:FILE) as one PNG picture:
the commit charge against its commit limit, the machine's CPU usage and,
when the run made a file, the free space of the file's volume, over the
seconds of the run, each change of step marked by a line named after the
step it begins.

    tools/chart.py LOG.csv OUT.png [--title TEXT]

It needs Debian's matplotlib (python3-matplotlib) and installs it when it
is missing, through `tools/deps.sh chart` (apt-get, through sudo when not
root). It runs under Debian's own /usr/bin/python3, where that package
installs; another Python finds matplotlib only if it has its own.
"""

import argparse
import csv
import importlib
import os
import subprocess
import sys

MEBIBYTE = 1048576
COLUMNS = ("seconds", "commit_mb", "commit_limit_mb", "cpu_percent", "free_bytes", "state")


def number(text):
    """A cell's figure, or None where the cell is empty (the CPU usage in
    the first second, the file's columns of a run without /disk)."""
    text = text.strip()
    return float(text) if text else None


def read_log(path):
    with open(path, newline="", encoding="utf-8") as file:
        rows = list(csv.DictReader(file))
    if not rows:
        raise ValueError(f"{path}: no rows under the header")
    missing = [name for name in COLUMNS if name not in rows[0]]
    if missing:
        raise ValueError(f"{path}: not an OrtelanCmd log (no column {', '.join(missing)})")
    return rows


def steps(rows):
    """(seconds, state) at each row whose state differs from the row before:
    the log sees a step at the first row written after it began."""
    changes = []
    for row in rows:
        if not changes or row["state"] != changes[-1][1]:
            changes.append((float(row["seconds"]), row["state"]))
    return changes


def gaps(values):
    """The figures with empty cells as NaN, which matplotlib leaves blank."""
    return [float("nan") if value is None else value for value in values]


def chart(rows, title, out):
    import matplotlib

    matplotlib.use("Agg")
    import matplotlib.pyplot as plt

    seconds = [float(row["seconds"]) for row in rows]
    # A margin after the last row, so that the release stays in sight; the
    # last row's figures stand in it, as every row's stand until the next.
    end = seconds[-1] + max((seconds[-1] - seconds[0]) * 0.04, 0.5)
    rows = rows + [rows[-1]]
    seconds.append(end)
    commit = [number(row["commit_mb"]) for row in rows]
    limit = [number(row["commit_limit_mb"]) for row in rows]
    cpu = [number(row["cpu_percent"]) for row in rows]
    free = [number(row["free_bytes"]) for row in rows]
    size = [number(row["file_bytes"]) for row in rows]
    has_disk = any(value is not None for value in free)

    panels = 3 if has_disk else 2
    figure, axes = plt.subplots(panels, 1, sharex=True, figsize=(10, 2.5 * panels + 1.3), layout="constrained")
    figure.suptitle(title, fontsize=12)

    # Every figure is a sample that stands until the next row: drawn as
    # steps, so that a step's line meets the figures' change.
    memory = axes[0]
    first = next(value for value in commit if value is not None)
    peak = max(value for value in commit if value is not None)
    highest_limit = max(value for value in limit if value is not None)
    memory.plot(seconds, gaps(commit), color="tab:blue", linewidth=2, drawstyle="steps-post", label="commit charge")
    memory.plot(seconds, gaps(limit), color="tab:blue", linestyle="--", linewidth=1.2, drawstyle="steps-post",
                label=f"commit limit ({highest_limit:,.0f} MB)")
    memory.fill_between(seconds, gaps(commit), color="tab:blue", alpha=0.12, step="post")
    # Against a limit many times larger, a rise of a gigabyte is a thin
    # step: its figures are written beside it.
    at_peak = seconds[commit.index(peak)]
    late = at_peak > (seconds[0] + end) / 2
    memory.annotate(f"{peak:,.0f} MB, {peak - first:+,.0f} MB from the start", xy=(at_peak, peak),
                    xytext=(-6 if late else 6, 6), textcoords="offset points", ha="right" if late else "left",
                    fontsize=9, color="tab:blue")
    memory.set_ylabel("MB")
    memory.set_ylim(0, max(peak, highest_limit) * 1.12)
    memory.set_title("Commit charge against the commit limit", loc="left", fontsize=10)
    memory.legend(loc="center right", fontsize=9)

    processor = axes[1]
    processor.plot(seconds, gaps(cpu), color="tab:red", linewidth=2, drawstyle="steps-post")
    processor.set_ylabel("%")
    processor.set_ylim(0, 105)
    processor.set_title("CPU usage of the machine (not yet measured in the first second)", loc="left", fontsize=10)

    if has_disk:
        volume = axes[2]
        free_mb = [None if value is None else value / MEBIBYTE for value in free]
        size_mb = [None if value is None else value / MEBIBYTE for value in size]
        volume.plot(seconds, gaps(free_mb), color="tab:green", linewidth=2, drawstyle="steps-post",
                    label="free space")
        volume.fill_between(seconds, gaps(free_mb), color="tab:green", alpha=0.12, step="post")
        volume.plot(seconds, gaps(size_mb), color="tab:olive", linestyle="--", linewidth=1.2, drawstyle="steps-post",
                    label="OrtelanCmd's file")
        volume.set_ylabel("MB")
        volume.set_ylim(0, max(value for value in free_mb + size_mb if value is not None) * 1.12)
        volume.set_title("Free space of the file's volume", loc="left", fontsize=10)
        volume.legend(loc="center right", fontsize=9)

    for axis in axes:
        axis.grid(True, color="0.88")
        axis.set_xlim(seconds[0], end)
    axes[-1].set_xlabel("seconds since the start")

    # Each step's line crosses every panel; its name stands at the top,
    # turned, so that steps a moment apart stay readable.
    for at, state in steps(rows):
        for axis in axes:
            axis.axvline(at, color="0.35", linestyle=":", linewidth=1)
        axes[0].annotate(state, xy=(at, 1), xycoords=("data", "axes fraction"), xytext=(3, -4),
                         textcoords="offset points", rotation=90, va="top", ha="left", fontsize=9, color="0.25")

    figure.savefig(out, dpi=110)
    plt.close(figure)


def importable(name):
    try:
        importlib.import_module(name)
        return True
    except ImportError:
        return False


def have_matplotlib():
    """True when matplotlib can be imported, once Debian's package has been
    installed if it was missing."""
    if importable("matplotlib"):
        return True
    deps = os.path.join(os.path.dirname(os.path.abspath(__file__)), "deps.sh")
    print("tools/chart.py: installing matplotlib (tools/deps.sh chart)", file=sys.stderr)
    if subprocess.call([deps, "chart"], stdout=sys.stderr) != 0:
        return False
    importlib.invalidate_caches()
    return importable("matplotlib")


def main(argv):
    parser = argparse.ArgumentParser(description="Charts the CSV log of an OrtelanCmd run (/log:FILE).")
    parser.add_argument("log", metavar="LOG.csv")
    parser.add_argument("out", metavar="OUT.png")
    parser.add_argument("--title", help="the picture's title; by default the log's name and its first time")
    arguments = parser.parse_args(argv[1:])
    if not have_matplotlib():
        print("tools/chart.py needs matplotlib: tools/deps.sh chart (or apt-get install python3-matplotlib),"
              " then this script with /usr/bin/python3", file=sys.stderr)
        return 2
    try:
        rows = read_log(arguments.log)
    except (OSError, ValueError, UnicodeDecodeError) as error:
        print(f"tools/chart.py: {error}", file=sys.stderr)
        return 1
    title = arguments.title or f"OrtelanCmd: {os.path.basename(arguments.log)}, started {rows[0]['time'].replace('T', ' ')}"
    chart(rows, title, arguments.out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
