#pragma once
// Whether an answer's temperature lies within the data its oil was given by, and the law its
// line follows, as the text names them.

#include <span>
#include <string>
#include <string_view>

#include "cli/output.h"
#include "engine/viscosity_line.h"

namespace project1::cli {

// An oil's measured range, from its coldest to its hottest given point. An answer row says
// whether its temperature lies within it: within_data in CSV and JSON; text marks a row outside
// with kOutsideMark and says so once, below (OutsideDataNote).
struct DataRange {
  double coldest_c = 0;
  double hottest_c = 0;
  bool Contains(double t_c) const { return t_c >= coldest_c && t_c <= hottest_c; }
};
DataRange DataRangeOf(std::span<const ViscosityPoint> points);
// The range of an oil given by its viscosities at 40 °C and 100 °C.
inline constexpr DataRange kRange40To100{40, 100};
// The temperatures within both ranges (a blend's, of its two oils); empty when they do not meet.
DataRange Overlap(DataRange a, DataRange b);

inline constexpr Field kWithinDataField{"within_data"};
inline constexpr std::string_view kOutsideMark = "*";
// The line under text marked kOutsideMark, its temperatures in `unit`; `whose` names the data
// ("the oil's", "the oils' shared").
std::string OutsideDataNote(DataRange range, TemperatureUnit unit,
                            std::string_view whose = "the oil's");

// The line that heads a text answer about an oil, naming the law of its line ("Law: walther").
std::string LawHeading(Law law);

}  // namespace project1::cli
