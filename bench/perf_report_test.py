#!/usr/bin/env python3
"""Tests of the README performance table: goals judged at their limits, medians of the launches,
and the README rewritten between its markers only."""

import json
import os
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import perf_report  # noqa: E402


def engine_json(table_us=16.0, calculation_us=500.0, floor_us=450.0, chart_svg_us=900.0):
    def median(name, real_time, unit, **counters):
        entry = {"name": name + "_median", "run_name": name, "run_type": "aggregate",
                 "aggregate_name": "median", "real_time": real_time, "time_unit": unit}
        entry.update(counters)
        return entry

    runs = [median("BM_TextToNumber", 50, "ns"), median("BM_FitViscosityLine", 170, "ns"),
            median("BM_ViscosityAt", 72, "ns"), median("BM_TableTextInMemory", table_us, "us"),
            median("BM_ChartSvg10Oils", chart_svg_us, "us"),
            median("BM_CalculationVsFloor/iterations:1000/real_time", 990, "us",
                   calculation_us=calculation_us, floor_us=floor_us)]
    runs += [median(f"BM_FormatNumber/{p}", 80, "ns")
             for p in ("kinematic", "dynamic", "temperature", "table_viscosity")]
    # A mean beside each median must not be taken for it.
    runs.append(dict(runs[0], aggregate_name="mean", real_time=1e9))
    return {"benchmarks": runs}


def cli_json(batch_cpu_ms=(500.0,), floor_cpu_ms=25.0, big_kib=4500, small_kib=4300,
             start_ms=(1.5,), start_floor_ms=(1.2,)):
    def launch(wall_ms, cpu_ms=1.0, kib=4000):
        return {"wall_ms": wall_ms, "cpu_ms": cpu_ms, "maxrss_kib": kib}

    return {
        "batch": {"rows": 1_000_000, "input_bytes": 1, "output_bytes": 1,
                  "runs": [launch(2 * ms, ms, big_kib) for ms in batch_cpu_ms],
                  "floor": [{"wall_ms": 2 * floor_cpu_ms, "cpu_ms": floor_cpu_ms}]},
        "batch_small": {"rows": 1000, "runs": [launch(1.0, 1.0, small_kib)]},
        "startup": {"tool": [launch(ms) for ms in start_ms],
                    "floor": [launch(ms) for ms in start_floor_ms]},
    }


class PerfReportTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.results = self.dir.name

    def tearDown(self):
        self.dir.cleanup()

    def write(self, engine, program, bare, press_ms=1.0, tool=None, chart_open_ms=40.0):
        with open(os.path.join(self.results, "cli.json"), "w", encoding="utf-8") as f:
            json.dump(tool if tool is not None else cli_json(), f)
        with open(os.path.join(self.results, "engine.json"), "w", encoding="utf-8") as f:
            json.dump(engine, f)
        with open(os.path.join(self.results, "startup.txt"), "w", encoding="utf-8") as f:
            for label, launches in (("Project1", program), ("bare", bare)):
                for ms, kib in launches:
                    f.write(f"{label}\t{json.dumps({'startup_ms': ms, 'vmhwm_kib': kib})}\n")
        with open(os.path.join(self.results, "press.json"), "w", encoding="utf-8") as f:
            json.dump({"presses": 200, "median_ms": press_ms}, f)
        with open(os.path.join(self.results, "chart_open.json"), "w", encoding="utf-8") as f:
            json.dump({"opens": 50, "first_ms": chart_open_ms, "median_ms": 12.5}, f)

    def row(self, body, figure):
        for line in body.splitlines():
            if line.startswith("| " + figure):
                return [cell.strip() for cell in line.strip("|").split("|")]
        self.fail(f"no row {figure!r} in\n{body}")

    def test_goals_are_judged_at_their_limits(self):
        bare = [(20.0, 1000), (10.0, 1000), (30.0, 1000)]  # median 20 ms, 1000 KiB
        cases = [
            # figure, engine, Project1 launches, press ms, expected ratio, expected met
            ("59-row", engine_json(table_us=19.9), bare, 1, "", "yes"),
            ("59-row", engine_json(table_us=20.0), bare, 1, "", "**no**"),
            ("Whole", engine_json(calculation_us=600, floor_us=500), bare, 1, "1.200", "yes"),
            ("Whole", engine_json(calculation_us=606, floor_us=500), bare, 1, "1.212", "**no**"),
            ("Start-up", engine_json(), [(25.0, 1000)] * 3, 1, "1.250", "yes"),
            ("Start-up", engine_json(), [(5.0, 1), (25.2, 1), (99.0, 1)], 1, "1.260", "**no**"),
            ("Peak", engine_json(), [(20.0, 1100), (20.0, 1100)], 1, "1.100", "yes"),
            ("Peak", engine_json(), [(20.0, 1000), (20.0, 1110), (20.0, 1120)], 1, "1.110",
             "**no**"),
            ("Press", engine_json(), bare, 15.99, "", "yes"),
            ("Press", engine_json(), bare, 16.0, "", "**no**"),
        ]
        for figure, engine, program, press_ms, ratio, met in cases:
            with self.subTest(figure=figure, met=met):
                self.write(engine, program, bare, press_ms)
                body, missed = perf_report.table(self.results)
                cells = self.row(body, figure)
                self.assertEqual(cells[3], ratio)
                self.assertEqual(cells[5], met)
                self.assertEqual(missed, 0 if met == "yes" else 1)

    def test_chart_goals_are_judged_at_their_limits(self):
        bare = [(20.0, 1000)]
        cases = [
            # figure, SVG µs, first open ms, expected met
            ("SVG of a 10-oil", 4999.0, 40.0, "yes"),
            ("SVG of a 10-oil", 5000.0, 40.0, "**no**"),
            ("Chart window open", 900.0, 99.9, "yes"),
            ("Chart window open", 900.0, 100.0, "**no**"),
        ]
        for figure, svg_us, open_ms, met in cases:
            with self.subTest(figure=figure, svg_us=svg_us, open_ms=open_ms):
                self.write(engine_json(chart_svg_us=svg_us), bare, bare, chart_open_ms=open_ms)
                body, missed = perf_report.table(self.results)
                self.assertEqual(self.row(body, figure)[5], met)
                self.assertEqual(missed, 0 if met == "yes" else 1)
        self.write(engine_json(chart_svg_us=1234.0), bare, bare, chart_open_ms=41.25)
        body, _ = perf_report.table(self.results)
        self.assertEqual(self.row(body, "SVG of a 10-oil")[1], "1.23 ms")
        self.assertEqual(self.row(body, "Chart window open")[0],
                         "Chart window open, menu to painted (first of 50; median 12.5 ms)")
        self.assertEqual(self.row(body, "Chart window open")[1], "41.2 ms")

    def test_page_goals_are_judged_at_their_limits_and_left_out_when_not_measured(self):
        bare = [(20.0, 1000)]
        cases = [
            # figure, loads ms, presses ms, expected met
            ("Page opened", [90.0, 200.0, 500.0], [1.0], "yes"),
            ("Page opened", [90.0, 200.1, 500.0], [1.0], "**no**"),
            ("Page: a press", [90.0], [2.0, 16.0, 40.0], "yes"),
            ("Page: a press", [90.0], [2.0, 16.01, 40.0], "**no**"),
        ]
        for figure, loads, presses, met in cases:
            with self.subTest(figure=figure, loads=loads, presses=presses):
                self.write(engine_json(), bare, bare)
                with open(os.path.join(self.results, "web.json"), "w", encoding="utf-8") as f:
                    json.dump({"loads_ms": loads, "presses_ms": presses, "frames_ms": []}, f)
                body, missed = perf_report.table(self.results)
                self.assertEqual(self.row(body, figure)[5], met)
                self.assertEqual(missed, 0 if met == "yes" else 1)
        os.remove(os.path.join(self.results, "web.json"))
        body, _ = perf_report.table(self.results)
        self.assertNotIn("Page", body)

    def test_tool_goals_are_judged_at_their_limits(self):
        bare = [(20.0, 1000)]
        cases = [
            # figure, cli.json, expected ratio, expected met
            ("`viscosity batch`, 1,000,000 oils, CPU", cli_json(batch_cpu_ms=(900, 1000, 1100)),
             "40.0", "yes"),
            ("`viscosity batch`, 1,000,000 oils, CPU", cli_json(batch_cpu_ms=(1000.1,)), "40.0",
             "**no**"),
            ("`viscosity batch` peak", cli_json(big_kib=5120 + 1024, small_kib=5120), "+1.00 MiB",
             "yes"),
            ("`viscosity batch` peak", cli_json(big_kib=5120 + 1034, small_kib=5120), "+1.01 MiB",
             "**no**"),
            ("`viscosity at 71", cli_json(start_ms=(4.99,), start_floor_ms=(2.5,)), "1.996", "yes"),
            ("`viscosity at 71", cli_json(start_ms=(5.0,), start_floor_ms=(4.0,)), "1.250",
             "**no**"),
            ("`viscosity at 71", cli_json(start_ms=(1, 4, 9), start_floor_ms=(1.9,)), "2.105",
             "**no**"),
        ]
        for figure, tool, ratio, met in cases:
            with self.subTest(figure=figure, ratio=ratio):
                self.write(engine_json(), bare, bare, tool=tool)
                body, missed = perf_report.table(self.results)
                cells = self.row(body, figure)
                self.assertEqual(cells[3], ratio)
                self.assertEqual(cells[5], met)
                self.assertEqual(missed, 0 if met == "yes" else 1)

    def test_tool_figures_show_throughput_and_the_wall_clock_beside_it(self):
        self.write(engine_json(), [(20.0, 1000)], [(20.0, 1000)],
                   tool=cli_json(batch_cpu_ms=(400, 500, 800), floor_cpu_ms=20))
        body, _ = perf_report.table(self.results)
        cpu = self.row(body, "`viscosity batch`, 1,000,000 oils, CPU")
        self.assertEqual(cpu[1:5], ["2.00 M oils/s (500.00 ms)",
                                    "20.00 ms (`cat` of the input and of the output's bytes)",
                                    "25.0", "≥ 1 M oils/s"])
        wall = self.row(body, "`viscosity batch`, 1,000,000 oils, wall")
        self.assertEqual(wall[1:6], ["1.00 M oils/s (1000.00 ms)",
                                     "40.00 ms (`cat` of the input and of the output's bytes)",
                                     "25.0", "", ""])

    def test_a_run_without_launches_of_the_tool_is_refused(self):
        tool = cli_json()
        tool["startup"]["floor"] = []
        self.write(engine_json(), [(20.0, 1000)], [(20.0, 1000)], tool=tool)
        with self.assertRaises(SystemExit):
            perf_report.table(self.results)

    def test_figures_are_medians_with_their_units(self):
        self.write(engine_json(table_us=16.25), [(25.0, 2048), (21.0, 4096)], [(20.0, 1024)])
        body, _ = perf_report.table(self.results)
        self.assertEqual(self.row(body, "`TextToNumber`")[1], "50.0 ns")
        self.assertEqual(self.row(body, "59-row")[1], "16.2 µs")
        self.assertEqual(self.row(body, "Whole")[1:3],
                         ["500.0 µs", "450.0 µs (same bytes, same file steps)"])
        self.assertEqual(self.row(body, "Start-up")[1:4],
                         ["23.0 ms", "20.0 ms (plain Qt window)", "1.150"])
        self.assertEqual(self.row(body, "Peak")[1:4],
                         ["3.0 MiB", "1.0 MiB (plain Qt window)", "3.000"])

    def test_a_run_without_launches_of_both_windows_is_refused(self):
        self.write(engine_json(), [(20.0, 1000)], [])
        with self.assertRaises(SystemExit):
            perf_report.table(self.results)

    def test_readme_gets_the_section_once_and_only_the_table_is_replaced(self):
        readme = os.path.join(self.results, "README.md")
        with open(readme, "w", encoding="utf-8") as f:
            f.write("# Title\n\nText.\n")
        perf_report.write_readme(readme, "first table")
        with open(readme, encoding="utf-8") as f:
            first = f.read()
        self.assertTrue(first.startswith("# Title\n\nText.\n\n## Performance\n\n"))
        self.assertTrue(first.endswith(f"{perf_report.BEGIN}\nfirst table\n{perf_report.END}\n"))

        with open(readme, "a", encoding="utf-8") as f:
            f.write("\n## Later section\n")
        perf_report.write_readme(readme, "second table")
        with open(readme, encoding="utf-8") as f:
            second = f.read()
        self.assertEqual(second, first.replace("first table", "second table") +
                         "\n## Later section\n")
        self.assertEqual(second.count("## Performance"), 1)


if __name__ == "__main__":
    unittest.main()
