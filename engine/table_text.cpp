#include "engine/table_text.h"

#include "numtext/numtext.h"

namespace project1 {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

void AppendTableRow(std::string& text, double t, double nu) {
  text += FormatNumber(t, kTemperaturePattern);
  text += '\t';
  text += FormatNumber(nu, kTableViscosityPattern);
  text += kLineEnd;
}

std::string ViscosityTableText(const CalcState& s) {
  std::string text(kTableHeaderLine);
  text.reserve(64 + static_cast<std::size_t>(kTableRows) * 24);
  double t = kTableFromC;
  for (int row = 1; row <= kTableRows; ++row) {
    AppendTableRow(text, t, ViscosityAt(s, t));
    t += kTableStepC;
  }
  return text;
}

}  // namespace project1
