#!/usr/bin/env python3
"""Measures the `viscosity` command against its floors and writes the results as JSON.

    cli_bench.py BUILD_DIR RESULTS_DIR

Writes RESULTS_DIR/cli.json with, for each measured launch, the object bench/launch_probe prints
(wall_ms, cpu_ms, maxrss_kib):
  batch        `viscosity batch FILE --at 40 --at 100 --format csv` over 1,000,000 generated oils,
               output thrown away, and beside each run its floor: `cat` of the input and `cat` of
               the same number of output bytes, both to /dev/null;
  batch_small  the same over the first 1,000 oils, for its peak memory;
  startup      `viscosity at 71 --oil "SHC 632"` and a C++ program printing one line, in turn.
Tool and floor launches alternate so that both see the same machine. BENCH_BATCH_RUNS (default 5)
and BENCH_STARTUP_RUNS (default 200) set the counts.
"""

import json
import os
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from oils_csv import generate  # noqa: E402

ROWS = 1_000_000
SMALL_ROWS = 1_000
BATCH_ARGS = ["--at", "40", "--at", "100", "--format", "csv"]


def launch(probe, output, command):
    result = subprocess.run([probe, output] + command, check=True, capture_output=True, text=True)
    measured = json.loads(result.stdout)
    if measured["status"] != 0:
        raise SystemExit(f"cli_bench: {' '.join(command)} exited {measured['status']}: "
                         f"{result.stderr.strip()}")
    return measured


def main():
    if len(sys.argv) != 3:
        raise SystemExit("usage: cli_bench.py BUILD_DIR RESULTS_DIR")
    build, results = sys.argv[1], sys.argv[2]
    tool = os.path.join(build, "cli", "viscosity")
    probe = os.path.join(build, "bench", "launch_probe")
    hello = os.path.join(build, "bench", "hello_line")
    batch_runs = int(os.environ.get("BENCH_BATCH_RUNS", "5"))
    startup_runs = int(os.environ.get("BENCH_STARTUP_RUNS", "200"))

    with tempfile.TemporaryDirectory(prefix="viscosity-bench.") as work:
        big = os.path.join(work, "oils.csv")
        small = os.path.join(work, "oils-1000.csv")
        answers = os.path.join(work, "answers.csv")
        generate(big, ROWS)
        generate(small, SMALL_ROWS)

        # One run to a file: the output's size for the floor, and a warm page cache for all.
        launch(probe, answers, [tool, "batch", big] + BATCH_ARGS)
        with open(answers, "rb") as f:
            output_rows = sum(1 for _ in f) - 1
        if output_rows != ROWS:
            raise SystemExit(f"cli_bench: {output_rows} answer rows for {ROWS} oils")

        batch, floor, batch_small = [], [], []
        for _ in range(batch_runs):
            batch.append(launch(probe, "/dev/null", [tool, "batch", big] + BATCH_ARGS))
            cat_in = launch(probe, "/dev/null", ["/bin/cat", big])
            cat_out = launch(probe, "/dev/null", ["/bin/cat", answers])
            floor.append({key: cat_in[key] + cat_out[key] for key in ("wall_ms", "cpu_ms")})
            batch_small.append(launch(probe, "/dev/null", [tool, "batch", small] + BATCH_ARGS))

        tool_starts, hello_starts = [], []
        for i in range(startup_runs):
            pair = [(tool_starts, [tool, "at", "71", "--oil", "SHC 632"]), (hello_starts, [hello])]
            for target, command in pair if i % 2 == 0 else reversed(pair):
                target.append(launch(probe, "/dev/null", command))

        report = {
            "batch": {"rows": ROWS, "input_bytes": os.path.getsize(big),
                      "output_bytes": os.path.getsize(answers), "runs": batch, "floor": floor},
            "batch_small": {"rows": SMALL_ROWS, "runs": batch_small},
            "startup": {"tool": tool_starts, "floor": hello_starts},
        }
    with open(os.path.join(results, "cli.json"), "w", encoding="utf-8") as f:
        json.dump(report, f, indent=1)
    print(json.dumps({"batch_median_wall_ms": sorted(r["wall_ms"] for r in batch)[len(batch) // 2],
                      "startup_runs": startup_runs}))


if __name__ == "__main__":
    main()
