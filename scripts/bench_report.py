#!/usr/bin/env python3
"""Turns the road benchmarks and the demo's memory figures into docs/performance.md.

    bench_report.py OUT_DIR DOC

Reads OUT_DIR/roads.json (Google Benchmark, one or more repetitions) and
OUT_DIR/demo_<lines>.time (GNU time -v of `zqstati demo --lines <lines>`), rewrites the part
of DOC between the "figures" markers, and writes OUT_DIR/roads.dat and OUT_DIR/roads.gp for
gnuplot (which draws docs/performance.svg). Exits with 1 when a target is missed.
"""
import json
import math
import re
import statistics
import sys
from collections import defaultdict
from pathlib import Path

BEGIN, END = "<!-- figures:begin -->", "<!-- figures:end -->"
COUNTERS = ["us_per_line", "own_ms", "saves_ms", "host_ms", "host_save_ms", "own_vs_host",
            "road_vs_save"]


def load_runs(path):
    """(road, cursor, lines) -> medians over the repetitions of time and counters."""
    data = json.loads(Path(path).read_text())
    groups = defaultdict(list)
    for b in data["benchmarks"]:
        if b.get("run_type") != "iteration" or b.get("error_occurred"):
            continue
        _, road, cursor, lines = b["run_name"].split("/")[:4]
        groups[(road, cursor, int(lines))].append(b)
    runs = {}
    for key, reps in groups.items():
        figures = {"time_ms": statistics.median(r["real_time"] for r in reps), "reps": len(reps)}
        for c in COUNTERS:
            figures[c] = statistics.median(r[c] for r in reps)
        runs[key] = figures
    return runs, data.get("context", {})


def peak_kb(path):
    text = Path(path).read_text()
    return int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", text).group(1))


def exponent(runs, road, cursor, small, large):
    a, b = runs.get((road, cursor, small)), runs.get((road, cursor, large))
    if not a or not b:
        return None, None
    ratio = b["time_ms"] / a["time_ms"]
    return ratio, math.log(ratio) / math.log(large / small)


def fmt(x, digits=2):
    if x is None:
        return "-"
    if abs(x) >= 100:
        return f"{x:.0f}"
    return f"{x:.{digits}f}"


