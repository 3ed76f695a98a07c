#include "cli/commands.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cmath>
#include <deque>
#include <memory>
#include <vector>

#include "catalogue/catalogue.h"
#include "cli/command_runs.h"
#include "cli/fields.h"
#include "cli/oil.h"
#include "cli/options.h"
#include "cli/output.h"
#include "engine/oil_properties.h"
#include "engine/sae_grades.h"
#include "engine/table_text.h"
#include "engine/temperature_unit.h"
#include "error/error.h"
#include "numtext/numtext.h"

namespace project1::cli {

namespace {

// The unit the first of `fields` shows its temperature in.
TemperatureUnit UnitOfFields(std::span<const Field> fields) {
  for (const Field& field : fields) {
    if (field.temperature) return field.shown;
  }
  return TemperatureUnit::Celsius;
}

// The rows of an answer about `oil`, each starting with its temperature: with the oil's fields
// (FitFields) and whether the temperature lies within the oil's measured range (within_data) on
// every row in CSV and JSON, and the fit's points (fit_points_detail in JSON, a group of columns
// each in CSV). Text names the law above the rows, marks a row outside the range with "*" and
// says so below, with the fit's note.
std::string RenderOilRows(const Oil& oil, std::vector<Field> fields,
                          std::vector<std::vector<Value>> rows, Format format) {
  const TemperatureUnit unit = UnitOfFields(fields);
  const DataRange range = DataRangeOf(oil);
  std::vector<bool> within;
  for (const std::vector<Value>& row : rows)
    within.push_back(range.Contains(std::get<double>(row[0])));
  if (format == Format::Text) {
    const std::string heading = LawHeading(oil.line.law);
    const bool any_outside = std::find(within.begin(), within.end(), false) != within.end();
    if (!any_outside) return heading + RenderRows(fields, rows, format) + FitNote(oil, unit);
    fields.push_back(kWithinDataField);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      rows[i].push_back(within[i] ? std::string_view() : kOutsideMark);
    }
    return heading + RenderRows(fields, rows, format) + OutsideDataNote(range, unit) +
           FitNote(oil, unit);
  }
  std::vector<Field> fit_fields = FitFields(oil);
  std::vector<Value> fit_values = FitValues(oil);
  std::deque<std::string> keys;
  if (format == Format::Csv) AddFitPointColumns(oil, unit, keys, fit_fields, fit_values);
  fields.insert(fields.end(), fit_fields.begin(), fit_fields.end());
  fields.push_back(kWithinDataField);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    rows[i].insert(rows[i].end(), fit_values.begin(), fit_values.end());
    rows[i].push_back(std::string_view(within[i] ? "true" : "false"));
  }
  if (format == Format::Csv) return RenderRows(fields, rows, format);
  Json out = Json::array();
  const Json points = FitPointsJson(oil, unit);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    Json row = JsonOf(std::span(fields).first(fields.size() - 1), rows[i]);
    row[std::string(kWithinDataField.key)] = static_cast<bool>(within[i]);
    if (!points.empty()) row["fit_points_detail"] = points;
    out.push_back(std::move(row));
  }
  return JsonText(out);
}

// Whether the temperature of a record lies within the measured range of its oils, and the
// record's field that text marks "*" when it does not.
struct RecordWithin {
  bool within = true;
  DataRange range;
  std::size_t marked = 0;
  std::string_view whose = "the oil's";
};

