#pragma once
// The chart laid out in pixels as a list of simple shapes, drawn in order: the SVG writer and the
// window's painter both draw exactly these shapes, so the two pictures agree to the pixel.

#include <string>
#include <variant>
#include <vector>

#include "chart/chart.h"

namespace project1 {

// Where the plot area sits in a picture of a given size, in pixels.
struct PlotArea {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
};

// The plot area of `chart` in a width x height picture: margins for the title, the tick labels
// and the axis titles, the left one wide enough for the widest viscosity label; never smaller
// than one pixel.
PlotArea PlotAreaFor(const ChartDescription& chart, double width, double height);

// A chart point in the picture's pixels (y grows downwards).
struct PixelPoint {
  double x = 0;
  double y = 0;
};
PixelPoint ToPixels(const ChartDescription& chart, const PlotArea& area, ChartPoint point);

struct Stroke {
  std::string colour;  // "#rrggbb"; empty for none
  double width = 1;
};

struct LineShape {
  PixelPoint from;
  PixelPoint to;
  Stroke stroke;
};
struct PolylineShape {
  std::vector<PixelPoint> points;
  Stroke stroke;
};
struct CircleShape {
  PixelPoint centre;
  double radius = 0;
  Stroke stroke;
  std::string fill;  // empty for none
};
struct RectShape {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;
  Stroke stroke;
  std::string fill;  // empty for none
  double fill_opacity = 1;
};
enum class TextAnchor { Start, Middle, End };
struct TextShape {
  PixelPoint at;  // the baseline point the anchor refers to
  std::string text;
  double size = 12;  // pixels
  TextAnchor anchor = TextAnchor::Start;
  std::string colour;
  bool bold = false;
  bool vertical = false;  // turned a quarter anticlockwise about `at`
};

using Shape = std::variant<LineShape, PolylineShape, CircleShape, RectShape, TextShape>;

// The shapes, member by member.
LineShape MakeLine(PixelPoint from, PixelPoint to, const Stroke& stroke);
CircleShape MakeCircle(PixelPoint centre, double radius, const Stroke& stroke,
                       const std::string& fill);
RectShape MakeRect(double x, double y, double width, double height, const Stroke& stroke,
                   const std::string& fill, double fill_opacity);
TextShape MakeText(PixelPoint at, const std::string& text, double size, TextAnchor anchor,
                   const std::string& colour, bool bold, bool vertical);

struct ChartScene {
  double width = 0;
  double height = 0;
  std::string background;
  PlotArea area;
  std::vector<Shape> shapes;
};

// The colour of the levels drawn across the chart.
inline constexpr const char* kChartLevelColour = "#b03a2e";
// The colour of the ISO grade bands, which no line has (kLineColours).
inline constexpr const char* kChartBandColour = "#d9a400";
// Half a band's width: wider than a fitted point's ring, so that a band at a point is still seen
// around it.
inline constexpr double kChartBandHalfWidth = 9;

inline constexpr double kChartDefaultWidth = 800;
inline constexpr double kChartDefaultHeight = 560;

// The shapes of `chart` in a width x height picture, the texts drawn last. No text touches
// another or leaves the picture: a tick label that would is left out (keeping the roundest
// values), an oil's name moves up or down the plot's edge until it is clear, and a band's,
// level's or marker's label takes the first clear place beside what it names, or is left out.
ChartScene LayOutChart(const ChartDescription& chart, double width, double height);

}  // namespace project1
