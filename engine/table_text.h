#pragma once
// The viscosity-versus-temperature table's text: a header line and 59 rows from -40 to 250 C in
// steps of 5 C, TAB between fields, CR LF after every line. Text only: writing it to its file is
// table_file/'s.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/model.h"
#include "engine/temperature_unit.h"
#include "engine/viscosity_line.h"

namespace project1 {

// The temperatures of the table, in degrees C: from, to and step. The chart spans the same range
// unless told otherwise.
inline constexpr double kTableFromC = -40;
inline constexpr double kTableToC = 250;
inline constexpr double kTableStepC = 5;
inline constexpr int kTableRows = static_cast<int>((kTableToC - kTableFromC) / kTableStepC) + 1;

// The table's header line and one row line (temperature in C, viscosity in cSt), each ending in
// CR LF: the format of the table, for any range.
inline constexpr std::string_view kTableHeaderLine = " Temp, C\t viscosity, cSt\r\n";
void AppendTableRow(std::string& text, double t, double nu);

// The temperatures of a table from `from` to `to`, both included, in steps of `step` (degrees
// C): where the steps do not land on `to`, or rounding leaves the last one a hair short of it, it
// is a last row after a shorter step. The caller has made sure that step > 0, to >= from and that
// the steps are fewer than kMostTableRows.
inline constexpr double kMostTableRows = 1000000;
std::vector<double> TableTemperatures(double from, double to, double step);
// Refuses a table's range and step unless step > 0, to >= from and the steps are fewer than
// kMostTableRows, its messages naming the three as `from`, `to` and `step` ("--step must be above
// 0; it is -5."), each error's subject the one it is about (the step's for too many rows).
// Error(TypeMismatch).
void CheckTableSpan(double from, double to, double step, std::string_view from_name,
                    std::string_view to_name, std::string_view step_name);

// The table's text for `line` at `temperatures` (degrees C), the temperatures shown in `unit`:
// with the table's range and the window's line, the window's table file byte for byte. Throws the
// evaluation's error at the first failing row, before any text is made.
std::string LineTableText(const ViscosityLine& line, std::span<const double> temperatures,
                          TemperatureUnit unit = TemperatureUnit::Celsius);

// The whole table's text for the fitted line in `s`. Throws the evaluation's error at the first
// failing row.
std::string ViscosityTableText(const CalcState& s);

}  // namespace project1
