#include "cli/commands.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cmath>
#include <deque>
#include <memory>
#include <vector>

#include "catalogue/catalogue.h"
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

// The options of the commands about one oil.
struct OilCommandOptions {
  OilOptions oil;
  Format format = Format::Text;
  TemperatureUnit unit = TemperatureUnit::Celsius;  // --temperature-unit
};

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

void DeclareAt(CLI::App& tool, const std::string& name, Answer& answer) {
  struct Options : OilCommandOptions {
    std::vector<std::string> temperatures;
  };
  auto [at, options] = AddCommand<Options>(
      tool, name, "kinematic (and dynamic) viscosity at each temperature", [&answer](Options& o) {
        const Format format = o.format;
        const TemperatureUnit unit = o.unit;
        const Oil oil = ResolveOil(o.oil);
        std::vector<std::vector<Value>> rows;
        for (const std::string& text : o.temperatures) {
          rows.push_back(PointRow(oil, TextToTemperature(text, "temperature")));
        }
        answer.bytes = RenderOilRows(oil, InUnit(PointFields(oil), unit), rows, format);
      });
  AddOilOptions(*at, options->oil, OilGravity::Used);
  AddFormatOption(*at, options->format);
  AddTemperatureUnitOption(*at, options->unit);
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
        const Format format = o.format;
        const TemperatureUnit unit = o.unit;
        const Oil oil = ResolveOil(o.oil);
        const double from = o.from ? OptionTemperature("--from", *o.from) : kTableFromC;
        const double to = o.to ? OptionTemperature("--to", *o.to) : kTableToC;
        const double step = o.step ? OptionTemperatureStep("--step", *o.step) : kTableStepC;
        CheckTableSpan(from, to, step, "--from", "--to", "--step");
        const std::vector<double> temperatures = TableTemperatures(from, to, step);
        if (format == Format::Text) {
          // The table file's format for any range, law and unit; with the defaults and the
          // window's line, the window's table file byte for byte.
          answer.bytes = LineTableText(oil.line, temperatures, unit);
        } else {
          std::vector<std::vector<Value>> rows;
          rows.reserve(temperatures.size());
          for (const double t : temperatures) rows.push_back(PointRow(oil, t));
          answer.bytes = RenderOilRows(oil, InUnit(PointFields(oil), unit), rows, format);
        }
        answer.file = o.file;
        answer.file_kind = "table file";
      });
  AddOilOptions(*table, options->oil, OilGravity::Used);
  AddFormatOption(*table, options->format);
  AddTemperatureUnitOption(*table, options->unit);
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
        const Format format = o.format;
        const TemperatureUnit unit = o.unit;
        const Oil oil = ResolveOil(o.oil);
        const double nu = TextToNumber(o.cst, "viscosity");
        const double t = TemperatureFor(oil.line, nu);
        const DataRange range = DataRangeOf(oil);
        answer.bytes = RenderOilRecord(
            oil,
            {Labelled(kKinematicField, "Kinematic viscosity"), InUnit(kTemperatureField, unit)},
            {nu, t}, format, RecordWithin{range.Contains(t), range, 1});
      });
  AddOilOptions(*command, options->oil, OilGravity::Unused);
  AddFormatOption(*command, options->format);
  AddTemperatureUnitOption(*command, options->unit);
  command->add_option("cst", options->cst, "kinematic viscosity, cSt")
      ->type_name("CST")
      ->required();
  command->footer(Footer("viscosity temperature-for 10 --v40 46 --v100 6.8", kLawFormulas));
}

