#include "engine/model.h"

#include <cmath>
#include <string>

#include "engine/temperature_unit.h"
#include "engine/viscosity_line.h"
#include "numtext/numtext.h"

namespace project1 {

namespace {

// Where an evaluation takes place, for a message: "the first reference temperature (71 °C)",
// or "71 °C" when the temperature has no name.
std::string Where(std::string_view what, double t) {
  const std::string degrees = DegreesText(NumberToText(t));
  return what.empty() ? degrees : "the " + std::string(what) + " (" + degrees + ")";
}

// The calculation's refusal of an evaluation at `t` degrees C that failed for `failure`.
[[noreturn]] void RefuseEvaluation(LineFailure failure, double t, std::string_view what) {
  const std::string the = what.empty() ? "The temperature" : "The " + std::string(what);
  switch (failure) {
    case LineFailure::TemperatureNotANumber:
      throw Error(Fault::InvalidOperation, the + " is not a number.", what);
    case LineFailure::BelowAbsoluteZero:
      throw Error(Fault::InvalidArgument,
                  the + " must be above " + DegreesText(NumberToText(-kWaltherKelvinOffset)) +
                      "; it is " + NumberToText(t) + ".",
                  what);
    case LineFailure::TooLarge:
      throw Error(Fault::Overflow,
                  "The viscosity at " + Where(what, t) +
                      " is too large to compute: the viscosity-temperature line is too steep "
                      "there.",
                  what);
    case LineFailure::NoNumber:
    case LineFailure::None:
      break;
  }
  throw Error(Fault::InvalidOperation, "The viscosity at " + Where(what, t) + " gave no number.",
              what);
}

}  // namespace

void FitViscosityLine(CalcState& s) { s.line = FitLine40100(Law::Walther, s.visc40, s.visc100); }

double ViscosityAt(const CalcState& s, double t, std::string_view what) {
  const LineValue value = EvaluateLine(s.line, t);
  if (value.failure == LineFailure::None) [[likely]]
    return value.kinematic_cst;
  RefuseEvaluation(value.failure, t, what);
}

void DensityFromGravity(CalcState& s) {
  if (std::isnan(s.gravity)) {
    throw Error(Fault::InvalidOperation, "The specific gravity is not a number.", kGravityName);
  }
  if (!(s.gravity > 0)) {
    throw Error(Fault::InvalidArgument,
                "The specific gravity must be above 0; it is " + NumberToText(s.gravity) + ".",
                kGravityName);
  }
  const double density = kWaterWeightDensity / std::pow(kInchesPerFoot, 3) * s.gravity /
                         kStandardGravity / kInchesPerFoot;
  if (std::isinf(density)) {
    throw Error(Fault::Overflow, "The specific gravity is too large to compute a density.",
                kGravityName);
  }
  s.density = density;
}

double DynamicViscosity(const CalcState& s, double nu, std::string_view what) {
  const double reyn = nu * kAreaFactor * s.density;
  if (std::isfinite(reyn)) return reyn;
  const std::string at = what.empty() ? "" : " at the " + std::string(what);
  if (std::isnan(reyn)) {
    throw Error(Fault::InvalidOperation, "The dynamic viscosity" + at + " gave no number.");
  }
  throw Error(Fault::Overflow,
              "The specific gravity is too large to compute the dynamic viscosity" +
                  (what.empty() ? " of " + NumberToText(nu) + " cSt" : at) + ".",
              kGravityName);
}

}  // namespace project1
