// The bearing commands of the `viscosity` tool: `bearing` (is this oil right for this bearing, up
// to what temperature, and how long it will last on it) and `select-grade` (which ISO grade a
// bearing needs).
#include <algorithm>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bearing/bearing.h"
#include "bearing/life.h"
#include "cli/command_runs.h"
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

// The grade bases' names, in GradeBasis's order.
constexpr std::string_view kBasisNames[] = {"nominal", "minimum"};

// Text shown where a grade has no value.
constexpr std::string_view kNone = kNoneText;

// The bearing and the oil's range on it.
constexpr Field kMeanDiameterField{"mean_diameter_mm", "Mean diameter", "mm", kBearingSizeText};
constexpr Field kSpeedField{"speed_rpm", "Speed", "r/min", kBearingSizeText};
constexpr Field kKappa1Field =
    TemperatureField({"kappa_1_temperature_c", "κ = 1 at",
                      "°C, the hottest at which the film still separates", kTemperatureText});
constexpr Field kKappa4Field =
    TemperatureField({"kappa_4_temperature_c", "κ = 4 at",
                      "°C; cooler, more viscosity adds nothing", kTemperatureText});
// The viscosity ratio at one temperature and its band.
constexpr Field kBandField{"kappa_band", "Film"};
// The grade a bearing needs, and which row of grades it is.
constexpr Field kSmallestGradeField{"smallest_iso_vg", "Smallest grade with κ ≥ 1", "",
                                    kGradeField.pattern, "none: even VG 3200 falls short"};
constexpr Field kSmallestField{"smallest"};
// The bearing's lives: those of its loads, and at each temperature those of the oil.
constexpr Field kLifeExponentField{"life_exponent", "Life exponent p", "", kLifeExponentText};
constexpr Field kBasicMrevField{"basic_rating_life_mrev", "Basic rating life L10",
                                "million revolutions", kKappaText};
constexpr Field kReliabilityField{"reliability_percent", "Reliability", "%", kWholeText};
constexpr Field kA1Field{"a1", "Life factor a1", "", kLifeFactorText};
constexpr Field kContaminationField{"contamination_factor", "Contamination factor e_C", "",
                                    kContaminationText};
constexpr Field kXField{"ec_cu_over_p", "e_C·C_u/P", "", kLoadRatioText};
constexpr Field kNoteField{"note"};
// Each grade's κ at its minimum ν40, whether it is marginal, and the ν40 grades are chosen by.
constexpr Field kKappaMinimumField{"kappa_at_minimum", "κ at min. ν40", "", kKappaText, kNone};
constexpr Field kMarginalField{"marginal"};
constexpr Field kBasisField{"basis", "Grades judged at ν40"};

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

// The options of a bearing's life, read into typed values as they are parsed; each absent when
// not given.
struct LifeOptions {
  std::optional<BearingType> type;
  std::optional<double> rating, load, fatigue_load, contamination, reliability;
  std::optional<Cleanliness> cleanliness;
  bool ep = false;
};

// What the life options give, for the end of the help.
constexpr std::string_view kLifeNote =
    "With --rating and --load: the basic rating life L10 (million revolutions) and\n"
    "L10h (hours at --speed). With --fatigue-load and --contamination or --cleanliness\n"
    "as well: at each --at, the life modification factor a_ISO from κ and e_C·C_u/P,\n"
    "and the modified rating life L_nmh = a1 a_ISO L10h. κ above 4 counts as 4; below\n"
    "0.1 the method gives no a_ISO; a_ISO is at most 50.";

