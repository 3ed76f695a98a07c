// Any double under each display pattern: a non-empty text without "inf" or "nan" that reads back
// within half a unit of its last shown digit.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "numtext/numtext.h"

namespace {

struct PatternInfo {
  std::string_view pattern;
  int decimals;
};

constexpr PatternInfo kPatterns[] = {
    {project1::kKinematicPattern, 3},
    {project1::kDynamicPattern, 8},
    {project1::kTemperaturePattern, 1},
    {project1::kTableViscosityPattern, 3},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < sizeof(double) + 1) return 0;
  double value = 0;
  std::memcpy(&value, data, sizeof value);
  const PatternInfo& p = kPatterns[data[sizeof(double)] % 4];
  std::string text;
  try {
    text = project1::FormatNumber(value, p.pattern);
  } catch (const project1::Error& e) {
    if (std::isfinite(value) || e.fault() != project1::Fault::InvalidOperation) std::abort();
    return 0;
  }
  if (!std::isfinite(value) || text.empty()) std::abort();
  if (text.find("inf") != std::string::npos || text.find("nan") != std::string::npos) std::abort();
  const double back = project1::TextToNumber(text);
  // Half a unit of the last decimal place, plus the rounding of the read-back itself.
  const double half_unit = 0.5 * std::pow(10.0, -p.decimals);
  if (std::fabs(back - value) > half_unit * (1 + 1e-9) + std::fabs(value) * 1e-15) std::abort();
  return 0;
}
