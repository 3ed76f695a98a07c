#!/usr/bin/env python3
"""Turns the results of scripts/bench into the benchmark report's table of goals.

    perf_report.py RESULTS_DIR REPORT

RESULTS_DIR holds engine.json (Google Benchmark JSON with median aggregates), startup.txt (one
line a launch: the program's label, a TAB and the JSON object of startup_probe), press.json
(the JSON object of press_bench), chart_open.json (the JSON object of chart_open_bench) and
cli.json (the launches of the `viscosity` command and of its floors, written by cli_bench.py).
The table goes between the bench markers of REPORT (docs/benchmarks.md), which are appended with a
"## Performance" heading when missing. Prints the table and exits 0.
"""

import datetime
import json
import os
import statistics
import sys

BEGIN = "<!-- bench:begin -->"
END = "<!-- bench:end -->"

# The goals: a time must stay under its limit, a ratio to its floor at or below its limit. Ratios
# are shown to three places so that a ratio just over its limit never shows as equal to it.
TABLE_TEXT_LIMIT_US = 20.0
CALCULATION_RATIO_LIMIT = 1.2
STARTUP_RATIO_LIMIT = 1.25
MEMORY_RATIO_LIMIT = 1.10
PRESS_LIMIT_MS = 16.0
CHART_SVG_LIMIT_MS = 5.0
CHART_OPEN_LIMIT_MS = 100.0
PAGE_OPEN_LIMIT_MS = 200.0
PAGE_PRESS_LIMIT_MS = 16.0
BATCH_OILS_PER_S = 1_000_000
BATCH_MEMORY_GROWTH_MIB = 1.0
TOOL_START_LIMIT_MS = 5.0
TOOL_START_RATIO_LIMIT = 2.0

UNIT_TO_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


def medians(engine):
    """The median aggregate of each benchmark, by run name."""
    found = {}
    for entry in engine["benchmarks"]:
        if entry.get("run_type") == "aggregate" and entry.get("aggregate_name") == "median":
            found[entry["run_name"]] = entry
    return found


def nanoseconds(entry):
    return entry["real_time"] * UNIT_TO_NS[entry["time_unit"]]


def duration(ns):
    if ns < 1e3:
        return f"{ns:.1f} ns"
    if ns < 1e6:
        return f"{ns / 1e3:.1f} µs"
    return f"{ns / 1e6:.2f} ms"


def met(ok):
    return "yes" if ok else "**no**"


def cpu_model():
    try:
        with open("/proc/cpuinfo", encoding="utf-8") as info:
            for line in info:
                if line.startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return "unknown CPU"


def memory_gib():
    try:
        with open("/proc/meminfo", encoding="utf-8") as info:
            for line in info:
                if line.startswith("MemTotal:"):
                    return int(line.split()[1]) / 1024 / 1024
    except OSError:
        pass
    return 0.0


def load():
    try:
        with open("/proc/loadavg", encoding="utf-8") as f:
            return "load average " + ", ".join(f.read().split()[:3])
    except OSError:
        return "load unknown"


def find(runs, prefix):
    for name, entry in runs.items():
        if name == prefix or name.startswith(prefix + "/"):
            return entry
    raise SystemExit(f"perf_report: no median for {prefix} in engine.json")