// A record about `oil`, the oil's fields (FitFields) after its own, and the fit's points
// (fit_points_detail in JSON, a group of columns each in CSV); given `within`, within_data last.
// Text names the law above the record, and marks the record outside the data as RenderOilRows
// marks a row.
std::string RenderOilRecord(const Oil& oil, std::vector<Field> fields, std::vector<Value> values,
                            Format format, std::optional<RecordWithin> within = std::nullopt) {
  const TemperatureUnit unit = UnitOfFields(fields);
  std::vector<Field> fit_fields = FitFields(oil);
  std::vector<Value> fit_values = FitValues(oil);
  std::deque<std::string> keys;
  if (format == Format::Csv) AddFitPointColumns(oil, unit, keys, fit_fields, fit_values);
  fields.insert(fields.end(), fit_fields.begin(), fit_fields.end());
  values.insert(values.end(), fit_values.begin(), fit_values.end());
  switch (format) {
    case Format::Text: {
      const bool outside = within && !within->within;
      const std::string marked_unit =
          outside ? std::string(fields[within->marked].unit) + " " + std::string(kOutsideMark) : "";
      if (outside) fields[within->marked].unit = marked_unit;
      return LawHeading(oil.line.law) + RenderRecord(fields, values, format) +
             (outside ? OutsideDataNote(within->range, unit, within->whose) : "");
    }
    case Format::Csv:
      if (within) {
        fields.push_back(kWithinDataField);
        values.push_back(std::string_view(within->within ? "true" : "false"));
      }
      return RenderRecord(fields, values, format);
    case Format::Json: {
      Json out = JsonOf(fields, values);
      if (!FitPoints(oil).empty()) out["fit_points_detail"] = FitPointsJson(oil, unit);
      if (within) out[std::string(kWithinDataField.key)] = within->within;
      return JsonText(out);
    }
  }
  return {};
}

// The oil's viscosities at one temperature, as a row of the point fields.
std::vector<Value> PointRow(const Oil& oil, double t) {
  const double nu = KinematicAt(oil.line, t);
  std::vector<Value> row = {t, nu};
  if (const std::optional<Dynamic> d = DynamicAt(oil, t, nu)) {
    row.insert(row.end(), {d->reyn, d->mpa_s});
  }
  return row;
}

// The point fields: the dynamic ones when the oil has a gravity.
std::span<const Field> PointFields(const Oil& oil) {
  return std::span(kPointFields).first(oil.sg ? 4 : 2);
}

// Whether the temperature `t`, given in any unit, is `celsius`: a conversion from °F or K
// may leave it a rounding error away.
bool AtTemperature(double t, double celsius) { return std::abs(t - celsius) <= 1e-9; }

}  // namespace

void AddOilCommandOptions(CLI::App& command, OilCommandOptions& options, OilGravity gravity,
                          WritesTemperatures temperatures) {
  AddOilOptions(command, options.oil, gravity);
  AddFormatOption(command, options.format);
  if (temperatures == WritesTemperatures::Yes) AddTemperatureUnitOption(command, options.unit);
}

OilCommand ResolveOilCommand(const OilCommandOptions& options) {
  return {options.format, options.unit, ResolveOil(options.oil)};
}

std::string RunAt(const OilCommand& command, std::span<const double> temperatures_c) {
  const Oil& oil = command.oil;
  std::vector<std::vector<Value>> rows;
  for (const double t : temperatures_c) rows.push_back(PointRow(oil, t));
  return RenderOilRows(oil, InUnit(PointFields(oil), command.unit), rows, command.format);
}

std::string RunTable(const OilCommand& command, std::span<const double> temperatures_c) {
  const Oil& oil = command.oil;
  // The table file's format for any range, law and unit; with the defaults and the window's
  // line, the window's table file byte for byte.
  if (command.format == Format::Text) return LineTableText(oil.line, temperatures_c, command.unit);
  std::vector<std::vector<Value>> rows;
  rows.reserve(temperatures_c.size());
  for (const double t : temperatures_c) rows.push_back(PointRow(oil, t));
  return RenderOilRows(oil, InUnit(PointFields(oil), command.unit), rows, command.format);
}

