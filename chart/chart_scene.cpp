#include "chart/chart_scene.h"

#include <algorithm>
#include <cmath>

namespace project1 {

namespace {

constexpr double kLeftMargin = 72;
constexpr double kRightMargin = 24;
constexpr double kTopMargin = 40;
constexpr double kBottomMargin = 52;

constexpr const char* kBackground = "#ffffff";
constexpr const char* kGrid = "#e2e2e2";
constexpr const char* kFrame = "#8a8a8a";
constexpr const char* kInk = "#303030";
constexpr const char* kBand = "#2e8b57";
constexpr const char* kBandText = "#1e5c3a";

constexpr double kTickTextSize = 11;
constexpr double kTitleSize = 15;
constexpr double kAxisTitleSize = 12;
constexpr double kLineWidth = 2;
constexpr double kFittedRadius = 5;
constexpr double kReferenceSide = 7;
constexpr double kBandHalfWidth = 5;

// 0 for a power of ten, 1 for 2 or 5 times one, 2 for any other value.
int RoundnessRank(double value) {
  const double mantissa = value / std::pow(10.0, std::floor(std::log10(value) + 1e-9));
  auto near = [&](double m) { return std::abs(mantissa - m) < 1e-6; };
  if (near(1) || near(10)) return 0;
  if (near(2) || near(5)) return 1;
  return 2;
}

}  // namespace

LineShape MakeLine(PixelPoint from, PixelPoint to, const Stroke& stroke) {
  LineShape shape;
  shape.from = from;
  shape.to = to;
  shape.stroke = stroke;
  return shape;
}

CircleShape MakeCircle(PixelPoint centre, double radius, const Stroke& stroke,
                       const std::string& fill) {
  CircleShape shape;
  shape.centre = centre;
  shape.radius = radius;
  shape.stroke = stroke;
  shape.fill = fill;
  return shape;
}

RectShape MakeRect(double x, double y, double width, double height, const Stroke& stroke,
                   const std::string& fill, double fill_opacity) {
  RectShape shape;
  shape.x = x;
  shape.y = y;
  shape.width = width;
  shape.height = height;
  shape.stroke = stroke;
  shape.fill = fill;
  shape.fill_opacity = fill_opacity;
  return shape;
}

TextShape MakeText(PixelPoint at, const std::string& text, double size, TextAnchor anchor,
                   const std::string& colour, bool bold, bool vertical) {
  TextShape shape;
  shape.at = at;
  shape.text = text;
  shape.size = size;
  shape.anchor = anchor;
  shape.colour = colour;
  shape.bold = bold;
  shape.vertical = vertical;
  return shape;
}

PlotArea PlotAreaFor(double width, double height) {
  return {kLeftMargin, kTopMargin, std::max(1.0, width - kLeftMargin - kRightMargin),
          std::max(1.0, height - kTopMargin - kBottomMargin)};
}

PixelPoint ToPixels(const ChartDescription& chart, const PlotArea& area, ChartPoint point) {
  return {area.left + (point.x - chart.x_min) / (chart.x_max - chart.x_min) * area.width,
          area.top + (chart.y_max - point.y) / (chart.y_max - chart.y_min) * area.height};
}

ChartScene LayOutChart(const ChartDescription& chart, double width, double height) {
  ChartScene scene{width, height, kBackground, {}};
  std::vector<Shape>& shapes = scene.shapes;
  const PlotArea area = PlotAreaFor(width, height);
  const double right = area.left + area.width;
  const double bottom = area.top + area.height;
  auto px = [&](double x, double y) { return ToPixels(chart, area, {x, y}); };

  shapes.push_back(
      MakeText({width / 2, 26}, kChartTitle, kTitleSize, TextAnchor::Middle, kInk, true, false));

  for (const ChartTick& tick : chart.x_ticks) {
    const double x = px(tick.position, chart.y_min).x;
    shapes.push_back(MakeLine({x, area.top}, {x, bottom}, {kGrid, 1}));
  }
  for (const ChartTick& tick : chart.y_ticks) {
    const double y = px(chart.x_min, tick.position).y;
    shapes.push_back(MakeLine({area.left, y}, {right, y}, {kGrid, 1}));
  }

  if (chart.iso_band) {
    const ChartBand& band = *chart.iso_band;
    const PixelPoint high = px(band.x, band.y_high);
    const PixelPoint low = px(band.x, band.y_low);
    shapes.push_back(MakeRect(high.x - kBandHalfWidth, high.y, 2 * kBandHalfWidth, low.y - high.y,
                              {kBand, 1}, kBand, 0.22));
    shapes.push_back(MakeText({high.x + kBandHalfWidth + 3, high.y - 3}, band.label, kTickTextSize,
                              TextAnchor::Start, kBandText, false, false));
  }

  // Levels across the whole plot, each labelled above its cold end.
  for (const ChartLevel& level : chart.levels) {
    const double y = px(chart.x_min, level.y).y;
    shapes.push_back(MakeLine({area.left, y}, {right, y}, {kChartLevelColour, 1.5}));
    shapes.push_back(MakeText({area.left + 6, y - 4}, level.label, kTickTextSize, TextAnchor::Start,
                              kChartLevelColour, false, false));
  }

  shapes.push_back(MakeRect(area.left, area.top, area.width, area.height, {kFrame, 1}, "", 1));
  for (const ChartTick& tick : chart.x_ticks) {
    const double x = px(tick.position, chart.y_min).x;
    shapes.push_back(MakeText({x, bottom + 16}, tick.label, kTickTextSize, TextAnchor::Middle, kInk,
                              false, false));
  }
  // Every grid line keeps its label unless it would crowd a label of a rounder value: powers of
  // ten first, then 2 and 5 times them, then the rest.
  {
    struct Candidate {
      double y;
      int rank;
      const ChartTick* tick;
    };
    std::vector<Candidate> candidates;
    for (const ChartTick& tick : chart.y_ticks) {
      candidates.push_back({px(chart.x_min, tick.position).y, RoundnessRank(tick.value), &tick});
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.rank < b.rank; });
    std::vector<Candidate> placed;
    for (const Candidate& candidate : candidates) {
      const bool crowded = std::any_of(placed.begin(), placed.end(), [&](const Candidate& other) {
        return std::abs(other.y - candidate.y) < kTickTextSize + 2;
      });
      if (!crowded) placed.push_back(candidate);
    }
    std::sort(placed.begin(), placed.end(),
              [](const Candidate& a, const Candidate& b) { return a.y > b.y; });
    for (const Candidate& label : placed) {
      shapes.push_back(MakeText({area.left - 6, label.y + 4}, label.tick->label, kTickTextSize,
                                TextAnchor::End, kInk, false, false));
    }
  }
  shapes.push_back(MakeText({area.left + area.width / 2, height - 12}, kChartXTitle, kAxisTitleSize,
                            TextAnchor::Middle, kInk, false, false));
  shapes.push_back(MakeText({18, area.top + area.height / 2}, kChartYTitle, kAxisTitleSize,
                            TextAnchor::Middle, kInk, false, true));

