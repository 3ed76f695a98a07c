#pragma once
// SAE viscosity grades told by the kinematic viscosity at 100 C alone: the non-W engine-oil
// grades of SAE J300 and the non-W axle and manual-transmission grades of SAE J306. A grade holds
// an oil when minimum <= nu100 < maximum.

#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace project1 {

enum class SaeStandard { J300, J306 };

struct SaeGradeLimits {
  SaeStandard standard = SaeStandard::J300;
  std::string_view grade;
  double minimum = 0;  // cSt at 100 C, included
  double maximum = 0;  // cSt at 100 C, excluded; infinite for the last grade
};

// Every grade in the order of data/sae-viscosity-grades.csv: J300 first, each standard rising.
std::span<const SaeGradeLimits> SaeGrades();

// Every J300 grade whose range holds nu100, in the table's order: the ranges of 8, 12, 16 and 20
// overlap, and the standard tells them apart by a viscosity at high shear that nu40 and nu100 do
// not give. Empty when none holds it.
std::vector<std::string> SaeJ300Grades(double nu100);
// The J306 grade whose range holds nu100, or nullopt below the first.
std::optional<std::string> SaeJ306Grade(double nu100);

// Shown wherever the grades are.
inline constexpr std::string_view kSaeWGradesNote =
    "W grades need low-temperature measurements and are not given.";

}  // namespace project1
