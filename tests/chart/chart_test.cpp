// The chart description: straight lines, ticks at the standard values, markers, trimming, the
// grade band, the chart in words and its errors.

#include "chart/chart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "error_expectations.h"
#include "numtext/numtext.h"

using namespace project1;

namespace {

ChartOil Oil40100(const std::string& name, Law law, double nu40, double nu100,
                  std::vector<double> references = {}) {
  return {name, FitLine40100(law, nu40, nu100), {{{40, nu40}, {100, nu100}}}, references};
}

// The largest distance of a line's points from the straight line through its first and last.
double WorstDeviation(const ChartLine& line) {
  const ChartPoint first = line.points.front();
  const ChartPoint last = line.points.back();
  const double slope = (last.y - first.y) / (last.x - first.x);
  double worst = 0;
  for (const ChartPoint& p : line.points) {
    worst = std::max(worst, std::abs(p.y - (first.y + slope * (p.x - first.x))));
  }
  return worst;
}

std::vector<std::string> Labels(const std::vector<ChartTick>& ticks) {
  std::vector<std::string> labels;
  for (const ChartTick& tick : ticks) labels.push_back(tick.label);
  return labels;
}

}  // namespace

TEST(ChartLines, EveryLineIsStraightInChartCoordinates) {
  struct Case {
    const char* what;
    ChartOil oil;
    ChartSpan span;
  };
  const Case cases[] = {
      {"typical oil", Oil40100("SHC 632", Law::Walther, 320, 35), {}},
      {"thin oil", Oil40100("SHC 624", Law::Walther, 31, 5.8), {}},
      {"d341 heavy oil", Oil40100("gear", Law::D341, 404, 28), {}},
      {"d341 light oil",
       {"light", FitLine(Law::D341, {0, 1.644}, {40, 0.925}), {{{0, 1.644}, {40, 0.925}}}, {}},
       {}},
      {"wide span", Oil40100("SHC 639", Law::Walther, 968, 78.5), {-100, 400}},
  };
  for (const Case& c : cases) {
    const ChartDescription chart = BuildChart({c.oil}, c.span);
    ASSERT_EQ(chart.lines.size(), 1u) << c.what;
    const ChartLine& line = chart.lines.front();
    ASSERT_GE(line.points.size(), 10u) << c.what;
    EXPECT_LE(WorstDeviation(line), 1e-9) << c.what;
    // Every point lies inside the plot area.
    for (const ChartPoint& p : line.points) {
      EXPECT_TRUE(p.x >= chart.x_min && p.x <= chart.x_max && p.y >= chart.y_min &&
                  p.y <= chart.y_max)
          << c.what << " at x " << p.x;
    }
  }
}

TEST(ChartLines, FittedMarkersSitOnTheLineAtTheFittedPoints) {
  const ChartDescription chart = BuildChart({Oil40100("SHC 632", Law::Walther, 320, 35)});
  const ChartLine& line = chart.lines.front();
  ASSERT_EQ(line.fitted.size(), 2u);
  const struct {
    double t;
    double nu;
  } expected[] = {{40, 320}, {100, 35}};
  for (std::size_t i = 0; i < 2; ++i) {
    const ChartMarker& marker = line.fitted[i];
    EXPECT_EQ(marker.temperature_c, expected[i].t);
    EXPECT_EQ(marker.kinematic_cst, expected[i].nu);
    // x = log10(T + 273.16), y = log10 log10(nu + 0.6), by hand.
    EXPECT_NEAR(marker.at.x, std::log10(expected[i].t + 273.16), 1e-12);
    EXPECT_NEAR(marker.at.y, std::log10(std::log10(expected[i].nu + 0.6)), 1e-12);
    // The marker lies on the drawn line.
    const ChartPoint first = line.points.front();
    const ChartPoint last = line.points.back();
    const double on_line =
        first.y + (last.y - first.y) / (last.x - first.x) * (marker.at.x - first.x);
    EXPECT_NEAR(marker.at.y, on_line, 1e-9);
  }
}

TEST(ChartLines, ReferenceMarkersCarryTheViscosityAsTheWindowShowsIt) {
  const ChartDescription chart =
      BuildChart({Oil40100("SHC 632", Law::Walther, 320, 35, {71, 150}),
                  Oil40100("SHC 624", Law::Walther, 31, 5.8, {71, 150})});
  ASSERT_EQ(chart.lines.size(), 2u);
  // The window shows 85.642 and 11.987 for the first oil, 11.247 and 2.685 for the second.
  const char* const expected[2][2] = {{"85.642 cSt", "11.987 cSt"}, {"11.247 cSt", "2.685 cSt"}};
  for (std::size_t oil = 0; oil < 2; ++oil) {
    const ChartLine& line = chart.lines[oil];
    ASSERT_EQ(line.references.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
      EXPECT_EQ(line.references[i].label, expected[oil][i]);
      EXPECT_EQ(line.references[i].temperature_c, i == 0 ? 71 : 150);
    }
  }
  EXPECT_NE(chart.lines[0].colour, chart.lines[1].colour);
}