def table(results):
    with open(os.path.join(results, "engine.json"), encoding="utf-8") as f:
        runs = medians(json.load(f))
    launches = {}
    with open(os.path.join(results, "startup.txt"), encoding="utf-8") as f:
        for line in f:
            if line.strip():
                label, text = line.split("\t", 1)
                launches.setdefault(label, []).append(json.loads(text))
    with open(os.path.join(results, "press.json"), encoding="utf-8") as f:
        press = json.load(f)

    rows = []

    def row(figure, median, floor="", ratio="", goal="", ok=None):
        rows.append((figure, median, floor, ratio, goal, "" if ok is None else met(ok)))

    row("`TextToNumber`", duration(nanoseconds(find(runs, "BM_TextToNumber"))))
    for pattern in ("kinematic", "dynamic", "temperature", "table_viscosity"):
        entry = find(runs, f"BM_FormatNumber/{pattern}")
        row(f"`FormatNumber`, {pattern.replace('_', ' ')} pattern", duration(nanoseconds(entry)))
    row("`FitViscosityLine`", duration(nanoseconds(find(runs, "BM_FitViscosityLine"))))
    row("`ViscosityAt`", duration(nanoseconds(find(runs, "BM_ViscosityAt"))))
    table_ns = nanoseconds(find(runs, "BM_TableTextInMemory"))
    row("59-row table text in memory", duration(table_ns), goal=f"< {TABLE_TEXT_LIMIT_US:g} µs",
        ok=table_ns < TABLE_TEXT_LIMIT_US * 1e3)

    paired = find(runs, "BM_CalculationVsFloor")
    calc_us, floor_us = paired["calculation_us"], paired["floor_us"]
    ratio = calc_us / floor_us
    row("Whole calculation, in-memory window, table file replaced safely",
        duration(calc_us * 1e3), f"{duration(floor_us * 1e3)} (same bytes, same file steps)",
        f"{ratio:.3f}", f"≤ {CALCULATION_RATIO_LIMIT:.2f}", ratio <= CALCULATION_RATIO_LIMIT)

    program, bare = launches.get("Project1", []), launches.get("bare", [])
    if not program or not bare:
        raise SystemExit("perf_report: startup.txt lacks launches of Project1 or the bare window")
    start_p = statistics.median(x["startup_ms"] for x in program)
    start_b = statistics.median(x["startup_ms"] for x in bare)
    ratio = start_p / start_b
    row(f"Start-up, exec to window mapped ({len(program)} launches)", f"{start_p:.1f} ms",
        f"{start_b:.1f} ms (plain Qt window)", f"{ratio:.3f}", f"≤ {STARTUP_RATIO_LIMIT:.2f}",
        ratio <= STARTUP_RATIO_LIMIT)
    mem_p = statistics.median(x["vmhwm_kib"] for x in program) / 1024
    mem_b = statistics.median(x["vmhwm_kib"] for x in bare) / 1024
    ratio = mem_p / mem_b
    row("Peak resident memory (VmHWM) once idle", f"{mem_p:.1f} MiB",
        f"{mem_b:.1f} MiB (plain Qt window)", f"{ratio:.3f}", f"≤ {MEMORY_RATIO_LIMIT:.2f}",
        ratio <= MEMORY_RATIO_LIMIT)
    row(f"Press-to-result, click to handler return ({press['presses']} presses)",
        f"{press['median_ms']:.2f} ms", goal=f"< {PRESS_LIMIT_MS:g} ms",
        ok=press["median_ms"] < PRESS_LIMIT_MS)
    chart_rows(results, runs, row)
    page_rows(results, row)

    with open(os.path.join(results, "cli.json"), encoding="utf-8") as f:
        tool = json.load(f)
    for figure, median, floor, ratio, goal, ok in tool_rows(tool):
        row(figure, median, floor, ratio, goal, ok)

    lines = [
        "| Figure | Median | Floor or baseline | Ratio | Goal | Met |",
        "| --- | --- | --- | --- | --- | --- |",
    ]
    lines += ["| " + " | ".join(r) + " |" for r in rows]
    today = datetime.date.today().isoformat()
    lines += [
        "",
        f"Measured {today} on {os.cpu_count()} cores, {cpu_model()}, "
        f"{memory_gib():.0f} GiB memory, {load()}.",
    ]
    missed = sum(1 for r in rows if r[5] == met(False))
    return "\n".join(lines), missed


def chart_rows(results, runs, row):
    """The chart's figures: its SVG for ten oils, and the chart window's first open."""
    svg_ns = nanoseconds(find(runs, "BM_ChartSvg10Oils"))
    row("SVG of a 10-oil chart, described and written", duration(svg_ns),
        goal=f"< {CHART_SVG_LIMIT_MS:g} ms", ok=svg_ns < CHART_SVG_LIMIT_MS * 1e6)
    with open(os.path.join(results, "chart_open.json"), encoding="utf-8") as f:
        chart = json.load(f)
    # The first open is the one a user waits for; it is judged, the later ones are shown.
    row(f"Chart window open, menu to painted (first of {chart['opens']}; median "
        f"{chart['median_ms']:.1f} ms)", f"{chart['first_ms']:.1f} ms",
        goal=f"< {CHART_OPEN_LIMIT_MS:g} ms", ok=chart["first_ms"] < CHART_OPEN_LIMIT_MS)


def page_rows(results, row):
    """The calculator page in headless chromium, when it was measured (web.json)."""
    path = os.path.join(results, "web.json")
    if not os.path.exists(path):
        return
    with open(path, encoding="utf-8") as f:
        page = json.load(f)
    row(f"Page opened from file:// to the first result of an address (median of "
        f"{len(page['loads_ms'])} loads, headless chromium)",
        f"{statistics.median(page['loads_ms']):.1f} ms", goal=f"≤ {PAGE_OPEN_LIMIT_MS:g} ms",
        ok=statistics.median(page["loads_ms"]) <= PAGE_OPEN_LIMIT_MS)
    row(f"Page: a press to the results calculated and laid out (median of "
        f"{len(page['presses_ms'])} presses)", f"{statistics.median(page['presses_ms']):.2f} ms",
        goal=f"≤ {PAGE_PRESS_LIMIT_MS:g} ms",
        ok=statistics.median(page["presses_ms"]) <= PAGE_PRESS_LIMIT_MS)


def oils_per_s(rows, ms):
    return f"{rows / (ms / 1e3) / 1e6:.2f} M oils/s"


