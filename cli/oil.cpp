#include "cli/oil.h"

#include "catalogue/catalogue.h"
#include "engine/oil_properties.h"
#include "numtext/error.h"
#include "numtext/numtext.h"

namespace project1::cli {

namespace {

// Runs `read`, prefixing the message of an Error it throws with `option`.
template <typename Read>
double Prefixed(std::string_view option, Read read) {
  try {
    return read();
  } catch (const Error& error) {
    throw Error(error.kind(), std::string(option) + " " + error.what());
  }
}

[[noreturn]] void Usage(const std::string& message) {
  throw Error(ErrorKind::TypeMismatch, message);
}

constexpr std::string_view kOilForms =
    "give the oil as --oil NAME, as --v40 CST --v100 CST, or as two --point T=CST";

}  // namespace

ViscosityPoint PointOption(const std::string& text) {
  const auto equals = text.find('=');
  if (equals == std::string::npos) {
    Usage("--point \"" + text + "\" is not T=CST (a temperature, \"=\" and a viscosity).");
  }
  ViscosityPoint point;
  point.temperature_c = OptionTemperature("--point", std::string_view(text).substr(0, equals));
  point.kinematic_cst = OptionNumber("--point", std::string_view(text).substr(equals + 1));
  return point;
}

double OptionNumber(std::string_view option, std::string_view text) {
  return Prefixed(option, [&] { return TextToNumber(text); });
}

double OptionTemperature(std::string_view option, std::string_view text) {
  constexpr std::string_view kWhat = "input";
  try {
    return TextToTemperature(text, kWhat);
  } catch (const Error& error) {
    // 'The input "abc" is not a number.' becomes '--at "abc" is not a number.'
    std::string message = error.what();
    const std::string subject = "The " + std::string(kWhat) + " ";
    if (message.rfind(subject, 0) == 0) {
      message = std::string(option) + " " + message.substr(subject.size());
    }
    throw Error(error.kind(), message);
  }
}

Law LawOption(std::string_view text) {
  try {
    return LawFromName(text);
  } catch (const Error& error) {
    Usage("--law \"" + std::string(text) + "\" is not one of walther, d341.");
  }
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

  Oil oil;
  if (by_name) {
    const Lubricant* found = nullptr;
    for (const Lubricant& lubricant : LubricantCatalogue) {
      if (lubricant.name == *options.oil) found = &lubricant;
    }
    if (found == nullptr) {
      Usage("--oil \"" + *options.oil +
            "\" is not in the catalogue; \"viscosity oils\" lists its names.");
    }
    oil.nu40 = found->vc;
    oil.nu100 = found->vh;
    oil.sg = found->sg;
    oil.given_40_100 = true;
    oil.line = FitLine40100(law, oil.nu40, oil.nu100);
  } else if (by_viscosities) {
    if (!options.v40) Usage("--v100 is given without --v40.");
    if (!options.v100) Usage("--v40 is given without --v100.");
    oil.nu40 = OptionNumber("--v40", *options.v40);
    oil.nu100 = OptionNumber("--v100", *options.v100);
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
