#include "cli/within_data.h"

#include <algorithm>

#include "cli/fields.h"

namespace project1::cli {

DataRange DataRangeOf(std::span<const ViscosityPoint> points) {
  const auto [coldest, hottest] = std::minmax_element(
      points.begin(), points.end(),
      [](const auto& a, const auto& b) { return a.temperature_c < b.temperature_c; });
  return {coldest->temperature_c, hottest->temperature_c};
}

DataRange Overlap(DataRange a, DataRange b) {
  return {std::max(a.coldest_c, b.coldest_c), std::min(a.hottest_c, b.hottest_c)};
}

std::string OutsideDataNote(DataRange range, TemperatureUnit unit, std::string_view whose) {
  const Field temperature = InUnit(kTemperatureField, unit);
  const std::string start = std::string(kOutsideMark) + " outside " + std::string(whose);
  if (range.coldest_c > range.hottest_c) {
    return start + " measured range: the oils' measured ranges do not meet.\n";
  }
  return start + " measured range, " + TextOf(temperature, range.coldest_c) + " to " +
         TextOf(temperature, range.hottest_c) + " " + UnitOf(temperature) +
         ": the line is carried beyond its data.\n";
}

std::string LawHeading(Law law) { return "Law: " + std::string(LawName(law)) + "\n"; }

}  // namespace project1::cli
