#include "cli/bearing_commands.h"

#include <nlohmann/json.hpp>
#include <string_view>

#include "bearing/bearing.h"
#include "engine/oil_properties.h"
#include "numtext/error.h"
#include "numtext/numtext.h"

namespace project1::cli {

namespace {

using Json = nlohmann::ordered_json;
using Align = TextTable::Align;

constexpr std::string_view kSizeText = "###,##0.###";
constexpr std::string_view kKappaText = "###,##0.000";
constexpr std::string_view kNone = "–";

[[noreturn]] void Usage(const std::string& message) {
  throw Error(ErrorKind::TypeMismatch, message);
}

std::string JsonText(const Json& json) {
  return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

Json Nullable(const std::optional<double>& value) { return value ? Json(*value) : Json(nullptr); }

void AppendCsvNumber(std::string& out, const std::optional<double>& value) {
  if (value) AppendShortest(out, *value);
}

// A number typed for `option` that must be above 0.
double PositiveOption(std::string_view option, const std::string& text, std::string_view unit) {
  const double value = OptionNumber(option, text);
  if (!(value > 0)) {
    Usage(std::string(option) + " must be above 0 " + std::string(unit) + "; it is " +
          NumberToText(value) + ".");
  }
  return value;
}

struct Bearing {
  double mean_diameter_mm = 0;
  double speed_rpm = 0;
  double rated_cst = 0;
};

Bearing BearingOption(const BearingSizeOptions& size) {
  Bearing bearing;
  if (size.dm && (size.bore || size.outside)) {
    Usage("Give the bearing's size as --dm MM or as --bore MM --outside MM, not both.");
  }
  if (size.dm) {
    bearing.mean_diameter_mm = PositiveOption("--dm", *size.dm, "mm");
  } else {
    if (!size.bore && !size.outside) {
      Usage("No bearing size given: give --dm MM or --bore MM --outside MM.");
    }
    if (!size.outside) Usage("--bore is given without --outside.");
    if (!size.bore) Usage("--outside is given without --bore.");
    const double bore = PositiveOption("--bore", *size.bore, "mm");
    const double outside = PositiveOption("--outside", *size.outside, "mm");
    if (!(bore < outside)) {
      Usage("--bore (" + NumberToText(bore) + ") must be below --outside (" +
            NumberToText(outside) + ").");
    }
    bearing.mean_diameter_mm = MeanDiameter(bore, outside);
  }
  if (!size.speed) Usage("No speed given: give --speed RPM.");
  bearing.speed_rpm = PositiveOption("--speed", *size.speed, "r/min");
  bearing.rated_cst = RatedViscosity(bearing.mean_diameter_mm, bearing.speed_rpm);
  return bearing;
}

std::string BandText(KappaBand band) {
  switch (band) {
    case KappaBand::Below1:
      return "below 1: " + std::string(KappaBandMeaning(band));
    case KappaBand::OneTo4:
      return "1 to 4: " + std::string(KappaBandMeaning(band));
    case KappaBand::FourOrMore:
      return "4 or more: " + std::string(KappaBandMeaning(band));
  }
  return {};
}

struct BearingPoint {
  double t = 0;
  double nu = 0;
  double kappa = 0;
  KappaBand band = KappaBand::Below1;
};

}  // namespace

std::string BearingCommand(const Oil& oil, const BearingOptions& options, Format format) {
  const Bearing bearing = BearingOption(options.size);
  if (options.at.empty()) Usage("No temperature given: give --at T.");
  CheckThinnerWhenHotter(oil);
  std::vector<BearingPoint> points;
  for (const std::string& text : options.at) {
    BearingPoint point;
    point.t = OptionTemperature("--at", text);
    point.nu = KinematicAt(oil.line, point.t);
    point.kappa = Kappa(point.nu, bearing.rated_cst);
    point.band = KappaBandOf(point.kappa);
    points.push_back(point);
  }
  const OperatingRange range = OperatingRangeOf(oil.line, bearing.rated_cst);

  switch (format) {
    case Format::Json: {
      Json out;
      out["mean_diameter_mm"] = bearing.mean_diameter_mm;
      out["speed_rpm"] = bearing.speed_rpm;
      out["rated_viscosity_cst"] = bearing.rated_cst;
      out["kappa_1_temperature_c"] = range.kappa_1_temperature_c;
      out["kappa_4_temperature_c"] = range.kappa_4_temperature_c;
      Json rows = Json::array();
      for (const BearingPoint& p : points) {
        Json row;
        row["temperature_c"] = p.t;
        row["kinematic_cst"] = p.nu;
        row["kappa"] = p.kappa;
        row["kappa_band"] = std::string(KappaBandName(p.band));
        rows.push_back(std::move(row));
      }
      out["points"] = std::move(rows);
      return JsonText(out);
    }
    case Format::Csv: {
      // One row a temperature, each carrying the bearing and the oil's range.
      std::string out =
          "temperature_c,kinematic_cst,kappa,kappa_band,mean_diameter_mm,speed_rpm,"
          "rated_viscosity_cst,kappa_1_temperature_c,kappa_4_temperature_c\n";
      for (const BearingPoint& p : points) {
        for (double value : {p.t, p.nu, p.kappa}) {
          AppendShortest(out, value);
          out += ',';
        }
        out += KappaBandName(p.band);
        for (double value : {bearing.mean_diameter_mm, bearing.speed_rpm, bearing.rated_cst,
                             range.kappa_1_temperature_c, range.kappa_4_temperature_c}) {
          out += ',';
          AppendShortest(out, value);
        }
        out += '\n';
      }
      return out;
    }
    case Format::Text: {
      TextTable head({Align::Left, Align::Left});
      head.Add({"Mean diameter", TextNumber(bearing.mean_diameter_mm, kSizeText) + " mm"});
      head.Add({"Speed", TextNumber(bearing.speed_rpm, kSizeText) + " r/min"});
      head.Add({"Rated viscosity ν1", TextNumber(bearing.rated_cst, kKinematicText) + " cSt"});

      TextTable table({Align::Right, Align::Right, Align::Right, Align::Right, Align::Left});
      table.Add({"Temperature", "Kinematic", "ν1", "κ", "Film"});
      table.Add({"°C", "cSt", "cSt", "", ""});
      for (const BearingPoint& p : points) {
        table.Add({TextNumber(p.t, kTemperatureText), TextNumber(p.nu, kKinematicText),
                   TextNumber(bearing.rated_cst, kKinematicText), TextNumber(p.kappa, kKappaText),
                   BandText(p.band)});
      }

      TextTable tail({Align::Left, Align::Left});
      tail.Add({"κ = 1 at", TextNumber(range.kappa_1_temperature_c, kTemperatureText) +
                                " °C, the hottest at which the film still separates"});
      tail.Add({"κ = 4 at", TextNumber(range.kappa_4_temperature_c, kTemperatureText) +
                                " °C; cooler, more viscosity adds nothing"});
      return head.Render() + "\n" + table.Render() + "\n" + tail.Render();
    }
  }
  return {};
}

std::string SelectGradeCommand(const SelectGradeOptions& options, Format format) {
  const Bearing bearing = BearingOption(options.size);
  if (!options.at) Usage("No temperature given: give --at T.");
  const double t = OptionTemperature("--at", *options.at);
  const double index = options.vi ? OptionNumber("--vi", *options.vi) : kDefaultViscosityIndex;
  const GradeSelection selection = SelectGrade(bearing.rated_cst, t, index);

  switch (format) {
    case Format::Json: {
      Json out;
      out["rated_viscosity_cst"] = selection.rated_viscosity_cst;
      out["temperature_c"] = selection.temperature_c;
      out["viscosity_index"] = selection.viscosity_index;
      out["smallest_iso_vg"] =
          selection.smallest_iso_vg ? Json(*selection.smallest_iso_vg) : Json(nullptr);
      Json grades = Json::array();
      for (const GradeKappa& grade : selection.grades) {
        Json row;
        row["iso_vg"] = grade.iso_vg;
        row["kinematic_40c_cst"] = grade.kinematic_40c_cst;
        row["kinematic_100c_cst"] = Nullable(grade.kinematic_100c_cst);
        row["kinematic_cst"] = Nullable(grade.kinematic_cst);
        row["kappa"] = Nullable(grade.kappa);
        grades.push_back(std::move(row));
      }
      out["grades"] = std::move(grades);
      return JsonText(out);
    }
    case Format::Csv: {
      // One row a grade; `smallest` is 1 on the grade the bearing needs.
      std::string out =
          "iso_vg,kinematic_40c_cst,kinematic_100c_cst,kinematic_cst,kappa,smallest,"
          "rated_viscosity_cst,temperature_c,viscosity_index\n";
      for (const GradeKappa& grade : selection.grades) {
        out += std::to_string(grade.iso_vg) + ',';
        for (const std::optional<double>& value :
             {std::optional<double>(grade.kinematic_40c_cst), grade.kinematic_100c_cst,
              grade.kinematic_cst, grade.kappa}) {
          AppendCsvNumber(out, value);
          out += ',';
        }
        out += selection.smallest_iso_vg == grade.iso_vg ? "1" : "0";
        for (double value : {selection.rated_viscosity_cst, t, index}) {
          out += ',';
          AppendShortest(out, value);
        }
        out += '\n';
      }
      return out;
    }
    case Format::Text: {
      TextTable head({Align::Left, Align::Left});
      head.Add({"Rated viscosity ν1", TextNumber(bearing.rated_cst, kKinematicText) + " cSt"});
      head.Add({"Temperature", TextNumber(t, kTemperatureText) + " °C"});
      head.Add({"Viscosity index", NumberToText(index)});
      head.Add({"Smallest grade with κ ≥ 1",
                selection.smallest_iso_vg ? "VG " + std::to_string(*selection.smallest_iso_vg)
                                          : "none: even VG 3200 falls short"});

      const auto cell = [](const std::optional<double>& value, std::string_view pattern) {
        return value ? TextNumber(*value, pattern) : std::string(kNone);
      };
      bool without_line = false;
      TextTable table(
          {Align::Left, Align::Right, Align::Right, Align::Right, Align::Right, Align::Left});
      table.Add({"ISO grade", "At 40 °C", "At 100 °C",
                 "At " + TextNumber(t, kTemperatureText) + " °C", "κ", ""});
      table.Add({"", "cSt", "cSt", "cSt", "", ""});
      for (const GradeKappa& grade : selection.grades) {
        without_line = without_line || !grade.kinematic_100c_cst;
        table.Add({"VG " + std::to_string(grade.iso_vg),
                   TextNumber(grade.kinematic_40c_cst, kKinematicText),
                   cell(grade.kinematic_100c_cst, kKinematicText),
                   cell(grade.kinematic_cst, kKinematicText), cell(grade.kappa, kKappaText),
                   selection.smallest_iso_vg == grade.iso_vg ? "← smallest with κ ≥ 1" : ""});
      }
      std::string out = head.Render() + "\n" + table.Render();
      if (without_line) {
        out += std::string(kNone) +
               ": no viscosity at 100 °C from 2 cSt up gives this grade an index of " +
               NumberToText(index) + ".\n";
      }
      return out;
    }
  }
  return {};
}

}  // namespace project1::cli