void DeclareIndex(CLI::App& tool, const std::string& name, Answer& answer) {
  auto [index, options] = AddCommand<OilCommandOptions>(
      tool, name, "viscosity index, ISO grade, ν40, ν100 and Saybolt seconds at 100 °F and 210 °F",
      [&answer](OilCommandOptions& o) {
        const Format format = o.format;
        const Oil oil = ResolveOil(o.oil);
        const std::optional<ViscosityIndex> vi = ViscosityIndexOf(oil.nu40, oil.nu100);
        const std::optional<int> grade = IsoGrade(oil.nu40);
        auto saybolt = [&oil](double t_f) {
          return SayboltSeconds(KinematicAt(oil.line, ToCelsius(t_f, TemperatureUnit::Fahrenheit)),
                                t_f);
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
        answer.bytes = RenderOilRecord(
            oil, {std::begin(kFields), std::end(kFields)},
            {IndexValue(vi), UnroundedIndexValue(vi), GradeValue(grade), oil.nu40, oil.nu100,
             sus100, sus210, Words(j300), j306 ? Value(std::string_view(*j306)) : Value()},
            format);
        if (format == Format::Text) answer.bytes += std::string(kSaeWGradesNote) + "\n";
      });
  AddOilOptions(*index, options->oil, OilGravity::Unused);
  AddFormatOption(*index, options->format);
  index->footer(Footer("viscosity index --v40 73.3 --v100 8.86", kLawFormulas));
}

void DeclareBlend(CLI::App& tool, const std::string& name, Answer& answer) {
  struct Options : OilCommandOptions {
    std::optional<std::string> with_oil, with_v40, with_v100, with_vi, fraction, target;
    std::string at;
  };
  auto [blend, options] = AddCommand<Options>(
      tool, name,
      "blend of the oil with a second one: ν at T for a fraction, or the fraction for a target",
      [&answer](Options& o) {
        const Format format = o.format;
        const TemperatureUnit unit = o.unit;
        const Oil first = ResolveOil(o.oil);
        if (o.with_oil && (o.with_v40 || o.with_v100 || o.with_vi)) {
          Usage(
              "Give the second oil as --with-oil NAME or as --with-v40 CST --with-v100 CST, not "
              "both.");
        }
        if (!o.with_oil && !o.with_v40 && !o.with_v100 && !o.with_vi) {
          Usage("No second oil given: give --with-oil NAME or --with-v40 CST --with-v100 CST.");
        }
        OilOptions second_options;
        second_options.law = o.oil.law;
        second_options.oil = o.with_oil;
        second_options.v40 = o.with_v40;
        second_options.v100 = o.with_v100;
        second_options.vi = o.with_vi;
        second_options.prefix = "--with-";
        const Oil second = ResolveOil(second_options);
        if (o.fraction.has_value() == o.target.has_value()) {
          Usage("Give exactly one of --fraction X and --target CST.");
        }

        const double t = OptionTemperature("--at", o.at);
        const double nu_first = KinematicAt(first.line, t);
        const double nu_second = KinematicAt(second.line, t);
        double fraction = 0;
        if (o.fraction) {
          fraction = OptionNumber("--fraction", *o.fraction);
          if (!(fraction >= 0 && fraction <= 1)) {
            Usage("--fraction must be from 0 to 1; it is " + MessageNumber(fraction) + ".");
          }
        } else {
          fraction = BlendFractionFor(nu_first, nu_second, OptionNumber("--target", *o.target));
        }
        const double nu_blend = BlendKinematic(nu_first, nu_second, fraction);
        const double nu40 = BlendKinematic(first.nu40, second.nu40, fraction);
        const double nu100 = BlendKinematic(first.nu100, second.nu100, fraction);
        const std::optional<ViscosityIndex> vi = ViscosityIndexOf(nu40, nu100);

        // The text names the temperature in the blend's label, and leaves out the row at 40 or
        // 100 °C when --at is that temperature and the row above says it.
        const Field temperature = InUnit(Labelled(kTemperatureField, ""), unit);
        const std::string at_label =
            "Blend at " + TextOf(temperature, t) + " " + std::string(UnitSymbol(unit));
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
        answer.bytes = RenderOilRecord(
            first, fields,
            {t, fraction, nu_blend, nu40, nu100, IndexValue(vi), UnroundedIndexValue(vi)}, format,
            RecordWithin{range.Contains(t), range, 2, "the oils' shared"});
      });
  AddOilOptions(*blend, options->oil, OilGravity::Unused);
  AddFormatOption(*blend, options->format);
  AddTemperatureUnitOption(*blend, options->unit);
  AddTextOption(*blend, "--with-oil", options->with_oil, "the second oil, a catalogue name")
      ->type_name("NAME");
  AddTextOption(*blend, "--with-v40", options->with_v40,
                "the second oil's kinematic viscosity at 40 °C")
      ->type_name("CST");
  AddTextOption(*blend, "--with-v100", options->with_v100,
                "the second oil's kinematic viscosity at 100 °C")
      ->type_name("CST");
  AddTextOption(*blend, "--with-vi", options->with_vi,
                "the second oil's viscosity index, with --with-v40 instead of --with-v100")
      ->type_name("INDEX");
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
