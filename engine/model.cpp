#include "engine/model.h"

#include <cmath>
#include <string>

#include "numtext/numtext.h"

namespace project1 {

namespace {

// A value for a message; the texts of the non-finite values are spelled out.
std::string Shown(double value) {
  if (std::isnan(value)) return "not a number";
  if (std::isinf(value)) return value > 0 ? "infinite" : "minus infinite";
  return NumberToText(value);
}

// ln of a term that must be positive; `message` explains the failure to the user.
double CheckedLog(double argument, const std::string& message) {
  if (!(argument > 0)) throw Error(ErrorKind::InvalidArgument, message);
  return std::log(argument);
}

std::string ViscosityTooLow(const char* where, double viscosity) {
  return std::string("The viscosity at ") + where + " must be above 0.4 cSt; it is " +
         Shown(viscosity) + ".";
}

// ln(ln(nu + 0.6)) of an input viscosity, refused when either logarithm has no positive argument.
double DoubleLogOfViscosity(double viscosity, const char* where) {
  if (std::isnan(viscosity)) {
    throw Error(ErrorKind::InvalidOperation,
                std::string("The viscosity at ") + where + " is not a number.");
  }
  const std::string message = ViscosityTooLow(where, viscosity);
  const double inner = CheckedLog(viscosity + kViscosityOffset, message);
  return CheckedLog(inner, message);
}

// A fitted value: stops the fit when it is not a finite number.
double CheckFit(double value) {
  if (std::isnan(value)) {
    throw Error(ErrorKind::InvalidOperation, "The viscosity line could not be fitted.");
  }
  if (std::isinf(value)) {
    throw Error(ErrorKind::Overflow,
                "The viscosity line could not be fitted: its slope is too large.");
  }
  return value;
}

// A value of an evaluation at `t` degrees C: stops it when it is not a finite number.
double CheckEvaluation(double value, double t) {
  if (std::isnan(value)) {
    throw Error(ErrorKind::InvalidOperation,
                "The calculation at " + Shown(t) + " °C gave no number.");
  }
  if (std::isinf(value)) {
    throw Error(ErrorKind::Overflow,
                "The viscosity at " + Shown(t) +
                    " °C is too large to compute: the viscosity-temperature line is too steep "
                    "there.");
  }
  return value;
}

}  // namespace

CalcState& ModuleState() {
  static CalcState state;
  return state;
}

void FitViscosityLine(CalcState& s) {
  const double l40 = DoubleLogOfViscosity(s.visc40, "40 °C");
  const double k40 = std::log(kAbsolute40);
  const double k100 = std::log(kAbsolute100);
  const double l100 = DoubleLogOfViscosity(s.visc100, "100 °C");

  s.slope = CheckFit((l100 - l40) / (k40 - k100));

  // The intercept field is overwritten stage by stage; each stage is checked before it is stored.
  s.intercept = CheckFit(std::log(s.visc40 + kViscosityOffset) / std::log(kBase));
  s.intercept = CheckFit(CheckedLog(s.intercept, "The viscosity line could not be fitted.") /
                         std::log(kBase));
  s.intercept = CheckFit(s.slope * std::log(kAbsolute40) / std::log(kBase) + s.intercept);
}

double ViscosityAt(CalcState& s, double t) {
  const double absolute = t + kKelvinOffset;
  if (std::isnan(absolute)) {
    throw Error(ErrorKind::InvalidOperation, "The temperature is not a number.");
  }
  const double ln_absolute =
      CheckedLog(absolute, "The temperature must be above -273.16 °C; it is " + Shown(t) + ".");

  s.loglog = CheckEvaluation(s.intercept - (s.slope * ln_absolute) / std::log(kBase), t);
  s.logv = CheckEvaluation(std::pow(kBase, s.loglog), t);
  return CheckEvaluation(std::pow(kBase, s.logv), t) - kViscosityOffset;
}

void DensityFromSG(CalcState& s) {
  const double density =
      kWaterWeightDensity / std::pow(kInchesPerFoot, 3) * s.sg / kStandardGravity / kInchesPerFoot;
  if (std::isnan(density)) {
    throw Error(ErrorKind::InvalidOperation, "The specific gravity is not a number.");
  }
  if (std::isinf(density)) {
    throw Error(ErrorKind::Overflow, "The specific gravity is too large to compute a density.");
  }
  s.density = density;
}

double DynamicViscosity(const CalcState& s, double nu) {
  const double reyn = nu * kAreaFactor * s.density;
  if (std::isnan(reyn)) {
    throw Error(ErrorKind::InvalidOperation, "The dynamic viscosity gave no number.");
  }
  if (std::isinf(reyn)) {
    throw Error(ErrorKind::Overflow,
                "The dynamic viscosity of " + Shown(nu) + " cSt is too large to compute.");
  }
  return reyn;
}

}  // namespace project1
