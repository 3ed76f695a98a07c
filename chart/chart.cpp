#include "chart/chart.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "engine/oil_properties.h"
#include "engine/temperature_unit.h"
#include "numtext/numtext.h"

namespace project1 {

namespace {

// The largest viscosity drawn: lines are trimmed where they pass it, well inside a double.
constexpr double kLargestDrawnCst = 1e300;
// The step between the points computed along each line, degrees C.
constexpr double kSampleStepC = 5;
// At most this many temperature ticks.
constexpr double kMostTemperatureTicks = 16;
// The widest span a chart draws, in kelvin: its ticks, sampled points and labels stay bounded,
// whatever temperature an oil's markers or the span ask for.
constexpr double kWidestSpanK = 5000;
// Viscosity ticks closer than this share of the axis to the previous one are left out.
constexpr double kTickSpacingShare = 1.0 / 160;
// Room above and below the highest and lowest thing drawn, as a share of the y span.
constexpr double kYPaddingShare = 0.04;

// The temperature at which a grade's limits hold, degrees C.
constexpr double kIsoGradeAtC = 40;

}  // namespace

const std::array<std::string_view, 10> kLineColours = {"#1f5fbf", "#c0392b", "#2e8b57", "#8e44ad",
                                                       "#d35400", "#00838f", "#7f6000", "#c2185b",
                                                       "#455a64", "#6d4c41"};

namespace {

// The colour of the oil named `name`: the same on every chart, from the name alone (FNV-1a of
// its bytes), unless an oil before it on this chart has it already; then the next one free.
std::string_view LineColour(std::string_view name, std::vector<bool>& taken) {
  std::uint64_t hash = 14695981039346656037ULL;
  for (const char c : name) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
  }
  std::size_t index = static_cast<std::size_t>(hash % kLineColours.size());
  if (std::find(taken.begin(), taken.end(), false) != taken.end()) {
    while (taken[index]) index = (index + 1) % kLineColours.size();
  }
  taken[index] = true;
  return kLineColours[index];
}

// A temperature in `unit` for the chart in words: "40 °C", "104 °F", "313.15 K".
std::string InUnit(double t_c, TemperatureUnit unit) {
  return DegreesText(FormatNumber(FromCelsius(t_c, unit), kChartNumberPattern), unit);
}

// The temperatures at which a line's viscosity stays at or below kLargestDrawnCst, within
// [from, to]; nullopt when none.
struct Range {
  double from_c;
  double to_c;
};
std::optional<Range> DrawnRange(const ViscosityLine& line, double from_c, double to_c) {
  if (line.b == 0) return Range{from_c, to_c};
  // y = a - b x reaches the largest drawn viscosity at x_limit.
  const double x_limit = (line.a - ChartY(line.law, kLargestDrawnCst)) / line.b;
  const double x_from = ChartX(line.law, from_c);
  const double x_to = ChartX(line.law, to_c);
  if (line.b > 0) {  // thicker when colder: trimmed at the cold end
    if (x_limit > x_to) return std::nullopt;
    if (x_limit > x_from) from_c = TemperatureFromChartX(line.law, x_limit);
  } else {  // thicker when hotter: trimmed at the hot end
    if (x_limit < x_from) return std::nullopt;
    if (x_limit < x_to) to_c = TemperatureFromChartX(line.law, x_limit);
  }
  return Range{from_c, to_c};
}

// The line's y at t. On the window's law it is the engine's viscosity there in chart
// coordinates, the very numbers the window shows. On d341 the way back from Z to a viscosity is
// the standard's approximation, so the line's own Z is used instead.
double LineY(const ViscosityLine& line, double t_c) {
  if (line.law == Law::Walther) return ChartY(line.law, KinematicAt(line, t_c));
  return line.a - line.b * ChartX(line.law, t_c);
}

ChartMarker Marker(Law law, double t_c, double nu_cst, std::string label) {
  return {t_c, nu_cst, {ChartX(law, t_c), ChartY(law, nu_cst)}, std::move(label)};
}

// The line of `oil` within [from_c, to_c]; `drawn` receives the temperatures it spans.
ChartLine LineOf(const ChartOil& oil, std::vector<bool>& taken, double from_c, double to_c,
                 std::optional<Range>& drawn_range) {
  const Law law = oil.line.law;
  ChartLine drawn;
  drawn.name = oil.name;
  drawn.colour = std::string(LineColour(oil.name, taken));
  for (const ViscosityPoint& point : oil.fitted) {
    drawn.fitted.push_back(Marker(law, point.temperature_c, point.kinematic_cst, {}));
  }
  const std::optional<Range> range = DrawnRange(oil.line, from_c, to_c);
  drawn_range = range;
  if (!range) return drawn;

  auto add = [&](double t_c) { drawn.points.push_back({ChartX(law, t_c), LineY(oil.line, t_c)}); };
  add(range->from_c);
  for (double k = std::floor(range->from_c / kSampleStepC) + 1; k * kSampleStepC < range->to_c;
       ++k) {
    add(k * kSampleStepC);
  }
  add(range->to_c);

  for (double t_c : oil.reference_temperatures) {
    if (t_c < range->from_c || t_c > range->to_c) continue;
    const double nu = KinematicAt(oil.line, t_c);
    drawn.references.push_back({t_c,
                                nu,
                                {ChartX(law, t_c), LineY(oil.line, t_c)},
                                FormatNumber(nu, kKinematicPattern) + " cSt"});
  }
  return drawn;
}

// Temperature ticks in `unit` at the multiples of the smallest round step that gives at most
// kMostTemperatureTicks of them.
std::vector<ChartTick> TemperatureTicks(Law law, double from_c, double to_c, TemperatureUnit unit) {
  static constexpr std::array<double, 11> kSteps = {1, 2, 5, 10, 20, 25, 50, 100, 200, 500, 1000};
  const double from = FromCelsius(from_c, unit);
  const double to = FromCelsius(to_c, unit);
  double step = kSteps.back();
  for (double candidate : kSteps) {
    if (std::floor(to / candidate) - std::ceil(from / candidate) + 1 <= kMostTemperatureTicks) {
      step = candidate;
      break;
    }
  }
  std::vector<ChartTick> ticks;
  const auto first = static_cast<long long>(std::ceil(from / step));
  const auto last = static_cast<long long>(std::floor(to / step));
  for (long long k = first; k <= last; ++k) {
    const double t = static_cast<double>(k) * step;
    // Kept on the axis where the way back to degrees C rounds past its end.
    const double t_c = std::clamp(ToCelsius(t, unit), from_c, to_c);
    ticks.push_back({t, ChartX(law, t_c), TickLabel(t)});
  }
  return ticks;
}

std::vector<ChartTick> ViscosityTicks(Law law, double y_min, double y_max) {
  std::vector<ChartTick> ticks;
  const double spacing = (y_max - y_min) * kTickSpacingShare;
  for (double nu : StandardChartViscosities()) {
    if (!(LawZ(law, nu) > 1)) continue;  // below what the law covers
    const double y = ChartY(law, nu);
    if (y < y_min || y > y_max) continue;
    if (!ticks.empty() && y - ticks.back().position < spacing) continue;
    ticks.push_back({nu, y, TickLabel(nu)});
  }
  return ticks;
}

std::optional<ChartBand> IsoBand(const ChartOil& oil, double from_c, double to_c) {
  constexpr double kAt = kIsoGradeAtC;
  if (kAt < from_c || kAt > to_c) return std::nullopt;
  double nu40 = KinematicAt(oil.line, kAt);
  for (const ViscosityPoint& point : oil.fitted) {
    if (point.temperature_c == kAt) nu40 = point.kinematic_cst;
  }
  const std::optional<int> grade = IsoGrade(nu40);
  if (!grade) return std::nullopt;
  for (const IsoGradeLimits& limits : IsoGrades()) {
    if (limits.grade != *grade) continue;
    const Law law = oil.line.law;
    return ChartBand{limits.grade,
                     limits.minimum,
                     limits.maximum,
                     ChartX(law, kAt),
                     ChartY(law, limits.minimum),
                     ChartY(law, limits.maximum),
                     "ISO VG " + std::to_string(limits.grade)};
  }
  return std::nullopt;
}

}  // namespace

