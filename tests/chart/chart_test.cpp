// The chart description: straight lines, ticks at the standard values, markers, trimming, the
// grade band, the chart in words and its errors.

#include "chart/chart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "chart/chart_scene.h"
#include "engine/oil_properties.h"
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

TEST(ChartLines, AnOilKeepsItsColourFromChartToChartAndNoTwoShareOne) {
  const ChartOil a = Oil40100("SHC 632", Law::Walther, 320, 35);
  const ChartOil b = Oil40100("SHC 624", Law::Walther, 31, 5.8);
  const ChartOil c = Oil40100("Gear oil", Law::Walther, 220, 19);
  auto colour_of = [](const std::vector<ChartOil>& oils, const std::string& name) {
    for (const ChartLine& line : BuildChart(oils).lines) {
      if (line.name == name) return line.colour;
    }
    return std::string();
  };
  // The same oil, alone, first, last, among others: one colour.
  const std::vector<std::vector<ChartOil>> charts = {{a}, {a, b}, {b, a}, {c, b, a}, {b, c}};
  for (const std::string& name : {"SHC 632", "SHC 624", "Gear oil"}) {
    std::set<std::string> colours;
    for (const std::vector<ChartOil>& oils : charts) {
      const std::string colour = colour_of(oils, name);
      if (!colour.empty()) colours.insert(colour);
    }
    EXPECT_EQ(colours.size(), 1U) << name;
  }
  // As many oils as colours: each its own, and none the bands'.
  std::vector<ChartOil> many;
  for (std::size_t i = 0; i < kLineColours.size(); ++i) {
    many.push_back(Oil40100("Oil " + std::to_string(i), Law::Walther, 46, 6.8));
  }
  std::set<std::string> colours;
  for (const ChartLine& line : BuildChart(many).lines) colours.insert(line.colour);
  EXPECT_EQ(colours.size(), kLineColours.size());
  EXPECT_EQ(colours.count(kChartBandColour), 0U);
  EXPECT_EQ(colours.count(kChartLevelColour), 0U);
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
  EXPECT_EQ(Labels(chart.y_ticks),
            (std::vector<std::string>{
                "4",      "5",       "6",       "8",       "10",       "15",     "20",
                "30",     "40",      "50",      "75",      "100",      "150",    "200",
                "300",    "500",     "1,000",   "2,000",   "5,000",    "10,000", "20,000",
                "50,000", "100,000", "200,000", "500,000", "1,000,000"}));
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
  EXPECT_EQ(chart.y_ticks.back().label.substr(0, 3), "1e+");
}