std::string RunTemperatureFor(const OilCommand& command, double kinematic_cst) {
  const Oil& oil = command.oil;
  const double t = TemperatureFor(oil.line, kinematic_cst);
  const DataRange range = DataRangeOf(oil);
  return RenderOilRecord(
      oil,
      {Labelled(kKinematicField, "Kinematic viscosity"), InUnit(kTemperatureField, command.unit)},
      {kinematic_cst, t}, command.format, RecordWithin{range.Contains(t), range, 1});
}

std::string RunIndex(const OilCommand& command) {
  const Oil& oil = command.oil;
  const std::optional<ViscosityIndex> vi = ViscosityIndexOf(oil.nu40, oil.nu100);
  const std::optional<int> grade = IsoGrade(oil.nu40);
  auto saybolt = [&oil](double t_f) {
    return SayboltSeconds(KinematicAt(oil.line, ToCelsius(t_f, TemperatureUnit::Fahrenheit)), t_f);
  };
  static constexpr Field kFields[] = {
      kIndexField,
      kUnroundedIndexField,
      kGradeField,
      kNu40Field,
      kNu100Field,
      {"saybolt_100f_s", "Saybolt at 100 °F", "s", kSayboltText},
      {"saybolt_210f_s", "Saybolt at 210 °F", "s", kSayboltText},
      {"sae_j300_grades", "SAE J300 grades", "", "", "none"},
      {"sae_j306_grade", "SAE J306 grade", "", "", "none"},
  };
  const double sus100 = saybolt(100);
  const double sus210 = saybolt(210);
  // The J300 grades whose ranges overlap are all given; J306's do not overlap.
  const std::vector<std::string> j300 = SaeJ300Grades(oil.nu100);
  const std::optional<std::string> j306 = SaeJ306Grade(oil.nu100);
  std::string bytes = RenderOilRecord(
      oil, {std::begin(kFields), std::end(kFields)},
      {IndexValue(vi), UnroundedIndexValue(vi), GradeValue(grade), oil.nu40, oil.nu100, sus100,
       sus210, Words(j300), j306 ? Value(std::string_view(*j306)) : Value()},
      command.format);
  if (command.format == Format::Text) bytes += std::string(kSaeWGradesNote) + "\n";
  return bytes;
}

std::string RunBlend(const OilCommand& command, const Oil& second, double t, BlendShare share) {
  const Oil& first = command.oil;
  const double nu_first = KinematicAt(first.line, t);
  const double nu_second = KinematicAt(second.line, t);
  double fraction = 0;
  if (share.fraction) {
    fraction = *share.fraction;
    if (!(fraction >= 0 && fraction <= 1)) {
      Usage("--fraction must be from 0 to 1; it is " + MessageNumber(fraction) + ".");
    }
  } else {
    fraction = BlendFractionFor(nu_first, nu_second, share.target_cst.value_or(0));
  }
  const double nu_blend = BlendKinematic(nu_first, nu_second, fraction);
  const double nu40 = BlendKinematic(first.nu40, second.nu40, fraction);
  const double nu100 = BlendKinematic(first.nu100, second.nu100, fraction);
  const std::optional<ViscosityIndex> vi = ViscosityIndexOf(nu40, nu100);

  // The text names the temperature in the blend's label, and leaves out the row at 40 or
  // 100 °C when --at is that temperature and the row above says it.
  const Field temperature = InUnit(Labelled(kTemperatureField, ""), command.unit);
  const std::string at_label =
      "Blend at " + TextOf(temperature, t) + " " + std::string(UnitSymbol(command.unit));
  const std::vector<Field> fields = {
      temperature,
      {"fraction", "Fraction of the second oil", "", kFractionText},
      {"blend_kinematic_cst", at_label, "cSt", kKinematicText},
      {"blend_kinematic_40c_cst", AtTemperature(t, 40) ? "" : "Blend at 40 °C", "cSt",
       kKinematicText},
      {"blend_kinematic_100c_cst", AtTemperature(t, 100) ? "" : "Blend at 100 °C", "cSt",
       kKinematicText},
      Labelled(kIndexField, "Blend viscosity index"),
      Labelled(kUnroundedIndexField, ""),
  };
  // The blend's viscosity at --at is measured data when both oils' are.
  const DataRange range = Overlap(DataRangeOf(first), DataRangeOf(second));
  return RenderOilRecord(
      first, fields, {t, fraction, nu_blend, nu40, nu100, IndexValue(vi), UnroundedIndexValue(vi)},
      command.format, RecordWithin{range.Contains(t), range, 2, "the oils' shared"});
}

