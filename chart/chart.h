#pragma once
// The viscosity-temperature chart as a description, free of any drawing library. It is drawn in
// the law's own coordinates x = log10 T, y = log10 log10 Z, in which every oil of the law is a
// straight line; its ticks carry temperatures in the unit asked for along x and cSt along y. The
// description is laid out into shapes in pixels (chart/chart_scene.h) that the SVG writer and the
// window's painter draw alike.
//
// Every failure is Error with a message that names the quantity and its value.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/table_text.h"
#include "engine/temperature_unit.h"
#include "engine/viscosity_line.h"

namespace project1 {

// One oil to draw: its fitted line, the points it was fitted through (two, or more for a
// least-squares line) and the temperatures (degrees C) at which its viscosity is wanted (none,
// one or two).
struct ChartOil {
  std::string name;
  ViscosityLine line;
  std::vector<ViscosityPoint> fitted;
  std::vector<double> reference_temperatures;
};

// The temperatures the chart spans, degrees C. An end given is the axis's end, and what lies
// beyond it is not drawn. An end not given is the table's (-40 or 250 degrees C), moved out to
// take in every fitted and reference temperature and in to where the lines end.
struct ChartSpan {
  std::optional<double> from_c;
  std::optional<double> to_c;
};

// A point in chart coordinates.
struct ChartPoint {
  double x = 0;
  double y = 0;
};

// A tick: its value (a temperature in the chart's unit, or cSt), its place along the axis in chart
// coordinates and its label.
struct ChartTick {
  double value = 0;
  double position = 0;
  std::string label;
};

// A marked point of a line: where it sits and, for a reference temperature, its label.
struct ChartMarker {
  double temperature_c = 0;
  double kinematic_cst = 0;
  ChartPoint at;
  std::string label;
};

struct ChartLine {
  std::string name;
  std::string colour;  // "#rrggbb"
  // Points on the line from the lowest to the highest temperature drawn; each one is the
  // engine's viscosity at that temperature in chart coordinates.
  std::vector<ChartPoint> points;
  std::vector<ChartMarker> fitted;      // the two points the line was fitted through; drawn
                                        // where they lie on the axis
  std::vector<ChartMarker> references;  // labelled with their viscosity as the window shows it
};

// An ISO viscosity grade of the oils, as a band at 40 degrees C between the grade's limits.
struct ChartBand {
  int grade = 0;
  double minimum_cst = 0;
  double maximum_cst = 0;
  double x = 0;
  double y_low = 0;
  double y_high = 0;
  std::string label;  // "ISO VG 320"
};

// A viscosity drawn level across the whole temperature axis, such as the rated viscosity a
// bearing needs (kappa = 1) and four times it (kappa = 4).
struct ChartLevel {
  double kinematic_cst = 0;
  std::string label;  // drawn above the line at the cold end
  double y = 0;       // in chart coordinates; set by BuildChart
};

struct ChartDescription {
  Law law = Law::Walther;
  TemperatureUnit unit = TemperatureUnit::Celsius;  // of the x axis's ticks and title
  double from_c = 0;                                // the temperatures the x axis spans, degrees C
  double to_c = 0;
  double x_min = 0;  // the plot area in chart coordinates
  double x_max = 0;
  double y_min = 0;
  double y_max = 0;
  std::vector<ChartTick> x_ticks;  // in `unit`
  std::vector<ChartTick> y_ticks;  // cSt
  std::vector<ChartLine> lines;
  std::vector<ChartBand> iso_bands;  // each oil's grade once, in the oils' order
  std::vector<ChartLevel> levels;
};

// The lines' colours, "#rrggbb". An oil's colour follows from its name, the same on every chart;
// two oils of one chart never share one while there are colours free.
extern const std::array<std::string_view, 10> kLineColours;

inline constexpr const char* kChartTitle = "Viscosity-temperature chart";
inline constexpr const char* kChartYTitle = "Kinematic viscosity, cSt";

// The title of the temperature axis: "Temperature, °C", "Temperature, °F", "Temperature, K".
std::string ChartXTitle(TemperatureUnit unit);

// The kinematic viscosities printed on the standard charts, ascending; the y ticks are drawn
// from these.
const std::vector<double>& StandardChartViscosities();

// The chart of `oils` over `span`, its viscosities widened to each level's, its temperatures
// shown in `unit`. Each line is trimmed where its viscosity leaves the range a double can show.
// All oils share the first oil's law. Error(InvalidArgument) for no oil, oils of different laws,
// an empty span or a level the law cannot draw.
ChartDescription BuildChart(const std::vector<ChartOil>& oils, ChartSpan span = {},
                            std::vector<ChartLevel> levels = {},
                            TemperatureUnit unit = TemperatureUnit::Celsius);

// The chart in words, for screen readers and the SVG's description: each line with its name,
// the viscosities it passes through and its reference viscosities, temperatures in the chart's
// unit.
std::string DescribeChart(const ChartDescription& chart);

// A tick label, as the program shows numbers: "0.5", "75", "10,000", "1e+15".
std::string TickLabel(double value);

}  // namespace project1
