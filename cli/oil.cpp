#include "cli/oil.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cmath>

#include "cli/fields.h"
#include "cli/options.h"
#include "cli/user_oil_lookup.h"
#include "engine/oil_properties.h"
#include "error/error.h"
#include "numtext/numtext.h"
#include "oils/name_key.h"
#include "oils/oil_limits.h"

namespace project1::cli {

namespace {

constexpr std::string_view kOilForms =
    "give the oil as --oil NAME, as --v40 CST with --v100 CST or --vi INDEX, or as two or more "
    "--point T=CST";

constexpr Field kFitPointsField{"fit_points", "Points fitted"};
constexpr Field kFitDeviationField{"fit_max_deviation_percent", "Largest deviation", "%",
                                   kDeviationText};

}  // namespace

void AddOilOptions(CLI::App& command, OilOptions& oil, OilGravity gravity) {
  AddTextOption(
      command, "--oil", oil.oil,
      "a catalogue oil or one of yours by its name, in any case, with or without blanks (see "
      "`viscosity oils`)")
      ->type_name("NAME");
  AddTextOption(command, "--v40", oil.v40, "kinematic viscosity at 40 °C")->type_name("CST");
  AddTextOption(command, "--v100", oil.v100, "kinematic viscosity at 100 °C")->type_name("CST");
  AddTextOption(command, "--vi", oil.vi,
                "viscosity index, with --v40 instead of --v100 (from a datasheet's \"VG 220, VI "
                "95\")")
      ->type_name("INDEX");
  AddPointOption(command, oil.points,
                 "a measured viscosity at any temperature, given twice instead of --v40/--v100; "
                 "three or more times, the line is their least-squares fit");
  if (gravity == OilGravity::Used) {
    AddTextOption(command, "--sg", oil.sg,
                  "specific gravity, 0.5 to 3 (default: the catalogue's for --oil); without one, "
                  "dynamic viscosities are left out")
        ->type_name("SG");
    AddDensityOption(command, oil);
    AddTextOption(command, "--expansion", oil.expansion,
                  "thermal expansion coefficient per °C, 0 to 0.005, the gravity then taken at "
                  "15 °C")
        ->type_name("ALPHA");
  }
  AddLawOption(command, oil.law);
}

void AddDensityOption(CLI::App& command, OilOptions& oil) {
  AddTextOption(command, "--density", oil.density,
                "density at 15 °C, kg/m³, 500 to 3,000, instead of --sg (SG = ρ15 / 999.10)")
      ->type_name("KG_M3");
}

Oil ResolveOil(const OilOptions& options) {
  const Law law = options.law;
  const bool by_name = options.oil.has_value();
  const bool by_viscosities = options.v40 || options.v100 || options.vi;
  const bool by_points = !options.points.empty();
  if (by_name + by_viscosities + by_points != 1) {
    Usage(by_name + by_viscosities + by_points == 0
              ? "No oil given: " + std::string(kOilForms) + "."
              : "More than one oil given: " + std::string(kOilForms) + ".");
  }
  const std::string prefix(options.prefix);
  const std::string v40 = prefix + "v40", v100 = prefix + "v100", vi = prefix + "vi";

  Oil oil;
  if (by_name) {
    const DirectoryOil found = OilOption(prefix + "oil", *options.oil);
    oil.nu40 = found.nu40;
    oil.nu100 = found.nu100;
    oil.sg = found.gravity;
    oil.given_40_100 = true;
    oil.line = FitLine40100(law, oil.nu40, oil.nu100);
  } else if (by_viscosities) {
    if (options.vi && options.v100) Usage("Give " + v100 + " or " + vi + ", not both.");
    if (!options.v40) {
      Usage((options.vi ? vi : v100) + " is given without " + v40 + ".");
    }
    if (!options.v100 && !options.vi) {
      Usage(v40 + " is given without " + v100 + " or " + vi + ".");
    }
    oil.nu40 = OptionNumber(v40, *options.v40);
    if (options.vi) {
      const double index = OptionNumber(vi, *options.vi);
      oil.nu100 = RequireNu100ForIndex(oil.nu40, index);
    } else {
      oil.nu100 = OptionNumber(v100, *options.v100);
    }
    oil.given_40_100 = true;
    oil.line = FitLine40100(law, oil.nu40, oil.nu100);
  } else {
    if (options.points.size() == 1) {
      Usage("Only one --point is given; give two or more, each as T=CST.");
    }
    for (const std::string& text : options.points) oil.points.push_back(PointOption(text));
    oil.line = FitLine(law, oil.points);
    if (oil.points.size() > 2) {
      oil.fit_deviation_percent = MaxDeviationPercent(oil.line, oil.points);
    }
    oil.nu40 = KinematicAt(oil.line, 40);
    oil.nu100 = KinematicAt(oil.line, 100);
  }
  if (oil.given_40_100) oil.points = {{40, oil.nu40}, {100, oil.nu100}};
  // Every command and every batch row asks this one rule.
  CheckEachThinnerWhenHotter(oil.points);
  if (options.sg && options.density) Usage("Give --sg or --density, not both.");
  if (options.sg) oil.sg = GravityOption("--sg", *options.sg);
  if (options.density) oil.sg = DensityOption("--density", *options.density);
  if (options.expansion) {
    if (!oil.sg) Usage("--expansion needs a specific gravity: give --sg or --density.");
    oil.expansion = ExpansionOption("--expansion", *options.expansion);
  }
  return oil;
}

std::optional<Dynamic> DynamicAt(const Oil& oil, double t_c, double nu_cst) {
  if (!oil.sg) return std::nullopt;
  const double sg = oil.expansion ? ExpandedGravity(*oil.sg, *oil.expansion, t_c) : *oil.sg;
  Dynamic dynamic;
  dynamic.reyn = DynamicReyn(nu_cst, sg);
  dynamic.mpa_s = ReynToMpaS(dynamic.reyn);
  return dynamic;
}

std::vector<Field> FitFields(const Oil& oil) {
  if (!oil.fit_deviation_percent) return {kLawField};
  return {kLawField, kFitPointsField, kFitDeviationField};
}

std::vector<Value> FitValues(const Oil& oil) {
  const Value law = LawName(oil.line.law);
  if (!oil.fit_deviation_percent) return {law};
  return {law, static_cast<long long>(oil.points.size()), *oil.fit_deviation_percent};
}

std::vector<FitPoint> FitPoints(const Oil& oil) {
  if (!oil.fit_deviation_percent) return {};
  return FitPointsOf(oil.line, oil.points);
}

std::vector<Value> FitPointValues(const FitPoint& point) {
  return {point.temperature_c, point.measured_cst, point.line_cst, point.deviation_percent};
}

Json FitPointsJson(const Oil& oil, TemperatureUnit unit) {
  Json points = Json::array();
  const std::vector<Field> fields = InUnit(kFitPointFields, unit);
  for (const FitPoint& point : FitPoints(oil)) {
    points.push_back(JsonOf(fields, FitPointValues(point)));
  }
  return points;
}

void AddFitPointColumns(const Oil& oil, TemperatureUnit unit, std::deque<std::string>& keys,
                        std::vector<Field>& fields, std::vector<Value>& values) {
  const std::vector<FitPoint> points = FitPoints(oil);
  for (std::size_t i = 0; i < points.size(); ++i) {
    const std::vector<Value> point = FitPointValues(points[i]);
    for (std::size_t j = 0; j < std::size(kFitPointFields); ++j) {
      Field field = InUnit(kFitPointFields[j], unit);
      field.key =
          keys.emplace_back("fit_point_" + std::to_string(i + 1) + "_" + std::string(field.key));
      fields.push_back(field);
      values.push_back(point[j]);
    }
  }
}

std::string FitNote(const Oil& oil, TemperatureUnit unit) {
  return project1::FitNote(FitPoints(oil), unit);
}

}  // namespace project1::cli
