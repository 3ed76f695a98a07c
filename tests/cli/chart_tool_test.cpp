// `viscosity chart`: the SVG and PNG it writes (the PNG through its helper, so in a process of
// its own), its refusals, and that the tool itself loads no rasteriser.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "run_tool.h"

namespace project1 {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

class ChartTool : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/viscosity-chart-test.XXXXXX";
    folder_ = ::mkdtemp(name);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  fs::path folder_;
};

std::string Between(const std::string& text, const std::string& open, const std::string& close) {
  const std::size_t start = text.find(open);
  if (start == std::string::npos) return "(no " + open + ")";
  const std::size_t end = text.find(close, start + open.size());
  return text.substr(start + open.size(), end - start - open.size());
}

// The 4-byte big-endian number at `at`.
unsigned BigEndian(const std::string& bytes, std::size_t at) {
  unsigned value = 0;
  for (std::size_t i = 0; i < 4; ++i)
    value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

TEST_F(ChartTool, WritesAnSvgOfEveryOilGiven) {
  const struct {
    Args args;
    std::string words;
    std::size_t circles;  // the fitted points drawn
  } cases[] = {
      {{"--oil", "SHC 632", "--oil", "SHC 624"},
       "Viscosity-temperature chart from -40 °C to 250 °C. SHC 632: a straight line through 320 "
       "cSt at 40 °C and 35 cSt at 100 °C. SHC 624: a straight line through 31 cSt at 40 °C and "
       "5.8 cSt at 100 °C. ISO VG 320 band at 40 °C: 288 to 352 cSt. ISO VG 32 band at 40 °C: "
       "28.8 to 35.2 cSt.",
       4},
      {{"--point", "20=100", "--point", "176F=12", "--name", "Gear <B&C>", "--from", "0", "--to",
        "150"},
       "Viscosity-temperature chart from 0 °C to 150 °C. Gear &lt;B&amp;C&gt;: a straight line "
       "through 100 cSt at 20 °C and 12 cSt at 80 °C.",
       2},
      {{"--oil", "SHC 626", "--v40", "68", "--v100", "8.5", "--law", "d341"},
       "Viscosity-temperature chart from -40 °C to 250 °C. SHC 626: a straight line through 66 "
       "cSt at 40 °C and 10.3 cSt at 100 °C. Oil: a straight line through 68 cSt at 40 °C and "
       "8.5 cSt at 100 °C. ISO VG 68 band at 40 °C: 61.2 to 74.8 cSt.",
       4},
      // Three points: the least-squares line, each point drawn; the axis in degrees F.
      {{"--point", "20=300", "--point", "40=100", "--point", "100=11", "--temperature-unit", "F",
        "--from", "0", "--to", "120"},
       "Viscosity-temperature chart from 32 °F to 248 °F. Oil: a straight line through 300 cSt at "
       "68 °F, 100 cSt at 104 °F and 11 cSt at 212 °F. ISO VG 100 band at 104 °F: 90 to 110 cSt.",
       3},
      // The range asked for, though the points the line was fitted through lie outside it.
      {{"--oil", "SHC 632", "--from", "50", "--to", "80"},
       "Viscosity-temperature chart from 50 °C to 80 °C. SHC 632: a straight line through 320 "
       "cSt at 40 °C and 35 cSt at 100 °C.",
       0},
      {{"--oil", "SHC 632", "--from", "200", "--to", "250"},
       "Viscosity-temperature chart from 200 °C to 250 °C. SHC 632: a straight line through 320 "
       "cSt at 40 °C and 35 cSt at 100 °C.",
       0},
  };
  for (const auto& c : cases) {
    const fs::path svg = folder_ / "chart.svg";
    Args args = {"chart", "-o", svg.string()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ToolRun run = Tool(args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    const std::string bytes = ReadWholeFile(svg);
    EXPECT_EQ(Between(bytes, "<desc>", "</desc>"), c.words);
    std::size_t circles = 0;
    for (std::size_t at = bytes.find("<circle"); at != std::string::npos;
         at = bytes.find("<circle", at + 1)) {
      ++circles;
    }
    EXPECT_EQ(circles, c.circles) << c.words;
    EXPECT_EQ(std::system(("xmllint --noout '" + svg.string() + "'").c_str()), 0);
  }
}

TEST_F(ChartTool, WritesAPngOfTheSamePicture) {
  if (!PROJECT1_PNG_HELPER_BUILT) GTEST_SKIP() << "built without the window and its PNG helper";
  const fs::path png = folder_ / "chart.PNG";
  const ToolRun run = ToolProcess({"chart", "--oil", "SHC 632", "-o", png.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
  const std::string bytes = ReadWholeFile(png);
  ASSERT_GT(bytes.size(), 24u);
  EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  EXPECT_EQ(bytes.substr(12, 4), "IHDR");
  EXPECT_EQ(BigEndian(bytes, 16), 800u);  // width
  EXPECT_EQ(BigEndian(bytes, 20), 560u);  // height
}

TEST_F(ChartTool, RefusalsExitWithAMessageAndWriteNothing) {
  const std::string svg = (folder_ / "chart.svg").string();
  const struct {
    Args args;
    int status;
    std::string message;
  } cases[] = {
      {{"chart", "--oil", "SHC 632", "-o", (folder_ / "chart.jpg").string()},
       2,
       "viscosity: -o \"" + (folder_ / "chart.jpg").string() + "\" must end in .svg or .png.\n"},
      {{"chart", "-o", svg},
       2,
       "viscosity: No oil given: give the oil as --oil NAME, as --v40 CST with --v100 CST or --vi "
       "INDEX, or as two or more --point T=CST.\n"},
      {{"chart", "--oil", "SHC 999", "-o", svg},
       2,
       "viscosity: --oil \"SHC 999\" is not in the catalogue; did you mean \"SHC 629\" or \"SHC "
       "639\"? \"viscosity oils\" lists its names.\n"},
      {{"chart", "--oil", "SHC 632", "--from", "250", "--to", "-40", "-o", svg},
       2,
       "viscosity: The chart's span from 250 °C to -40 °C is empty.\n"},
      {{"chart", "--oil", "SHC 632", "--to", "hot", "-o", svg},
       2,
       "viscosity: --to \"hot\" is not a number.\n"},
      {{"chart", "--oil", "SHC 632"},
       2,
       "viscosity: `viscosity chart` needs --output FILE (the picture: FILE.svg or FILE.png, "
       "replaced safely).\n"},
  };
  for (const auto& c : cases) {
    const ToolRun run = Tool(c.args);
    EXPECT_EQ(run.status, c.status) << c.message;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, c.message);
    EXPECT_TRUE(fs::is_empty(folder_)) << c.message;
  }
  // A folder, named like a picture or not, is refused as a folder.
  for (const fs::path& folder : {folder_, folder_ / "pictures.svg"}) {
    fs::create_directory(folder);
    const ToolRun run = Tool({"chart", "--oil", "SHC 632", "-o", folder.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "viscosity: Cannot write the chart file " + folder.string() + ": Is a directory.\n");
  }
  fs::remove(folder_ / "pictures.svg");
  const fs::path missing = folder_ / "missing" / "chart.svg";
  const ToolRun unwritable = Tool({"chart", "--oil", "SHC 632", "-o", missing.string()});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_EQ(unwritable.out, "");
  EXPECT_EQ(unwritable.err, "viscosity: Cannot write the chart file " + missing.string() +
                                ": No such file or directory.\n");
}

TEST(ChartToolLinks, TheToolLoadsNoRasteriser) {
  FILE* pipe = ::popen(("ldd '" + std::string(VISCOSITY_TOOL) + "'").c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string libraries;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) libraries += buffer;
  ASSERT_EQ(::pclose(pipe), 0);
  ASSERT_NE(libraries.find("libc.so"), std::string::npos) << libraries;
  for (const char* rasteriser : {"libQt6", "librsvg", "libcairo", "libpng"}) {
    EXPECT_EQ(libraries.find(rasteriser), std::string::npos) << rasteriser;
  }
}

}  // namespace
}  // namespace project1
