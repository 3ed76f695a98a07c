// The chart's text metrics against Qt's layout of the same texts in the same font: the renderer
// the window and the PNG helper draw with. Every text of the sample charts is as wide as the
// table says, and its ink lies inside the box the layout keeps clear.

#include "chart/text_metrics.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <cmath>

#include "sample_charts.h"

using namespace project1;

namespace {

QGuiApplication& Application() {
  static int argc = 1;
  static char name[] = "text_metrics_test";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(argc, argv);
  return app;
}

// The font the window's painter and Qt SVG pick for a chart text.
QFont FontOf(const TextShape& text) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(static_cast<int>(std::lround(text.size)));
  font.setBold(text.bold);
  return font;
}

}  // namespace

TEST(ChartTextMetrics, AgreeWithQtForEveryTextOfTheSampleCharts) {
  Application();
  ASSERT_EQ(QFontInfo(QFont(QStringLiteral("DejaVu Sans"))).family(), QStringLiteral("DejaVu Sans"))
      << "the chart's font is not installed";
  std::size_t compared = 0;
  for (const SampleChart& sample : SampleCharts()) {
    for (const PictureSize& size : kPictureSizes) {
      for (const TextShape& text : TextsOf(LayOutChart(sample.chart, size.width, size.height))) {
        SCOPED_TRACE(text.text);
        const QFontMetricsF metrics(FontOf(text));
        const QString shown = QString::fromStdString(text.text);
        const double width = TextAdvance(text.text, text.size, text.bold);
        // Never narrower than Qt lays the text out (to half a pixel), and wider only by the
        // kerning the table leaves out ("Te" in "Temperature").
        const double qt_width = metrics.horizontalAdvance(shown);
        EXPECT_LE(qt_width, width + 0.5);
        EXPECT_LE(width, 1.03 * qt_width + 0.5);
        // The ink, from the start of the baseline and in whole pixels, inside the room the
        // layout keeps; a last glyph's ink may pass its advance by a pixel or so ("p" in bold),
        // less than the 4 pixels kept between labels side by side.
        const QRectF ink = metrics.tightBoundingRect(shown);
        EXPECT_GE(ink.left(), -2);
        EXPECT_LE(ink.right(), width + 2);
        EXPECT_GE(ink.top(), -kChartFontAscent * text.size - 1);
        EXPECT_LE(ink.bottom(), kChartFontDescent * text.size + 1);
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 500u);
}