void DeclareAt(CLI::App& tool, const std::string& name, Answer& answer) {
  struct Options : OilCommandOptions {
    std::vector<std::string> temperatures;
  };
  auto [at, options] = AddCommand<Options>(
      tool, name, "kinematic (and dynamic) viscosity at each temperature", [&answer](Options& o) {
        const OilCommand command = ResolveOilCommand(o);
        std::vector<double> temperatures;
        for (const std::string& text : o.temperatures) {
          temperatures.push_back(TextToTemperature(text, "temperature"));
        }
        answer.bytes = RunAt(command, temperatures);
      });
  AddOilCommandOptions(*at, *options, OilGravity::Used);
  at->add_option("temperatures", options->temperatures, "temperatures, °C")
      ->type_name("T")
      ->required();
  at->footer(Footer("viscosity at -30 0 40 160F --oil \"SHC 632\"",
                    kLawFormulas | kDynamicFormula | kExpansionFormula));
}

void DeclareTable(CLI::App& tool, const std::string& name, Answer& answer) {
  struct Options : OilCommandOptions {
    std::optional<std::string> from, to, step, file;
  };
  auto [table, options] = AddCommand<Options>(
      tool, name,
      "viscosity table from --from to --to, both included; by default the window's table file",
      [&answer](Options& o) {
        const OilCommand command = ResolveOilCommand(o);
        const double from = o.from ? OptionTemperature("--from", *o.from) : kTableFromC;
        const double to = o.to ? OptionTemperature("--to", *o.to) : kTableToC;
        const double step = o.step ? OptionTemperatureStep("--step", *o.step) : kTableStepC;
        CheckTableSpan(from, to, step, "--from", "--to", "--step");
        answer.bytes = RunTable(command, TableTemperatures(from, to, step));
        answer.file = o.file;
        answer.file_kind = "table file";
      });
  AddOilCommandOptions(*table, *options, OilGravity::Used);
  AddSpanOptions(*table, options->from, options->to, "first temperature, °C",
                 "last temperature, °C, always a row: after a shorter last step where the steps "
                 "do not land on it");
  AddTextOption(*table, "--step", options->step,
                "temperature step, °C; 10F is a step of 10 °F, 10K of 10 K")
      ->type_name("STEP")
      ->default_str(NumberToText(kTableStepC));
  AddOutputOption(*table, options->file,
                  "replace FILE safely with the table instead of printing it");
  table->footer(Footer("viscosity table --oil \"SHC 632\" -o Viscosity.txt",
                       kLawFormulas | kDynamicFormula | kExpansionFormula));
}

void DeclareTemperatureFor(CLI::App& tool, const std::string& name, Answer& answer) {
  struct Options : OilCommandOptions {
    std::string cst;
  };
  auto [command, options] = AddCommand<Options>(
      tool, name, "the temperature at which the oil reaches CST", [&answer](Options& o) {
        const OilCommand oil_command = ResolveOilCommand(o);
        answer.bytes = RunTemperatureFor(oil_command, TextToNumber(o.cst, "viscosity"));
      });
  AddOilCommandOptions(*command, *options, OilGravity::Unused);
  command->add_option("cst", options->cst, "kinematic viscosity, cSt")
      ->type_name("CST")
      ->required();
  command->footer(Footer("viscosity temperature-for 10 --v40 46 --v100 6.8", kLawFormulas));
}

