// The bearing commands of the `viscosity` tool: `bearing` (is this oil right for this bearing, and
// up to what temperature) and `select-grade` (which ISO grade a bearing needs).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bearing/bearing.h"
#include "cli/commands.h"
#include "cli/fields.h"
#include "cli/oil.h"
#include "cli/options.h"
#include "cli/output.h"
#include "engine/oil_properties.h"
#include "error/error.h"
#include "numtext/numtext.h"

namespace project1::cli {

namespace {

constexpr std::string_view kSizeText = "###,##0.###";
constexpr std::string_view kKappaText = "###,##0.000";
// Text shown where a grade has no value.
constexpr std::string_view kNone = "–";

// The bearing and the oil's range on it.
constexpr Field kMeanDiameterField{"mean_diameter_mm", "Mean diameter", "mm", kSizeText};
constexpr Field kSpeedField{"speed_rpm", "Speed", "r/min", kSizeText};
constexpr Field kRatedField{"rated_viscosity_cst", "Rated viscosity ν1", "cSt", kKinematicText};
constexpr Field kKappa1Field =
    TemperatureField({"kappa_1_temperature_c", "κ = 1 at",
                      "°C, the hottest at which the film still separates", kTemperatureText});
constexpr Field kKappa4Field =
    TemperatureField({"kappa_4_temperature_c", "κ = 4 at",
                      "°C; cooler, more viscosity adds nothing", kTemperatureText});
// The viscosity ratio at one temperature and its band.
constexpr Field kKappaField{"kappa", "κ", "", kKappaText, kNone};
constexpr Field kBandField{"kappa_band", "Film"};
// The grade a bearing needs, and which row of grades it is.
constexpr Field kSmallestGradeField{"smallest_iso_vg", "Smallest grade with κ ≥ 1", "",
                                    kGradeField.pattern, "none: even VG 3200 falls short"};
constexpr Field kSmallestField{"smallest"};

// A bearing's size and speed as typed: --dm, or --bore and --outside; and --speed.
struct BearingSizeOptions {
  std::optional<std::string> dm, bore, outside, speed;
};

void AddBearingSizeOptions(CLI::App& command, BearingSizeOptions& size) {
  AddTextOption(command, "--dm", size.dm, "the bearing's mean diameter (d + D) / 2, mm")
      ->type_name("MM");
  AddTextOption(command, "--bore", size.bore, "the bearing's bore d, mm, with --outside")
      ->type_name("MM");
  AddTextOption(command, "--outside", size.outside, "the bearing's outside diameter D, mm")
      ->type_name("MM");
  AddTextOption(command, "--speed", size.speed, "the bearing's speed, r/min")->type_name("RPM");
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

// The band with its meaning, for a person: "below 1: no separating film, ...".
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

Value Optional(const std::optional<double>& value) { return value ? Value(*value) : Value(); }

// The answer of `bearing`: the bearing and the oil's range as one record, and a row for each
// temperature. JSON nests the rows under "points"; CSV repeats the record on every row; text
// shows the bearing, the rows with ν1 beside them, then the range (and the oil's fit, if any).
std::string RenderBearing(const Bearing& bearing, const OperatingRange& range,
                          const std::vector<double>& temperatures, const Oil& oil, Format format,
                          TemperatureUnit unit) {
  static constexpr Field kRecord[] = {kMeanDiameterField, kSpeedField, kRatedField, kKappa1Field,
                                      kKappa4Field};
  static constexpr Field kPoint[] = {kTemperatureField, kKinematicField, kKappaField, kBandField};
  const ViscosityLine& line = oil.line;
  std::vector<Field> record_fields = InUnit(kRecord, unit);
  const std::vector<Field> point_fields = InUnit(kPoint, unit);
  std::vector<Value> record = {bearing.mean_diameter_mm, bearing.speed_rpm, bearing.rated_cst,
                               range.kappa_1_temperature_c, range.kappa_4_temperature_c};
  const std::vector<Field> fit_fields = FitFields(oil);
  const std::vector<Value> fit_values = FitValues(oil);
  record_fields.insert(record_fields.end(), fit_fields.begin(), fit_fields.end());
  record.insert(record.end(), fit_values.begin(), fit_values.end());
  std::vector<std::vector<Value>> points;
  std::vector<std::string> band_texts;
  band_texts.reserve(temperatures.size());
  for (const double t : temperatures) {
    const double nu = KinematicAt(line, t);
    const double kappa = Kappa(nu, bearing.rated_cst);
    const KappaBand band = KappaBandOf(kappa);
    if (format == Format::Text) {
      const std::string_view text = band_texts.emplace_back(BandText(band));
      points.push_back({t, nu, bearing.rated_cst, kappa, text});
    } else {
      points.push_back({t, nu, kappa, KappaBandName(band)});
    }
  }

  switch (format) {
    case Format::Json:
      return JsonRecordWithRows(record_fields, record, "points", point_fields, points);
    case Format::Csv: {
      std::vector<Field> fields(std::begin(point_fields), std::end(point_fields));
      fields.insert(fields.end(), std::begin(record_fields), std::end(record_fields));
      std::string out;
      AppendCsvHeader(out, fields);
      for (std::vector<Value>& point : points) {
        point.insert(point.end(), record.begin(), record.end());
        AppendCsvRow(out, Shown(fields, point));
      }
      return out;
    }
    case Format::Text: {
      const Field text_point_fields[] = {InUnit(kTemperatureField, unit), kKinematicField,
                                         Labelled(kRatedField, "ν1"), kKappaField, kBandField};
      const std::span<const Field> fields(record_fields);
      const std::span<const Value> values(record);
      return RenderRecord(fields.first(3), values.first(3), format) + "\n" +
             RenderRows(text_point_fields, points, format) + "\n" +
             RenderRecord(fields.subspan(3), values.subspan(3), format);
    }
  }
  return {};
}

// The answer of `select-grade`: the bearing's need as one record, and a row for each ISO grade.
// JSON nests the rows under "grades"; CSV marks the grade needed in each row's "smallest" and
// repeats the rest of the record; text shows the record, then the grades with the one needed
// marked.
std::string RenderSelection(const GradeSelection& selection, Format format, TemperatureUnit unit) {
  const Field record_fields[] = {kRatedField, InUnit(kTemperatureField, unit),
                                 Field(kIndexField.key, "Viscosity index"), kSmallestGradeField};
  static constexpr Field kGradeFields[] = {kGradeField, kNu40Field, kNu100Field, kKinematicField,
                                           kKappaField};
  const std::vector<Value> record = {selection.rated_viscosity_cst, selection.temperature_c,
                                     selection.viscosity_index,
                                     GradeValue(selection.smallest_iso_vg)};
  std::vector<std::vector<Value>> grades;
  for (const GradeKappa& grade : selection.grades) {
    grades.push_back({static_cast<long long>(grade.iso_vg), grade.kinematic_40c_cst,
                      Optional(grade.kinematic_100c_cst), Optional(grade.kinematic_cst),
                      Optional(grade.kappa)});
  }
  const auto is_smallest = [&selection](std::size_t i) {
    return selection.smallest_iso_vg == selection.grades[i].iso_vg;
  };

  switch (format) {
    case Format::Json:
      return JsonRecordWithRows(record_fields, record, "grades", kGradeFields, grades);
    case Format::Csv: {
      // The record without the grade needed, which each row's "smallest" says instead.
      const std::span<const Field> shared_fields = std::span(record_fields).first(3);
      std::vector<Field> fields(std::begin(kGradeFields), std::end(kGradeFields));
      fields.push_back(kSmallestField);
      fields.insert(fields.end(), shared_fields.begin(), shared_fields.end());
      std::string out;
      AppendCsvHeader(out, fields);
      for (std::size_t i = 0; i < grades.size(); ++i) {
        std::vector<Value>& row = grades[i];
        row.push_back(is_smallest(i) ? 1LL : 0LL);
        row.insert(row.end(), record.begin(), record.begin() + 3);
        AppendCsvRow(out, Shown(fields, row));
      }
      return out;
    }
    case Format::Text: {
      const std::string at_label = "At " + TextOf(record_fields[1], selection.temperature_c) + " " +
                                   std::string(UnitSymbol(unit));
      const Field fields[] = {Labelled(kGradeField, "ISO grade"),
                              Labelled(kNu40Field, "At 40 °C"),
                              Labelled(kNu100Field, "At 100 °C", std::nullopt, kNone),
                              Labelled(kKinematicField, at_label, std::nullopt, kNone),
                              kKappaField,
                              kSmallestField};
      // The grade's name as a word, so that its column is left-aligned.
      std::vector<std::string> names;
      names.reserve(grades.size());
      bool without_line = false;
      for (std::size_t i = 0; i < grades.size(); ++i) {
        std::vector<Value>& row = grades[i];
        without_line = without_line || std::holds_alternative<std::monostate>(row[2]);
        row[0] = std::string_view(names.emplace_back(TextOf(kGradeField, row[0])));
        row.push_back(is_smallest(i) ? std::string_view("← smallest with κ ≥ 1")
                                     : std::string_view());
      }
      std::string out =
          RenderRecord(record_fields, record, format) + "\n" + RenderRows(fields, grades, format);
      if (without_line) {
        out += std::string(kNone) +
               ": no viscosity at 100 °C from 2 cSt up gives this grade an index of " +
               NumberToText(selection.viscosity_index) + ".\n";
      }
      return out;
    }
  }
  return {};
}

}  // namespace

void DeclareBearing(CLI::App& tool, Answer& answer) {
  struct Options {
    OilOptions oil;
    std::string format = "text";
    std::string unit = "C";
    BearingSizeOptions size;
    std::vector<std::string> at;
  };
  auto [bearing, options] = AddCommand<Options>(
      tool, "bearing",
      "is the oil thick enough for a rolling bearing: ν1, κ and the temperatures of κ = 1 and 4",
      [&answer](Options& o) {
        const Format format = FormatFromName(o.format);
        const TemperatureUnit unit = TemperatureUnitOption(o.unit);
        const Oil oil = ResolveOil(o.oil);
        const Bearing size = BearingOption(o.size);
        if (o.at.empty()) Usage("No temperature given: give --at T.");
        CheckThinnerWhenHotter(oil);
        std::vector<double> temperatures;
        for (const std::string& text : o.at) {
          temperatures.push_back(OptionTemperature("--at", text));
        }
        answer.bytes = RenderBearing(size, OperatingRangeOf(oil.line, size.rated_cst), temperatures,
                                     oil, format, unit);
      });
  AddOilOptions(*bearing, options->oil, OilGravity::Unused);
  AddFormatOption(*bearing, options->format);
  AddTemperatureUnitOption(*bearing, options->unit);
  AddBearingSizeOptions(*bearing, options->size);
  bearing->add_option("--at", options->at, "operating temperatures, °C")->type_name("T");
  bearing->footer(Footer(
      "viscosity bearing --bore 340 --outside 420 --speed 500 --at 70 90 --oil \"SHC 632\""));
}

void DeclareSelectGrade(CLI::App& tool, Answer& answer) {
  struct Options {
    std::string format = "text";
    std::string unit = "C";
    BearingSizeOptions size;
    std::optional<std::string> at, vi;
  };
  auto [select, options] = AddCommand<Options>(
      tool, "select-grade",
      "the smallest ISO grade that gives a rolling bearing κ ≥ 1 at a temperature",
      [&answer](Options& o) {
        const Format format = FormatFromName(o.format);
        const TemperatureUnit unit = TemperatureUnitOption(o.unit);
        const Bearing bearing = BearingOption(o.size);
        if (!o.at) Usage("No temperature given: give --at T.");
        const double t = OptionTemperature("--at", *o.at);
        const double index = o.vi ? OptionNumber("--vi", *o.vi) : kDefaultViscosityIndex;
        answer.bytes = RenderSelection(SelectGrade(bearing.rated_cst, t, index), format, unit);
      });
  AddFormatOption(*select, options->format);
  AddTemperatureUnitOption(*select, options->unit);
  AddBearingSizeOptions(*select, options->size);
  AddTextOption(*select, "--at", options->at, "operating temperature, °C")->type_name("T");
  AddTextOption(*select, "--vi", options->vi, "the oils' viscosity index")
      ->type_name("INDEX")
      ->default_str("95");
  select->footer(Footer("viscosity select-grade --dm 380 --speed 500 --at 70"));
}

}  // namespace project1::cli
