// The chart's SVG: ten oils of the catalogue on one chart, described and written.

#include <benchmark/benchmark.h>

#include <vector>

#include "catalogue/catalogue.h"
#include "chart/chart_svg.h"

namespace {

std::vector<project1::ChartOil> TenOils() {
  std::vector<project1::ChartOil> oils;
  for (const project1::Lubricant& oil : project1::LubricantCatalogue) {
    oils.push_back({std::string(oil.name),
                    project1::FitLine40100(project1::Law::Walther, oil.nu40, oil.nu100),
                    {{{40, oil.nu40}, {100, oil.nu100}}},
                    {71, 150}});
  }
  return oils;
}

void BM_ChartSvg10Oils(benchmark::State& state) {
  const std::vector<project1::ChartOil> oils = TenOils();
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string svg = project1::ChartSvg(project1::BuildChart(oils));
    bytes = svg.size();
    benchmark::DoNotOptimize(svg.data());
  }
  state.counters["svg_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ChartSvg10Oils)->Unit(benchmark::kMicrosecond);

// The floor of the chart's ratio in scripts/bench --check: the same ten lines evaluated at 100
// temperatures each, which costs what the chart's arithmetic costs and nothing of its layout
// or text.
void BM_ChartFloor(benchmark::State& state) {
  const std::vector<project1::ChartOil> oils = TenOils();
  for (auto _ : state) {
    double sum = 0;
    for (const project1::ChartOil& oil : oils) {
      for (int t = 0; t < 100; ++t) sum += project1::KinematicAt(oil.line, -20 + 1.5 * t);
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_ChartFloor)->Unit(benchmark::kMicrosecond);

}  // namespace
