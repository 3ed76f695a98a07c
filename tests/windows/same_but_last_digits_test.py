#!/usr/bin/env python3
"""The Windows comparison's one tolerance: the unrounded index's last digits, nothing else."""

import os
import sys
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from same_but_last_digits import tolerated  # noqa: E402

CSV = ("viscosity_index,viscosity_index_unrounded,iso_vg\n"
       "134,{},\n")
JSON = '{{\n  "viscosity_index": 134,\n  "viscosity_index_unrounded": {},\n  "iso_vg": null\n}}\n'
TEXT = "Viscosity index             134\nViscosity index, unrounded  {}\n"


class ToleratedTest(unittest.TestCase):
    def test_each_difference(self):
        cases = [
            # (what, Linux, Windows, tolerated)
            ("same bytes", CSV.format("134.19699928801325"), CSV.format("134.19699928801325"),
             True),
            ("CSV, last digits", CSV.format("134.19699928801325"),
             CSV.format("134.19699928801333"), True),
            ("JSON, last digits", JSON.format("134.19699928801325"),
             JSON.format("134.1969992880133"), True),
            ("CSV, sixteen units in the last place", CSV.format("134.19699928801325"),
             CSV.format("134.1969992880137"), True),
            ("CSV, beyond the last digits", CSV.format("134.19699928801325"),
             CSV.format("134.1969992880138"), False),
            ("JSON, beyond the last digits", JSON.format("134.19699928801325"),
             JSON.format("134.1969"), False),
            ("the rounded index", CSV.format("134.5").replace("134,", "135,", 1),
             CSV.format("134.5"), False),
            ("another column", CSV.format("1.5").replace("\n134", "\n133"), CSV.format("1.5"),
             False),
            ("text's three decimals", TEXT.format("134.197"), TEXT.format("134.196"), False),
            ("a line more", CSV.format("1.5"), CSV.format("1.5") + "1,2,3\n", False),
        ]
        for what, linux, windows, expected in cases:
            with self.subTest(what):
                self.assertEqual(tolerated(linux, windows) is not None, expected)


if __name__ == "__main__":
    unittest.main()
