#pragma once
// An oil as the command line gives it: a catalogue name, the viscosities at 40 C and 100 C, or
// two measured points; with an optional specific gravity and thermal expansion coefficient.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
  std::vector<std::string> points;       // --point T=CST, twice
  std::optional<std::string> sg;         // --sg SG
  std::optional<std::string> expansion;  // --expansion ALPHA
  std::string law = "walther";           // --law walther|d341
  // What the messages call --oil, --v40 and --v100: "--", or "--with-" for a blend's second oil.
  std::string_view prefix = "--";
};

// Declares --oil, --v40, --v100, --point, --sg, --expansion and --law.
void AddOilOptions(CLI::App& command, OilOptions& oil);

struct Oil {
  ViscosityLine line;
  double nu40 = 0;            // as given, or the line's at 40 C for an oil given by two points
  double nu100 = 0;           // likewise at 100 C
  bool given_40_100 = false;  // given by its viscosities at 40 C and 100 C (or catalogue name)
  std::vector<ViscosityPoint> points;  // the two points it was given by, or 40 C and 100 C
  std::optional<double> sg;
  std::optional<double> expansion;
};

// The oil the options describe; Error(TypeMismatch) naming the option and its text.
Oil ResolveOil(const OilOptions& options);

// Refuses an oil whose given points are not thinner at the hotter one, naming the two points:
// its line would not fall as the oil warms.
void CheckThinnerWhenHotter(const Oil& oil);

// Dynamic viscosity of nu cSt of `oil` at t C: nullopt without a gravity.
struct Dynamic {
  double reyn = 0;
  double mpa_s = 0;
};
std::optional<Dynamic> DynamicAt(const Oil& oil, double t_c, double nu_cst);

}  // namespace project1::cli