void AddLifeOptions(CLI::App& command, LifeOptions& life) {
  command
      .add_option("--type", life.type,
                  "the bearing's type: ball, roller, thrust-ball or thrust-roller")
      ->transform(ChoiceOf(BearingTypeNames()))
      ->type_name("TYPE")
      ->default_str("ball");
  command.add_option("--rating", life.rating, "the basic dynamic load rating C, kN")
      ->transform(NumberAbove0("kN"))
      ->type_name("KN");
  command.add_option("--load", life.load, "the equivalent dynamic load P, kN")
      ->transform(NumberAbove0("kN"))
      ->type_name("KN");
  command.add_option("--fatigue-load", life.fatigue_load, "the fatigue load limit C_u, kN")
      ->transform(NumberAbove0("kN"))
      ->type_name("KN");
  command.add_option("--contamination", life.contamination, "the contamination factor e_C, 0 to 1")
      ->transform(NumberFromTo(0, 1))
      ->type_name("EC");
  command
      .add_option("--cleanliness", life.cleanliness,
                  "in place of --contamination: extreme, high, normal, slight, typical, severe or "
                  "very-severe (e_C the lower end of the level's range)")
      ->transform(ChoiceOf(CleanlinessNames()))
      ->type_name("LEVEL");
  command
      .add_option("--reliability", life.reliability, "the reliability, %: 90, 95, 96, 97, 98 or 99")
      ->transform(NumberOneOf(kReliabilities, "%"))
      ->type_name("PERCENT")
      ->default_str("90");
  command.add_flag("--ep", life.ep,
                   "the oil has EP additives known to work: below κ = 1, with e_C from 0.2, κ = 1 "
                   "is used and a_ISO is at most 3");
}

// The life the options ask for, nullopt when none is; a given option without one it needs is a
// usage mistake naming both.
std::optional<LifeInputs> LifeOption(const LifeOptions& o, const Bearing& bearing) {
  const bool contamination = o.contamination || o.cleanliness;
  if (o.contamination && o.cleanliness) {
    Usage("Give --contamination EC or --cleanliness LEVEL, not both.");
  }
  const LifeInputsGiven inputs_given{{"--rating", o.rating.has_value()},
                                     {"--load", o.load.has_value()},
                                     {"--fatigue-load", o.fatigue_load.has_value()},
                                     {o.contamination ? "--contamination"
                                      : o.cleanliness ? "--cleanliness"
                                                      : "--contamination or --cleanliness",
                                      contamination}};
  if (const std::optional<MissingLifeInput> missing = MissingForLoads(inputs_given)) {
    Usage(missing->message);
  }
  if (!o.rating && !o.load) {
    const std::pair<bool, const char*> needing[] = {{o.reliability.has_value(), "--reliability"},
                                                    {o.type.has_value(), "--type"},
                                                    {o.ep, "--ep"}};
    for (const auto& [given, name] : needing) {
      if (given) Usage(std::string(name) + " is given without --rating and --load.");
    }
    return std::nullopt;
  }
  if (*o.rating < *o.load) {
    Usage("--rating (" + NumberToText(*o.rating) + " kN) must not be below --load (" +
          NumberToText(*o.load) + " kN).");
  }
  if (const std::optional<MissingLifeInput> missing = MissingForModifiedLife(inputs_given)) {
    Usage(missing->message);
  }
  if (o.ep && !o.fatigue_load) Usage("--ep is given without --fatigue-load.");
  LifeInputs life;
  life.type = o.type.value_or(BearingType::Ball);
  life.rating_kn = *o.rating;
  life.load_kn = *o.load;
  life.speed_rpm = bearing.speed_rpm;
  life.reliability_percent = o.reliability.value_or(life.reliability_percent);
  life.fatigue_load_kn = o.fatigue_load;
  if (o.cleanliness) {
    life.contamination = ContaminationFactor(*o.cleanliness, bearing.mean_diameter_mm);
  } else {
    life.contamination = o.contamination;
  }
  life.ep = o.ep;
  return life;
}

// The record of a bearing's lives, and at one viscosity ratio the modified life.
struct LifeAnswer {
  LifeInputs inputs;
  BasicLife basic;
  bool modified = false;  // a_ISO is asked for
};
std::optional<LifeAnswer> LifeAnswerOf(const std::optional<LifeInputs>& inputs) {
  if (!inputs) return std::nullopt;
  LifeAnswer answer{*inputs, BasicLifeOf(*inputs)};
  answer.modified = answer.basic.contamination_factor.has_value();
  return answer;
}

