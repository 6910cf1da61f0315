#!/usr/bin/env python3
"""Turns the '@row' and '@mem' lines of several benchmark runs into one
Markdown table, the same form each time.

Each run of a benchmark program already takes the best of several
interleaved measurements of the work and of its baseline. Of the runs given
here, a row shows the run in which the work was fastest (the quietest
moment), with the baseline measured in that same run, and the lowest and
highest ratio of all runs to show how noisy the machine was.

    bench-table.py <machine line> <output files...>
"""
import collections
import statistics
import sys

# Goals: the ratio a row must stay within.
GOALS = {
    ("numeral-key Load+Find", "100000"): 2.0,
    ("string-key Load+Find", "100000"): 2.0,
    ("jog menu Load+walk by index", "10000"): 2.0,
}
RESIDENT_GOAL = 2.0  # lookups of a resident host on the shipped data files
MEMORY_GOAL = 3.0    # peak memory of a loaded database against its file's size


def goal_of(what, size):
    if (what, size) in GOALS:
        return GOALS[(what, size)]
    if what.endswith("resident host (shipped files)"):
        return RESIDENT_GOAL
    return None


def main():
    machine, files = sys.argv[1], sys.argv[2:]
    rows = collections.OrderedDict()   # key -> list of (base, work)
    mems = collections.OrderedDict()   # key -> list of (file, held, peak)
    for name in files:
        with open(name, encoding="utf-8", errors="replace") as f:
            for line in f:
                parts = line.rstrip("\n").split("\t")
                if parts[0] == "@row" and len(parts) == 7:
                    _, platform, what, size, baseline, base, work = parts
                    rows.setdefault((what, size, platform, baseline), []).append((float(base), float(work)))
                elif parts[0] == "@mem" and len(parts) == 7:
                    _, platform, what, size, per_file, held, peak = parts
                    mems.setdefault((what, size, platform), []).append(
                        (float(per_file), float(held), float(peak)))

    print(machine)
    print()
    print("| benchmark | size | platform | baseline | baseline ms | work ms | ratio | ratios of all runs | goal |")
    print("|---|---:|---|---|---:|---:|---:|---|---|")
    for (what, size, platform, baseline), runs in rows.items():
        base, work = min(runs, key=lambda r: r[1])
        ratios = [w / b for b, w in runs if b > 0]
        ratio = work / base if base > 0 else float("inf")
        goal = goal_of(what, size)
        verdict = "" if goal is None else ("<= %.1f ok" % goal if ratio <= goal else "<= %.1f MISSED" % goal)
        spread = "%.2f - %.2f (%d runs)" % (min(ratios), max(ratios), len(ratios)) if ratios else "-"
        print("| %s | %s | %s | %s | %.3f | %.3f | %.2f | %s | %s |" % (
            what, size, platform, baseline, base, work, ratio, spread, verdict))
    if mems:
        print()
        print("| memory of a loaded database | records | platform | file bytes/record "
              "| held bytes/record | peak bytes/record | peak / file | goal |")
        print("|---|---:|---|---:|---:|---:|---:|---|")
        for (what, size, platform), runs in mems.items():
            per_file = statistics.median(r[0] for r in runs)
            held = max(r[1] for r in runs)
            peak = max(r[2] for r in runs)
            share = peak / per_file if per_file else float("inf")
            verdict = "<= %.1f %s" % (MEMORY_GOAL, "ok" if share <= MEMORY_GOAL else "MISSED")
            print("| %s | %s | %s | %.1f | %.1f | %.1f | %.2f | %s |" % (
                what, size, platform, per_file, held, peak, share, verdict))


if __name__ == "__main__":
    main()