TEST(ChartAxes, TicksAreTheStandardValuesInRange) {
  const ChartDescription chart = BuildChart({Oil40100("SHC 632", Law::Walther, 320, 35)});
  EXPECT_EQ(chart.from_c, -40);
  EXPECT_EQ(chart.to_c, 250);
  EXPECT_EQ(Labels(chart.x_ticks),
            (std::vector<std::string>{"-40", "-20", "0", "20", "40", "60", "80", "100", "120",
                                      "140", "160", "180", "200", "220", "240"}));
  // From 3.527 cSt at 250 °C to 412,753.932 cSt at -40 °C with 4 % of room either side:
  // y from -0.249 to 0.788, which leaves out 3 cSt (y = -0.255) and holds 1,000,000 (0.778).
  EXPECT_EQ(
      Labels(chart.y_ticks),
      (std::vector<std::string>{
          "4",    "5",      "6",      "8",      "10",      "15",      "20",      "30",       "40",
          "50",   "75",     "100",    "150",    "200",     "300",     "500",     "1000",     "2000",
          "5000", "10 000", "20 000", "50 000", "100 000", "200 000", "500 000", "1 000 000"}));
  for (const std::vector<ChartTick>* ticks : {&chart.x_ticks, &chart.y_ticks}) {
    const bool along_x = ticks == &chart.x_ticks;
    for (const ChartTick& tick : *ticks) {
      const double low = along_x ? chart.x_min : chart.y_min;
      const double high = along_x ? chart.x_max : chart.y_max;
      EXPECT_TRUE(tick.position >= low && tick.position <= high) << tick.label;
    }
  }
}

TEST(ChartAxes, ViscosityTicksStayStandardAndApartOnAVerySteepLine) {
  // 1,000,000 cSt at 40 °C and 2 cSt at 100 °C: above 1e300 cSt below about -4 °C.
  const ChartDescription chart = BuildChart({Oil40100("steep", Law::Walther, 1e6, 2)});
  const std::vector<double>& standard = StandardChartViscosities();
  const double least_gap = (chart.y_max - chart.y_min) / 160;
  for (std::size_t i = 0; i < chart.y_ticks.size(); ++i) {
    const ChartTick& tick = chart.y_ticks[i];
    EXPECT_NE(std::find(standard.begin(), standard.end(), tick.value), standard.end())
        << tick.label;
    EXPECT_TRUE(tick.position >= chart.y_min && tick.position <= chart.y_max) << tick.label;
    if (i > 0) {
      EXPECT_GE(tick.position - chart.y_ticks[i - 1].position, least_gap) << tick.label;
    }
  }
  EXPECT_LE(chart.y_ticks.size(), 161u);
  EXPECT_EQ(chart.y_ticks.back().label.substr(0, 2), "1e");
}

TEST(ChartAxes, TickLabels) {
  const struct {
    double cst;
    const char* label;
  } cases[] = {{0.5, "0.5"},   {1.5, "1.5"},      {75, "75"},          {1000, "1000"},
               {5000, "5000"}, {10000, "10 000"}, {200000, "200 000"}, {1e6, "1 000 000"},
               {1e7, "1e7"},   {1e300, "1e300"}};
  for (const auto& c : cases) EXPECT_EQ(ViscosityTickLabel(c.cst), c.label) << c.cst;
}

TEST(ChartSpan, LinesAreTrimmedWhereTheViscosityLeavesWhatADoubleHolds) {
  const ChartOil steep = Oil40100("steep", Law::Walther, 1e6, 2);
  const ChartDescription chart = BuildChart({steep});
  ASSERT_FALSE(chart.lines.front().points.empty());
  EXPECT_GT(chart.from_c, -40);
  EXPECT_LT(chart.from_c, 40);
  EXPECT_EQ(chart.to_c, 250);
  // The line begins where it reaches 1e300 cSt.
  EXPECT_NEAR(KinematicAt(steep.line, chart.from_c) / 1e300, 1, 1e-6);
  EXPECT_NEAR(TemperatureFromChartX(Law::Walther, chart.lines.front().points.front().x),
              chart.from_c, 1e-9);
}

TEST(ChartSpan, MarkersOutsideTheSpanWidenIt) {
  const ChartDescription chart =
      BuildChart({Oil40100("SHC 632", Law::Walther, 320, 35, {-60, 300})});
  EXPECT_EQ(chart.from_c, -60);
  EXPECT_EQ(chart.to_c, 300);
  EXPECT_EQ(chart.lines.front().references.size(), 2u);
  const ChartDescription narrow =
      BuildChart({Oil40100("SHC 632", Law::Walther, 320, 35)}, {60, 80});
  EXPECT_EQ(narrow.from_c, 40);  // the fitted points are always on the chart
  EXPECT_EQ(narrow.to_c, 100);
  EXPECT_EQ(Labels(narrow.x_ticks),
            (std::vector<std::string>{"40", "45", "50", "55", "60", "65", "70", "75", "80", "85",
                                      "90", "95", "100"}));
}

