#include "chart/chart_scene.h"

#include <algorithm>

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

}  // namespace

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
      TextShape{{width / 2, 26}, kChartTitle, kTitleSize, TextAnchor::Middle, kInk, true, false});

  for (const ChartTick& tick : chart.x_ticks) {
    const double x = px(tick.position, chart.y_min).x;
    shapes.push_back(LineShape{{x, area.top}, {x, bottom}, {kGrid, 1}});
  }
  for (const ChartTick& tick : chart.y_ticks) {
    const double y = px(chart.x_min, tick.position).y;
    shapes.push_back(LineShape{{area.left, y}, {right, y}, {kGrid, 1}});
  }

  if (chart.iso_band) {
    const ChartBand& band = *chart.iso_band;
    const PixelPoint high = px(band.x, band.y_high);
    const PixelPoint low = px(band.x, band.y_low);
    shapes.push_back(RectShape{high.x - kBandHalfWidth,
                               high.y,
                               2 * kBandHalfWidth,
                               low.y - high.y,
                               {kBand, 1},
                               kBand,
                               0.22});
    shapes.push_back(TextShape{{high.x + kBandHalfWidth + 3, high.y - 3},
                               band.label,
                               kTickTextSize,
                               TextAnchor::Start,
                               kBandText,
                               false,
                               false});
  }

  shapes.push_back(RectShape{area.left, area.top, area.width, area.height, {kFrame, 1}, "", 1});
  for (const ChartTick& tick : chart.x_ticks) {
    const double x = px(tick.position, chart.y_min).x;
    shapes.push_back(TextShape{
        {x, bottom + 16}, tick.label, kTickTextSize, TextAnchor::Middle, kInk, false, false});
  }
  // Every grid line keeps its label unless that would crowd the label below it.
  double last_label_y = bottom + kTickTextSize * 2;
  for (const ChartTick& tick : chart.y_ticks) {
    const double y = px(chart.x_min, tick.position).y;
    if (last_label_y - y < kTickTextSize + 2) continue;
    last_label_y = y;
    shapes.push_back(TextShape{
        {area.left - 6, y + 4}, tick.label, kTickTextSize, TextAnchor::End, kInk, false, false});
  }
  shapes.push_back(TextShape{{area.left + area.width / 2, height - 12},
                             kChartXTitle,
                             kAxisTitleSize,
                             TextAnchor::Middle,
                             kInk,
                             false,
                             false});
  shapes.push_back(TextShape{{18, area.top + area.height / 2},
                             kChartYTitle,
                             kAxisTitleSize,
                             TextAnchor::Middle,
                             kInk,
                             false,
                             true});

  for (const ChartLine& line : chart.lines) {
    PolylineShape polyline{{}, {line.colour, kLineWidth}};
    for (const ChartPoint& point : line.points) polyline.points.push_back(px(point.x, point.y));
    if (!polyline.points.empty()) shapes.push_back(std::move(polyline));
  }
  for (const ChartLine& line : chart.lines) {
    for (const ChartMarker& marker : line.fitted) {
      shapes.push_back(
          CircleShape{px(marker.at.x, marker.at.y), kFittedRadius, {line.colour, 1.5}, ""});
    }
    for (const ChartMarker& marker : line.references) {
      const PixelPoint at = px(marker.at.x, marker.at.y);
      shapes.push_back(RectShape{at.x - kReferenceSide / 2,
                                 at.y - kReferenceSide / 2,
                                 kReferenceSide,
                                 kReferenceSide,
                                 {kInk, 1},
                                 line.colour,
                                 1});
      // Labels to the right of their marker, or to its left in the right quarter of the plot.
      const bool left = at.x > area.left + 0.75 * area.width;
      shapes.push_back(TextShape{{left ? at.x - 8 : at.x + 8, at.y - 6},
                                 marker.label,
                                 kTickTextSize,
                                 left ? TextAnchor::End : TextAnchor::Start,
                                 line.colour,
                                 false,
                                 false});
    }
    if (!line.points.empty()) {
      const ChartPoint end = line.points.back();
      const PixelPoint at = px(end.x, end.y);
      shapes.push_back(TextShape{{std::min(at.x, right) - 4, std::max(at.y - 8, area.top + 12)},
                                 line.name,
                                 kAxisTitleSize,
                                 TextAnchor::End,
                                 line.colour,
                                 true,
                                 false});
    }
  }
  return scene;
}

}  // namespace project1
