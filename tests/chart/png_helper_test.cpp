// The PNG helper: the chart drawn by Qt SVG in a separate program, read back, and its failures.

#include "chart_png/png_helper.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <string>

#include "chart/chart_svg.h"
#include "error_expectations.h"
#include "line_pixels.h"

using namespace project1;

TEST(PngHelper, DrawsTheChartWithEachLineThroughItsPoints) {
  const ChartDescription chart =
      BuildChart({{"SHC 632", FitLine40100(Law::Walther, 320, 35), {{{40, 320}, {100, 35}}}, {71}},
                  {"SHC 624", FitLine40100(Law::Walther, 31, 5.8), {{{40, 31}, {100, 5.8}}}, {}}});
  const std::string png = SvgToPng(ChartSvg(chart), PNG_HELPER);
  QImage image;
  ASSERT_TRUE(image.loadFromData(reinterpret_cast<const uchar*>(png.data()),
                                 static_cast<int>(png.size()), "PNG"));
  ASSERT_EQ(image.size(), QSize(800, 560));
  const PlotArea area = PlotAreaFor(chart, 800, 560);
  for (const ChartLine& line : chart.lines) {
    const QColor colour(QString::fromStdString(line.colour));
    for (const ChartMarker& marker : line.fitted) {
      const PixelPoint at = ToPixels(chart, area, marker.at);
      EXPECT_TRUE(LinePassesNear(image, at, colour)) << line.name << " " << marker.temperature_c;
      EXPECT_FALSE(LinePassesNear(image, {at.x, at.y - 12}, colour)) << line.name;
    }
  }
}

TEST(PngHelper, FailuresNameTheHelper) {
  const std::string svg = ChartSvg(
      BuildChart({{"A", FitLine40100(Law::Walther, 320, 35), {{{40, 320}, {100, 35}}}, {}}}));
  const struct {
    const char* helper;
    std::string svg;
    const char* message;
  } cases[] = {
      {"/nonexistent/project1-chart-png", svg,
       "The PNG helper /nonexistent/project1-chart-png could not be started: No such file or "
       "directory."},
      {"/bin/false", svg, "The PNG helper /bin/false could not draw the chart."},
      {nullptr, "<svg", nullptr},
  };
  for (const auto& c : cases) {
    if (c.helper == nullptr) {
      // Not an SVG: the real helper refuses it.
      ExpectError([&] { SvgToPng(c.svg, PNG_HELPER); }, ErrorKind::File,
                  std::string("The PNG helper ") + PNG_HELPER + " could not draw the chart.");
      continue;
    }
    ExpectError([&] { SvgToPng(c.svg, c.helper); }, ErrorKind::File, c.message);
  }
}

// The helper is looked for beside the calling program only, never at the folder it was built in:
// this test program lies where no helper is beside it.
TEST(PngHelper, IsFoundOnlyBesideTheProgram) {
  ExpectError([] { ChartPngHelper(); }, ErrorKind::File,
              "The PNG helper project1-chart-png is not installed beside this program.");
}
