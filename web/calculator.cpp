#include "web/calculator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "bearing/bearing.h"
#include "bearing/life.h"
#include "catalogue/catalogue.h"
#include "chart/chart.h"
#include "chart/chart_svg.h"
#include "csv/csv.h"
#include "engine/calculate.h"
#include "engine/fit_points.h"
#include "engine/model.h"
#include "engine/oil_properties.h"
#include "engine/table_text.h"
#include "engine/temperature_unit.h"
#include "engine/viscosity_line.h"
#include "error/error.h"
#include "numtext/numtext.h"
#include "oils/oil_limits.h"
#include "record/calculation_record.h"
#include "user_oils/user_oils_text.h"

namespace project1::web {

namespace {

// The page's id of the box an error is about.
std::string BoxOf(const Error& error) {
  // In the order of CalculationInput.
  static constexpr std::array<std::string_view, kCalculationInputs> kBoxes{
      "visc40", "visc100", "temp1", "temp2", "gravity"};
  const std::optional<CalculationInput> input = InputOf(error);
  return input ? std::string(kBoxes[static_cast<std::size_t>(*input)]) : std::string();
}

// Whether a box holds anything but blanks: an optional box left empty is not given.
bool Typed(const std::string& text) { return text.find_first_not_of(" \t") != std::string::npos; }

// The words of a box that takes a list ("-30 0 40 160F"), between blanks.
std::vector<std::string_view> WordsOf(const std::string& text) {
  std::vector<std::string_view> words;
  std::size_t at = 0;
  while ((at = text.find_first_not_of(" \t", at)) != std::string::npos) {
    const std::size_t end = std::min(text.find_first_of(" \t", at), text.size());
    words.push_back(std::string_view(text).substr(at, end - at));
    at = end;
  }
  return words;
}

// `step`'s answer, its failure about the box `box`.
template <typename Step>
auto InBox(std::string_view box, Step step) {
  try {
    return step();
  } catch (const Error& error) {
    throw Error(error.kind(), error.what(), box);
  }
}

// The error `error`, about `subject` unless it names its own input.
Error About(const Error& error, std::string_view subject) {
  return error.subject().empty() ? Error(error.kind(), error.what(), subject) : error;
}

// Refuses, as the tool does, a gravity outside its range (a density typed in kg/m³ told so),
// about the gravity's box.
void CheckToolsGravity(double sg, std::string_view gravity_text) {
  constexpr std::string_view kGravity = "The specific gravity";
  const std::string advice =
      "a specific gravity of " + FormatNumber(GravityFromDensity(sg), kGravityMessagePattern);
  if (const std::optional<std::string> density =
          DensityTypedAsGravity(kGravity, sg, gravity_text, advice)) {
    throw Error(Fault::InvalidArgument, *density, kGravityName);
  }
  CheckedGravity(kGravity, sg, gravity_text, kGravityName);
}

// An oil's two viscosities typed in the boxes `box40` and `box100`, read as the tool resolves its
// --v40 and --v100: each number, the law's line through them, then that the hotter is thinner.
// A failure about ν40 is about `box40`, any other about `box100`.
struct TypedOil {
  double nu40 = 0;
  double nu100 = 0;
  ViscosityLine line;
};
TypedOil OilOfTexts(const std::string& v40, const std::string& v100, Law law,
                    std::string_view box40 = kVisc40Name, std::string_view box100 = kVisc100Name) {
  try {
    TypedOil oil;
    oil.nu40 = TextToNumber(v40, kVisc40Name);
    oil.nu100 = TextToNumber(v100, kVisc100Name);
    oil.line = FitLine40100(law, oil.nu40, oil.nu100);
    CheckThinnerWhenHotter({40, oil.nu40}, {100, oil.nu100});
    return oil;
  } catch (const Error& error) {
    throw Error(error.kind(), error.what(), error.subject() == kVisc40Name ? box40 : box100);
  }
}

// A reference temperature as typed, for the window's calculation: a number as the window reads
// it, or one with the suffix C, F or K ("160F") read by the tool's rule and given in degrees C, in
// its shortest round-trip text.
std::string CelsiusText(const std::string& typed, std::string_view name) {
  const std::string_view body =
      std::string_view(typed).substr(0, typed.find_last_not_of(" \t") + 1);
  if (body.empty() || !UnitNamed(body.substr(body.size() - 1))) return typed;
  return ShortestText(TextToTemperature(typed, name));
}

// The tool's refusals of an oil, before any result: each box read as the window reads it (a
// reference temperature with a unit's letter put in degrees C, in `inputs`), then an oil no
// thinner at 100 °C than at 40 °C, and a gravity outside the tool's range (a density typed in
// kg/m³ told so). nullopt for an oil the tool accepts.
std::optional<Error> ToolRefusal(PageInputs& inputs) {
  try {
    const double nu40 = TextToNumber(inputs.visc40, kVisc40Name);
    const double nu100 = TextToNumber(inputs.visc100, kVisc100Name);
    inputs.temp1 = CelsiusText(inputs.temp1, kTemp1Name);
    TextToNumber(inputs.temp1, kTemp1Name);
    inputs.temp2 = CelsiusText(inputs.temp2, kTemp2Name);
    TextToNumber(inputs.temp2, kTemp2Name);
    const double sg = TextToNumber(inputs.gravity, kGravityName);
    CheckThinnerWhenHotter({40, nu40}, {100, nu100}, kVisc100Name);
    CheckToolsGravity(sg, inputs.gravity);
  } catch (const Error& error) {
    return error;
  }
  return std::nullopt;
}

// The window's steps on the line of `law`: the four results in its patterns, then the table
// file's text, as the tool computes them by that law; stopping at the first failing step.
CalculationOutcome CalculateByLaw(Law law, const PageInputs& inputs) {
  CalculationOutcome out;
  CalcState& s = out.values;
  try {
    s.visc40 = TextToNumber(inputs.visc40, kVisc40Name);
    s.visc100 = TextToNumber(inputs.visc100, kVisc100Name);
    s.temp1 = TextToNumber(inputs.temp1, kTemp1Name);
    s.temp2 = TextToNumber(inputs.temp2, kTemp2Name);
    s.gravity = TextToNumber(inputs.gravity, kGravityName);
    const ViscosityLine line = FitLine40100(law, s.visc40, s.visc100);
    const auto at = [&](double t, std::string_view subject) {
      try {
        return KinematicAt(line, t);
      } catch (const Error& error) {
        throw About(error, subject);
      }
    };
    s.visc1 = at(s.temp1, kTemp1Name);
    out.shown.push_back({Result::kViscosity1, FormatNumber(s.visc1, kKinematicPattern)});
    s.visc2 = at(s.temp2, kTemp2Name);
    out.shown.push_back({Result::kViscosity2, FormatNumber(s.visc2, kKinematicPattern)});
    s.dynamic1 = DynamicReyn(s.visc1, s.gravity);
    out.shown.push_back({Result::kDynamic1, FormatNumber(s.dynamic1, kDynamicPattern)});
    s.dynamic2 = DynamicReyn(s.visc2, s.gravity);
    out.shown.push_back({Result::kDynamic2, FormatNumber(s.dynamic2, kDynamicPattern)});
    out.table_text = LineTableText(line, TableTemperatures(kTableFromC, kTableToC, kTableStepC));
  } catch (const Error& error) {
    out.failure = error;
  }
  return out;
}

void AddChart(const CalculationRecord& record, Law law, const PageInputs& inputs,
              PageOutcome& page) {
  try {
    ChartOil oil = ChartOilOf(record);
    if (law != Law::Walther) oil.line = FitLine40100(law, record.nu40, record.nu100);
    const ChartDescription chart = BuildChart({oil});
    // A size beyond any screen's is the default one; a phone's keeps the texts' pixel sizes.
    const bool sized = inputs.chart_width >= 240 && inputs.chart_width <= 4000 &&
                       inputs.chart_height >= 180 && inputs.chart_height <= 4000;
    page.chart_svg =
        sized ? ChartSvg(chart, inputs.chart_width, inputs.chart_height) : ChartSvg(chart);
    page.chart_description = DescribeChart(chart);
  } catch (const Error& error) {
    page.chart_message = error.what();
  }
}

}  // namespace

PageOutcome CalculatePage(const PageInputs& typed, bool with_chart) {
  PageOutcome page;
  PageInputs inputs = typed;
  Law law = Law::Walther;
  try {
    law = LawFromName(inputs.law);
  } catch (const Error& error) {
    page.message = error.what();
    return page;
  }
  if (const std::optional<Error> refused = ToolRefusal(inputs)) {
    page.message = refused->what();
    page.box = BoxOf(*refused);
    return page;
  }
  // Walther's line is the window's: its own calculation, digit for digit.
  const CalculationOutcome outcome =
      law == Law::Walther ? CalculateWithoutFile({inputs.visc40, inputs.visc100, inputs.temp1,
                                                  inputs.temp2, inputs.gravity})
                          : CalculateByLaw(law, inputs);
  for (const ShownResult& shown : outcome.shown) page.shown.push_back(shown.text);
  if (outcome.failure) {
    page.message = outcome.failure->what();
    page.box = BoxOf(*outcome.failure);
    return page;
  }

  const CalcState& s = outcome.values;
  page.table = outcome.table_text;
  for (const double value :
       {s.visc1, s.visc2, s.dynamic1, s.dynamic2, ReynToMpaS(s.dynamic1), ReynToMpaS(s.dynamic2)}) {
    page.numbers.push_back(ShortestText(value));
  }
  const CalculationRecord record = RecordCalculation(
      outcome,
      {.visc40 = inputs.visc40,
       .visc100 = inputs.visc100,
       .temp1 = inputs.temp1,
       .temp2 = inputs.temp2,
       .gravity = inputs.gravity,
       .visc1 = page.shown.at(0),
       .visc2 = page.shown.at(1),
       .dynamic1 = page.shown.at(2),
       .dynamic2 = page.shown.at(3)},
      inputs.picked,
      inputs.kept.empty() ? std::vector<UserOil>() : ParseUserOils(inputs.kept, "").oils);
  page.results = ResultsText(record);
  for (const OilProperty& property : PropertiesOf(record)) {
    page.properties.push_back({property.name, property.value});
  }
  if (with_chart) AddChart(record, law, inputs, page);
  return page;
}

std::vector<PageOil> PageOils() {
  std::vector<PageOil> oils;
  for (const Lubricant& oil : LubricantCatalogue) {
    oils.push_back({std::string(oil.name), NumberToText(oil.nu40), NumberToText(oil.nu100),
                    NumberToText(oil.gravity), ""});
  }
  oils.push_back({std::string(kOtherLubricant), "", "", "", ""});
  return oils;
}

PageAnswer TemperatureForViscosity(const std::string& visc40, const std::string& visc100,
                                   const std::string& law, const std::string& kinematic) {
  try {
    const ViscosityLine line = FitLine40100(LawFromName(law), TextToNumber(visc40, kVisc40Name),
                                            TextToNumber(visc100, kVisc100Name));
    const double t = TemperatureFor(line, TextToNumber(kinematic, "viscosity"));
    return {DegreesText(FormatNumber(t, kDegreesPattern)), ""};
  } catch (const Error& error) {
    return {"", error.what()};
  }
}

PageAnswer Nu100ForIndexText(const std::string& visc40, const std::string& index) {
  try {
    const double nu40 = TextToNumber(visc40, kVisc40Name);
    return {ShortestText(RequireNu100ForIndex(nu40, TextToNumber(index, "viscosity index"))), ""};
  } catch (const Error& error) {
    return {"", error.what()};
  }
}

namespace {

// The page's boxes beyond the window's, each also an error's subject.
constexpr std::string_view kUnitBox = "unit";
constexpr std::string_view kTemperaturesBox = "temperatures";
constexpr std::string_view kFromBox = "from";
constexpr std::string_view kToBox = "to";
constexpr std::string_view kStepBox = "step";

constexpr std::string_view kExpansionBox = "expansion";

// The oil of the boxes, refused as the tool refuses it.
struct BoxesOil {
  ViscosityLine line;
  double sg = 0;
  std::optional<double> expansion;
};
BoxesOil OilOfBoxes(const PageRowsInputs& inputs) {
  BoxesOil oil{OilOfTexts(inputs.visc40, inputs.visc100, LawFromName(inputs.law)).line,
               TextToNumber(inputs.gravity, kGravityName), std::nullopt};
  CheckToolsGravity(oil.sg, inputs.gravity);
  if (Typed(inputs.expansion)) {
    oil.expansion = InBox(kExpansionBox, [&] {
      return CheckedExpansion("The thermal expansion coefficient",
                              TextToNumber(inputs.expansion, "expansion coefficient"));
    });
  }
  return oil;
}

TemperatureUnit UnitOfBox(const std::string& text) {
  for (const TemperatureUnit unit :
       {TemperatureUnit::Celsius, TemperatureUnit::Fahrenheit, TemperatureUnit::Kelvin}) {
    if (text == UnitLetter(unit)) return unit;
  }
  throw Error(ErrorKind::BadInput, "The unit \"" + text + "\" is not one of C, F, K.", kUnitBox);
}

// A temperature typed in the box `box`, its messages naming it.
double TemperatureOfBox(std::string_view text, std::string_view what, std::string_view box) {
  return InBox(box, [&] { return TextToTemperature(text, what); });
}

// The rows of `oil` at the temperatures `t_c`, in `unit`.
PageRows RowsOf(const BoxesOil& oil, std::span<const double> t_c, TemperatureUnit unit) {
  PageRows rows;
  rows.columns = {"Temperature, " + std::string(UnitSymbol(unit)), "Kinematic, cSt",
                  "Dynamic, reyn", "Dynamic, mPa·s"};
  for (const double t : t_c) {
    const double nu = KinematicAt(oil.line, t);
    // As the tool's dynamic viscosity: by the gravity at t where the oil expands.
    const double sg = oil.expansion ? ExpandedGravity(oil.sg, *oil.expansion, t) : oil.sg;
    const double reyn = DynamicReyn(nu, sg);
    const double mpa_s = ReynToMpaS(reyn);
    const double shown_t = FromCelsius(t, unit);
    rows.rows.push_back({ShownNumber(shown_t, kTemperatureText), ShownNumber(nu, kKinematicText),
                         ShownNumber(reyn, kReynText), ShownNumber(mpa_s, kMpaSText)});
    rows.numbers.push_back(
        {ShortestText(shown_t), ShortestText(nu), ShortestText(reyn), ShortestText(mpa_s)});
  }
  return rows;
}

template <typename Answer>
PageRows Rows(Answer answer) {
  try {
    return answer();
  } catch (const Error& error) {
    PageRows failed;
    failed.message = error.what();
    failed.box = BoxOf(error);
    if (failed.box.empty()) failed.box = error.subject();
    return failed;
  }
}

}  // namespace

PageRows RowsAtTemperatures(const PageRowsInputs& inputs) {
  return Rows([&] {
    const BoxesOil oil = OilOfBoxes(inputs);
    const TemperatureUnit unit = UnitOfBox(inputs.unit);
    std::vector<double> t_c;
    for (const std::string_view word : WordsOf(inputs.temperatures)) {
      t_c.push_back(TemperatureOfBox(word, "temperature", kTemperaturesBox));
    }
    if (t_c.empty()) {
      throw Error(ErrorKind::BadInput, "Give one or more temperatures, such as -30 0 40 160F.",
                  kTemperaturesBox);
    }
    return RowsOf(oil, t_c, unit);
  });
}

PageRows TableRows(const PageRowsInputs& inputs) {
  return Rows([&] {
    const BoxesOil oil = OilOfBoxes(inputs);
    const TemperatureUnit unit = UnitOfBox(inputs.unit);
    const double from = TemperatureOfBox(inputs.from, "first temperature", kFromBox);
    const double to = TemperatureOfBox(inputs.to, "last temperature", kToBox);
    const double step = InBox(kStepBox, [&] { return TextToTemperatureStep(inputs.step, "step"); });
    // Named as the boxes' labels name them.
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kNames{
        {{"From", kFromBox}, {"To", kToBox}, {"Step", kStepBox}}};
    try {
      CheckTableSpan(from, to, step, kNames[0].first, kNames[1].first, kNames[2].first);
    } catch (const Error& error) {
      const auto named = std::find_if(kNames.begin(), kNames.end(), [&](const auto& name) {
        return name.first == error.subject();
      });
      throw Error(error.kind(), error.what(), named == kNames.end() ? "" : named->second);
    }
    return RowsOf(oil, TableTemperatures(from, to, step), unit);
  });
}

namespace {

constexpr std::string_view kPointsBox = "points";

// "40=320": a temperature, "=" and a viscosity, as the tool's --point reads one.
ViscosityPoint PointOfText(std::string_view text) {
  const auto sides = SplitPoint(text);
  if (!sides) {
    throw Error(ErrorKind::BadInput,
                "The point \"" + std::string(text) + "\" is not " + std::string(kPointForm) + ".");
  }
  return {TextToTemperature(sides->first, "point's temperature"),
          TextToNumber(sides->second, "point's viscosity")};
}

}  // namespace

PageFit FitOfPoints(const std::string& text, const std::string& law) {
  PageFit fit;
  try {
    std::vector<ViscosityPoint> points;
    for (const std::string_view word : WordsOf(text)) points.push_back(PointOfText(word));
    if (points.size() < 2) {
      throw Error(ErrorKind::BadInput,
                  "Give two or more points, each as T=CST, such as 20=500 40=320 100=35.");
    }
    // In the tool's order: the fit, its viscosities at 40 and 100 °C, then the points' check.
    const ViscosityLine line = FitLine(LawFromName(law), points);
    const std::vector<FitPoint> detail = FitPointsOf(line, points);
    const double nu40 = KinematicAt(line, 40);
    const double nu100 = KinematicAt(line, 100);
    CheckEachThinnerWhenHotter(points);
    fit.points.columns = {"Temperature, °C", "Measured, cSt", "Line, cSt", "Deviation, %"};
    for (const FitPoint& point : detail) {
      fit.points.rows.push_back({ShownNumber(point.temperature_c, kTemperatureText),
                                 ShownNumber(point.measured_cst, kKinematicText),
                                 ShownNumber(point.line_cst, kKinematicText),
                                 ShownNumber(point.deviation_percent, kDeviationText)});
      fit.points.numbers.push_back({ShortestText(point.temperature_c),
                                    ShortestText(point.measured_cst), ShortestText(point.line_cst),
                                    ShortestText(point.deviation_percent)});
    }
    fit.visc40 = ShortestText(nu40);
    fit.visc100 = ShortestText(nu100);
    fit.note = FitNote(detail, TemperatureUnit::Celsius);
    if (!fit.note.empty()) fit.note.pop_back();  // its line's end
  } catch (const Error& error) {
    fit = {};
    fit.points.message = error.what();
    fit.points.box = kPointsBox;
  }
  return fit;
}

namespace {

// The bearing box's boxes, each also an error's subject.
constexpr std::string_view kDmBox = "dm";
constexpr std::string_view kSpeedBox = "speed";
constexpr std::string_view kRunningBox = "running";
constexpr std::string_view kTypeBox = "bearing-type";
constexpr std::string_view kRatingBox = "rating";
constexpr std::string_view kLoadBox = "load";
constexpr std::string_view kFatigueBox = "fatigue";
constexpr std::string_view kReliabilityBox = "reliability";
constexpr std::string_view kCleanlinessBox = "cleanliness";

// 'The cleanliness "clean" is not one of extreme, high, ...', about `box`.
Error NotOneOf(std::string_view what, const std::string& text,
               std::span<const std::string_view> names, std::string_view box) {
  std::string message = "The " + std::string(what) + " \"" + text + "\" is not one of ";
  for (const std::string_view name : names) {
    message += std::string(name) + (name == names.back() ? "." : ", ");
  }
  return Error(ErrorKind::BadInput, message, box);
}

bool IsAbove0(double value) { return value > 0 && std::isfinite(value); }

double NumberOfBox(const std::string& text, std::string_view what, std::string_view box) {
  return InBox(box, [&] { return TextToNumber(text, what); });
}

// The life of the box's loads, as the tool's `bearing` takes its options: none when C, P and C_u
// are all blank; the cleanliness is always given, so a_ISO's C_u goes with C and P.
std::optional<LifeInputs> LifeOfBoxes(const PageBearingInputs& in, double dm, double speed) {
  if (!Typed(in.rating) && !Typed(in.load) && !Typed(in.fatigue_load)) return std::nullopt;
  const LifeInputsGiven given{{"the dynamic load rating C", Typed(in.rating)},
                              {"the load P", Typed(in.load)},
                              {"the fatigue load limit C_u", Typed(in.fatigue_load)},
                              {"the cleanliness", true}};
  static constexpr std::array<std::string_view, 4> kBoxOf{kRatingBox, kLoadBox, kFatigueBox,
                                                          kCleanlinessBox};
  for (const auto& missing : {MissingForLoads(given), MissingForModifiedLife(given)}) {
    if (missing) {
      throw Error(ErrorKind::BadInput, missing->message,
                  kBoxOf.at(static_cast<std::size_t>(missing->missing)));
    }
  }
  LifeInputs life;
  const std::optional<BearingType> type = BearingTypeNamed(in.type);
  if (!type) throw NotOneOf("bearing type", in.type, BearingTypeNames(), kTypeBox);
  life.type = *type;
  life.rating_kn = NumberOfBox(in.rating, "dynamic load rating C", kRatingBox);
  life.load_kn = NumberOfBox(in.load, "load P", kLoadBox);
  life.fatigue_load_kn = NumberOfBox(in.fatigue_load, "fatigue load limit C_u", kFatigueBox);
  life.reliability_percent = NumberOfBox(in.reliability, "reliability", kReliabilityBox);
  const std::optional<Cleanliness> level = CleanlinessNamed(in.cleanliness);
  if (!level) throw NotOneOf("cleanliness", in.cleanliness, CleanlinessNames(), kCleanlinessBox);
  life.contamination = ContaminationFactor(*level, dm);
  life.speed_rpm = speed;
  return life;
}

// BasicLifeOf's refusal about its box: the load's, the rating's, the reliability's or C_u's.
std::string_view BoxOfLifeRefusal(const Error& error, const LifeInputs& life) {
  if (error.subject() == "reliability") return kReliabilityBox;
  if (error.subject() == "contamination factor") return kCleanlinessBox;
  if (!IsAbove0(life.load_kn)) return kLoadBox;
  if (!IsAbove0(life.rating_kn) || error.subject() == "dynamic load rating") return kRatingBox;
  if (life.fatigue_load_kn && !IsAbove0(*life.fatigue_load_kn)) return kFatigueBox;
  return kRatingBox;  // a life out of range
}

}  // namespace

PageBearing BearingOfPage(const PageBearingInputs& in) {
  PageBearing page;
  try {
    const ViscosityLine line = OilOfTexts(in.visc40, in.visc100, LawFromName(in.law)).line;
    const double dm = NumberOfBox(in.dm, "mean diameter", kDmBox);
    const double speed = NumberOfBox(in.speed, "speed", kSpeedBox);
    const double rated =
        InBox(IsAbove0(dm) ? kSpeedBox : kDmBox, [&] { return RatedViscosity(dm, speed); });
    const double t = InBox(
        kRunningBox, [&] { return TextToTemperature(in.temperature, "running temperature"); });
    const double nu = InBox(kRunningBox, [&] { return KinematicAt(line, t); });
    const double kappa = Kappa(nu, rated);
    const OperatingRange range = InBox(kVisc100Name, [&] { return OperatingRangeOf(line, rated); });
    const std::optional<LifeInputs> life = LifeOfBoxes(in, dm, speed);
    std::optional<BasicLife> basic;
    ModifiedLife modified;
    if (life) {
      try {
        basic = BasicLifeOf(*life);
      } catch (const Error& error) {
        throw Error(error.kind(), error.what(), BoxOfLifeRefusal(error, *life));
      }
      modified = InBox(kRatingBox, [&] { return ModifiedLifeAt(*life, *basic, kappa); });
    }
    page.rated = ShownNumber(rated, kKinematicText);
    page.kinematic = ShownNumber(nu, kKinematicText);
    page.kappa = ShownNumber(kappa, kFactorPattern);
    page.band = KappaBandText(KappaBandOf(kappa));
    page.kappa_1_at = ShownNumber(range.kappa_1_temperature_c, kTemperatureText);
    page.kappa_4_at = ShownNumber(range.kappa_4_temperature_c, kTemperatureText);
    page.numbers = {ShortestText(rated), ShortestText(nu), ShortestText(kappa),
                    ShortestText(range.kappa_1_temperature_c),
                    ShortestText(range.kappa_4_temperature_c)};
    if (basic) {
      page.basic_life = ShownNumber(basic->basic_rating_life_hours, kHoursPattern);
      const auto shown = [](const std::optional<double>& value, std::string_view pattern) {
        return value ? ShownNumber(*value, pattern) : std::string(kNoValueText);
      };
      page.a_iso = shown(modified.a_iso, kFactorPattern);
      page.modified_life = shown(modified.modified_rating_life_hours, kHoursPattern);
      page.life_note = modified.note;
      page.numbers.push_back(ShortestText(basic->basic_rating_life_hours));
      for (const std::optional<double>& value :
           {modified.a_iso, modified.modified_rating_life_hours}) {
        page.numbers.push_back(value ? ShortestText(*value) : "");
      }
    }
  } catch (const Error& error) {
    page = {};
    page.message = error.what();
    page.box = BoxOf(error);
    if (page.box.empty()) page.box = error.subject();
  }
  return page;
}

PageBearingChoices BearingChoices() {
  PageBearingChoices choices;
  for (const std::string_view name : BearingTypeNames()) choices.types.emplace_back(name);
  for (const double percent : kReliabilities)
    choices.reliabilities.push_back(NumberToText(percent));
  for (const std::string_view name : CleanlinessNames()) choices.cleanliness.emplace_back(name);
  return choices;
}

PageBlend BlendOfPage(const PageBlendInputs& in) {
  PageBlend page;
  try {
    const Law law = LawFromName(in.law);
    const TypedOil first = OilOfTexts(in.visc40, in.visc100, law, "visc40", "visc100");
    const TypedOil second = OilOfTexts(in.second40, in.second100, law, "second40", "second100");
    if (Typed(in.fraction) == Typed(in.target)) {
      throw Error(ErrorKind::BadInput,
                  "Give one of a fraction of the second oil and a target viscosity.",
                  Typed(in.fraction) ? "target" : "fraction");
    }
    const double t = InBox("blend-at", [&] { return TextToTemperature(in.at, "temperature"); });
    const double nu_first = InBox("blend-at", [&] { return KinematicAt(first.line, t); });
    const double nu_second = InBox("blend-at", [&] { return KinematicAt(second.line, t); });
    double fraction = 0;
    if (Typed(in.fraction)) {
      fraction = InBox("fraction", [&] {
        return CheckedBlendFraction(NumberOfBox(in.fraction, "fraction", "fraction"));
      });
    } else {
      const double target = NumberOfBox(in.target, "target viscosity", "target");
      fraction = InBox("target", [&] { return BlendFractionFor(nu_first, nu_second, target); });
    }
    const std::array<double, 3> blend{BlendKinematic(nu_first, nu_second, fraction),
                                      BlendKinematic(first.nu40, second.nu40, fraction),
                                      BlendKinematic(first.nu100, second.nu100, fraction)};
    const std::optional<ViscosityIndex> index = ViscosityIndexOf(blend[1], blend[2]);
    page.texts = {ShownNumber(fraction, kFractionText)};
    page.numbers = {ShortestText(fraction)};
    for (const double nu : blend) {
      page.texts.push_back(ShownNumber(nu, kKinematicText));
      page.numbers.push_back(ShortestText(nu));
    }
    page.texts.push_back(index ? ShownNumber(static_cast<double>(index->rounded), kWholeText)
                               : std::string(kIndexUndefined));
    page.numbers.push_back(index ? ShortestText(index->unrounded) : "");
  } catch (const Error& error) {
    page = {};
    page.message = error.what();
    page.box = error.subject();
  }
  return page;
}

namespace {

// "1 oil" or "5 oils".
std::string OilsText(std::size_t count) {
  return FormatNumber(static_cast<double>(count), kGroupedWholePattern) +
         (count == 1 ? " oil" : " oils");
}

PageUserOils PageOilsOf(const std::vector<UserOil>& oils) {
  PageUserOils page;
  for (const UserOil& oil : oils) {
    page.oils.push_back({oil.name, NumberToText(oil.nu40), NumberToText(oil.nu100),
                         oil.gravity ? NumberToText(*oil.gravity) : "", oil.note});
  }
  page.csv = UserOilsCsv(oils);
  return page;
}

// The oils of the text kept; Error(BadInput) at its first problem.
std::vector<UserOil> OilsKept(const std::string& kept) {
  if (kept.empty()) return {};
  return ParseUserOilsStrictly(kept, "The oils kept in this browser").oils;
}

}  // namespace

PageUserOils UserOilsKept(const std::string& kept) {
  try {
    PageUserOils page = PageOilsOf(OilsKept(kept));
    page.summary = "You have " + OilsText(page.oils.size()) + " of your own.";
    return page;
  } catch (const Error& error) {
    PageUserOils page;
    page.csv = kept;
    page.message = error.what();
    return page;
  }
}

namespace {

std::string Quoted(std::string_view name) { return "\"" + std::string(TrimBlanks(name)) + "\""; }

// The oils kept after `change` of them, each oil changed or added checked as the tool checks the
// user's oils file's changes (ChangedUserOils); `change` returns what it did ("2 oils added").
// On a refusal, its message and box, and the oils kept as they were.
PageUserOils ChangedKept(const std::string& kept,
                         const std::function<std::string(std::vector<UserOil>&)>& change) {
  try {
    std::string done;
    PageUserOils page = PageOilsOf(
        ChangedUserOils(OilsKept(kept), [&](std::vector<UserOil>& oils) { done = change(oils); }));
    page.summary = done + ": you have " + OilsText(page.oils.size()) + " of your own.";
    return page;
  } catch (const Error& error) {
    PageUserOils page = UserOilsKept(kept);
    page.summary.clear();
    if (page.message.empty()) {
      page.message = error.what();
      page.box = error.subject() == "name" ? "user-name" : BoxOf(error);
    }
    return page;
  }
}

// The oil typed, its values read and refused as the tool reads and refuses an oil's options
// (an oil no line runs through, one no thinner at 100 °C, a gravity outside 0.5 to 3).
UserOil UserOilOf(const PageUserOil& typed) {
  const TypedOil values = OilOfTexts(typed.visc40, typed.visc100, Law::Walther);
  UserOil oil{typed.name, values.nu40, values.nu100, std::nullopt, typed.note};
  if (Typed(typed.gravity)) {
    oil.gravity = TextToNumber(typed.gravity, kGravityName);
    CheckToolsGravity(*oil.gravity, typed.gravity);
  }
  return oil;
}

// The place of the oil named `name` among `oils`; Error(BadInput) about the name when none is.
std::vector<UserOil>::iterator NamedOil(std::vector<UserOil>& oils, const std::string& name) {
  const UserOil* found = FindUserOil(oils, name);
  if (!found) {
    throw Error(ErrorKind::BadInput, "You have no oil named " + Quoted(name) + ".", "name");
  }
  return oils.begin() + (found - oils.data());
}

}  // namespace

PageUserOils ImportUserOils(const std::string& kept, const std::string& file,
                            const std::string& source) {
  return ChangedKept(kept, [&](std::vector<UserOil>& oils) {
    const UserOilLibrary imported = ParseUserOilsStrictly(file, source);
    AppendImportedOils(oils, imported, source);
    return OilsText(imported.oils.size()) + " added";
  });
}

PageUserOils AddUserOil(const std::string& kept, const PageUserOil& oil) {
  return ChangedKept(kept, [&](std::vector<UserOil>& oils) {
    oils.push_back(UserOilOf(oil));
    return Quoted(oil.name) + " added";
  });
}

PageUserOils ChangeUserOil(const std::string& kept, const std::string& name,
                           const PageUserOil& oil) {
  return ChangedKept(kept, [&](std::vector<UserOil>& oils) {
    const auto at = NamedOil(oils, name);
    *at = UserOilOf(oil);
    return Quoted(oil.name) + " saved";
  });
}

PageUserOils RemoveUserOil(const std::string& kept, const std::string& name) {
  return ChangedKept(kept, [&](std::vector<UserOil>& oils) {
    const auto at = NamedOil(oils, name);
    const std::string removed = Quoted(at->name) + " removed";
    oils.erase(at);
    return removed;
  });
}

}  // namespace project1::web
