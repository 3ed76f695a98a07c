// The chart's SVG: well-formed XML, the same bytes for the same chart, names escaped, nothing
// fetched from outside, and drawn by an independent SVG renderer with each line where the
// description puts it.

#include "chart/chart_svg.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <QColor>
#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "line_pixels.h"

using namespace project1;

namespace {

ChartOil Oil40100(const std::string& name, double nu40, double nu100,
                  std::vector<double> references = {}) {
  return {name, FitLine40100(Law::Walther, nu40, nu100), {{{40, nu40}, {100, nu100}}}, references};
}

class ChartSvgFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        std::filesystem::temp_directory_path() / ("chart_svg_test." + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::filesystem::path Write(const std::string& name, const std::string& bytes) {
    const std::filesystem::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  static int Run(const std::string& command) { return std::system(command.c_str()); }

  std::filesystem::path folder_;
};

}  // namespace

TEST_F(ChartSvgFiles, TheSvgIsWellFormedAndNamesAreEscaped) {
  const std::string name = "Oil <A & B> \"x\" 'y'";
  const std::string svg = ChartSvg(BuildChart({Oil40100(name, 320, 35, {71, 150})}));
  EXPECT_NE(svg.find(">Oil &lt;A &amp; B&gt; &quot;x&quot; &apos;y&apos;</text>"),
            std::string::npos);
  EXPECT_EQ(svg.find(name), std::string::npos);
  // Nothing outside the document: no links, no images, no style sheets.
  for (const char* outside : {"href", "url(", "<image", "<style", "@import"}) {
    EXPECT_EQ(svg.find(outside), std::string::npos) << outside;
  }
  EXPECT_NE(svg.find("<text"), std::string::npos);
  const std::filesystem::path file = Write("escaped.svg", svg);
  EXPECT_EQ(Run(std::string(XMLLINT) + " --noout '" + file.string() + "'"), 0);
}

TEST_F(ChartSvgFiles, TheSameChartGivesTheSameBytes) {
  const std::vector<ChartOil> oils = {Oil40100("SHC 632", 320, 35, {71, 150}),
                                      Oil40100("SHC 624", 31, 5.8)};
  const std::string first = ChartSvg(BuildChart(oils));
  EXPECT_EQ(ChartSvg(BuildChart(oils)), first);
  EXPECT_NE(ChartSvg(BuildChart(oils), 640, 480), first);
}

TEST(ChartSvgText, EscapesTheFiveReservedCharacters) {
  const struct {
    const char* text;
    const char* escaped;
  } cases[] = {{"plain °C", "plain °C"},
               {"a&b", "a&amp;b"},
               {"<>", "&lt;&gt;"},
               {"\"'", "&quot;&apos;"},
               {"&amp;", "&amp;amp;"}};
  for (const auto& c : cases) EXPECT_EQ(XmlEscaped(c.text), c.escaped);
}

TEST_F(ChartSvgFiles, RenderedLinesPassThroughTheirPointsAt40And100C) {
  const ChartDescription chart = BuildChart(
      {Oil40100("SHC 632", 320, 35, {71, 150}), Oil40100("SHC 624", 31, 5.8, {71, 150})});
  const std::filesystem::path svg = Write("chart.svg", ChartSvg(chart));
  const std::filesystem::path png = folder_ / "chart.png";
  ASSERT_EQ(Run(std::string(XMLLINT) + " --noout '" + svg.string() + "'"), 0);
  ASSERT_EQ(Run(std::string(RSVG_CONVERT) + " -o '" + png.string() + "' '" + svg.string() + "'"),
            0);
  const QImage image(QString::fromStdString(png.string()));
  ASSERT_EQ(image.size(),
            QSize(static_cast<int>(kChartDefaultWidth), static_cast<int>(kChartDefaultHeight)));
  const PlotArea area = PlotAreaFor(chart, kChartDefaultWidth, kChartDefaultHeight);
  for (const ChartLine& line : chart.lines) {
    const QColor colour(QString::fromStdString(line.colour));
    for (const ChartMarker& marker : line.fitted) {
      const PixelPoint at = ToPixels(chart, area, marker.at);
      EXPECT_TRUE(LinePassesNear(image, at, colour)) << line.name << " at " << marker.temperature_c;
      // 12 px above, the line is not there: the check can fail.
      EXPECT_FALSE(LinePassesNear(image, {at.x, at.y - 12}, colour))
          << line.name << " at " << marker.temperature_c;
    }
  }
}

TEST(ChartSvg, DrawsEachLevelAcrossThePlotWithItsLabel) {
  const ChartDescription chart =
      BuildChart({Oil40100("Oil", 320, 35, {})}, {}, {{13.28, "ν1 = 13.28 cSt (κ = 1)", 0}});
  const std::string svg = ChartSvg(chart);
  EXPECT_NE(svg.find(">ν1 = 13.28 cSt (κ = 1)<"), std::string::npos);
  EXPECT_NE(svg.find(kChartLevelColour), std::string::npos);
  EXPECT_EQ(ChartSvg(BuildChart({Oil40100("Oil", 320, 35, {})})).find(kChartLevelColour),
            std::string::npos);
}
