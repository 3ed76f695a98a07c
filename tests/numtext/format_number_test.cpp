#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "error_expectations.h"
#include "numtext/numtext.h"

namespace project1 {
namespace {

struct Case {
  double value;
  std::string_view pattern;
  std::string expected;
};

TEST(FormatNumber, RendersEachDisplayPatternAsShown) {
  const Case cases[] = {
      // Kinematic viscosity in the result boxes.
      {85.64225, kKinematicPattern, "85.642"},
      {11.98708, kKinematicPattern, "11.987"},
      {320, kKinematicPattern, "320"},
      {35.000000000000014, kKinematicPattern, "35"},
      {0.449, kKinematicPattern, ".449"},
      {1003.42, kKinematicPattern, "1,003.42"},
      {412753.932, kKinematicPattern, "412,753.932"},
      {1234567.8916, kKinematicPattern, "1,234,567.892"},
      {0.0004, kKinematicPattern, "0"},
      {0, kKinematicPattern, "0"},
      // Dynamic viscosity in reyn.
      {1.0796544e-05, kDynamicPattern, ".0000108"},
      {1.5111582e-06, kDynamicPattern, ".00000151"},
      {9.1e-07, kDynamicPattern, ".00000091"},
      {6e-08, kDynamicPattern, ".00000006"},
      {4e-09, kDynamicPattern, "0"},
      {0, kDynamicPattern, "0"},
      {2.5, kDynamicPattern, "2.5"},
      {12345.000000001, kDynamicPattern, "12345"},
      // Temperature column of the table.
      {-40, kTemperaturePattern, "-40.0"},
      {0, kTemperaturePattern, "0.0"},
      {-0.0, kTemperaturePattern, "0.0"},
      {5, kTemperaturePattern, "5.0"},
      {250, kTemperaturePattern, "250.0"},
      {1234.5, kTemperaturePattern, "1234.5"},
      {-0.04, kTemperaturePattern, "0.0"},
      {0.25, kTemperaturePattern, "0.2"},  // exact half of the double: to even
      // Viscosity column of the table.
      {412753.932, kTableViscosityPattern, "412,753.932"},
      {35, kTableViscosityPattern, "35.000"},
      {0.4493, kTableViscosityPattern, ".449"},
      {0.0001, kTableViscosityPattern, ".000"},
      {1003.4199999, kTableViscosityPattern, "1,003.420"},
      {999999.9996, kTableViscosityPattern, "1,000,000.000"},
      {1234567890.5, kTableViscosityPattern, "1,234,567,890.500"},
      {-1234.5, kTableViscosityPattern, "-1,234.500"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " " + std::to_string(c.value));
    EXPECT_EQ(FormatNumber(c.value, c.pattern), c.expected);
  }
}

TEST(FormatNumber, RoundsOnTheExactDecimalExpansionOfTheDouble) {
  const Case cases[] = {
      // 2.675 is stored as 2.67499999999999982236431605997495353221893310546875.
      {2.675, "#.##", "2.67"},
      // 1.0005 is stored just below the half, 1.0015 just above it.
      {1.0005, "#.###", "1"},
      {1.0015, "#.###", "1.002"},
      {0.125, "#.##", ".12"},
      {0.375, "#.##", ".38"},
      {9.9995, "#.###", "9.999"},
      {99.9996, "#.###", "100"},
      {0.5, "#", "0"},
      {1.5, "#", "2"},
      {1e22, "0", "10000000000000000000000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " " + std::to_string(c.value));
    EXPECT_EQ(FormatNumber(c.value, c.pattern), c.expected);
  }
}

TEST(FormatNumber, HonoursPlaceholdersZerosAndGroupingInAnyPattern) {
  const Case cases[] = {
      {7, "000", "007"},       {7.5, "00.00", "07.50"},   {0.5, "0.#", "0.5"},
      {3, "#.0#", "3.0"},      {3.14159, "#.0#", "3.14"}, {1234567, "#,##0", "1,234,567"},
      {123, "#,##0", "123"},   {1000, "#,#", "1,000"},    {-5, "#", "-5"},
      {123456, "#", "123456"}, {0.001, ".###", ".001"},   {0, ".00", ".00"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " " + std::to_string(c.value));
    EXPECT_EQ(FormatNumber(c.value, c.pattern), c.expected);
  }
}

TEST(FormatNumber, RefusesValuesThatAreNotFiniteAndUnknownPatterns) {
  for (double v :
       {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN()}) {
    SCOPED_TRACE(v);
    ExpectError([&] { FormatNumber(v, kKinematicPattern); }, Fault::InvalidOperation,
                "The result is not a finite number.");
  }
  for (std::string_view pattern : {"#.#.#", "#,", ",#", "#,,#", "#.#,#", "#x", "0.0e0"}) {
    ExpectError([&] { FormatNumber(1, pattern); }, Fault::TypeMismatch,
                "The display pattern \"" + std::string(pattern) + "\" is not supported.");
  }
}

TEST(FormatNumber, ShowsTheLargestDoubleInFull) {
  const std::string text = FormatNumber(std::numeric_limits<double>::max(), "#.000");
  EXPECT_EQ(text.size(), 309u + 4u);
  EXPECT_EQ(text.substr(0, 17), "17976931348623157");
  EXPECT_EQ(TextToNumber(text), std::numeric_limits<double>::max());
}

TEST(ShownNumber, GroupsByThePatternBelow1e15AndWritesAnExponentFromThere) {
  const struct {
    double value;
    const char* shown;
  } cases[] = {
      {0.3, "0.3"},       {5000, "5,000"},
      {1e6, "1,000,000"}, {999999999999999, "999,999,999,999,999"},
      {1e15, "1e+15"},    {-2.5e15, "-2.5e+15"},
      {1e300, "1e+300"},  {-1234.5678, "-1,234.568"},
  };
  for (const auto& c : cases) EXPECT_EQ(ShownNumber(c.value, "###,##0.###"), c.shown) << c.value;
  ExpectError([] { ShownNumber(std::numeric_limits<double>::infinity(), "###,##0.###"); },
              Fault::InvalidOperation, "The result is not a finite number.");
}

// Every double, of every size and with from none to 19 decimals, exact halves among them, is
// rounded on its exact decimal expansion as the C library's printf rounds it, an exact half to
// the even digit; no minus sign shows on a value that rounds to zero.
TEST(FormatNumber, RoundsEveryDoubleAsPrintfDoes) {
  std::mt19937_64 random(36);
  for (int i = 0; i < 300000; ++i) {
    const auto decimals = static_cast<int>(random() % 20);
    double value = 0;
    switch (i % 3) {
      case 0: {  // any size, from tiny to beyond 2^53: a mantissa in [1, 2) scaled
        const std::uint64_t bits =
            (random() & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1023} << 52);
        std::memcpy(&value, &bits, sizeof value);
        value = std::ldexp(value, static_cast<int>(random() % 150) - 90);
        break;
      }
      case 1:  // exact halves: a whole number of 2^-k
        value =
            std::ldexp(static_cast<double>(random() % 100000), -static_cast<int>(random() % 20));
        break;
      default:  // the decimals of a sheet
        value = static_cast<double>(random() % 10000000) / 1000;
    }
    if (random() % 2 != 0) value = -value;
    std::string pattern = "0";
    if (decimals > 0) pattern += "." + std::string(static_cast<std::size_t>(decimals), '0');
    char expected[512];
    std::snprintf(expected, sizeof expected, "%.*f", decimals, value);
    std::string_view wanted = expected;
    if (wanted.front() == '-' && wanted.find_first_not_of("-0.") == std::string_view::npos) {
      wanted.remove_prefix(1);
    }
    ASSERT_EQ(FormatNumber(value, pattern), wanted) << pattern;
  }
}

// A drawing's coordinate is the pattern's text of the value rounded to a hundredth, never "-0",
// at every size: a slip in its quick way would move a point of every chart.
TEST(DrawingCoordinate, WritesThePatternsTextOfTheHundredth) {
  const auto expected = [](double value) {
    double rounded = std::round(value * 100) / 100;
    if (rounded == 0) rounded = 0;
    return std::isfinite(rounded) ? FormatNumber(rounded, kDrawingCoordinatePattern)
                                  : ShortestText(rounded);
  };
  std::vector<double> values = {0,     -0.0,   0.004, -0.004, 0.005,  -0.005,  0.01,
                                -0.01, 0.1,    12.5,  -12.34, 99.999, 100.004, 1e13,
                                -1e13, 9.5e12, 1e14,  1e300,  -1e300, 5e-324,  HUGE_VAL};
  std::mt19937_64 random(37);
  for (int i = 0; i < 100000; ++i) {
    const double scale = std::ldexp(1.0, static_cast<int>(random() % 60) - 10);
    const double unit = static_cast<double>(random() % 1000000) / 1000000;
    values.push_back((random() % 2 != 0 ? -1 : 1) * scale * unit);
  }
  for (const double value : values) {
    std::string text;
    AppendDrawingCoordinate(text, value);
    ASSERT_EQ(text, expected(value)) << value;
  }
}

}  // namespace
}  // namespace project1
