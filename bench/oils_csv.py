#!/usr/bin/env python3
"""Writes a supplier's sheet of generated oils, the same bytes on every run.

    oils_csv.py ROWS FILE

The columns are name, v40, v100, sg, with plausible values from a fixed seed: the batch
benchmark's input, and the file its output is compared on before and after a change.
"""

import random
import sys


def generate(path, rows):
    """A supplier's sheet: name, v40, v100, sg, with plausible and reproducible values."""
    rng = random.Random(1)
    with open(path, "w", encoding="ascii") as f:
        f.write("name,v40,v100,sg\n")
        for i in range(rows):
            v40 = round(rng.uniform(10, 1000), 2)
            v100 = round(v40 ** 0.62 * rng.uniform(0.75, 1.0), 3)
            f.write(f"oil {i},{v40},{v100},{round(rng.uniform(0.82, 0.95), 3)}\n")


def main():
    if len(sys.argv) != 3:
        raise SystemExit("usage: oils_csv.py ROWS FILE")
    generate(sys.argv[2], int(sys.argv[1]))


if __name__ == "__main__":
    main()
