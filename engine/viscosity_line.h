#pragma once
// A viscosity-temperature line as a value: the law it follows and its two constants, fitted
// through any two (temperature, kinematic viscosity) points. Every line of a law is straight in
// that law's own coordinates x = log10 T, y = log10 log10 Z:
//   walther  Z = nu + 0.6, T = t + 273.16 (the window's line, same numbers bit for bit)
//   d341     ASTM D341-20: Z = nu + 0.7 + exp(-1.47 - 1.84 nu - 0.51 nu^2), T = t + 273.15
// Temperatures t are in degrees C, viscosities nu in cSt. Every failure is Error with a message
// that names the quantity and its value.

#include <span>
#include <string_view>
#include <vector>

#include "error/error.h"

namespace project1 {

enum class Law { Walther, D341 };

// The laws' names in their order: "walther", "d341".
std::span<const std::string_view> LawNames();
// "walther" or "d341".
std::string_view LawName(Law law);
// The law's formula in one line, with its constants, for a person: "walther: log10 log10 (ν + 0.6)
// = A − B log10 (t + 273.16)"; d341 names the edition of ASTM D341 and its low-viscosity term.
std::string LawFormula(Law law);
// The law named `name` exactly; Error(TypeMismatch) naming the text otherwise.
Law LawFromName(std::string_view name);

struct ViscosityPoint {
  double temperature_c = 0;
  double kinematic_cst = 0;
};

// log10 log10 Z = a - b * log10 T.
struct ViscosityLine {
  Law law = Law::Walther;
  double a = 0;
  double b = 0;
};

// The line of `law` through two points at different temperatures.
ViscosityLine FitLine(Law law, ViscosityPoint first, ViscosityPoint second);
// The line through (40 C, nu40) and (100 C, nu100); the window's fit for walther. An error about
// one viscosity has that viscosity's name (kVisc40Name, kVisc100Name) as its subject.
ViscosityLine FitLine40100(Law law, double nu40, double nu100);

// The line of `law` through measured points: two points give FitLine's line, bit for bit; three
// or more give the unweighted least-squares fit of the law's y on its x over all of them. Fewer
// than two points, or points all at one temperature, are Error(InvalidArgument).
ViscosityLine FitLine(Law law, std::span<const ViscosityPoint> points);
// The largest |nu_line(t_i) / nu_i - 1| x 100 over the points: how far the line strays from the
// measurements, in percent.
double MaxDeviationPercent(const ViscosityLine& line, std::span<const ViscosityPoint> points);
// (nu_line(t_i) / nu_i - 1) x 100 for each point, in their order: a line above a measurement is
// a positive deviation.
std::vector<double> DeviationsPercent(const ViscosityLine& line,
                                      std::span<const ViscosityPoint> points);

// Kinematic viscosity on the line at t; for walther exactly the window's evaluation.
double KinematicAt(const ViscosityLine& line, double t_c);
// Why the line has no viscosity at a temperature.
enum class LineFailure {
  None,
  TemperatureNotANumber,  // the temperature is NaN
  BelowAbsoluteZero,      // at or below the law's absolute zero
  NoNumber,               // a step of the evaluation gave NaN (a broken line)
  TooLarge,               // a power of ten beyond a double: the line is too steep there
};
struct LineValue {
  double kinematic_cst = 0;  // 0 on a failure
  LineFailure failure = LineFailure::None;
};
// KinematicAt's evaluation without a throw, for a caller with messages of its own: the same
// viscosity bit for bit, or the reason KinematicAt would refuse the temperature.
LineValue EvaluateLine(const ViscosityLine& line, double t_c);
// A temperature made ready once for the lines of one law, many of them evaluated at it (a column
// of the batch): the logarithm of its absolute temperature. Refused as KinematicAt refuses it.
struct LineTemperature {
  Law law = Law::Walther;
  double t_c = 0;
  double log_absolute = 0;
};
LineTemperature PrepareTemperature(Law law, double t_c);
// The same as KinematicAt(line, t.t_c), for a line of the law t was made ready for.
double KinematicAt(const ViscosityLine& line, const LineTemperature& t);
// The temperature at which the line reaches nu: the exact inverse of KinematicAt.
double TemperatureFor(const ViscosityLine& line, double nu_cst);

// The law's coordinates.
double AbsoluteTemperature(Law law, double t_c);  // T
double LawZ(Law law, double nu_cst);              // Z
double ChartX(Law law, double t_c);               // log10 T
double ChartY(Law law, double nu_cst);            // log10 log10 Z
double TemperatureFromChartX(Law law, double x);  // inverse of ChartX

}  // namespace project1