void AddLifeRecord(const LifeAnswer& life, std::vector<Field>& fields, std::vector<Value>& values) {
  const BasicLife& b = life.basic;
  fields.insert(fields.end(), {kLifeExponentField, kBasicMrevField, kBasicHoursField,
                               kReliabilityField, kA1Field});
  values.insert(values.end(), {b.life_exponent, b.basic_rating_life_mrev, b.basic_rating_life_hours,
                               b.reliability_percent, b.a1});
  if (life.modified) {
    fields.insert(fields.end(), {kContaminationField, kXField});
    values.insert(values.end(), {*b.contamination_factor, *b.ec_cu_over_p});
  }
}

Value Optional(const std::optional<double>& value) { return value ? Value(*value) : Value(); }

// The answer of `bearing`: the bearing, the oil's range and the bearing's lives as one record,
// and a row for each temperature. JSON nests the rows under "points"; CSV repeats the record on
// every row; text shows the bearing, the rows with ν1 beside them, the range (and the oil's fit,
// if any), then the lives, with a note under the rows where a_ISO has no value.
std::string RenderBearing(const Bearing& bearing, const OperatingRange& range,
                          const std::vector<double>& temperatures, const Oil& oil,
                          const std::optional<LifeAnswer>& life, Format format,
                          TemperatureUnit unit) {
  static constexpr Field kRecord[] = {kMeanDiameterField, kSpeedField, kRatedField, kKappa1Field,
                                      kKappa4Field};
  static constexpr Field kPoint[] = {kTemperatureField, kKinematicField, kKappaField, kBandField};
  const ViscosityLine& line = oil.line;
  std::vector<Field> record_fields = InUnit(kRecord, unit);
  std::vector<Field> point_fields = InUnit(kPoint, unit);
  std::vector<Value> record = {bearing.mean_diameter_mm, bearing.speed_rpm, bearing.rated_cst,
                               range.kappa_1_temperature_c, range.kappa_4_temperature_c};
  std::vector<Field> fit_fields = FitFields(oil);
  std::vector<Value> fit_values = FitValues(oil);
  std::deque<std::string> keys;
  if (format == Format::Csv) AddFitPointColumns(oil, unit, keys, fit_fields, fit_values);
  record_fields.insert(record_fields.end(), fit_fields.begin(), fit_fields.end());
  record.insert(record.end(), fit_values.begin(), fit_values.end());
  const std::size_t life_start = record.size();
  if (life) AddLifeRecord(*life, record_fields, record);
  const bool modified = life && life->modified;
  if (modified)
    point_fields.insert(point_fields.end(), {kAIsoField, kModifiedHoursField, kNoteField});
  std::vector<std::vector<Value>> points;
  std::vector<std::string> band_texts;
  band_texts.reserve(temperatures.size());
  bool outside_method = false;
  const DataRange range_of_data = DataRangeOf(oil);
  std::vector<bool> within;
  for (const double t : temperatures) {
    within.push_back(range_of_data.Contains(t));
    const double nu = KinematicAt(line, t);
    const double kappa = Kappa(nu, bearing.rated_cst);
    const KappaBand band = KappaBandOf(kappa);
    ModifiedLife at;
    if (modified) at = ModifiedLifeAt(life->inputs, life->basic, kappa);
    outside_method = outside_method || !at.note.empty();
    const Value note = at.note.empty() ? Value() : Value(at.note);
    if (format == Format::Text) {
      const std::string_view text = band_texts.emplace_back(KappaBandText(band));
      points.push_back({t, nu, bearing.rated_cst, kappa});
      if (modified) {
        points.back().insert(points.back().end(),
                             {Optional(at.a_iso), Optional(at.modified_rating_life_hours)});
      }
      points.back().push_back(text);
    } else {
      points.push_back({t, nu, kappa, KappaBandName(band)});
      if (modified) {
        points.back().insert(points.back().end(),
                             {Optional(at.a_iso), Optional(at.modified_rating_life_hours), note});
      }
    }
  }

  switch (format) {
    case Format::Json: {
      Json out = JsonOf(record_fields, record);
      if (!FitPoints(oil).empty()) out["fit_points_detail"] = FitPointsJson(oil, unit);
      Json& rows = out["points"] = Json::array();
      for (std::size_t i = 0; i < points.size(); ++i) {
        Json& row = rows.emplace_back(JsonOf(point_fields, points[i]));
        row[std::string(kWithinDataField.key)] = static_cast<bool>(within[i]);
      }
      return JsonText(out);
    }
    case Format::Csv: {
      std::vector<Field> fields(std::begin(point_fields), std::end(point_fields));
      fields.push_back(kWithinDataField);
      fields.insert(fields.end(), std::begin(record_fields), std::end(record_fields));
      std::string out;
      AppendCsvHeader(out, fields);
      for (std::size_t i = 0; i < points.size(); ++i) {
        std::vector<Value>& point = points[i];
        point.push_back(std::string_view(within[i] ? "true" : "false"));
        point.insert(point.end(), record.begin(), record.end());
        AppendCsvRow(out, Shown(fields, point));
      }
      return out;
    }
    case Format::Text: {
      std::vector<Field> text_point_fields = {InUnit(kTemperatureField, unit), kKinematicField,
                                              Labelled(kRatedField, "ν1"), kKappaField};
      if (modified)
        text_point_fields.insert(text_point_fields.end(), {kAIsoField, kModifiedHoursField});
      text_point_fields.push_back(kBandField);
      const bool outside_data = std::find(within.begin(), within.end(), false) != within.end();
      if (outside_data) {
        // The mark after κ, before the band's long text.
        text_point_fields.insert(text_point_fields.begin() + 4, kWithinDataField);
        for (std::size_t i = 0; i < points.size(); ++i) {
          points[i].insert(points[i].begin() + 4, within[i] ? std::string_view() : kOutsideMark);
        }
      }
      const std::span<const Field> fields(record_fields);
      const std::span<const Value> values(record);
      std::string out = LawHeading(line.law) +
                        RenderRecord(fields.first(3), values.first(3), format) + "\n" +
                        RenderRows(text_point_fields, points, format);
      if (outside_data) out += OutsideDataNote(range_of_data, unit);
      if (outside_method) out += std::string(kNone) + ": " + std::string(kBelowLifeMethod) + ".\n";
      out += "\n" + RenderRecord(fields.subspan(3, life_start - 3),
                                 values.subspan(3, life_start - 3), format);
      if (life) {
        out += "\n" + RenderRecord(fields.subspan(life_start), values.subspan(life_start), format);
      }
      return out;
    }
  }
  return {};
}