TEST(ChartAxes, TickLabelsGroupWithCommasLikeEveryOtherNumberOfTheProgram) {
  const struct {
    double value;
    const char* label;
  } cases[] = {{0.5, "0.5"},        {1.5, "1.5"},
               {-40, "-40"},        {0, "0"},
               {1000, "1,000"},     {5000, "5,000"},
               {10000, "10,000"},   {1e6, "1,000,000"},
               {1e7, "10,000,000"}, {1e14, "100,000,000,000,000"},
               {1e15, "1e+15"},     {1e300, "1e+300"}};
  for (const auto& c : cases) EXPECT_EQ(TickLabel(c.value), c.label) << c.value;
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

TEST(ChartSpan, TheAxisIsTheRangeAskedForAndAnEndNotGivenTakesInTheMarkers) {
  const struct {
    ChartSpan span;
    std::vector<double> references;
    double from_c;
    double to_c;
    std::vector<std::string> x_labels;
    std::size_t references_drawn;
  } cases[] = {
      {{50, 80},
       {},
       50,
       80,
       {"50", "52", "54", "56", "58", "60", "62", "64", "66", "68", "70", "72", "74", "76", "78",
        "80"},
       0},
      {{200, 250},
       {71, 220},
       200,
       250,
       {"200", "205", "210", "215", "220", "225", "230", "235", "240", "245", "250"},
       1},
      {{},
       {-60, 300},
       -60,
       300,
       {"-50", "-25", "0", "25", "50", "75", "100", "125", "150", "175", "200", "225", "250", "275",
        "300"},
       2},
      {{0, std::nullopt},
       {-60, 300},
       0,
       300,
       {"0", "20", "40", "60", "80", "100", "120", "140", "160", "180", "200", "220", "240", "260",
        "280", "300"},
       1},
  };
  for (const auto& c : cases) {
    const ChartDescription chart =
        BuildChart({Oil40100("SHC 632", Law::Walther, 320, 35, c.references)}, c.span);
    SCOPED_TRACE(c.from_c);
    EXPECT_EQ(chart.from_c, c.from_c);
    EXPECT_EQ(chart.to_c, c.to_c);
    EXPECT_EQ(chart.x_min, ChartX(Law::Walther, c.from_c));
    EXPECT_EQ(chart.x_max, ChartX(Law::Walther, c.to_c));
    EXPECT_EQ(Labels(chart.x_ticks), c.x_labels);
    const ChartLine& line = chart.lines.front();
    EXPECT_EQ(line.references.size(), c.references_drawn);
    EXPECT_NEAR(TemperatureFromChartX(Law::Walther, line.points.front().x), c.from_c, 1e-9);
    EXPECT_NEAR(TemperatureFromChartX(Law::Walther, line.points.back().x), c.to_c, 1e-9);
    // The viscosity axis fits what is drawn within the range, not the fitted points outside it.
    EXPECT_LT(chart.y_max, line.points.front().y + 0.1 * (chart.y_max - chart.y_min));
  }
}

TEST(ChartBand, EachOilsGradeIsABandAt40COnce) {
  const struct {
    std::vector<double> nu40;
    ChartSpan span;
    std::vector<int> grades;
  } cases[] = {
      {{320, 68}, {}, {320, 68}},
      {{35.2, 31, 68}, {}, {32, 68}},  // two oils of one grade share its band
      {{40, 68}, {}, {68}},            // 40 cSt lies between two grades
      {{320, 68}, {50, 80}, {}},       // 40 °C is off the axis
  };
  for (const auto& c : cases) {
    std::vector<ChartOil> oils;
    for (double nu40 : c.nu40) oils.push_back(Oil40100("oil", Law::Walther, nu40, 5.5));
    const ChartDescription chart = BuildChart(oils, c.span);
    ASSERT_EQ(chart.iso_bands.size(), c.grades.size()) << c.nu40.front();
    for (std::size_t i = 0; i < c.grades.size(); ++i) {
      const ChartBand& band = chart.iso_bands[i];
      const IsoGradeLimits& limits =
          *std::find_if(IsoGrades().begin(), IsoGrades().end(),
                        [&](const IsoGradeLimits& grade) { return grade.grade == c.grades[i]; });
      EXPECT_EQ(band.grade, c.grades[i]);
      EXPECT_EQ(band.label, "ISO VG " + std::to_string(c.grades[i]));
      EXPECT_EQ(band.minimum_cst, limits.minimum);
      EXPECT_EQ(band.maximum_cst, limits.maximum);
      EXPECT_NEAR(band.y_low, std::log10(std::log10(limits.minimum + 0.6)), 1e-12);
      EXPECT_NEAR(band.y_high, std::log10(std::log10(limits.maximum + 0.6)), 1e-12);
      EXPECT_NEAR(band.x, std::log10(313.16), 1e-12);
      EXPECT_TRUE(band.y_low >= chart.y_min && band.y_high <= chart.y_max);
    }
  }
}

TEST(ChartUnits, TheTemperatureAxisIsInTheUnitAsked) {
  const struct {
    TemperatureUnit unit;
    const char* title;
    std::vector<std::string> x_labels;
    const char* words;
  } cases[] = {
      {TemperatureUnit::Celsius,
       "Temperature, °C",
       {"0", "10", "20", "30", "40", "50", "60", "70", "80", "90", "100"},
       "Viscosity-temperature chart from 0 °C to 100 °C. A: a straight line through 320 cSt at "
       "40 °C and 35 cSt at 100 °C; 85.642 cSt at 71 °C. ISO VG 320 band at 40 °C: 288 to 352 "
       "cSt."},
      {TemperatureUnit::Fahrenheit,
       "Temperature, °F",
       {"40", "60", "80", "100", "120", "140", "160", "180", "200"},
       "Viscosity-temperature chart from 32 °F to 212 °F. A: a straight line through 320 cSt at "
       "104 °F and 35 cSt at 212 °F; 85.642 cSt at 159.8 °F. ISO VG 320 band at 104 °F: 288 to "
       "352 cSt."},
      {TemperatureUnit::Kelvin,
       "Temperature, K",
       {"280", "290", "300", "310", "320", "330", "340", "350", "360", "370"},
       "Viscosity-temperature chart from 273.15 K to 373.15 K. A: a straight line through 320 "
       "cSt at 313.15 K and 35 cSt at 373.15 K; 85.642 cSt at 344.15 K. ISO VG 320 band at "
       "313.15 K: 288 to 352 cSt."},
  };
  for (const auto& c : cases) {
    const ChartDescription chart =
        BuildChart({Oil40100("A", Law::Walther, 320, 35, {71})}, {0, 100}, {}, c.unit);
    SCOPED_TRACE(c.title);
    EXPECT_EQ(chart.unit, c.unit);
    EXPECT_EQ(ChartXTitle(chart.unit), c.title);
    EXPECT_EQ(Labels(chart.x_ticks), c.x_labels);
    // Each tick sits where its temperature, taken back to degrees C by hand, lies.
    for (const ChartTick& tick : chart.x_ticks) {
      const double t_c = c.unit == TemperatureUnit::Fahrenheit ? (tick.value - 32) * 5 / 9
                         : c.unit == TemperatureUnit::Kelvin   ? tick.value - 273.15
                                                               : tick.value;
      EXPECT_NEAR(tick.position, ChartX(Law::Walther, t_c), 1e-12) << tick.label;
    }
    EXPECT_EQ(DescribeChart(chart), c.words);
    // The unit changes what is shown, not what is drawn.
    const ChartDescription celsius =
        BuildChart({Oil40100("A", Law::Walther, 320, 35, {71})}, {0, 100});
    EXPECT_EQ(chart.x_min, celsius.x_min);
    EXPECT_EQ(chart.x_max, celsius.x_max);
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
  const ChartDescription two_bands = BuildChart(
      {Oil40100("SHC 632", Law::Walther, 320, 35), Oil40100("SHC 624", Law::Walther, 31, 5.8)});
  EXPECT_NE(DescribeChart(two_bands).find("ISO VG 320 band at 40 °C: 288 to 352 cSt. ISO VG 32 "
                                          "band at 40 °C: 28.8 to 35.2 cSt."),
            std::string::npos);
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
      {{walther}, {300, std::nullopt}, "The chart's span from 300 °C to 250 °C is empty."},
      {{Oil40100("steep", Law::Walther, 1e6, 2)},
       {-100, -50},
       "No line of the chart can be drawn from -100 °C to -50 °C."},
      // A span far beyond any oil: refused at once, not sampled and ticked to the end of memory.
      {{walther},
       {0, 6000},
       "The chart's span from 0 °C to 6000 °C is too wide: a chart spans at most 5000 K."},
  };
  for (const auto& c : cases) {
    ExpectError([&] { BuildChart(c.oils, c.span); }, Fault::InvalidArgument, c.message);
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
      Fault::InvalidArgument, "The level \"ν1\" at 0 cSt is outside what the chart can draw.");
}

// A reference temperature beyond the widest span is left out; the chart keeps its span.
TEST(ChartErrors, AFarReferenceIsLeftOutOfTheSpan) {
  for (const double far : {1e9, -1e9, 1e308}) {
    const ChartDescription chart = BuildChart({Oil40100("A", Law::Walther, 320, 35, {71, far})});
    EXPECT_EQ(chart.from_c, -40) << far;
    EXPECT_EQ(chart.to_c, 250) << far;
    ASSERT_EQ(chart.lines.at(0).references.size(), 1u) << far;
    EXPECT_EQ(chart.lines[0].references[0].temperature_c, 71) << far;
  }
}