void DeclareIndex(CLI::App& tool, const std::string& name, Answer& answer) {
  auto [index, options] = AddCommand<OilCommandOptions>(
      tool, name, "viscosity index, ISO grade, ν40, ν100 and Saybolt seconds at 100 °F and 210 °F",
      [&answer](OilCommandOptions& o) { answer.bytes = RunIndex(ResolveOilCommand(o)); });
  AddOilCommandOptions(*index, *options, OilGravity::Unused, WritesTemperatures::No);
  index->footer(Footer("viscosity index --v40 73.3 --v100 8.86", kLawFormulas));
}

namespace {

// The blend's options beside the first oil's: the second oil and the share of it.
struct BlendOptions : OilCommandOptions {
  std::optional<std::string> with_oil, with_v40, with_v100, with_vi, fraction, target;
  std::string at;
};

// The blend's second oil, by --with-oil or --with-v40 and --with-v100 (or --with-vi), on the law
// of the first.
Oil SecondOil(const BlendOptions& o) {
  if (o.with_oil && (o.with_v40 || o.with_v100 || o.with_vi)) {
    Usage("Give the second oil as --with-oil NAME or as --with-v40 CST --with-v100 CST, not both.");
  }
  if (!o.with_oil && !o.with_v40 && !o.with_v100 && !o.with_vi) {
    Usage("No second oil given: give --with-oil NAME or --with-v40 CST --with-v100 CST.");
  }
  OilOptions second;
  second.law = o.oil.law;
  second.oil = o.with_oil;
  second.v40 = o.with_v40;
  second.v100 = o.with_v100;
  second.vi = o.with_vi;
  second.prefix = "--with-";
  return ResolveOil(second);
}

void AddSecondOilOptions(CLI::App& blend, BlendOptions& options) {
  AddTextOption(blend, "--with-oil", options.with_oil, "the second oil, a catalogue name")
      ->type_name("NAME");
  AddTextOption(blend, "--with-v40", options.with_v40,
                "the second oil's kinematic viscosity at 40 °C")
      ->type_name("CST");
  AddTextOption(blend, "--with-v100", options.with_v100,
                "the second oil's kinematic viscosity at 100 °C")
      ->type_name("CST");
  AddTextOption(blend, "--with-vi", options.with_vi,
                "the second oil's viscosity index, with --with-v40 instead of --with-v100")
      ->type_name("INDEX");
}

}  // namespace

void DeclareBlend(CLI::App& tool, const std::string& name, Answer& answer) {
  auto [blend, options] = AddCommand<BlendOptions>(
      tool, name,
      "blend of the oil with a second one: ν at T for a fraction, or the fraction for a target",
      [&answer](BlendOptions& o) {
        const OilCommand command = ResolveOilCommand(o);
        const Oil second = SecondOil(o);
        if (o.fraction.has_value() == o.target.has_value()) {
          Usage("Give exactly one of --fraction X and --target CST.");
        }
        const double t = OptionTemperature("--at", o.at);
        BlendShare share;
        if (o.fraction) share.fraction = OptionNumber("--fraction", *o.fraction);
        if (o.target) share.target_cst = OptionNumber("--target", *o.target);
        answer.bytes = RunBlend(command, second, t, share);
      });
  AddOilCommandOptions(*blend, *options, OilGravity::Unused);
  AddSecondOilOptions(*blend, *options);
  AddTextOption(*blend, "--fraction", options->fraction, "mass fraction of the second oil, 0 to 1")
      ->type_name("X");
  AddTextOption(*blend, "--target", options->target, "the blend's wanted viscosity at --at, cSt")
      ->type_name("CST");
  blend->add_option("--at", options->at, "temperature, °C")->type_name("T")->required();
  blend->footer(
      Footer("viscosity blend --oil \"SHC 626\" --with-oil \"SHC 630\" --target 100 --at 40",
             kLawFormulas | kBlendFormula));
}

}  // namespace project1::cli