// What select-grade answers of the bearing's life: the lives of its loads, each grade's L_nmh and
// the smallest grade that lasts --life hours.
struct SelectionLife {
  LifeAnswer answer;
  GradeLives grades;
  std::optional<double> target_hours;
};

constexpr Field kTargetField{"life_hours", "Life asked for", "h", kHoursText};
constexpr Field kSmallestForLifeField{"smallest_iso_vg_for_life", "Smallest grade lasting it", "",
                                      kGradeField.pattern, "none: even VG 3200 falls short"};
constexpr Field kSmallestForLifeColumn{"smallest_for_life"};

// The answer of `select-grade`: the bearing's need as one record, and a row for each ISO grade.
// JSON nests the rows under "grades"; CSV marks the grade needed in each row's "smallest" (and
// "smallest_for_life") and repeats the rest of the record; text shows the record, then the
// grades with the ones needed marked, then the bearing's lives.
std::string RenderSelection(const GradeSelection& selection,
                            const std::optional<SelectionLife>& life, Format format,
                            TemperatureUnit unit) {
  const bool by_minimum = selection.basis == GradeBasis::Minimum;
  std::vector<Field> record_fields = {
      kRatedField, InUnit(kTemperatureField, unit), Field(kIndexField.key, "Viscosity index"),
      kBasisField,
      by_minimum ? Labelled(kSmallestGradeField, "Smallest grade with κ ≥ 1 at min. ν40")
                 : kSmallestGradeField};
  std::vector<Value> record = {
      selection.rated_viscosity_cst, selection.temperature_c, selection.viscosity_index,
      kBasisNames[static_cast<int>(selection.basis)], GradeValue(selection.smallest_iso_vg)};
  // The record's fields that CSV repeats on each row: all but the grades needed.
  std::vector<std::size_t> shared = {0, 1, 2, 3};
  std::vector<Field> grade_fields = {kGradeField,     kNu40Field,  kNu100Field,
                                     kKinematicField, kKappaField, kKappaMinimumField,
                                     kMarginalField};
  if (life) {
    if (life->target_hours) {
      record_fields.insert(record_fields.end(), {kTargetField, kSmallestForLifeField});
      record.insert(record.end(), {*life->target_hours, GradeValue(life->grades.smallest_iso_vg)});
      shared.push_back(record.size() - 2);
    }
    const std::size_t life_start = record.size();
    AddLifeRecord(life->answer, record_fields, record);
    for (std::size_t i = life_start; i < record.size(); ++i) shared.push_back(i);
    grade_fields.push_back(kModifiedHoursField);
  }
  // The law last, in CSV and JSON; the text names it above the record.
  record_fields.push_back(kLawField);
  record.push_back(LawName(selection.law));
  shared.push_back(record.size() - 1);
  std::vector<std::vector<Value>> grades;
  bool outside_method = false;
  for (std::size_t i = 0; i < selection.grades.size(); ++i) {
    const GradeKappa& grade = selection.grades[i];
    grades.push_back({static_cast<long long>(grade.iso_vg), grade.kinematic_40c_cst,
                      Optional(grade.kinematic_100c_cst), Optional(grade.kinematic_cst),
                      Optional(grade.kappa), Optional(grade.kappa_at_minimum),
                      grade.marginal ? 1LL : 0LL});
    if (life) {
      const std::optional<double>& hours = life->grades.modified_rating_life_hours[i];
      outside_method = outside_method || (grade.kappa && !hours);
      grades.back().push_back(Optional(hours));
    }
  }
  const auto is_smallest = [&selection](std::size_t i) {
    return selection.smallest_iso_vg == selection.grades[i].iso_vg;
  };
  const bool for_life = life && life->target_hours;
  const auto lasts = [&](std::size_t i) {
    return for_life && life->grades.smallest_iso_vg == selection.grades[i].iso_vg;
  };

  switch (format) {
    case Format::Json:
      return JsonRecordWithRows(record_fields, record, "grades", grade_fields, grades);
    case Format::Csv: {
      // The record without the grades needed, which each row's "smallest" says instead.
      std::vector<Field> fields = grade_fields;
      fields.push_back(kSmallestField);
      if (for_life) fields.push_back(kSmallestForLifeColumn);
      for (const std::size_t i : shared) fields.push_back(record_fields[i]);
      std::string out;
      AppendCsvHeader(out, fields);
      for (std::size_t i = 0; i < grades.size(); ++i) {
        std::vector<Value>& row = grades[i];
        row.push_back(is_smallest(i) ? 1LL : 0LL);
        if (for_life) row.push_back(lasts(i) ? 1LL : 0LL);
        for (const std::size_t j : shared) row.push_back(record[j]);
        AppendCsvRow(out, Shown(fields, row));
      }
      return out;
    }
    case Format::Text: {
      const std::string at_label = "At " + TextOf(record_fields[1], selection.temperature_c) + " " +
                                   std::string(UnitSymbol(unit));
      std::vector<Field> fields = {Labelled(kGradeField, "ISO grade"),
                                   Labelled(kNu40Field, "At 40 °C"),
                                   Labelled(kNu100Field, "At 100 °C", std::nullopt, kNone),
                                   Labelled(kKinematicField, at_label, std::nullopt, kNone),
                                   kKappaField,
                                   kKappaMinimumField};
      if (life) fields.push_back(kModifiedHoursField);
      fields.push_back(kSmallestField);
      const std::string life_mark =
          for_life ? "L_nmh ≥ " + TextOf(kTargetField, *life->target_hours) + " h" : "";
      // The grade's name as a word, so that its column is left-aligned.
      std::vector<std::string> names, marks;
      names.reserve(grades.size());
      marks.reserve(grades.size());
      bool without_line = false;
      for (std::size_t i = 0; i < grades.size(); ++i) {
        std::vector<Value>& row = grades[i];
        without_line = without_line || std::holds_alternative<std::monostate>(row[2]);
        row[0] = std::string_view(names.emplace_back(TextOf(kGradeField, row[0])));
        row.erase(row.begin() + 6);  // marginal, which the mark says
        std::string mark;
        if (is_smallest(i)) mark = "κ ≥ 1";
        if (lasts(i)) mark += (mark.empty() ? "" : " and ") + life_mark;
        if (!mark.empty()) mark = "← smallest with " + mark;
        if (selection.grades[i].marginal) mark += mark.empty() ? "marginal" : ", marginal";
        row.push_back(std::string_view(marks.emplace_back(mark)));
      }
      const std::size_t life_start = for_life ? 7 : 5;
      const std::span<const Field> all(record_fields);
      const std::span<const Value> values(record);
      std::string out = LawHeading(selection.law) +
                        RenderRecord(all.first(life_start), values.first(life_start), format) +
                        "\n" + RenderRows(fields, grades, format);
      if (std::any_of(selection.grades.begin(), selection.grades.end(),
                      [](const GradeKappa& grade) { return grade.marginal; })) {
        out +=
            "marginal: κ ≥ 1 at the grade's nominal ν40 but not at its minimum (ISO 3448, the "
            "mid-point × 0.9); --basis minimum chooses by the minimum.\n";
      }
      if (without_line) {
        out += std::string(kNone) +
               ": no viscosity at 100 °C from 2 cSt up gives this grade an index of " +
               NumberToText(selection.viscosity_index) + ".\n";
      }
      if (outside_method) {
        out += "L_nmh " + std::string(kNone) + ": " + std::string(kBelowLifeMethod) + ".\n";
      }
      if (life) {
        out += "\n" + RenderRecord(all.subspan(life_start), values.subspan(life_start), format);
      }
      return out;
    }
  }
  return {};
}

}  // namespace

