#pragma once
// Charts the layout tests draw: the catalogue's ten oils (the most crowded chart a user asks
// for), in each temperature unit and over a narrow range, a steep oil whose labels run to
// 1e+300, five oils in °F with a long name, and a chart with a level; and the picture sizes they
// are drawn at.

#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "chart/chart_scene.h"

namespace project1 {

inline std::vector<ChartOil> CatalogueOils(std::vector<double> references = {71, 150}) {
  std::vector<ChartOil> oils;
  for (const Lubricant& oil : LubricantCatalogue) {
    oils.push_back({std::string(oil.name),
                    FitLine40100(Law::Walther, oil.nu40, oil.nu100),
                    {{{40, oil.nu40}, {100, oil.nu100}}},
                    references});
  }
  return oils;
}

struct SampleChart {
  std::string what;
  ChartDescription chart;
};

inline std::vector<SampleChart> SampleCharts() {
  const ChartOil steep{"steep", FitLine40100(Law::Walther, 1e6, 2), {{{40, 1e6}, {100, 2}}}, {}};
  const ChartOil typical{
      "SHC 632", FitLine40100(Law::Walther, 320, 35), {{{40, 320}, {100, 35}}}, {71, 150}};
  // Four of the catalogue's oils and a typed one with a long name, over the table's span in °F.
  std::vector<ChartOil> five;
  for (const std::size_t i : {0U, 2U, 5U, 8U}) five.push_back(CatalogueOils({})[i]);
  five.push_back(
      {"Reference gear oil from the north plant tank, lot 2026-11, as sampled at the "
       "inlet filters",
       FitLine40100(Law::Walther, 100, 11),
       {{{40, 100}, {100, 11}}},
       {}});
  return {
      {"ten oils", BuildChart(CatalogueOils())},
      {"five oils in °F, one of a long name",
       BuildChart(five, {-40, 250}, {}, TemperatureUnit::Fahrenheit)},
      {"ten oils in °F", BuildChart(CatalogueOils(), {}, {}, TemperatureUnit::Fahrenheit)},
      {"ten oils in K", BuildChart(CatalogueOils(), {}, {}, TemperatureUnit::Kelvin)},
      {"ten oils from 50 to 80 °C", BuildChart(CatalogueOils({60}), {50, 80})},
      {"steep oil", BuildChart({steep, typical})},
      {"one oil and a level",
       BuildChart({typical}, {}, {{13.28, "ν1 = 13.28 cSt (κ = 1)", 0}, {53.12, "4 ν1", 0}})},
  };
}

struct PictureSize {
  double width;
  double height;
};
// The tool's picture, a wide low one, a small window and the chart window's smallest.
inline constexpr PictureSize kPictureSizes[] = {{800, 560}, {820, 480}, {640, 420}, {480, 336}};

// The texts of a laid-out chart, in drawing order.
inline std::vector<TextShape> TextsOf(const ChartScene& scene) {
  std::vector<TextShape> texts;
  for (const Shape& shape : scene.shapes) {
    if (const auto* text = std::get_if<TextShape>(&shape)) texts.push_back(*text);
  }
  return texts;
}

}  // namespace project1