def main(out_dir, doc_path):
    out = Path(out_dir)
    runs, context = load_runs(out / "roads.json")
    roads = sorted({k[0] for k in runs}, key=lambda r: (r == "host_load_save", r))
    sizes = sorted({k[2] for k in runs})
    lines = []
    w = lines.append

    w(f"Taken on {context.get('host_name', '?')}, {context.get('num_cpus', '?')} CPUs at "
      f"{context.get('mhz_per_cpu', '?')} MHz, {context.get('date', '?')}; medians of "
      f"{max(r['reps'] for r in runs.values())} repetitions, interleaved at random.")
    w("")
    w("| road | cursor | lines | time (ms) | µs/line | own (ms) | saves (ms) | "
      "host load+save (ms) | own / host | time / host save |")
    w("|---|---|---:|---:|---:|---:|---:|---:|---:|---:|")
    for road in roads:
        for cursor in ("optimised", "scanning"):
            for n in sizes:
                r = runs.get((road, cursor, n))
                if not r:
                    continue
                w(f"| {road} | {cursor} | {n:,} | {fmt(r['time_ms'])} | {fmt(r['us_per_line'])} | "
                  f"{fmt(r['own_ms'])} | {fmt(r['saves_ms'])} | {fmt(r['host_ms'])} | "
                  f"{fmt(r['own_vs_host'])} | {fmt(r['road_vs_save'])} |")
    w("")
    w("Scaling: time(large) / time(small) and the exponent k of time ∝ lines^k between them "
      "(1 is linear, 2 quadratic).")
    w("")
    w("| road | cursor | 1,000 → 30,000 | k | 1,000 → 10,000 | k |")
    w("|---|---|---:|---:|---:|---:|")
    for road in roads:
        for cursor in ("optimised", "scanning"):
            r30, k30 = exponent(runs, road, cursor, 1000, 30000)
            r10, k10 = exponent(runs, road, cursor, 1000, 10000)
            if r10 is None and r30 is None:
                continue
            w(f"| {road} | {cursor} | {fmt(r30)} | {fmt(k30)} | {fmt(r10)} | {fmt(k10)} |")

    checks = []

    def check(what, value, limit, at_most=True):
        ok = value is not None and (value <= limit if at_most else value >= limit)
        checks.append((what, value, ("≤ " if at_most else "≥ ") + fmt(limit), ok))

    opt10 = runs.get(("whole_order_cancel", "optimised", 10000))
    scan10 = runs.get(("whole_order_cancel", "scanning", 10000))
    check("whole-order cancel, 10,000 lines: own work scanning / optimised",
          scan10["own_ms"] / opt10["own_ms"] if opt10 and scan10 else None, 50, at_most=False)
    check("whole-order cancel, 10,000 lines: own work / host load+save",
          opt10["own_vs_host"] if opt10 else None, 0.5)
    for road in roads:
        check(f"{road}: time(30,000) / time(1,000), optimised",
              exponent(runs, road, "optimised", 1000, 30000)[0], 32)
    for road in ("partial_cancel", "delete_cancellation_line"):
        r = runs.get((road, "optimised", 10000))
        check(f"{road}, 10,000 lines: time / host save", r["road_vs_save"] if r else None, 1.5)

    kb_small, kb_large = peak_kb(out / "demo_9.time"), peak_kb(out / "demo_10000.time")
    check("demo, 10,000 lines: peak memory per line (KB)", kb_large / 10000, 6)
    w("")
    w(f"Peak memory of `zqstati demo --lines 10000` (maximum resident set size, GNU time): "
      f"{kb_large / 1024:.1f} MB, {kb_large / 10000:.2f} KB per line; the demo order of 9 "
      f"lines peaks at {kb_small / 1024:.1f} MB, so the lines themselves take "
      f"{(kb_large - kb_small) / (10000 - 9):.2f} KB each.")
    w("")
    w("| target | measured | limit | met |")
    w("|---|---:|---:|---|")
    for what, value, limit, ok in checks:
        w(f"| {what} | {fmt(value)} | {limit} | {'yes' if ok else '**no**'} |")

    doc = Path(doc_path)
    text = doc.read_text()
    head, rest = text.split(BEGIN, 1)
    _, tail = rest.split(END, 1)
    doc.write_text(head + BEGIN + "\n" + "\n".join(lines) + "\n" + END + tail)

    # One colour per road; the scanning cursor dashed.
    blocks, styles = [], []
    for colour, road in enumerate(roads, start=1):
        for cursor in ("optimised", "scanning"):
            pts = [(n, runs[(road, cursor, n)]["time_ms"]) for n in sizes
                   if (road, cursor, n) in runs]
            if pts:
                styles.append((f"{road} ({cursor})", colour, 1 if cursor == "optimised" else 2))
                blocks.append("\n".join(f"{n} {t}" for n, t in pts))
    (out / "roads.dat").write_text("\n\n\n".join(blocks) + "\n")
    plot = ", ".join(
        f"'{out}/roads.dat' index {i} with linespoints lc {colour} dt {dash} lw 2 title '{t}'"
        for i, (t, colour, dash) in enumerate(styles))
    (out / "roads.gp").write_text(
        "set terminal svg size 900,600 dynamic font 'sans,11'\n"
        f"set output '{doc.parent}/performance.svg'\n"
        "set termoption noenhanced\n"
        "set logscale xy\nset grid\nset key outside right\n"
        "set xlabel 'lines of the order'\nset ylabel 'time of the road (ms)'\n"
        "set title 'Roads against order size (dashed: cursor without Optimize)'\n"
        f"plot {plot}\n")

    for what, value, limit, ok in checks:
        print(f"{'ok  ' if ok else 'MISS'} {what}: {fmt(value)} ({limit})")
    return 0 if all(c[3] for c in checks) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
