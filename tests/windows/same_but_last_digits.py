#!/usr/bin/env python3
"""Whether the outputs of Linux and of Windows are the same but for the last digits of the
unrounded viscosity index.

    same_but_last_digits.py LINUX_OUTPUT WINDOWS_OUTPUT

The index is computed with the system's log10 and pow, which differ between C libraries by a
unit in the last place for some arguments; its unrounded value, written in full in CSV and JSON,
may then differ in its last digits. Exactly that is tolerated, for exactly that field (the CSV
column and JSON key viscosity_index_unrounded): the two values must lie within 16 units in the
last place of each other (a few units each way through the formula), and every other byte must
be the same. Every rounded text (the index, the text format's
three decimals) is the same on every system and is compared byte for byte.

Exits 0 and prints each tolerated pair when the outputs are the same but for that, 1 otherwise.
"""

import math
import re
import sys

FIELD = "viscosity_index_unrounded"
UNITS_IN_THE_LAST_PLACE = 16
JSON_VALUE = re.compile(r'("' + FIELD + r'":\s*)(-?[0-9][0-9.eE+-]*)')


def close(linux, windows):
    try:
        a, b = float(linux), float(windows)
    except ValueError:
        return False
    return abs(a - b) <= UNITS_IN_THE_LAST_PLACE * math.ulp(max(abs(a), abs(b)))


def json_values(text):
    """The text with each unrounded index replaced by a mark, and the values replaced."""
    values = [m.group(2) for m in JSON_VALUE.finditer(text)]
    return JSON_VALUE.sub(lambda m: m.group(1) + "#", text), values


def csv_values(text):
    """The same for CSV, where a header line names the column; lines with quotes are left."""
    lines = text.split("\n")
    column = None
    values = []
    for i, line in enumerate(lines):
        fields = line.split(",")
        if '"' in line:
            continue
        if FIELD in fields:
            column = fields.index(FIELD)
        elif column is not None and len(fields) > column:
            values.append(fields[column])
            fields[column] = "#"
            lines[i] = ",".join(fields)
    return "\n".join(lines), values


def tolerated(linux, windows):
    """The pairs of values told apart only by their last digits, or None if anything else
    differs."""
    if linux == windows:
        return []
    for split in (json_values, csv_values):
        linux_rest, linux_values = split(linux)
        windows_rest, windows_values = split(windows)
        if linux_values and linux_rest == windows_rest and len(linux_values) == len(windows_values):
            pairs = [(a, b) for a, b in zip(linux_values, windows_values) if a != b]
            if all(close(a, b) for a, b in pairs):
                return pairs
    return None


def main():
    if len(sys.argv) != 3:
        raise SystemExit("usage: same_but_last_digits.py LINUX_OUTPUT WINDOWS_OUTPUT")
    with open(sys.argv[1], encoding="utf-8", errors="surrogateescape") as f:
        linux = f.read()
    with open(sys.argv[2], encoding="utf-8", errors="surrogateescape") as f:
        windows = f.read()
    pairs = tolerated(linux, windows)
    if pairs is None:
        return 1
    for a, b in pairs:
        print(f"  {FIELD} {a} on Linux, {b} on Windows: the last digits only, tolerated")
    return 0


if __name__ == "__main__":
    sys.exit(main())
