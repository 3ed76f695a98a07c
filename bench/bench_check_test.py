#!/usr/bin/env python3
"""Tests of the guard's judgement: a ratio passes up to its limit times its record (1.5; the batch
1.2) and fails beyond it or without one, and the table shows every row either way."""

import os
import sys
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import bench_check  # noqa: E402


class JudgedTest(unittest.TestCase):
    def test_each_ratio_against_its_record(self):
        baseline = {"batch": 40.0, "tool start": 1.1, "window start": 2.0}
        cases = [
            # (name, ratio now, passes)
            ("batch", 40.0, True),
            ("batch", 20.0, True),  # faster than recorded
            ("batch", 48.0, True),  # exactly 1.2 times, the batch's limit
            ("batch", 48.1, False),
            ("window start", 3.0, True),  # exactly 1.5 times, the others' limit
            ("window start", 3.01, False),
            ("tool start", 1.7, False),
            ("chart", 5.0, False),  # no record
        ]
        for name, ratio, passes in cases:
            with self.subTest(name=name, ratio=ratio):
                [(_, _, _, ok)] = bench_check.judged([bench_check.Row(name, ratio, "", "")],
                                                     baseline)
                self.assertEqual(ok, passes)

    def test_the_table_shows_passing_and_failing_rows(self):
        rows = [bench_check.Row("batch", 40.0, "1 M oils/s", "cat"),
                bench_check.Row("chart", 9.0, "200 µs", "lines")]
        text = bench_check.table(bench_check.judged(rows, {"batch": 40.0, "chart": 5.0}))
        self.assertIn("| batch | 1 M oils/s | cat | 40.000 | 40.000 | 1.00 | 1.2 | ok |", text)
        self.assertIn("| chart | 200 µs | lines | 9.000 | 5.000 | 1.80 | 1.5 | **FAILS** |", text)


if __name__ == "__main__":
    unittest.main()
