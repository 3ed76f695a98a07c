#!/usr/bin/env python3
"""The Python module's kinematic_at against its floor: the same Walther line written as plain
NumPy expressions, in the same run.

    PYTHONPATH=<module folder> /usr/bin/python3 bench/python_bench.py [RESULTS.json]

Two cases of 1,000,000 elements: one oil (320 cSt at 40 °C, 35 cSt at 100 °C) at 1,000,000
temperatures, and 1,000,000 oils at 71 °C. Each is timed BENCH_PYTHON_RUNS times (default 7),
module and floor in turn, by the process's CPU time; the least of each is kept and their ratio
printed (and written as JSON when a file is named). The floor's numbers are checked against the
module's to 1e-9 relative, so that the two compute the same thing.
"""

import json
import os
import sys
import time

import numpy
import project1

N = 1_000_000
RUNS = int(os.environ.get("BENCH_PYTHON_RUNS", "7"))
KELVIN = 273.16  # the walther line's absolute temperature offset
OFFSET = 0.6     # and its viscosity offset


def walther_numpy(v40, v100, t):
    """The Walther line through (40 °C, v40) and (100 °C, v100), evaluated at t: NumPy's floor."""
    l40 = numpy.log(numpy.log(v40 + OFFSET))
    l100 = numpy.log(numpy.log(v100 + OFFSET))
    k40 = numpy.log(40 + KELVIN)
    k100 = numpy.log(100 + KELVIN)
    b = (l100 - l40) / (k40 - k100)
    a = numpy.log10(numpy.log10(v40 + OFFSET)) + b * numpy.log10(40 + KELVIN)
    return 10 ** (10 ** (a - b * numpy.log10(t + KELVIN))) - OFFSET


def least_cpu(function, *args):
    best = float("inf")
    result = None
    for _ in range(RUNS):
        start = time.process_time()
        result = function(*args)
        best = min(best, time.process_time() - start)
    return best, result


def case(name, v40, v100, t):
    module_s, module = least_cpu(project1.kinematic_at, v40, v100, t)
    floor_s, floor = least_cpu(walther_numpy, v40, v100, t)
    numpy.testing.assert_allclose(module, floor, rtol=1e-9)
    ratio = module_s / floor_s
    print(f"{name}: module {module_s * 1e3:.1f} ms CPU, NumPy {floor_s * 1e3:.1f} ms CPU, "
          f"ratio {ratio:.2f}")
    return {"case": name, "module_cpu_ms": module_s * 1e3, "numpy_cpu_ms": floor_s * 1e3,
            "ratio": ratio}


def main():
    rng = numpy.random.default_rng(1)
    temperatures = numpy.linspace(-20, 150, N)
    v40 = rng.uniform(20, 1000, N)
    v100 = v40 / rng.uniform(6, 12, N)
    results = [
        case("one oil at 1,000,000 temperatures", 320.0, 35.0, temperatures),
        case("1,000,000 oils at one temperature", v40, v100, 71.0),
    ]
    if len(sys.argv) > 1:
        with open(sys.argv[1], "w", encoding="utf-8") as out:
            json.dump(results, out, indent=2)


if __name__ == "__main__":
    main()
