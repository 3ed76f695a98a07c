#include "engine/sae_grades.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "error_expectations.h"

namespace project1 {
namespace {

using Grades = std::vector<std::string>;

TEST(SaeGrades, EachBoundaryIncludesItsMinimumAndExcludesItsMaximum) {
  struct Case {
    double nu100;
    Grades j300;
    std::optional<std::string> j306;
  };
  const double below = std::nextafter(1.0, 0.0);  // scales a limit to the double just under it
  const Case cases[] = {
      {3.79, {}, std::nullopt},
      {3.8, {}, "65"},
      {4.0 * below, {}, "65"},
      {4.0, {"8"}, "65"},
      {5.0 * below, {"8"}, "65"},
      // The J300 ranges of 8, 12, 16 and 20 overlap: every grade that holds it, in order.
      {5.0, {"8", "12"}, "70"},
      {6.1 * below, {"8", "12"}, "70"},
      {6.1, {"12", "16"}, "70"},
      {6.5, {"12", "16"}, "75"},
      {6.9, {"12", "16", "20"}, "75"},
      {7.1, {"16", "20"}, "75"},
      {8.2, {"20"}, "75"},
      {8.5, {"20"}, "80"},
      {9.3 * below, {"20"}, "80"},
      {9.3, {"30"}, "80"},
      {11.0, {"30"}, "85"},
      {12.5, {"40"}, "85"},
      {13.5, {"40"}, "90"},
      {16.3, {"50"}, "90"},
      {18.5, {"50"}, "110"},
      {21.9, {"60"}, "110"},
      {24.0, {"60"}, "140"},
      {26.1 * below, {"60"}, "140"},
      {26.1, {}, "140"},
      {32.5, {}, "190"},
      {41.0 * below, {}, "190"},
      {41.0, {}, "250"},
      {1e6, {}, "250"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.nu100);
    EXPECT_EQ(SaeJ300Grades(c.nu100), c.j300);
    EXPECT_EQ(SaeJ306Grade(c.nu100), c.j306);
  }
}

TEST(SaeGrades, TableHoldsEveryGradeOfBothStandardsInOrder) {
  Grades j300, j306;
  for (const SaeGradeLimits& limits : SaeGrades()) {
    (limits.standard == SaeStandard::J300 ? j300 : j306).emplace_back(limits.grade);
    EXPECT_LT(limits.minimum, limits.maximum);
  }
  EXPECT_EQ(j300, (Grades{"8", "12", "16", "20", "30", "40", "50", "60"}));
  EXPECT_EQ(j306, (Grades{"65", "70", "75", "80", "85", "90", "110", "140", "190", "250"}));
  EXPECT_TRUE(std::isinf(SaeGrades().back().maximum));
  ExpectError([] { SaeJ300Grades(std::numeric_limits<double>::quiet_NaN()); },
              Fault::InvalidOperation, "The viscosity at 100 °C is not a number.");
}

}  // namespace
}  // namespace project1
