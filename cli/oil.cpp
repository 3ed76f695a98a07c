#include "cli/oil.h"

#include <CLI/CLI.hpp>

#include "catalogue/catalogue.h"
#include "cli/options.h"
#include "cli/user_oil_lookup.h"
#include "engine/oil_properties.h"
#include "error/error.h"
#include "numtext/numtext.h"

namespace project1::cli {

namespace {

constexpr std::string_view kOilForms =
    "give the oil as --oil NAME, as --v40 CST --v100 CST, or as two --point T=CST";

}  // namespace

void AddOilOptions(CLI::App& command, OilOptions& oil) {
  AddTextOption(command, "--oil", oil.oil,
                "a catalogue oil, by its exact name (see `viscosity oils`)")
      ->type_name("NAME");
  AddTextOption(command, "--v40", oil.v40, "kinematic viscosity at 40 °C")->type_name("CST");
  AddTextOption(command, "--v100", oil.v100, "kinematic viscosity at 100 °C")->type_name("CST");
  AddPointOption(command, oil.points,
                 "a measured viscosity at any temperature, given twice instead of --v40/--v100");
  AddTextOption(command, "--sg", oil.sg,
                "specific gravity (default: the catalogue's for --oil); without one, dynamic "
                "viscosities are left out")
      ->type_name("SG");
  AddTextOption(command, "--expansion", oil.expansion,
                "thermal expansion coefficient per °C, the gravity then taken at 15 °C")
      ->type_name("ALPHA");
  AddLawOption(command, oil.law);
}

Oil ResolveOil(const OilOptions& options) {
  const Law law = LawOption(options.law);
  const bool by_name = options.oil.has_value();
  const bool by_viscosities = options.v40 || options.v100;
  const bool by_points = !options.points.empty();
  if (by_name + by_viscosities + by_points != 1) {
    Usage(by_name + by_viscosities + by_points == 0
              ? "No oil given: " + std::string(kOilForms) + "."
              : "More than one oil given: " + std::string(kOilForms) + ".");
  }
  const std::string prefix(options.prefix);
  const std::string v40 = prefix + "v40", v100 = prefix + "v100";

  Oil oil;
  // The user's own oil of that name, unless the catalogue holds one.
  if (const std::optional<UserOil> mine = by_name ? UsersOilNamed(*options.oil) : std::nullopt) {
    oil.nu40 = mine->nu40;
    oil.nu100 = mine->nu100;
    oil.sg = mine->gravity;
    oil.given_40_100 = true;
    oil.line = FitLine40100(law, oil.nu40, oil.nu100);
  } else if (by_name) {
    const Lubricant* found = FindOil(*options.oil);
    if (found == nullptr) {
      Usage(prefix + "oil \"" + *options.oil +
            "\" is not in the catalogue; \"viscosity oils\" lists its names.");
    }
    oil.nu40 = found->nu40;
    oil.nu100 = found->nu100;
    oil.sg = found->gravity;
    oil.given_40_100 = true;
    oil.line = FitLine40100(law, oil.nu40, oil.nu100);
  } else if (by_viscosities) {
    if (!options.v40) Usage(v100 + " is given without " + v40 + ".");
    if (!options.v100) Usage(v40 + " is given without " + v100 + ".");
    oil.nu40 = OptionNumber(v40, *options.v40);
    oil.nu100 = OptionNumber(v100, *options.v100);
    oil.given_40_100 = true;
    oil.line = FitLine40100(law, oil.nu40, oil.nu100);
  } else {
    if (options.points.size() != 2) {
      Usage("--point is given " + std::to_string(options.points.size()) +
            " times; give exactly two points.");
    }
    oil.points = {PointOption(options.points[0]), PointOption(options.points[1])};
    oil.line = FitLine(law, oil.points[0], oil.points[1]);
    oil.nu40 = KinematicAt(oil.line, 40);
    oil.nu100 = KinematicAt(oil.line, 100);
  }
  if (oil.given_40_100) oil.points = {{40, oil.nu40}, {100, oil.nu100}};
  if (options.sg) oil.sg = OptionNumber("--sg", *options.sg);
  if (options.expansion) {
    if (!oil.sg) Usage("--expansion needs a specific gravity: give --sg.");
    oil.expansion = OptionNumber("--expansion", *options.expansion);
  }
  return oil;
}

void CheckThinnerWhenHotter(const Oil& oil) {
  if (oil.points.size() == 2) project1::CheckThinnerWhenHotter(oil.points[0], oil.points[1]);
}

std::optional<Dynamic> DynamicAt(const Oil& oil, double t_c, double nu_cst) {
  if (!oil.sg) return std::nullopt;
  const double sg = oil.expansion ? GravityAt(*oil.sg, *oil.expansion, t_c) : *oil.sg;
  Dynamic dynamic;
  dynamic.reyn = DynamicReyn(nu_cst, sg);
  dynamic.mpa_s = ReynToMpaS(dynamic.reyn);
  return dynamic;
}

}  // namespace project1::cli
