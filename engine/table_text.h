#pragma once
// The viscosity-versus-temperature table's text: a header line and 59 rows from -40 to 250 C in
// steps of 5 C, TAB between fields, CR LF after every line. Text only: writing it to its file is
// table_file/'s.

#include <string>
#include <string_view>

#include "engine/model.h"

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

// The whole table's text for the fitted line in `s`. Throws the evaluation's error at the first
// failing row.
std::string ViscosityTableText(const CalcState& s);

}  // namespace project1