const std::vector<double>& StandardChartViscosities() {
  static const std::vector<double> values = [] {
    std::vector<double> v = {0.3, 0.4,  0.5,  0.6,  0.8,   1,     1.5,   2,      3,   4,   5,   6,
                             8,   10,   15,   20,   30,    40,    50,    75,     100, 150, 200, 300,
                             500, 1000, 2000, 5000, 10000, 20000, 50000, 100000, 2e5, 5e5, 1e6};
    for (int exponent = 7; exponent <= 300; ++exponent) {
      v.push_back(std::stod("1e" + std::to_string(exponent)));
    }
    return v;
  }();
  return values;
}

std::string TickLabel(double value) { return ShownNumber(value, kChartNumberPattern); }

std::string ChartXTitle(TemperatureUnit unit) {
  return "Temperature, " + std::string(UnitSymbol(unit));
}

ChartDescription BuildChart(const std::vector<ChartOil>& oils, ChartSpan span,
                            std::vector<ChartLevel> levels, TemperatureUnit unit) {
  if (oils.empty()) {
    throw Error(Fault::InvalidArgument, "The chart needs at least one oil.");
  }
  const Law law = oils.front().line.law;
  for (const ChartOil& oil : oils) {
    if (oil.line.law != law) {
      throw Error(Fault::InvalidArgument,
                  "The oil \"" + oil.name + "\" follows the " + std::string(LawName(oil.line.law)) +
                      " law, not the chart's " + std::string(LawName(law)) + " law.");
    }
  }
  // The ends not given take in every marker.
  double from_c = span.from_c.value_or(kTableFromC);
  double to_c = span.to_c.value_or(kTableToC);
  // A marker further out than the widest span a chart draws is left out of it, not taken in.
  auto take_in = [&](double t_c) {
    if (!span.from_c && t_c < from_c && to_c - t_c <= kWidestSpanK) from_c = t_c;
    if (!span.to_c && t_c > to_c && t_c - from_c <= kWidestSpanK) to_c = t_c;
  };
  for (const ChartOil& oil : oils) {
    for (const ViscosityPoint& point : oil.fitted) take_in(point.temperature_c);
    for (double t_c : oil.reference_temperatures) take_in(t_c);
  }
  if (!(from_c < to_c)) {
    throw Error(Fault::InvalidArgument, "The chart's span from " +
                                            DegreesText(NumberToText(from_c)) + " to " +
                                            DegreesText(NumberToText(to_c)) + " is empty.");
  }
  if (!(to_c - from_c <= kWidestSpanK)) {
    throw Error(Fault::InvalidArgument,
                "The chart's span from " + DegreesText(NumberToText(from_c)) + " to " +
                    DegreesText(NumberToText(to_c)) + " is too wide: a chart spans at most " +
                    NumberToText(kWidestSpanK) + " K.");
  }
  if (!(AbsoluteTemperature(law, from_c) > 0)) {
    throw Error(Fault::InvalidArgument, "The chart's lowest temperature " +
                                            DegreesText(NumberToText(from_c)) +
                                            " is not above absolute zero.");
  }

  ChartDescription chart;
  chart.law = law;
  chart.unit = unit;
  double drawn_from = to_c;
  double drawn_to = from_c;
  double y_min = INFINITY;
  double y_max = -INFINITY;
  auto cover = [&](double t_c, double y) {
    drawn_from = std::min(drawn_from, t_c);
    drawn_to = std::max(drawn_to, t_c);
    y_min = std::min(y_min, y);
    y_max = std::max(y_max, y);
  };
  std::vector<bool> taken(kLineColours.size(), false);
  for (std::size_t i = 0; i < oils.size(); ++i) {
    std::optional<Range> range;
    ChartLine line = LineOf(oils[i], taken, from_c, to_c, range);
    if (range) {
      cover(range->from_c, line.points.front().y);
      cover(range->to_c, line.points.back().y);
    }
    for (const ChartMarker& marker : line.fitted) {
      if (marker.temperature_c >= from_c && marker.temperature_c <= to_c) {
        cover(marker.temperature_c, marker.at.y);
      }
    }
    for (const ChartMarker& marker : line.references) cover(marker.temperature_c, marker.at.y);
    chart.lines.push_back(std::move(line));
  }
  // Lines are straight, so their ends and markers bound them; the points in between are checked
  // as well, which costs little and keeps the bound exact under rounding.
  for (const ChartLine& line : chart.lines) {
    for (const ChartPoint& point : line.points) {
      y_min = std::min(y_min, point.y);
      y_max = std::max(y_max, point.y);
    }
  }
  // An end not given comes in to where the lines end; an end given stays.
  chart.from_c = span.from_c || !(drawn_from < drawn_to) ? from_c : drawn_from;
  chart.to_c = span.to_c || !(drawn_from < drawn_to) ? to_c : drawn_to;
  for (const ChartOil& oil : oils) {
    std::optional<ChartBand> band = IsoBand(oil, chart.from_c, chart.to_c);
    if (!band || std::any_of(chart.iso_bands.begin(), chart.iso_bands.end(),
                             [&](const ChartBand& drawn) { return drawn.grade == band->grade; })) {
      continue;
    }
    y_min = std::min(y_min, band->y_low);
    y_max = std::max(y_max, band->y_high);
    chart.iso_bands.push_back(std::move(*band));
  }
  for (ChartLevel& level : levels) {
    if (!(level.kinematic_cst > 0) || !std::isfinite(level.kinematic_cst) ||
        !(LawZ(law, level.kinematic_cst) > 1)) {
      throw Error(Fault::InvalidArgument, "The level \"" + level.label + "\" at " +
                                              NumberToText(level.kinematic_cst) +
                                              " cSt is outside what the chart can draw.");
    }
    level.y = ChartY(law, level.kinematic_cst);
    y_min = std::min(y_min, level.y);
    y_max = std::max(y_max, level.y);
  }
  chart.levels = std::move(levels);
  if (!(y_min <= y_max)) {
    throw Error(Fault::InvalidArgument, "No line of the chart can be drawn from " +
                                            DegreesText(NumberToText(chart.from_c)) + " to " +
                                            DegreesText(NumberToText(chart.to_c)) + ".");
  }
  const double padding = y_max > y_min ? (y_max - y_min) * kYPaddingShare : 0.05;
  chart.x_min = ChartX(law, chart.from_c);
  chart.x_max = ChartX(law, chart.to_c);
  chart.y_min = y_min - padding;
  chart.y_max = y_max + padding;
  chart.x_ticks = TemperatureTicks(law, chart.from_c, chart.to_c, unit);
  chart.y_ticks = ViscosityTicks(law, chart.y_min, chart.y_max);
  return chart;
}