std::string RunBearing(const OilCommand& command, const Bearing& bearing,
                       const std::optional<LifeInputs>& life,
                       std::span<const double> temperatures_c) {
  const std::optional<LifeAnswer> answered = LifeAnswerOf(life);
  return RenderBearing(bearing, OperatingRangeOf(command.oil.line, bearing.rated_cst),
                       {temperatures_c.begin(), temperatures_c.end()}, command.oil, answered,
                       command.format, command.unit);
}

std::string RunSelectGrade(const GradeQuestion& question) {
  const GradeSelection selection =
      SelectGrade(question.bearing.rated_cst, question.temperature_c, question.viscosity_index,
                  Law::Walther, question.basis);
  std::optional<SelectionLife> life;
  if (const std::optional<LifeAnswer> answered = LifeAnswerOf(question.life)) {
    if (!answered->modified) {
      Usage(question.life_hours ? "--life is given without --fatigue-load."
                                : "--rating and --load are given without --fatigue-load: each "
                                  "grade's L_nmh needs it and --contamination or --cleanliness.");
    }
    life = SelectionLife{*answered, GradeLivesOf(selection, *question.life, question.life_hours),
                         question.life_hours};
  }
  return RenderSelection(selection, life, question.format, question.unit);
}

void DeclareBearing(CLI::App& tool, const std::string& name, Answer& answer) {
  struct Options : OilCommandOptions {
    BearingSizeOptions size;
    LifeOptions life;
    std::vector<std::string> at;
  };
  auto [bearing, options] = AddCommand<Options>(
      tool, name,
      "is the oil thick enough for a rolling bearing: ν1, κ and the temperatures of κ = 1 and 4; "
      "with its loads, how long it lasts on the oil",
      [&answer](Options& o) {
        const OilCommand command = ResolveOilCommand(o);
        const Bearing size = BearingOption(o.size);
        const std::optional<LifeInputs> life = LifeOption(o.life, size);
        if (o.at.empty()) Usage("No temperature given: give --at T.");
        std::vector<double> temperatures;
        for (const std::string& text : o.at) {
          temperatures.push_back(OptionTemperature("--at", text));
        }
        answer.bytes = RunBearing(command, size, life, temperatures);
      });
  AddOilCommandOptions(*bearing, *options, OilGravity::Unused);
  AddBearingSizeOptions(*bearing, options->size);
  bearing->add_option("--at", options->at, "operating temperatures, °C")->type_name("T");
  AddLifeOptions(*bearing, options->life);
  bearing->footer(std::string(kLifeNote) + "\n\n" +
                  Footer("viscosity bearing --bore 340 --outside 420 --speed 500 --at 70 90 --oil "
                         "\"SHC 632\" --type roller --rating 1600 --load 200 --fatigue-load 140 "
                         "--cleanliness normal",
                         kLawFormulas));
}

