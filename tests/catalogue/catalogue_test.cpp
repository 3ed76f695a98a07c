#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "engine/model.h"
#include "numtext/numtext.h"
#include "test_support.h"

namespace project1 {
namespace {

struct PickCase {
  const char* name;
  std::string name_given;
  // The oil's viscosities at 40 and 100 C and its gravity as the window writes them; none when
  // the name is no catalogue oil.
  std::optional<std::vector<std::string>> written;
};

void PrintTo(const PickCase& c, std::ostream* os) { *os << c.name; }

using Texts = std::vector<std::string>;

const std::vector<PickCase> kPicks = {
    {"Shc624", "SHC 624", Texts{"31", "5.8", "0.85"}},
    {"Shc625", "SHC 625", Texts{"46", "7.7", "0.85"}},
    {"Shc626", "SHC 626", Texts{"66", "10.3", "0.86"}},
    {"Shc627", "SHC 627", Texts{"97", "7.7", "0.85"}},
    {"Shc629", "SHC 629", Texts{"149", "19", "0.86"}},
    {"Shc630", "SHC 630", Texts{"222", "25.7", "0.87"}},
    {"Shc632", "SHC 632", Texts{"320", "35", "0.87"}},
    {"Shc634", "SHC 634", Texts{"454", "46.5", "0.87"}},
    {"Shc636", "SHC 636", Texts{"652", "61.2", "0.87"}},
    {"Shc639", "SHC 639", Texts{"968", "78.5", "0.85"}},
    {"Other", "OTHER", std::nullopt},
    {"LowerCaseName", "shc 624", std::nullopt},
    {"TrailingBlank", "SHC 639 ", std::nullopt},
    {"TwoBlanks", "SHC  639", std::nullopt},
    {"NumberNotInTheSeries", "SHC 628", std::nullopt},
    {"EditFieldAsItStarts", "Lubricant List", std::nullopt},
    {"EmptyEditField", "", std::nullopt},
};

class FindOilTest : public ::testing::TestWithParam<PickCase> {};

TEST_P(FindOilTest, FindsOnlyTheOilOfExactlyThatName) {
  const PickCase& c = GetParam();
  const Lubricant* oil = FindOil(c.name_given);
  if (!c.written) {
    EXPECT_EQ(oil, nullptr);
    return;
  }
  ASSERT_NE(oil, nullptr);
  EXPECT_EQ(oil->name, c.name_given);
  EXPECT_EQ((std::vector<std::string>{NumberToText(oil->nu40), NumberToText(oil->nu100),
                                      NumberToText(oil->gravity)}),
            *c.written);
}

INSTANTIATE_TEST_SUITE_P(EachName, FindOilTest, ::testing::ValuesIn(kPicks),
                         [](const auto& test) { return std::string(test.param.name); });

// Every catalogue row is a usable oil: its line fits, and evaluated at 40 and 100 C it gives
// back the row's own viscosities.
TEST(LubricantCatalogueTest, EveryRowFitsALineThroughItsOwnViscosities) {
  for (const Lubricant& lubricant : LubricantCatalogue) {
    SCOPED_TRACE(std::string(lubricant.name));
    CalcState s;
    ASSERT_NO_THROW(s = FittedLine(lubricant.nu40, lubricant.nu100));
    EXPECT_GT(s.line.b, 0);
    EXPECT_NEAR(ViscosityAt(s, 40), lubricant.nu40, lubricant.nu40 * 1e-9);
    EXPECT_NEAR(ViscosityAt(s, 100), lubricant.nu100, lubricant.nu100 * 1e-9);
  }
}

// "SHC 627", the row whose 100 C viscosity does not rise with its number, has the steepest
// line, B = 4.405.
TEST(LubricantCatalogueTest, Shc627HasTheSteepestLine) {
  std::string steepest;
  double steepest_slope = 0;
  for (const Lubricant& lubricant : LubricantCatalogue) {
    const CalcState s = FittedLine(lubricant.nu40, lubricant.nu100);
    if (s.line.b > steepest_slope) {
      steepest = lubricant.name;
      steepest_slope = s.line.b;
    }
  }
  EXPECT_EQ(steepest, "SHC 627");
  EXPECT_NEAR(steepest_slope, 4.405, 5e-4);
}

}  // namespace
}  // namespace project1