  for (const ChartLine& line : chart.lines) {
    PolylineShape polyline{{}, {line.colour, kLineWidth}};
    for (const ChartPoint& point : line.points) polyline.points.push_back(px(point.x, point.y));
    if (!polyline.points.empty()) shapes.push_back(std::move(polyline));
  }
  for (const ChartLine& line : chart.lines) {
    for (const ChartMarker& marker : line.fitted) {
      shapes.push_back(
          MakeCircle(px(marker.at.x, marker.at.y), kFittedRadius, {line.colour, 1.5}, ""));
    }
    for (const ChartMarker& marker : line.references) {
      const PixelPoint at = px(marker.at.x, marker.at.y);
      shapes.push_back(MakeRect(at.x - kReferenceSide / 2, at.y - kReferenceSide / 2,
                                kReferenceSide, kReferenceSide, {kInk, 1}, line.colour, 1));
      // Labels to the right of their marker, or to its left in the right quarter of the plot.
      const bool left = at.x > area.left + 0.75 * area.width;
      shapes.push_back(MakeText({left ? at.x - 8 : at.x + 8, at.y - 6}, marker.label, kTickTextSize,
                                left ? TextAnchor::End : TextAnchor::Start, line.colour, false,
                                false));
    }
    if (!line.points.empty()) {
      // The name at the hot end, on the side of the line away from its run: below a line that
      // falls towards the end, above one that rises, always inside the plot.
      const ChartPoint end = line.points.back();
      const ChartPoint before = line.points.front();
      const PixelPoint at = px(end.x, end.y);
      const bool falls = end.y <= before.y;
      const double y = falls ? at.y + kAxisTitleSize + 6 : at.y - 8;
      shapes.push_back(MakeText(
          {std::min(at.x, right) - 4, std::clamp(y, area.top + kAxisTitleSize + 2, bottom - 4)},
          line.name, kAxisTitleSize, TextAnchor::End, line.colour, true, false));
    }
  }
  return scene;
}

}  // namespace project1
