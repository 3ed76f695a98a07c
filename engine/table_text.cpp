#include "engine/table_text.h"

#include <cmath>

#include "engine/temperature_unit.h"
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

std::vector<double> TableTemperatures(double from, double to, double step) {
  const double span = (to - from) / step;
  const auto steps = static_cast<std::size_t>(std::floor(span * (1 + 1e-12) + 1e-9)) + 1;
  std::vector<double> temperatures;
  temperatures.reserve(steps + 1);
  for (std::size_t i = 0; i < steps; ++i) {
    temperatures.push_back(from + static_cast<double>(i) * step);
  }
  if (to - temperatures.back() > step * 1e-9) temperatures.push_back(to);
  return temperatures;
}

void CheckTableSpan(double from, double to, double step, std::string_view from_name,
                    std::string_view to_name, std::string_view step_name) {
  if (!(step > 0)) {
    throw Error(ErrorKind::BadInput,
                std::string(step_name) + " must be above 0; it is " + MessageNumber(step) + ".",
                step_name);
  }
  if (!(to >= from)) {
    throw Error(ErrorKind::BadInput,
                std::string(to_name) + " (" + DegreesText(MessageNumber(to)) + ") is below " +
                    std::string(from_name) + " (" + DegreesText(MessageNumber(from)) + ").",
                to_name);
  }
  if (!((to - from) / step < kMostTableRows)) {
    throw Error(ErrorKind::BadInput,
                "The table from " + DegreesText(MessageNumber(from)) + " to " +
                    DegreesText(MessageNumber(to)) + " in steps of " + MessageNumber(step) +
                    " would have more than 1,000,000 rows.",
                step_name);
  }
}

std::string LineTableText(const ViscosityLine& line, std::span<const double> temperatures,
                          TemperatureUnit unit) {
  std::vector<double> nu;
  nu.reserve(temperatures.size());
  for (const double t : temperatures) nu.push_back(KinematicAt(line, t));
  std::string text = unit == TemperatureUnit::Celsius
                         ? std::string(kTableHeaderLine)
                         : " Temp, " + std::string(UnitLetter(unit)) + "\t viscosity, cSt\r\n";
  text.reserve(text.size() + temperatures.size() * 24);
  for (std::size_t i = 0; i < nu.size(); ++i) {
    AppendTableRow(text, FromCelsius(temperatures[i], unit), nu[i]);
  }
  return text;
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
