#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <utility>

#include "error_expectations.h"
#include "numtext/numtext.h"

namespace project1 {
namespace {

struct Accepted {
  std::string text;
  double value;
};

TEST(TextToNumber, ReadsEveryAcceptedSpellingAsTheNumberItDenotes) {
  const Accepted cases[] = {
      {"320", 320},
      {"0.87", 0.87},
      {"  71\t", 71},
      {"+5", 5},
      {"-300", -300},
      {"-273.16", -273.16},
      {".0000108", 0.0000108},
      {"5.", 5},
      {"1,000", 1000},
      {"412,753.932", 412753.932},
      {"-1,234,567.5", -1234567.5},
      {"1e3", 1000},
      {"2.5E-4", 2.5e-4},
      {"1E+2", 100},
      {"0", 0},
      {"007", 7},
      {"1.7976931348623157e308", std::numeric_limits<double>::max()},
      {"4.9e-324", std::numeric_limits<double>::denorm_min()},
      {"1e-400", 0},
      {"0.1", 0.1},
      {"0.30000000000000004", 0.30000000000000004},
      // Halfway between two doubles: correct rounding goes to the even one.
      {"9007199254740993", 9007199254740992.0},
      {"0e999999999", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(TextToNumber(c.text), c.value);
  }
}

TEST(TextToNumber, KeepsTheSignOfZeroAndOfNumbersTooSmallForADouble) {
  EXPECT_TRUE(std::signbit(TextToNumber("-0")));
  EXPECT_TRUE(std::signbit(TextToNumber("-1e-400")));
  EXPECT_FALSE(std::signbit(TextToNumber("1e-400")));
}

TEST(TextToNumber, ReadsAVeryLongRunOfDigits) {
  std::string ones(1 << 20, '0');
  ones.back() = '1';
  EXPECT_EQ(TextToNumber(ones), 1);
  EXPECT_EQ(TextToNumber("0." + ones + "e1048576"), 1);
}

struct Rejected {
  std::string text;
  Fault kind;
  std::string message;
};

TEST(TextToNumber, RejectsEverythingElseWithItsKindAndAPlainMessage) {
  const Rejected cases[] = {
      {"", Fault::TypeMismatch, R"("" is not a number.)"},
      {"   ", Fault::TypeMismatch, R"("   " is not a number.)"},
      {"abc", Fault::TypeMismatch, R"("abc" is not a number.)"},
      {"nan", Fault::TypeMismatch, R"("nan" is not a number.)"},
      {"inf", Fault::TypeMismatch, R"("inf" is not a number.)"},
      {"-Infinity", Fault::TypeMismatch, R"("-Infinity" is not a number.)"},
      {"0x10", Fault::TypeMismatch, R"("0x10" is not a number.)"},
      {".", Fault::TypeMismatch, R"("." is not a number.)"},
      {"-", Fault::TypeMismatch, R"("-" is not a number.)"},
      {"--5", Fault::TypeMismatch, R"("--5" is not a number.)"},
      {"+-5", Fault::TypeMismatch, R"("+-5" is not a number.)"},
      {"5x", Fault::TypeMismatch, R"("5x" is not a number.)"},
      {"5 5", Fault::TypeMismatch, R"("5 5" is not a number.)"},
      {"1e", Fault::TypeMismatch, R"("1e" is not a number.)"},
      {"e5", Fault::TypeMismatch, R"("e5" is not a number.)"},
      {"1.2.3", Fault::TypeMismatch, R"("1.2.3" is not a number.)"},
      {"5,5", Fault::TypeMismatch,
       R"("5,5" is not a number. Use "." for decimals and "," only between groups of three digits.)"},
      {"1,,000", Fault::TypeMismatch,
       R"("1,,000" is not a number. Use "." for decimals and "," only between groups of three digits.)"},
      {"1234,567", Fault::TypeMismatch,
       R"("1234,567" is not a number. Use "." for decimals and "," only between groups of three digits.)"},
      {"0,870", Fault::TypeMismatch,
       R"("0,870" is not a number. Use "." for decimals and "," only between groups of three digits.)"},
      {"00,100", Fault::TypeMismatch,
       R"("00,100" is not a number. Use "." for decimals and "," only between groups of three digits.)"},
      {",100", Fault::TypeMismatch,
       R"(",100" is not a number. Use "." for decimals and "," only between groups of three digits.)"},
      {"1.000,5", Fault::TypeMismatch,
       R"("1.000,5" is not a number. Use "." for decimals and "," only between groups of three digits.)"},
      {"\xD9\xA3", Fault::TypeMismatch, "\"\xD9\xA3\" is not a number."},  // Arabic-Indic 3
      {"\xE2\x88\x92"
       "5",
       Fault::TypeMismatch,
       "\"\xE2\x88\x92"
       "5\" is not a number."},
      {std::string("1\0"
                   "2",
                   3),
       Fault::TypeMismatch, R"("1?2" is not a number.)"},
      {"1\n", Fault::TypeMismatch, R"("1?" is not a number.)"},
      {"1e309", Fault::Overflow, R"("1e309" is too large.)"},
      {"-1.8e308", Fault::Overflow, R"("-1.8e308" is too large.)"},
      {"1e99999999999999999999", Fault::Overflow, R"("1e99999999999999999999" is too large.)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    ExpectError([&] { TextToNumber(c.text); }, c.kind, c.message);
  }
}

TEST(TextToNumber, NamesTheInputInItsMessages) {
  struct Case {
    std::string text, what, message;
  };
  const Case cases[] = {
      {"", "specific gravity", R"(The specific gravity "" is not a number.)"},
      {"1e999", "viscosity at 40 °C", R"(The viscosity at 40 °C "1e999" is too large.)"},
      {std::string(100, '7') + "x", "first reference temperature",
       "The first reference temperature \"" + std::string(40, '7') +
           "\xE2\x80\xA6\" is not a number."},
      // A long text is cut on a character boundary, never inside a UTF-8 sequence.
      {std::string(39, 'a') + "\xC3\xA9z", "specific gravity",
       "The specific gravity \"" + std::string(39, 'a') + "\xE2\x80\xA6\" is not a number."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    const std::optional<Error> error = Caught([&] { TextToNumber(c.text, c.what); });
    EXPECT_EQ(Outcome(error), c.message);
  }
}

TEST(NumberToText, WritesTheShortestPlainDecimalThatReadsBackTheSame) {
  const Accepted cases[] = {
      {"31", 31},     {"5.8", 5.8},   {"0.85", 0.85}, {"968", 968},
      {"78.5", 78.5}, {"-300", -300}, {"0", -0.0},    {"0.1", 0.1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(NumberToText(c.value), c.text);
    EXPECT_EQ(TextToNumber(NumberToText(c.value)), c.value);
  }
  EXPECT_EQ(NumberToText(1e22), "10000000000000000000000");
  const std::pair<double, const char*> spelled_out[] = {
      {std::numeric_limits<double>::quiet_NaN(), "not a number"},
      {std::numeric_limits<double>::infinity(), "infinite"},
      {-std::numeric_limits<double>::infinity(), "minus infinite"}};
  for (const auto& [value, text] : spelled_out) EXPECT_EQ(NumberToText(value), text);
  for (double v : {1.0 / 3, 2.7353244e-7, 412753.93, 1e300, 4.9e-324}) {
    EXPECT_EQ(TextToNumber(NumberToText(v)), v) << NumberToText(v);
  }
}

TEST(NumberToText, MovesTheDecimalPointOfVerySmallAndLargeNumbersIntoPlainDigits) {
  const Accepted cases[] = {
      {"0.000015", 1.5e-5},
      {"-0.00125", -1.25e-3},
      {"0.00000027353244", 2.7353244e-7},
      {"12345000000000", 1.2345e13},
      {"1000000000000000", 1e15},
      {"9007199254740991", 9007199254740991.0},
      // From 2^53 on, whole numbers are written with every digit they have.
      {"9007199254740992", 9007199254740992.0},
      {"123456789012345680", 123456789012345678.0},
      {"99999999999999991611392", 1e23},
      {"-36028797018963968", -36028797018963968.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(NumberToText(c.value), c.text);
    EXPECT_EQ(TextToNumber(c.text), c.value);
  }
}

TEST(MessageNumber, IsPlainWhereAPersonReadsItAndScientificBeyond) {
  const Accepted cases[] = {
      {"0.4", 0.4},       {"320", 320},           {"-40", -40},
      {"0", 0},           {"0.000001", 1e-6},     {"9.9e-07", 9.9e-7},
      {"1e-300", 1e-300}, {"-2.5e-10", -2.5e-10}, {"999999999999999.9", 999999999999999.9},
      {"1e+15", 1e15},    {"2.5e+20", 2.5e20},    {"-1e+300", -1e300},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(MessageNumber(c.value), c.text);
  }
  EXPECT_EQ(MessageNumber(std::numeric_limits<double>::infinity()), "infinite");
}

TEST(ShortestText, WritesThePlainOrExponentFormWhicheverIsShorter) {
  const Accepted cases[] = {
      {"40", 40},      {"0.85", 0.85},       {"6.5e-06", 6.5e-6},
      {"1e-04", 1e-4}, {"0.001", 1e-3},      {"-0.0025", -2.5e-3},
      {"1e+10", 1e10}, {"1234567", 1234567}, {"123456789012345680", 123456789012345678.0},
      {"1e+23", 1e23}, {"1e+100", 1e100},    {"5e-324", 5e-324},
      {"-0", -0.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ShortestText(c.value), c.text);
  }
}

// The writer of streamed output against the standard library's shortest form, which follows the
// same rule (fewest characters, plain on a tie, whole numbers with all their digits), on doubles
// of every exponent and on the decimals a supplier's sheet holds.
TEST(ShortestText, AgreesWithTheStandardLibrarysShortestFormOnEveryKindOfDouble) {
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
  std::mt19937_64 random(36);
  std::uniform_real_distribution<double> sheet(0.01, 5000);
  for (int i = 0; i < 400000; ++i) {
    double value = 0;
    if (i % 2 == 0) {
      const std::uint64_t bits = random();
      std::memcpy(&value, &bits, sizeof value);
    } else {
      value = sheet(random) * std::pow(10.0, static_cast<int>(random() % 40) - 20);
    }
    char expected[64];
    const auto end = std::to_chars(expected, expected + sizeof expected, value).ptr;
    char written[kShortestTextRoom];
    char* const written_end = PutShortestText(written, value);
    ASSERT_EQ(std::string(written, static_cast<std::size_t>(written_end - written)),
              std::string(expected, end))
        << value;
  }
#else
  GTEST_SKIP() << "no floating-point std::to_chars in this standard library";
#endif
}

TEST(ReadDecimal, ReadsPlainDecimalsAndRefusesEverythingElse) {
  struct Case {
    std::string text;
    bool accepted;
    double value;
  };
  const Case cases[] = {
      {"12.5", true, 12.5}, {"0.1", true, 0.1},   {"1e3", true, 1000}, {"0e-999", true, 0},
      {"1e999", false, 0},  {"1e-999", false, 0}, {"-1", false, 0},    {"nan", false, 0},
      {"inf", false, 0},    {" 1", false, 0},     {"1 ", false, 0},    {"", false, 0},
      {"1,5", false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    double value = -7;
    EXPECT_EQ(ReadDecimal(c.text, value), c.accepted);
    EXPECT_EQ(value, c.accepted ? c.value : -7);
  }
}

// Every plain decimal a sheet may hold, short (read by one exact division) and long (left to the
// full reader), is the nearest double, as the C library's correctly rounded reader gives it.
TEST(ReadDecimal, ReadsEveryPlainDecimalAsTheNearestDouble) {
  std::mt19937_64 random(36);
  for (int i = 0; i < 200000; ++i) {
    const auto digits = static_cast<int>(1 + random() % 18);
    std::string text;
    for (int d = 0; d < digits; ++d) text += static_cast<char>('0' + random() % 10);
    const auto point = static_cast<std::size_t>(random() % static_cast<std::uint64_t>(digits + 1));
    if (point > 0 && point < text.size()) text.insert(point, ".");
    double value = -1;
    ASSERT_TRUE(ReadDecimal(text, value)) << text;
    ASSERT_EQ(value, std::strtod(text.c_str(), nullptr)) << text;
  }
}

}  // namespace
}  // namespace project1