void DeclareSelectGrade(CLI::App& tool, const std::string& name, Answer& answer) {
  struct Options {
    Format format = Format::Text;
    TemperatureUnit unit = TemperatureUnit::Celsius;
    BearingSizeOptions size;
    LifeOptions life;
    std::optional<double> life_hours;
    std::optional<std::string> at, vi;
    GradeBasis basis = GradeBasis::Nominal;
  };
  auto [select, options] = AddCommand<Options>(
      tool, name,
      "the smallest ISO grade that gives a rolling bearing κ ≥ 1 at a temperature, or the life "
      "asked for",
      [&answer](Options& o) {
        GradeQuestion question;
        question.format = o.format;
        question.unit = o.unit;
        question.bearing = BearingOption(o.size);
        if (!o.at) Usage("No temperature given: give --at T.");
        question.temperature_c = OptionTemperature("--at", *o.at);
        if (o.vi) question.viscosity_index = OptionNumber("--vi", *o.vi);
        question.life = LifeOption(o.life, question.bearing);
        if (o.life_hours && !question.life) Usage("--life is given without --rating and --load.");
        question.basis = o.basis;
        question.life_hours = o.life_hours;
        answer.bytes = RunSelectGrade(question);
      });
  AddFormatOption(*select, options->format);
  AddTemperatureUnitOption(*select, options->unit);
  AddBearingSizeOptions(*select, options->size);
  AddTextOption(*select, "--at", options->at, "operating temperature, °C")->type_name("T");
  AddTextOption(*select, "--vi", options->vi, "the oils' viscosity index")
      ->type_name("INDEX")
      ->default_str("95");
  select
      ->add_option("--basis", options->basis,
                   "the ν40 each grade is judged at: nominal (the grade's number) or minimum "
                   "(ISO 3448's lower limit, the mid-point × 0.9)")
      ->transform(ChoiceOf(kBasisNames))
      ->type_name("BASIS")
      ->default_str(std::string(kBasisNames[static_cast<int>(GradeBasis::Nominal)]));
  AddLifeOptions(*select, options->life);
  select
      ->add_option("--life", options->life_hours,
                   "the modified rating life L_nmh the bearing must reach, h: the smallest grade "
                   "that gives it")
      ->transform(NumberAbove0("h"))
      ->type_name("HOURS");
  select->footer(
      "With the life options (as for `viscosity bearing`), each grade's L_nmh at the "
      "temperature.\n\n" +
      Footer("viscosity select-grade --dm 380 --speed 500 --at 70 --type roller --rating 1600 "
             "--load 200 --fatigue-load 140 --cleanliness normal --life 100000",
             kLawFormulas));
}

}  // namespace project1::cli
