#include "engine/model.h"

#include <cmath>
#include <string>

#include "engine/viscosity_line.h"
#include "numtext/numtext.h"

namespace project1 {

namespace {

// Where an evaluation takes place, for a message: "the first reference temperature (71 °C)",
// or "71 °C" when the temperature has no name.
std::string Where(std::string_view what, double t) {
  const std::string degrees = NumberToText(t) + " °C";
  return what.empty() ? degrees : "the " + std::string(what) + " (" + degrees + ")";
}

// A value of an evaluation at `t` degrees C: stops it when it is not a finite number.
double CheckEvaluation(double value, double t, std::string_view what) {
  if (std::isnan(value)) {
    throw Error(Fault::InvalidOperation, "The viscosity at " + Where(what, t) + " gave no number.",
                what);
  }
  if (std::isinf(value)) {
    throw Error(Fault::Overflow,
                "The viscosity at " + Where(what, t) +
                    " is too large to compute: the viscosity-temperature line is too steep "
                    "there.",
                what);
  }
  return value;
}

}  // namespace

void FitViscosityLine(CalcState& s) {
  const ViscosityLine line = FitLine40100(Law::Walther, s.visc40, s.visc100);
  s.slope = line.b;
  s.intercept = line.a;
}

double ViscosityAt(const CalcState& s, double t, std::string_view what) {
  const double absolute = t + kWaltherKelvinOffset;
  if (!(absolute > 0)) {
    const std::string the = what.empty() ? "The temperature" : "The " + std::string(what);
    if (std::isnan(absolute)) {
      throw Error(Fault::InvalidOperation, the + " is not a number.", what);
    }
    throw Error(Fault::InvalidArgument,
                the + " must be above -273.16 °C; it is " + NumberToText(t) + ".", what);
  }
  const double ln_absolute = std::log(absolute);

  const double loglog =
      CheckEvaluation(s.intercept - (s.slope * ln_absolute) / std::log(kBase), t, what);
  const double log = CheckEvaluation(std::pow(kBase, loglog), t, what);
  return CheckEvaluation(std::pow(kBase, log), t, what) - kViscosityOffset;
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
