#include "engine/viscosity_line.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "engine/model.h"
#include "engine/temperature_unit.h"
#include "numtext/numtext.h"

namespace project1 {

namespace {

// The d341 law's constants.
constexpr double kD341ViscosityOffset = 0.7;
constexpr double kD341KelvinOffset = 273.15;

double KelvinOffset(Law law) {
  return law == Law::Walther ? kWaltherKelvinOffset : kD341KelvinOffset;
}

// ASTM D341-20: the kinematic viscosity of Z, with the low-viscosity term.
double D341KinematicFromZ(double z) {
  const double w = z - kD341ViscosityOffset;
  return w - std::exp(-0.7487 - 3.295 * w + 0.6119 * w * w - 0.3193 * w * w * w);
}

// Why a value of an evaluation is not a finite number.
LineFailure FailureOf(double value) {
  return std::isnan(value) ? LineFailure::NoNumber : LineFailure::TooLarge;
}

// The evaluation's three steps at the logarithm of an absolute temperature; the first step whose
// value is not finite ends it. Small enough to be inlined into the batch's loop.
inline LineValue Evaluate(const ViscosityLine& line, double log_absolute) {
  const double loglog = line.a - (line.b * log_absolute) / std::log(kBase);
  if (!std::isfinite(loglog)) [[unlikely]]
    return {0, FailureOf(loglog)};
  const double logz = std::pow(kBase, loglog);
  if (!std::isfinite(logz)) [[unlikely]]
    return {0, FailureOf(logz)};
  const double z = std::pow(kBase, logz);
  if (!std::isfinite(z)) [[unlikely]]
    return {0, FailureOf(z)};
  return {line.law == Law::Walther ? z - kViscosityOffset : D341KinematicFromZ(z)};
}

// Why the law's line has no value at t_c degrees C, before any evaluation: None when it may have.
LineFailure TemperatureFailure(double absolute) {
  if (std::isnan(absolute)) return LineFailure::TemperatureNotANumber;
  if (!(absolute > 0)) return LineFailure::BelowAbsoluteZero;
  return LineFailure::None;
}

// The refusal of an evaluation at t_c degrees C for `failure`.
[[noreturn]] void Refuse(Law law, LineFailure failure, double t_c) {
  switch (failure) {
    case LineFailure::TemperatureNotANumber:
      throw Error(Fault::InvalidOperation, "The temperature is not a number.");
    case LineFailure::BelowAbsoluteZero:
      throw Error(Fault::InvalidArgument, "The temperature must be above " +
                                              DegreesText(MessageNumber(-KelvinOffset(law))) +
                                              "; it is " + MessageNumber(t_c) + ".");
    case LineFailure::TooLarge:
      throw Error(Fault::Overflow,
                  "The viscosity at " + DegreesText(MessageNumber(t_c)) +
                      " is too large to compute: the viscosity-temperature line is too steep "
                      "there.");
    case LineFailure::NoNumber:
    case LineFailure::None:
      break;
  }
  throw Error(Fault::InvalidOperation,
              "The calculation at " + DegreesText(MessageNumber(t_c)) + " gave no number.");
}

// The absolute temperature of t, refused at or below the law's absolute zero.
double CheckedAbsolute(Law law, double t) {
  const double absolute = AbsoluteTemperature(law, t);
  const LineFailure failure = TemperatureFailure(absolute);
  if (failure != LineFailure::None) Refuse(law, failure, t);
  if (std::isinf(absolute)) {
    throw Error(Fault::Overflow, "The temperature is too large; it is " + MessageNumber(t) + ".");
  }
  return absolute;
}

// Z of the viscosity nu at `at_c` degrees C (at no stated temperature when empty), refused where
// log10 log10 Z has no value, the error's subject `subject`. The message is put together only
// for a refusal.
[[noreturn]] void RefuseZ(Law law, double nu, std::optional<double> at_c,
                          std::string_view subject) {
  const std::string the =
      at_c ? "The viscosity at " + DegreesText(MessageNumber(*at_c)) : std::string("The viscosity");
  if (std::isnan(nu)) {
    throw Error(Fault::InvalidOperation, the + " is not a number.", subject);
  }
  if (std::isinf(nu) && nu > 0) {
    throw Error(Fault::Overflow, the + " is too large; it is " + MessageNumber(nu) + ".", subject);
  }
  if (law == Law::Walther) {
    throw Error(Fault::InvalidArgument,
                the + " must be above 0.4 cSt; it is " + MessageNumber(nu) + ".", subject);
  }
  throw Error(Fault::InvalidArgument,
              the + " is below what the d341 law covers; it is " + MessageNumber(nu) + " cSt.",
              subject);
}

// The check itself is small enough to be inlined into every fit; the refusal is not.
double CheckedZ(Law law, double nu, std::optional<double> at_c, std::string_view subject = {}) {
  const double z = LawZ(law, nu);
  if (z > 1 && !std::isinf(z)) [[likely]]
    return z;
  RefuseZ(law, nu, at_c, subject);
}

// A constant of a fitted line: stops the fit when it is not a finite number.
[[noreturn]] void RefuseFitted(double value) {
  if (std::isnan(value)) {
    throw Error(Fault::InvalidOperation, "The viscosity line could not be fitted.");
  }
  if (std::isinf(value)) {
    throw Error(Fault::Overflow,
                "The viscosity line through the two points is too steep to compute.");
  }
  throw Error(Fault::InvalidOperation, "The viscosity line could not be fitted.");
}

double CheckFitted(double value) {
  if (std::isfinite(value)) [[likely]]
    return value;
  RefuseFitted(value);
}

// One point of a fit: its absolute temperature and its viscosity at t degrees C, the input the
// viscosity is (the subject of an error about it; empty for none).
struct FitPoint {
  double absolute;
  double log_absolute;  // ln of it
  double nu;
  double t;
  std::string_view subject;
};

// The line through two points, in this order of operations:
// B = (ln ln Z2 - ln ln Z1) / (ln T1 - ln T2), A = log10 log10 Z1 + B log10 T1.
ViscosityLine Fit(Law law, const FitPoint& first, const FitPoint& second) {
  const double absolute1 = first.absolute;
  const double absolute2 = second.absolute;
  const double t1 = first.t;
  const double z1 = CheckedZ(law, first.nu, first.t, first.subject);
  const double z2 = CheckedZ(law, second.nu, second.t, second.subject);
  if (absolute1 == absolute2) {
    throw Error(Fault::InvalidArgument, "The two temperatures must differ; both are " +
                                            DegreesText(MessageNumber(t1)) + ".");
  }
  const double ln_z1 = std::log(z1);
  const double l1 = std::log(ln_z1);
  const double k1 = first.log_absolute;
  const double k2 = second.log_absolute;
  const double l2 = std::log(std::log(z2));

  ViscosityLine line;
  line.law = law;
  line.b = CheckFitted((l2 - l1) / (k1 - k2));
  line.a = CheckFitted(ln_z1 / std::log(kBase));
  line.a = CheckFitted(std::log(line.a) / std::log(kBase));
  line.a = CheckFitted(line.b * k1 / std::log(kBase) + line.a);
  return line;
}

// The low-viscosity term of Z (ASTM D341-20), which matters below about 2 cSt.
constexpr double kD341Term[] = {-1.47, -1.84, -0.51};

}  // namespace

namespace {

constexpr std::string_view kLawNames[] = {"walther", "d341"};

}  // namespace

std::span<const std::string_view> LawNames() { return kLawNames; }

std::string_view LawName(Law law) { return kLawNames[static_cast<int>(law)]; }

Law LawFromName(std::string_view name) {
  for (std::size_t i = 0; i < std::size(kLawNames); ++i) {
    if (kLawNames[i] == name) return static_cast<Law>(i);
  }
  throw Error(Fault::TypeMismatch,
              "The law \"" + std::string(name) + "\" is not known; use walther or d341.");
}

ViscosityLine FitLine(Law law, ViscosityPoint first, ViscosityPoint second) {
  const double absolute1 = CheckedAbsolute(law, first.temperature_c);
  const double absolute2 = CheckedAbsolute(law, second.temperature_c);
  return Fit(law, {absolute1, std::log(absolute1), first.kinematic_cst, first.temperature_c, {}},
             {absolute2, std::log(absolute2), second.kinematic_cst, second.temperature_c, {}});
}

namespace {

// The absolute temperatures of 40 C and 100 C under a law and their logarithms, taken once: every
// line through the two reference points needs them.
struct ReferencePoints {
  double at40, log40, at100, log100;
};

ReferencePoints ReferencesOf(double at40, double at100) {
  return {at40, std::log(at40), at100, std::log(at100)};
}

const ReferencePoints& References(Law law) {
  static const ReferencePoints walther = ReferencesOf(kAbsolute40, kAbsolute100);
  static const ReferencePoints d341 =
      ReferencesOf(AbsoluteTemperature(Law::D341, 40), AbsoluteTemperature(Law::D341, 100));
  return law == Law::Walther ? walther : d341;
}

}  // namespace

ViscosityLine FitLine40100(Law law, double nu40, double nu100) {
  const ReferencePoints& at = References(law);
  return Fit(law, {at.at40, at.log40, nu40, 40, kVisc40Name},
             {at.at100, at.log100, nu100, 100, kVisc100Name});
}

ViscosityLine FitLine(Law law, std::span<const ViscosityPoint> points) {
  if (points.size() < 2) {
    throw Error(Fault::InvalidArgument, "A viscosity line needs two or more points.");
  }
  if (points.size() == 2) return FitLine(law, points[0], points[1]);
  // Least squares of y = log10 log10 Z on x = log10 T, about the points' means.
  double mean_x = 0, mean_y = 0;
  std::vector<double> xs, ys;
  for (const ViscosityPoint& point : points) {
    xs.push_back(std::log10(CheckedAbsolute(law, point.temperature_c)));
    ys.push_back(std::log10(std::log10(CheckedZ(law, point.kinematic_cst, point.temperature_c))));
    mean_x += xs.back();
    mean_y += ys.back();
  }
  const auto n = static_cast<double>(points.size());
  mean_x /= n;
  mean_y /= n;
  double sxx = 0, sxy = 0;
  for (std::size_t i = 0; i < xs.size(); ++i) {
    sxx += (xs[i] - mean_x) * (xs[i] - mean_x);
    sxy += (xs[i] - mean_x) * (ys[i] - mean_y);
  }
  if (sxx == 0) {
    throw Error(Fault::InvalidArgument, "The temperatures must differ; all are " +
                                            DegreesText(MessageNumber(points[0].temperature_c)) +
                                            ".");
  }
  ViscosityLine line;
  line.law = law;
  line.b = CheckFitted(-sxy / sxx);
  line.a = CheckFitted(mean_y + line.b * mean_x);
  return line;
}

std::vector<double> DeviationsPercent(const ViscosityLine& line,
                                      std::span<const ViscosityPoint> points) {
  std::vector<double> deviations;
  deviations.reserve(points.size());
  for (const ViscosityPoint& point : points) {
    deviations.push_back((KinematicAt(line, point.temperature_c) / point.kinematic_cst - 1) * 100);
  }
  return deviations;
}

double MaxDeviationPercent(const ViscosityLine& line, std::span<const ViscosityPoint> points) {
  double largest = 0;
  for (const double deviation : DeviationsPercent(line, points)) {
    largest = std::max(largest, std::abs(deviation));
  }
  return largest;
}

LineTemperature PrepareTemperature(Law law, double t_c) {
  const double absolute = AbsoluteTemperature(law, t_c);
  const LineFailure failure = TemperatureFailure(absolute);
  if (failure != LineFailure::None) Refuse(law, failure, t_c);
  return {law, t_c, std::log(absolute)};
}

double KinematicAt(const ViscosityLine& line, double t_c) {
  return KinematicAt(line, PrepareTemperature(line.law, t_c));
}

double KinematicAt(const ViscosityLine& line, const LineTemperature& t) {
  const LineValue value = Evaluate(line, t.log_absolute);
  if (value.failure == LineFailure::None) [[likely]]
    return value.kinematic_cst;
  Refuse(line.law, value.failure, t.t_c);
}

LineValue EvaluateLine(const ViscosityLine& line, double t_c) {
  const double absolute = AbsoluteTemperature(line.law, t_c);
  const LineFailure failure = TemperatureFailure(absolute);
  if (failure != LineFailure::None) return {0, failure};
  return Evaluate(line, std::log(absolute));
}

double TemperatureFor(const ViscosityLine& line, double nu_cst) {
  const double y = ChartY(line.law, nu_cst);
  if (line.b == 0) {
    throw Error(Fault::DivisionByZero, "The viscosity line is level: no temperature gives " +
                                           MessageNumber(nu_cst) + " cSt.");
  }
  const double x = (line.a - y) / line.b;
  const double absolute = std::pow(kBase, x);
  if (std::isnan(absolute)) {
    throw Error(Fault::InvalidOperation,
                "The temperature for " + MessageNumber(nu_cst) + " cSt gave no number.");
  }
  if (std::isinf(absolute)) {
    throw Error(Fault::Overflow,
                "The temperature for " + MessageNumber(nu_cst) + " cSt is too large to compute.");
  }
  if (!(absolute > 0)) {
    throw Error(Fault::Overflow, "The temperature for " + MessageNumber(nu_cst) +
                                     " cSt is too close to absolute zero.");
  }
  return absolute - KelvinOffset(line.law);
}

double AbsoluteTemperature(Law law, double t_c) { return t_c + KelvinOffset(law); }

double LawZ(Law law, double nu_cst) {
  if (law == Law::Walther) return nu_cst + kViscosityOffset;
  return nu_cst + kD341ViscosityOffset +
         std::exp(kD341Term[0] + kD341Term[1] * nu_cst + kD341Term[2] * nu_cst * nu_cst);
}

std::string LawFormula(Law law) {
  const std::string line = "log10 log10 Z = A − B log10 (t + " + MessageNumber(KelvinOffset(law)) +
                           "), t in °C, ν in cSt";
  if (law == Law::Walther) {
    return "walther: " + line + ", Z = ν + " + MessageNumber(kViscosityOffset);
  }
  const auto term = [](double c) { return (c < 0 ? " − " : " + ") + MessageNumber(std::fabs(c)); };
  return "d341 (ASTM D341-20): " + line + ", Z = ν + " + MessageNumber(kD341ViscosityOffset) +
         " + exp(" + (kD341Term[0] < 0 ? "−" : "") + MessageNumber(std::fabs(kD341Term[0])) +
         term(kD341Term[1]) + " ν" + term(kD341Term[2]) +
         " ν²), the last term for viscosities below about 2 cSt";
}

double ChartX(Law law, double t_c) { return std::log10(CheckedAbsolute(law, t_c)); }

double ChartY(Law law, double nu_cst) {
  return std::log10(std::log10(CheckedZ(law, nu_cst, std::nullopt)));
}

double TemperatureFromChartX(Law law, double x) { return std::pow(kBase, x) - KelvinOffset(law); }

}  // namespace project1
