#include "engine/sae_grades.h"

#include <array>
#include <cmath>
#include <iterator>

#include "error/error.h"

namespace project1 {

namespace {

// The rows of the generated table name their standard by its text.
struct Row {
  std::string_view standard;
  std::string_view grade;
  double minimum;
  double maximum;
};

constexpr double kNoUpperLimit = std::numeric_limits<double>::infinity();

// Generated at build time from data/sae-viscosity-grades.csv, the one place of the limits.
constexpr Row kRows[] = {
#include "engine/sae_viscosity_grades.inc"
};

constexpr SaeStandard StandardOf(std::string_view text) {
  return text == "SAE J300" ? SaeStandard::J300 : SaeStandard::J306;
}

constexpr auto kGrades = [] {
  std::array<SaeGradeLimits, std::size(kRows)> grades{};
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    grades[i] = {StandardOf(kRows[i].standard), kRows[i].grade, kRows[i].minimum, kRows[i].maximum};
  }
  return grades;
}();

static_assert(
    [] {
      for (const Row& row : kRows) {
        if (!(row.maximum > row.minimum)) return false;
      }
      return true;
    }(),
    "every SAE grade's maximum lies above its minimum");

bool Holds(const SaeGradeLimits& limits, double nu100) {
  return nu100 >= limits.minimum && nu100 < limits.maximum;
}

void CheckNu100(double nu100) {
  if (std::isnan(nu100)) {
    throw Error(Fault::InvalidOperation, "The viscosity at 100 °C is not a number.");
  }
}

}  // namespace

std::span<const SaeGradeLimits> SaeGrades() { return kGrades; }

std::vector<std::string> SaeJ300Grades(double nu100) {
  CheckNu100(nu100);
  std::vector<std::string> grades;
  for (const SaeGradeLimits& limits : kGrades) {
    if (limits.standard == SaeStandard::J300 && Holds(limits, nu100)) {
      grades.emplace_back(limits.grade);
    }
  }
  return grades;
}

std::optional<std::string> SaeJ306Grade(double nu100) {
  CheckNu100(nu100);
  for (const SaeGradeLimits& limits : kGrades) {
    if (limits.standard == SaeStandard::J306 && Holds(limits, nu100)) {
      return std::string(limits.grade);
    }
  }
  return std::nullopt;
}

}  // namespace project1
