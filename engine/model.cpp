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

// ln(ln(nu + 0.6)) of the input viscosity named `name`, refused when either logarithm has no
// positive argument.
double DoubleLogOfViscosity(double viscosity, std::string_view name) {
  const double sum = viscosity + kViscosityOffset;
  if (sum > 0) {
    const double inner = std::log(sum);
    if (inner > 0) return std::log(inner);
  }
  const std::string the = "The " + std::string(name);
  if (std::isnan(viscosity)) {
    throw Error(ErrorKind::InvalidOperation, the + " is not a number.", name);
  }
  throw Error(ErrorKind::InvalidArgument,
              the + " must be above 0.4 cSt; it is " + Shown(viscosity) + ".", name);
}

// The message of a fit that gives no finite line; `why` ends it ("." or ": ...").
std::string NotFitted(std::string_view why) {
  return "The viscosity line through the viscosities at 40 °C and 100 °C could not be fitted" +
         std::string(why);
}

// A fitted value: stops the fit when it is not a finite number.
double CheckFit(double value) {
  if (std::isnan(value)) {
    throw Error(ErrorKind::InvalidOperation, NotFitted("."));
  }
  if (std::isinf(value)) {
    throw Error(ErrorKind::Overflow, NotFitted(": its slope is too large."));
  }
  return value;
}

// Where an evaluation takes place, for a message: "the first reference temperature (71 °C)",
// or "71 °C" when the temperature has no name.
std::string Where(std::string_view what, double t) {
  const std::string degrees = Shown(t) + " °C";
  return what.empty() ? degrees : "the " + std::string(what) + " (" + degrees + ")";
}

// A value of an evaluation at `t` degrees C: stops it when it is not a finite number.
double CheckEvaluation(double value, double t, std::string_view what) {
  if (std::isnan(value)) {
    throw Error(ErrorKind::InvalidOperation,
                "The viscosity at " + Where(what, t) + " gave no number.", what);
  }
  if (std::isinf(value)) {
    throw Error(ErrorKind::Overflow,
                "The viscosity at " + Where(what, t) +
                    " is too large to compute: the viscosity-temperature line is too steep "
                    "there.",
                what);
  }
  return value;
}

}  // namespace

void FitViscosityLine(CalcState& s) {
  const double l40 = DoubleLogOfViscosity(s.visc40, kVisc40Name);
  const double k40 = std::log(kAbsolute40);
  const double k100 = std::log(kAbsolute100);
  const double l100 = DoubleLogOfViscosity(s.visc100, kVisc100Name);

  s.slope = CheckFit((l100 - l40) / (k40 - k100));

  // The intercept field is overwritten stage by stage; each stage is checked before it is stored.
  s.intercept = CheckFit(std::log(s.visc40 + kViscosityOffset) / std::log(kBase));
  if (!(s.intercept > 0)) throw Error(ErrorKind::InvalidArgument, NotFitted("."));
  s.intercept = CheckFit(std::log(s.intercept) / std::log(kBase));
  s.intercept = CheckFit(s.slope * std::log(kAbsolute40) / std::log(kBase) + s.intercept);
}

double ViscosityAt(const CalcState& s, double t, std::string_view what) {
  const double absolute = t + kKelvinOffset;
  if (!(absolute > 0)) {
    const std::string the = what.empty() ? "The temperature" : "The " + std::string(what);
    if (std::isnan(absolute)) {
      throw Error(ErrorKind::InvalidOperation, the + " is not a number.", what);
    }
    throw Error(ErrorKind::InvalidArgument,
                the + " must be above -273.16 °C; it is " + Shown(t) + ".", what);
  }
  const double ln_absolute = std::log(absolute);

  const double loglog =
      CheckEvaluation(s.intercept - (s.slope * ln_absolute) / std::log(kBase), t, what);
  const double log = CheckEvaluation(std::pow(kBase, loglog), t, what);
  return CheckEvaluation(std::pow(kBase, log), t, what) - kViscosityOffset;
}

void DensityFromGravity(CalcState& s) {
  if (std::isnan(s.gravity)) {
    throw Error(ErrorKind::InvalidOperation, "The specific gravity is not a number.", kGravityName);
  }
  if (!(s.gravity > 0)) {
    throw Error(ErrorKind::InvalidArgument,
                "The specific gravity must be above 0; it is " + Shown(s.gravity) + ".",
                kGravityName);
  }
  const double density = kWaterWeightDensity / std::pow(kInchesPerFoot, 3) * s.gravity /
                         kStandardGravity / kInchesPerFoot;
  if (std::isinf(density)) {
    throw Error(ErrorKind::Overflow, "The specific gravity is too large to compute a density.",
                kGravityName);
  }
  s.density = density;
}

double DynamicViscosity(const CalcState& s, double nu, std::string_view what) {
  const double reyn = nu * kAreaFactor * s.density;
  if (std::isfinite(reyn)) return reyn;
  const std::string at = what.empty() ? "" : " at the " + std::string(what);
  if (std::isnan(reyn)) {
    throw Error(ErrorKind::InvalidOperation, "The dynamic viscosity" + at + " gave no number.");
  }
  throw Error(ErrorKind::Overflow,
              "The specific gravity is too large to compute the dynamic viscosity" +
                  (what.empty() ? " of " + Shown(nu) + " cSt" : at) + ".",
              kGravityName);
}

}  // namespace project1