std::string DescribeChart(const ChartDescription& chart) {
  auto degrees = [&chart](double t_c) { return InUnit(t_c, chart.unit); };
  std::string words = std::string(kChartTitle) + " from " + degrees(chart.from_c) + " to " +
                      degrees(chart.to_c) + ".";
  for (const ChartLine& line : chart.lines) {
    words += " " + line.name + ": a straight line";
    for (std::size_t i = 0; i < line.fitted.size(); ++i) {
      const bool last = i + 1 == line.fitted.size();
      words += (i == 0 ? " through "
                : last ? " and "
                       : ", ") +
               NumberToText(line.fitted[i].kinematic_cst) + " cSt at " +
               degrees(line.fitted[i].temperature_c);
    }
    for (std::size_t i = 0; i < line.references.size(); ++i) {
      words += (i == 0 ? "; " : ", ") + line.references[i].label + " at " +
               degrees(line.references[i].temperature_c);
    }
    words += ".";
  }
  for (const ChartLevel& level : chart.levels) {
    words += " " + level.label + ": level at " + NumberToText(level.kinematic_cst) + " cSt.";
  }
  for (const ChartBand& band : chart.iso_bands) {
    words += " " + band.label + " band at " + degrees(kIsoGradeAtC) + ": " +
             NumberToText(band.minimum_cst) + " to " + NumberToText(band.maximum_cst) + " cSt.";
  }
  return words;
}

}  // namespace project1
