#pragma once
// The viscosity-temperature model: a double-logarithmic line
//   log10 log10(nu + 0.6) = A - B * log10(T + 273.16)
// fitted through the kinematic viscosities at 40 and 100 degrees C.

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "engine/viscosity_line.h"
#include "error/error.h"

namespace project1 {

// The numbers of one calculation. Every field is a double and starts at 0.
struct CalcState {
  double visc40 = 0;    // cSt at 40 C (input)
  double visc100 = 0;   // cSt at 100 C (input)
  double temp1 = 0;     // first reference temperature, C (input)
  double temp2 = 0;     // second reference temperature, C (input)
  double visc1 = 0;     // cSt at temp1
  double visc2 = 0;     // cSt at temp2
  ViscosityLine line;   // the fitted walther line: A is line.a, B is line.b
  double gravity = 0;   // specific gravity (input)
  double density = 0;   // mass density, lbf*s^2/in^4
  double dynamic1 = 0;  // dynamic viscosity at temp1, reyn
  double dynamic2 = 0;  // dynamic viscosity at temp2, reyn
};

// The inputs of the calculation as its messages name them. An error about one input carries its
// name as the error's subject.
inline constexpr std::string_view kVisc40Name = "viscosity at 40 °C";
inline constexpr std::string_view kVisc100Name = "viscosity at 100 °C";
inline constexpr std::string_view kTemp1Name = "first reference temperature";
inline constexpr std::string_view kTemp2Name = "second reference temperature";
inline constexpr std::string_view kGravityName = "specific gravity";

// The calculation's inputs, in the order of their names above.
enum class CalculationInput { Visc40, Visc100, Temp1, Temp2, Gravity };
inline constexpr std::size_t kCalculationInputs = 5;

// The input an error is about, from its subject; none when it names no input of the calculation.
inline std::optional<CalculationInput> InputOf(const Error& error) {
  constexpr std::array<std::string_view, kCalculationInputs> kNames = {
      kVisc40Name, kVisc100Name, kTemp1Name, kTemp2Name, kGravityName};
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    if (kNames[i] == error.subject()) return static_cast<CalculationInput>(i);
  }
  return std::nullopt;
}

// Model constants, each a literal of the program.
inline constexpr double kViscosityOffset = 0.6;
// The walther line's own offset from degrees C to its absolute temperature (not 273.15).
inline constexpr double kWaltherKelvinOffset = 273.16;
inline constexpr double kAbsolute40 = 313.16;
inline constexpr double kAbsolute100 = 373.16;
inline constexpr double kBase = 10;
inline constexpr double kWaterWeightDensity = 62.37;  // lb/ft^3
inline constexpr double kInchesPerFoot = 12;
inline constexpr double kStandardGravity = 32.174;  // ft/s^2
inline constexpr double kAreaFactor = 0.00155;      // in^2 per mm^2

// Reads visc40 and visc100; writes line: the walther line of FitLine40100.
// Error(InvalidArgument) when a viscosity is 0.4 cSt or less, its subject that viscosity; on any
// error the record stays as it was.
void FitViscosityLine(CalcState& s);

// Kinematic viscosity in cSt at t degrees C on line (KinematicAt's value, with the calculation's
// own messages). `what` names the temperature
// in messages and is the errors' subject ("first reference temperature"); left empty (a table
// row), the messages name the temperature by its value.
// Error(InvalidArgument) at -273.16 C or below; Error(Overflow) when a power exceeds a double.
double ViscosityAt(const CalcState& s, double t, std::string_view what = {});

// Reads gravity; writes density. Error(InvalidArgument) for a gravity that is not above 0.
void DensityFromGravity(CalcState& s);

// Dynamic viscosity in reyn of nu cSt; reads density. `what` names the temperature of nu in
// messages, as for ViscosityAt. Too large a result is the gravity's fault (no finite viscosity
// overflows with a gravity below a million), so that error's subject is the specific gravity.
double DynamicViscosity(const CalcState& s, double nu, std::string_view what = {});

}  // namespace project1