def tool_rows(tool):
    """The rows of the `viscosity` command: batch throughput and memory, start-up."""
    batch, small, startup = tool["batch"], tool["batch_small"], tool["startup"]
    if not batch["runs"] or not small["runs"] or not startup["tool"] or not startup["floor"]:
        raise SystemExit("perf_report: cli.json lacks launches of the tool or of its floors")
    rows = batch["rows"]
    runs = len(batch["runs"])
    cpu = statistics.median(r["cpu_ms"] for r in batch["runs"])
    cpu_floor = statistics.median(r["cpu_ms"] for r in batch["floor"])
    wall = statistics.median(r["wall_ms"] for r in batch["runs"])
    wall_floor = statistics.median(r["wall_ms"] for r in batch["floor"])
    floor_text = "`cat` of the input and of the output's bytes"
    out = [
        (f"`viscosity batch`, {rows:,} oils, CPU time of its one core ({runs} runs)",
         f"{oils_per_s(rows, cpu)} ({duration(cpu * 1e6)})",
         f"{duration(cpu_floor * 1e6)} ({floor_text})", f"{cpu / cpu_floor:.1f}",
         f"≥ {BATCH_OILS_PER_S / 1e6:g} M oils/s", rows / (cpu / 1e3) >= BATCH_OILS_PER_S),
        (f"`viscosity batch`, {rows:,} oils, wall clock ({runs} runs)",
         f"{oils_per_s(rows, wall)} ({duration(wall * 1e6)})",
         f"{duration(wall_floor * 1e6)} ({floor_text})", f"{wall / wall_floor:.1f}", "", None),
    ]
    big = statistics.median(r["maxrss_kib"] for r in batch["runs"]) / 1024
    little = statistics.median(r["maxrss_kib"] for r in small["runs"]) / 1024
    out.append((f"`viscosity batch` peak resident memory, {rows:,} oils",
                f"{big:.2f} MiB", f"{little:.2f} MiB ({small['rows']:,} oils)",
                f"{big - little:+.2f} MiB", f"within {BATCH_MEMORY_GROWTH_MIB:g} MiB",
                abs(big - little) <= BATCH_MEMORY_GROWTH_MIB))
    start = statistics.median(r["wall_ms"] for r in startup["tool"])
    start_floor = statistics.median(r["wall_ms"] for r in startup["floor"])
    ratio = start / start_floor
    out.append((f"`viscosity at 71 --oil \"SHC 632\"`, spawn to exit "
                f"({len(startup['tool'])} launches)",
                f"{start:.2f} ms", f"{start_floor:.2f} ms (C++ program printing one line)",
                f"{ratio:.3f}", f"< {TOOL_START_LIMIT_MS:g} ms, ≤ {TOOL_START_RATIO_LIMIT:.2f}",
                start < TOOL_START_LIMIT_MS and ratio <= TOOL_START_RATIO_LIMIT))
    return out


def write_section(path, begin, end, heading, intro, body):
    """Puts `body` between the markers `begin` and `end` of the Markdown file at `path`; the
    markers are appended under `heading` and `intro` when missing, and the file made when it is
    not there."""
    text = ""
    if os.path.exists(path):
        with open(path, encoding="utf-8") as f:
            text = f.read()
    block = f"{begin}\n{body}\n{end}"
    if begin in text and end in text:
        head, rest = text.split(begin, 1)
        tail = rest.split(end, 1)[1]
        text = head + block + tail
    else:
        if not text:
            text = "# Benchmarks\n"
        text = text.rstrip("\n") + f"\n\n{heading}\n\n{intro}\n\n{block}\n"
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def write_readme(readme, body):
    write_section(readme, BEGIN, END, "## Performance", INTRO, body)


INTRO = """\
`scripts/bench` builds the release program, runs the benchmarks and rewrites the table below;
nothing else writes it. Each figure with a goal stands beside the floor that no program can
beat, measured in the same run: the whole calculation beside the bare file-system steps of the
safe replace (taken in turn, pair by pair, so both see the same disk), and the window's start-up
and memory beside a plain Qt window, one label built with the same flags (launched in turn,
under one virtual X server, with a temporary home folder). Start-up is the time from exec to the
X server mapping the window; memory is the peak resident set (VmHWM) one second after that.
The `viscosity` command is measured from spawn to exit, in turn with its floors: the batch
beside `cat` of its input and of its output's bytes to /dev/null, its start-up beside a C++
program that prints one line. The batch's throughput goal is judged on the CPU time of the one
core it runs on (user + system, from the kernel's accounting of the child), so that other load
on the machine does not count against it; the wall-clock figure stands beside it."""


def main():
    if len(sys.argv) != 3:
        raise SystemExit("usage: perf_report.py RESULTS_DIR REPORT")
    body, missed = table(sys.argv[1])
    write_readme(sys.argv[2], body)
    print(body)
    print(f"\n{missed} goal(s) missed." if missed else "\nEvery goal met.")


if __name__ == "__main__":
    main()
