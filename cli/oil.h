#pragma once
// An oil as the command line gives it: a catalogue name, the viscosities at 40 C and 100 C, the
// viscosity at 40 C and the viscosity index, or two or more measured points; with an optional
// specific gravity and thermal expansion coefficient.

#include <deque>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/output.h"
#include "cli/within_data.h"
#include "engine/fit_points.h"
#include "engine/viscosity_line.h"

namespace CLI {
class App;
}  // namespace CLI

namespace project1::cli {

// The texts of the oil options as typed; an option not given is nullopt.
struct OilOptions {
  std::optional<std::string> oil;        // --oil NAME
  std::optional<std::string> v40;        // --v40 CST
  std::optional<std::string> v100;       // --v100 CST
  std::optional<std::string> vi;         // --vi INDEX, with --v40 in place of --v100
  std::vector<std::string> points;       // --point T=CST, two or more times
  std::optional<std::string> sg;         // --sg SG
  std::optional<std::string> density;    // --density KG_M3, instead of --sg
  std::optional<std::string> expansion;  // --expansion ALPHA
  Law law = Law::Walther;                // --law walther|d341
  // What the messages call --oil, --v40 and --v100: "--", or "--with-" for a blend's second oil.
  std::string_view prefix = "--";
};

// Whether a command uses the oil's gravity (for dynamic viscosities).
enum class OilGravity { Used, Unused };

// Declares --oil, --v40, --v100, --vi, --point and --law, and --sg, --density and --expansion
// where the gravity is used.
void AddOilOptions(CLI::App& command, OilOptions& oil, OilGravity gravity);

// Declares --density, the density at 15 °C from a lab report, wherever --sg is.
void AddDensityOption(CLI::App& command, OilOptions& oil);

struct Oil {
  ViscosityLine line;
  double nu40 = 0;            // as given, or the line's at 40 C for an oil given by two points
  double nu100 = 0;           // likewise at 100 C
  bool given_40_100 = false;  // given by its viscosities at 40 C and 100 C (or catalogue name)
  std::vector<ViscosityPoint> points;  // the points it was given by, or 40 C and 100 C
  // For a line fitted through three or more points: how far it strays from them, in percent.
  std::optional<double> fit_deviation_percent;
  std::optional<double> sg;
  std::optional<double> expansion;
};

// The oil the options describe; Error(BadInput) naming the option and its text. An oil whose
// given points are not thinner at each hotter one is refused (engine's CheckThinnerWhenHotter).
Oil ResolveOil(const OilOptions& options);

// Dynamic viscosity of nu cSt of `oil` at t C: nullopt without a gravity.
struct Dynamic {
  double reyn = 0;
  double mpa_s = 0;
};
std::optional<Dynamic> DynamicAt(const Oil& oil, double t_c, double nu_cst);

// The fields CSV and JSON add to an answer about the oil, and their values: its law (law), and,
// for a line fitted through three or more points, fit_points and fit_max_deviation_percent.
std::vector<Field> FitFields(const Oil& oil);
std::vector<Value> FitValues(const Oil& oil);

// Each point a line was fitted through (none for a line through two): engine's FitPointsOf.
std::vector<FitPoint> FitPoints(const Oil& oil);
// A point's values for kFitPointFields.
std::vector<Value> FitPointValues(const FitPoint& point);
inline constexpr Field kFitPointFields[] = {
    TemperatureField({"temperature_c", "Temperature", "°C", kTemperatureText}),
    {"measured_cst", "Measured", "cSt", kKinematicText},
    {"line_cst", "Line", "cSt", kKinematicText},
    {"deviation_percent", "Deviation", "%", kDeviationText},
};

// The oil's measured range (within_data.h).
inline DataRange DataRangeOf(const Oil& oil) { return DataRangeOf(oil.points); }

// JSON's fit_points_detail: the fitted points as objects of kFitPointFields, in `unit`.
Json FitPointsJson(const Oil& oil, TemperatureUnit unit);

// CSV's columns of each point a line was fitted through, repeated on every row as the fit's other
// fields are: fit_point_1_temperature_c, fit_point_1_measured_cst, fit_point_1_line_cst,
// fit_point_1_deviation_percent, then the second point's, in the order the points were given;
// none without a fit. Their keys are kept in `keys`.
void AddFitPointColumns(const Oil& oil, TemperatureUnit unit, std::deque<std::string>& keys,
                        std::vector<Field>& fields, std::vector<Value>& values);

// A line for a person about the fit ("Fitted through 4 points; ... Farthest from it: the point
// at 60.0 °C, ..."), its temperature in `unit`; empty without a fit.
std::string FitNote(const Oil& oil, TemperatureUnit unit = TemperatureUnit::Celsius);

}  // namespace project1::cli