TEST(ChartBand, TheFirstOilsGradeIsABandAt40C) {
  const struct {
    double nu40;
    int grade;  // 0: none
    double low;
    double high;
  } cases[] = {{320, 320, 288, 352}, {35.2, 32, 28.8, 35.2}, {40, 0, 0, 0}, {31, 32, 28.8, 35.2}};
  for (const auto& c : cases) {
    const ChartDescription chart = BuildChart(
        {Oil40100("first", Law::Walther, c.nu40, 5.5), Oil40100("second", Law::Walther, 68, 9)});
    if (c.grade == 0) {
      EXPECT_FALSE(chart.iso_band.has_value()) << c.nu40;
      continue;
    }
    ASSERT_TRUE(chart.iso_band.has_value()) << c.nu40;
    EXPECT_EQ(chart.iso_band->grade, c.grade);
    EXPECT_EQ(chart.iso_band->label, "ISO VG " + std::to_string(c.grade));
    EXPECT_EQ(chart.iso_band->minimum_cst, c.low);
    EXPECT_EQ(chart.iso_band->maximum_cst, c.high);
    EXPECT_NEAR(chart.iso_band->y_low, std::log10(std::log10(c.low + 0.6)), 1e-12);
    EXPECT_NEAR(chart.iso_band->y_high, std::log10(std::log10(c.high + 0.6)), 1e-12);
    EXPECT_NEAR(chart.iso_band->x, std::log10(313.16), 1e-12);
  }
}

TEST(ChartWords, TheChartInWordsNamesEachLineAndItsViscosities) {
  const ChartDescription chart = BuildChart(
      {Oil40100("SHC 632", Law::Walther, 320, 35, {71, 150}), Oil40100("B", Law::Walther, 40, 6)});
  EXPECT_EQ(DescribeChart(chart),
            "Viscosity-temperature chart from -40 °C to 250 °C. SHC 632: a straight line through "
            "320 cSt at 40 °C and 35 cSt at 100 °C; 85.642 cSt at 71 °C, 11.987 cSt at 150 °C. B: "
            "a straight line through 40 cSt at 40 °C and 6 cSt at 100 °C. ISO VG 320 band at "
            "40 °C: 288 to 352 cSt.");
}

TEST(ChartErrors, RefusedCharts) {
  const ChartOil walther = Oil40100("A", Law::Walther, 320, 35);
  const ChartOil d341 = Oil40100("B", Law::D341, 320, 35);
  const struct {
    std::vector<ChartOil> oils;
    ChartSpan span;
    const char* message;
  } cases[] = {
      {{}, {}, "The chart needs at least one oil."},
      {{walther, d341}, {}, "The oil \"B\" follows the d341 law, not the chart's walther law."},
      {{walther}, {250, -40}, "The chart's span from 250 °C to -40 °C is empty."},
      {{walther}, {20, 20}, "The chart's span from 20 °C to 20 °C is empty."},
      {{walther},
       {-300, 250},
       "The chart's lowest temperature -300 °C is not above absolute zero."},
  };
  for (const auto& c : cases) {
    ExpectError([&] { BuildChart(c.oils, c.span); }, ErrorKind::InvalidArgument, c.message);
  }
}

TEST(ChartLevels, LieAcrossTheChartAtTheirViscosityAndWidenItToThem) {
  struct Case {
    const char* what;
    Law law;
    double level;
  };
  const Case cases[] = {
      {"inside the lines' range", Law::Walther, 13.28},
      {"thinner than the line reaches", Law::Walther, 0.5},
      {"thicker than the line reaches", Law::D341, 1e7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ChartDescription plain = BuildChart({Oil40100("SHC 632", c.law, 320, 35)});
    const ChartDescription chart =
        BuildChart({Oil40100("SHC 632", c.law, 320, 35)}, {}, {{c.level, "ν1", 0}});
    ASSERT_EQ(chart.levels.size(), 1U);
    EXPECT_EQ(chart.levels[0].y, ChartY(c.law, c.level));
    EXPECT_GT(chart.levels[0].y, chart.y_min);
    EXPECT_LT(chart.levels[0].y, chart.y_max);
    EXPECT_LE(chart.y_min, plain.y_min);
    EXPECT_GE(chart.y_max, plain.y_max);
    EXPECT_EQ(chart.from_c, plain.from_c);  // the temperature axis stays
    EXPECT_NE(DescribeChart(chart).find("ν1: level at " + NumberToText(c.level) + " cSt."),
              std::string::npos);
  }
  ExpectError(
      [] {
        BuildChart({Oil40100("A", Law::Walther, 320, 35)}, {}, {{0, "ν1", 0}});
      },
      ErrorKind::InvalidArgument, "The level \"ν1\" at 0 cSt is outside what the chart can draw.");
}
