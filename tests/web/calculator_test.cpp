#include "web/calculator.h"

#include <gtest/gtest.h>

#include "bearing/bearing.h"
#include "bearing/life.h"
#include "engine/fit_points.h"
#include "engine/oil_properties.h"
#include "engine/viscosity_line.h"
#include "numtext/numtext.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace project1::web {
namespace {

PageInputs Starting() { return {"320", "35", "71", "150", "0.87", "", "walther"}; }

// One failing step of each kind, and each of the tool's refusals, which come before any result:
// the box the page marks, the results shown before it, and a part of the message.
struct FailingStep {
  std::string name;
  std::string PageInputs::*input;
  std::string text;
  std::string box;
  std::size_t shown;
  std::string message;
};

const std::vector<FailingStep> kFailingSteps = {
    {"Reading", &PageInputs::visc40, "3x0", "visc40", 0, "3x0"},
    {"Fitting", &PageInputs::visc100, "0.1", "visc100", 0, "0.1"},
    {"FirstTemperature", &PageInputs::temp1, "-300", "temp1", 0, "-300"},
    {"SecondTemperature", &PageInputs::temp2, "-300", "temp2", 1, "-300"},
    {"ThickerWhenHot", &PageInputs::visc100, "320", "visc100", 0,
     "The viscosity at 100 °C (320) must be below the one at 40 °C (320)."},
    {"NoGravity", &PageInputs::gravity, "0", "gravity", 0,
     "The specific gravity must be from 0.5 to 3; it is 0."},
    {"HugeGravity", &PageInputs::gravity, "1e308", "gravity", 0, "from 0.5 to 3"},
    {"DensityForGravity", &PageInputs::gravity, "870", "gravity", 0,
     "870 is a density: did you mean a specific gravity of 0.871?"},
    {"CommaInGravity", &PageInputs::gravity, "1,320", "gravity", 0, "did you mean 1.320?"},
    // A temperature with a unit's letter is read by the tool's rule, before any result.
    {"BelowAbsoluteZeroInF", &PageInputs::temp2, "-500F", "temp2", 0,
     "\"-500F\" is at or below absolute zero"},
    {"NotANumberInK", &PageInputs::temp1, "3x0K", "temp1", 0, "3x0K"},
};

TEST(CalculatePageTest, EachFailingStepNamesItsBoxAndKeepsWhatCameBefore) {
  for (const std::string law : {"walther", "d341"}) {
    for (const FailingStep& step : kFailingSteps) {
      SCOPED_TRACE(step.name + " by " + law);
      PageInputs inputs = Starting();
      inputs.law = law;
      inputs.*step.input = step.text;
      const PageOutcome page = CalculatePage(inputs);
      EXPECT_EQ(page.box, step.box);
      EXPECT_NE(page.message.find(step.message), std::string::npos) << page.message;
      EXPECT_EQ(page.shown.size(), step.shown);
      // Nothing of a success is set.
      EXPECT_TRUE(page.table.empty());
      EXPECT_TRUE(page.chart_svg.empty());
      EXPECT_TRUE(page.properties.empty());
    }
  }
}

// The window accepts this and computes all four results; the index, which cannot be computed,
// says so in its place, and the page still gets its answer.
TEST(CalculatePageTest, ResultsBeyondAnyOilStillGiveAnAnswer) {
  PageInputs inputs = Starting();
  inputs.temp1 = "1e308";
  const PageOutcome page = CalculatePage(inputs);
  EXPECT_EQ(page.message, "");
  EXPECT_EQ(page.shown.size(), 4u);
  const auto property =
      std::find_if(page.properties.begin(), page.properties.end(),
                   [&](const PageProperty& p) { return p.name == "Viscosity index"; });
  ASSERT_NE(property, page.properties.end());
  EXPECT_FALSE(property->value.empty());
}

TEST(CalculatePageTest, ATableRowThatFailsNamesNoBoxAndShowsAllFourResults) {
  const PageOutcome page = CalculatePage({"100000", "1", "71", "150", "0.87", "", "walther"});
  EXPECT_EQ(page.box, "");
  EXPECT_EQ(page.message,
            "The viscosity at -40 °C is too large to compute: the viscosity-temperature line is "
            "too steep there.");
  EXPECT_EQ(page.shown, (std::vector<std::string>{"7.221", ".449", ".00000091", ".00000006"}));
}

TEST(CalculatePageTest, ASuccessGivesTheWindowsTextsTableCopyAndProperties) {
  PageInputs inputs = Starting();
  inputs.picked = "SHC 632";
  const PageOutcome page = CalculatePage(inputs);
  ASSERT_EQ(page.message, "");
  EXPECT_EQ(page.shown, (std::vector<std::string>{"85.642", "11.987", ".0000108", ".00000151"}));
  EXPECT_TRUE(page.table.starts_with(" Temp, C\t viscosity, cSt\r\n-40.0\t412,753.932\r\n"));
  EXPECT_TRUE(page.table.ends_with("250.0\t3.527\r\n"));
  EXPECT_TRUE(
      page.results.ends_with("\n320\t35\t71\t150\t0.87\t85.642\t11.987\t.0000108\t.00000151\n"));
  std::vector<std::string> properties;
  for (const PageProperty& property : page.properties) {
    properties.push_back(property.name + ": " + property.value);
  }
  EXPECT_EQ(properties,
            (std::vector<std::string>{"Oil: SHC 632", "Viscosity index: 155",
                                      "ISO grade: ISO VG 320", "ν40: 320 cSt", "ν100: 35 cSt",
                                      "Dynamic viscosity at 71 °C: 74.44 mPa·s",
                                      "Dynamic viscosity at 150 °C: 10.419 mPa·s"}));
  EXPECT_NE(page.chart_svg.find("SHC 632"), std::string::npos);
  EXPECT_EQ(page.numbers.at(0), "85.64225480923383");

  // Without the chart, everything else is the same.
  PageOutcome without = CalculatePage(inputs, false);
  EXPECT_TRUE(without.chart_svg.empty());
  EXPECT_TRUE(without.chart_description.empty());
  without.chart_svg = page.chart_svg;
  without.chart_description = page.chart_description;
  EXPECT_EQ(without.shown, page.shown);
  EXPECT_EQ(without.table, page.table);
  EXPECT_EQ(without.results, page.results);
  EXPECT_EQ(without.properties.size(), page.properties.size());
}

// A reference temperature in °F or K is calculated at its degrees C, and copied in them.
TEST(CalculatePageTest, ATemperatureInFOrKIsTheSameAsInC) {
  const PageOutcome celsius = CalculatePage(Starting());
  for (const auto& [temp1, temp2] : {std::pair{"159.8F", "423.15K"}, {"71 c", "302 f"}}) {
    PageInputs inputs = Starting();
    inputs.temp1 = temp1;
    inputs.temp2 = temp2;
    const PageOutcome page = CalculatePage(inputs);
    ASSERT_EQ(page.message, "") << temp1;
    EXPECT_EQ(page.shown, celsius.shown) << temp1;
    EXPECT_EQ(page.table, celsius.table) << temp1;
    EXPECT_EQ(page.results.find(temp1), std::string::npos) << page.results;
    EXPECT_EQ(page.properties.back().value, celsius.properties.back().value) << temp1;
  }
}

// One of the user's oils picked is named in the properties and the chart while the boxes hold its
// values (any gravity for one kept without), as a catalogue oil is.
TEST(CalculatePageTest, AUsersOilPickedIsNamedWhileTheBoxesHoldItsValues) {
  const std::string kept = "name,v40,v100,sg,note\n<b>A</b>,320,35,,\nB,320,35,0.9,\n";
  const struct {
    std::string picked;
    std::string visc100;
    std::string named;
  } kCases[] = {{"<b>A</b>", "35", "<b>A</b>"}, {"<b>A</b>", "35.1", "Oil"}, {"B", "35", "Oil"}};
  for (const auto& [picked, visc100, named] : kCases) {
    PageInputs inputs = Starting();
    inputs.picked = picked;
    inputs.visc100 = visc100;
    inputs.kept = kept;
    const PageOutcome page = CalculatePage(inputs);
    ASSERT_EQ(page.message, "") << picked;
    EXPECT_EQ(page.properties.front().value, named) << picked << " " << visc100;
    EXPECT_EQ(page.chart_svg.find("<b>"), std::string::npos);
  }
}

// The law is among the inputs, so it changes every answer: the boxes, the mPa·s rows, the copied
// results, the table and the chart.
TEST(CalculatePageTest, TheLawChangesEveryAnswer) {
  const PageOutcome walther = CalculatePage(Starting());
  PageInputs inputs = Starting();
  inputs.law = "d341";
  const PageOutcome d341 = CalculatePage(inputs);
  ASSERT_EQ(d341.message, "");
  ASSERT_EQ(d341.shown.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_NE(d341.shown[i], walther.shown[i]) << i;
  for (std::size_t i = 0; i < d341.numbers.size(); ++i) {
    EXPECT_NE(d341.numbers[i], walther.numbers[i]) << i;
  }
  EXPECT_NE(d341.table, walther.table);
  EXPECT_TRUE(d341.table.starts_with(" Temp, C\t viscosity, cSt\r\n-40.0\t"));
  EXPECT_TRUE(d341.table.ends_with("\r\n"));
  EXPECT_NE(d341.results, walther.results);
  EXPECT_NE(d341.results.find(d341.shown[0]), std::string::npos);
  EXPECT_NE(d341.chart_svg, walther.chart_svg);
  ASSERT_EQ(d341.properties.size(), walther.properties.size());
  // The oil, index, grade and its two viscosities are the law's inputs; the mPa·s rows its results.
  for (std::size_t i = 0; i < d341.properties.size(); ++i) {
    EXPECT_EQ(d341.properties[i].value == walther.properties[i].value, i < 5) << i;
  }

  inputs.law = "Walther";
  const PageOutcome unknown = CalculatePage(inputs);
  EXPECT_NE(unknown.message.find("Walther"), std::string::npos) << unknown.message;
  EXPECT_TRUE(unknown.shown.empty());
}

TEST(PageOilsTest, TheTenOilsFillTheWindowsTextsAndOtherFillsNothing) {
  const std::vector<PageOil> oils = PageOils();
  ASSERT_EQ(oils.size(), 11U);
  EXPECT_EQ(oils.front().name, "SHC 624");
  EXPECT_EQ(oils.front().visc100, "5.8");
  EXPECT_EQ(oils.front().gravity, "0.85");
  EXPECT_EQ(oils[6].visc40, "320");
  EXPECT_EQ(oils.back().name, "OTHER");
  EXPECT_EQ(oils.back().visc40, "");
}

TEST(TemperatureForViscosityTest, AnswersInDegreesOrWithTheMessage) {
  const struct {
    const char* visc100;
    const char* law;
    const char* kinematic;
    std::string text;
    bool failed;
  } cases[] = {
      {"35", "walther", "35", "100.0 °C", false},
      {"35", "walther", "320", "40.0 °C", false},
      {"35", "walther", "20", "123.379 °C", false},
      {"35", "walther", "x", "", true},
      {"35", "other", "20", "", true},
      {"0.4", "walther", "20", "", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.law) + " " + c.kinematic);
    const PageAnswer answer = TemperatureForViscosity("320", c.visc100, c.law, c.kinematic);
    EXPECT_EQ(answer.text, c.text);
    EXPECT_EQ(answer.message.empty(), !c.failed);
  }
}

TEST(Nu100ForIndexTextTest, ReadsBackAsTheNumberFoundOrSaysWhyNot) {
  const struct {
    const char* visc40;
    const char* index;
    bool found;
  } cases[] = {
      {"320", "155", true}, {"46", "-40", true}, {"5", "100000", false},
      {"320", "x", false},  {"x", "100", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.visc40) + " " + c.index);
    const PageAnswer answer = Nu100ForIndexText(c.visc40, c.index);
    EXPECT_EQ(answer.message.empty(), c.found) << answer.message;
    if (!c.found) continue;
    // The box's text gives the oil that index, not a rounded neighbour of it.
    const std::optional<ViscosityIndex> index =
        ViscosityIndexOf(std::stod(c.visc40), std::stod(answer.text));
    ASSERT_TRUE(index.has_value());
    EXPECT_NEAR(index->unrounded, std::stod(c.index), 1e-6);
  }
}

PageRowsInputs RowsStarting() {
  PageRowsInputs inputs;
  inputs.visc40 = "320";
  inputs.visc100 = "35";
  inputs.gravity = "0.87";
  inputs.temperatures = "40 212F 373.15K";
  return inputs;
}

// Each box of the answers beyond the window's refuses its own faults, beside itself; the oil's
// boxes refuse as the calculation does.
TEST(PageRowsTest, EachBoxRefusesBesideItself) {
  const struct {
    std::string PageRowsInputs::*input;
    std::string text;
    std::string box;
  } cases[] = {
      {&PageRowsInputs::temperatures, "", "temperatures"},
      {&PageRowsInputs::temperatures, "40 x", "temperatures"},
      {&PageRowsInputs::temperatures, "-300", "temperatures"},
      {&PageRowsInputs::unit, "R", "unit"},
      {&PageRowsInputs::from, "warm", "from"},
      {&PageRowsInputs::to, "-50", "to"},
      {&PageRowsInputs::step, "0", "step"},
      {&PageRowsInputs::step, "0.0001", "step"},
      {&PageRowsInputs::visc100, "400", "visc100"},
      {&PageRowsInputs::gravity, "870", "gravity"},
      {&PageRowsInputs::law, "Walther", ""},
      {&PageRowsInputs::expansion, "0.01", "expansion"},
      {&PageRowsInputs::expansion, "-0.0007", "expansion"},
      {&PageRowsInputs::expansion, "7e-4x", "expansion"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.box + " " + c.text);
    PageRowsInputs inputs = RowsStarting();
    inputs.*c.input = c.text;
    // The list reads the temperatures, the table its range: each is asked what it reads.
    const bool of_list = c.box == "temperatures";
    const PageRows rows = of_list ? RowsAtTemperatures(inputs) : TableRows(inputs);
    EXPECT_EQ(rows.box, c.box);
    EXPECT_FALSE(rows.message.empty());
    EXPECT_TRUE(rows.rows.empty());
    if (!of_list && c.box != "from" && c.box != "to" && c.box != "step") {
      EXPECT_EQ(RowsAtTemperatures(inputs).box, c.box);
    }
  }
}

TEST(PageRowsTest, TemperaturesInAnyUnitAndATableThatEndsOnItsLastTemperature) {
  PageRowsInputs inputs = RowsStarting();
  inputs.unit = "F";
  const PageRows at = RowsAtTemperatures(inputs);
  ASSERT_EQ(at.message, "");
  ASSERT_EQ(at.rows.size(), 3u);
  EXPECT_EQ(at.columns.front(), "Temperature, °F");
  // 40 °C, 212 °F and 373.15 K are 104 °F and twice the oil's 100 °C viscosity.
  EXPECT_EQ(at.rows[0][0], "104.0");
  EXPECT_EQ(at.rows[0][1], "320.000");
  EXPECT_EQ(at.rows[1][1], "35.000");
  EXPECT_EQ(at.rows[2][1], "35.000");
  EXPECT_EQ(at.rows[0].size(), 4u);

  inputs.unit = "C";
  inputs.from = "0";
  inputs.to = "12";
  const PageRows table = TableRows(inputs);
  ASSERT_EQ(table.message, "");
  std::vector<std::string> temperatures;
  for (const auto& row : table.rows) temperatures.push_back(row[0]);
  EXPECT_EQ(temperatures, (std::vector<std::string>{"0.0", "5.0", "10.0", "12.0"}));
  EXPECT_EQ(TableRows(RowsStarting()).rows.size(), 59u);
}

// With an expansion coefficient, the dynamic viscosity by the gravity at each temperature, as the
// tool's: the same at 15 °C, thinner by the oil's expansion above it.
TEST(PageRowsTest, AnExpandingOilsDynamicViscosityIsByItsGravityAtEachTemperature) {
  PageRowsInputs inputs = RowsStarting();
  inputs.temperatures = "15 100";
  const PageRows fixed = RowsAtTemperatures(inputs);
  inputs.expansion = "0.00065";
  const PageRows expanding = RowsAtTemperatures(inputs);
  ASSERT_EQ(expanding.message, "");
  EXPECT_EQ(expanding.numbers[0], fixed.numbers[0]);
  const double nu = KinematicAt(FitLine40100(Law::Walther, 320, 35), 100);
  EXPECT_EQ(expanding.numbers[1][2], ShortestText(DynamicReyn(nu, GravityAt(0.87, 0.00065, 100))));
  EXPECT_EQ(expanding.numbers[1][1], fixed.numbers[1][1]);
}

}  // namespace
}  // namespace project1::web

namespace project1::web {
namespace {

// The oil of the starting boxes in a roller bearing of 380 mm at 500 r/min, running at 100 °C,
// with its loads.
PageBearingInputs StartingBearing() {
  PageBearingInputs in;
  in.visc40 = "320";
  in.visc100 = "35";
  in.dm = "380";
  in.speed = "500";
  in.temperature = "100";
  in.type = "roller";
  in.rating = "1600";
  in.load = "200";
  in.fatigue_load = "140";
  in.cleanliness = "normal";
  return in;
}

// Each box's refusal, beside that box, in the tool's words with the page's names.
struct BearingRefusal {
  std::string name;
  std::vector<std::pair<std::string PageBearingInputs::*, std::string>> typed;
  std::string box;
  std::string message;
};

const std::vector<BearingRefusal> kBearingRefusals = {
    {"Visc40", {{&PageBearingInputs::visc40, "x"}}, "visc40", "\"x\""},
    {"ThickerWhenHot",
     {{&PageBearingInputs::visc100, "400"}},
     "visc100",
     "The viscosity at 100 °C (400) must be below the one at 40 °C (320)."},
    {"NoDiameter",
     {{&PageBearingInputs::dm, "0"}},
     "dm",
     "The mean diameter must be above 0 mm; it is 0."},
    {"DiameterText", {{&PageBearingInputs::dm, "38o"}}, "dm", "\"38o\""},
    {"NegativeSpeed",
     {{&PageBearingInputs::speed, "-5"}},
     "speed",
     "The speed must be above 0 r/min; it is -5."},
    {"BelowAbsoluteZero", {{&PageBearingInputs::temperature, "-300"}}, "running", "-300"},
    {"Type",
     {{&PageBearingInputs::type, "needle"}},
     "bearing-type",
     "The bearing type \"needle\" is not one of ball, roller, thrust-ball, thrust-roller."},
    {"RatingAlone",
     {{&PageBearingInputs::load, ""}, {&PageBearingInputs::fatigue_load, ""}},
     "load",
     "The dynamic load rating C is given without the load P."},
    {"LoadAlone",
     {{&PageBearingInputs::rating, " "}, {&PageBearingInputs::fatigue_load, ""}},
     "rating",
     "The load P is given without the dynamic load rating C."},
    {"FatigueLoadAlone",
     {{&PageBearingInputs::rating, ""}, {&PageBearingInputs::load, ""}},
     "rating",
     "The fatigue load limit C_u is given without the dynamic load rating C and the load P."},
    {"NoFatigueLoad",
     {{&PageBearingInputs::fatigue_load, ""}},
     "fatigue",
     "The cleanliness is given without the fatigue load limit C_u."},
    {"RatingBelowLoad",
     {{&PageBearingInputs::rating, "100"}},
     "rating",
     "The dynamic load rating C (100 kN) must not be below the load P (200 kN)."},
    {"NoLoad",
     {{&PageBearingInputs::load, "0"}},
     "load",
     "The load P must be above 0 kN; it is 0."},
    {"NoFatigueLimit", {{&PageBearingInputs::fatigue_load, "0"}}, "fatigue", "C_u must be above 0"},
    {"Reliability",
     {{&PageBearingInputs::reliability, "93"}},
     "reliability",
     "The reliability must be one of 90, 95, 96, 97, 98 and 99 %; it is 93."},
    {"Cleanliness", {{&PageBearingInputs::cleanliness, "clean"}}, "cleanliness", "\"clean\""},
};

class BearingRefusalTest : public testing::TestWithParam<BearingRefusal> {};

TEST_P(BearingRefusalTest, IsShownBesideItsBoxWithNoAnswer) {
  PageBearingInputs in = StartingBearing();
  for (const auto& [input, text] : GetParam().typed) in.*input = text;
  const PageBearing page = BearingOfPage(in);
  EXPECT_EQ(page.box, GetParam().box);
  EXPECT_NE(page.message.find(GetParam().message), std::string::npos) << page.message;
  EXPECT_EQ(page.rated, "");
  EXPECT_TRUE(page.numbers.empty());
}

INSTANTIATE_TEST_SUITE_P(EachBox, BearingRefusalTest, testing::ValuesIn(kBearingRefusals),
                         [](const auto& info) { return info.param.name; });

// The numbers the tool's `viscosity bearing` gives for the same bearing, from the functions it
// calls with its options.
std::vector<std::string> ToolsBearingNumbers(double nu40, double nu100, double dm, double speed,
                                             double t, std::optional<LifeInputs> life) {
  const ViscosityLine line = FitLine40100(Law::Walther, nu40, nu100);
  const double rated = RatedViscosity(dm, speed);
  const double nu = KinematicAt(line, t);
  const double kappa = Kappa(nu, rated);
  const OperatingRange range = OperatingRangeOf(line, rated);
  std::vector<std::string> numbers = {ShortestText(rated), ShortestText(nu), ShortestText(kappa),
                                      ShortestText(range.kappa_1_temperature_c),
                                      ShortestText(range.kappa_4_temperature_c)};
  if (life) {
    const BasicLife basic = BasicLifeOf(*life);
    const ModifiedLife at = ModifiedLifeAt(*life, basic, kappa);
    numbers.push_back(ShortestText(basic.basic_rating_life_hours));
    for (const auto& value : {at.a_iso, at.modified_rating_life_hours}) {
      numbers.push_back(value ? ShortestText(*value) : "");
    }
  }
  return numbers;
}

TEST(BearingOfPageTest, GivesTheToolsNumbersWithAndWithoutLoads) {
  LifeInputs life;
  life.type = BearingType::Roller;
  life.rating_kn = 1600;
  life.load_kn = 200;
  life.speed_rpm = 500;
  life.reliability_percent = 95;
  life.contamination = ContaminationFactor(Cleanliness::Normal, 380);
  life.fatigue_load_kn = 140;
  PageBearingInputs in = StartingBearing();
  in.reliability = "95";
  const PageBearing loaded = BearingOfPage(in);
  EXPECT_EQ(loaded.message, "");
  EXPECT_EQ(loaded.numbers, ToolsBearingNumbers(320, 35, 380, 500, 100, life));
  EXPECT_EQ(loaded.band, KappaBandText(KappaBand::OneTo4));
  EXPECT_EQ(loaded.life_note, "");

  in.rating = in.load = in.fatigue_load = "";
  in.temperature = "212F";  // 100 °C
  const PageBearing bare = BearingOfPage(in);
  EXPECT_EQ(bare.numbers, ToolsBearingNumbers(320, 35, 380, 500, 100, std::nullopt));
  EXPECT_EQ(bare.basic_life, "");
  EXPECT_EQ(bare.modified_life, "");
}

TEST(BearingOfPageTest, BelowTheLifeMethodShowsNoModifiedLifeAndSaysWhy) {
  PageBearingInputs in = StartingBearing();
  in.dm = "20";
  in.speed = "100";
  in.temperature = "250";
  const PageBearing page = BearingOfPage(in);
  EXPECT_EQ(page.message, "");
  EXPECT_EQ(page.a_iso, kNoValueText);
  EXPECT_EQ(page.modified_life, kNoValueText);
  EXPECT_EQ(page.life_note, kBelowLifeMethod);
  EXPECT_NE(page.basic_life, "");
}

}  // namespace
}  // namespace project1::web

namespace project1::web {
namespace {

constexpr std::string_view kKept = "name,v40,v100,sg,note\nGear 220,220,19,0.89,\n";

// Each refusal of an imported file: its message with the file's line, and the oils kept as they
// were.
struct ImportRefusal {
  std::string name;
  std::string file;
  std::string message;
};

const std::vector<ImportRefusal> kImportRefusals = {
    {"BadNumber", "name,v40,v100\nA,46,6.8\nB,4x6,7\n", "mine.csv line 3: v40 \"4x6\""},
    {"NoHeader", "A,46,6.8\n", "mine.csv line 1: the header must name"},
    {"TwiceInTheFile", "name,v40,v100\nA,46,6.8\na,68,8\n", "mine.csv line 3: the name"},
    {"KeptAlready", "name,v40,v100\nA,46,6.8\ngear 220,68,8\n",
     "mine.csv line 3: You already have an oil named \"Gear 220\"."},
    {"CatalogueName", "name,v40,v100\nOTHER,46,6.8\n", "mine.csv line 2: \"OTHER\""},
    {"Formula", "name,v40,v100\n=A1,46,6.8\n", "mine.csv line 2: The name \"=A1\" begins"},
    // The tool's refusals of an oil it is given, as its `oils import` makes them.
    {"ThickerWhenHot", "name,v40,v100\nA,46,6.8\nB,46,60\n",
     "mine.csv line 3: The viscosity at 100 °C (60) must be below"},
    {"DensityForGravity", "name,v40,v100,sg\nA,46,6.8,870\n", "mine.csv line 2: sg must be"},
};

class ImportRefusalTest : public testing::TestWithParam<ImportRefusal> {};

TEST_P(ImportRefusalTest, SaysTheLineAndKeepsTheOilsKept) {
  const PageUserOils page = ImportUserOils(std::string(kKept), GetParam().file, "mine.csv");
  EXPECT_NE(page.message.find(GetParam().message), std::string::npos) << page.message;
  EXPECT_EQ(page.csv, kKept);
  ASSERT_EQ(page.oils.size(), 1u);
  EXPECT_EQ(page.oils[0].name, "Gear 220");
}

INSTANTIATE_TEST_SUITE_P(EachProblem, ImportRefusalTest, testing::ValuesIn(kImportRefusals),
                         [](const auto& info) { return info.param.name; });

TEST(ImportUserOilsTest, AddsTheFilesOilsAfterThoseKeptInTheDesktopsText) {
  const PageUserOils page = ImportUserOils(
      std::string(kKept), "Note,V100,name,v40\n\"a, b\",6.8, Hydraulic 46 ,46\n", "mine.csv");
  EXPECT_EQ(page.message, "");
  EXPECT_EQ(page.csv, std::string(kKept) + "Hydraulic 46,46,6.8,,\"a, b\"\n");
  ASSERT_EQ(page.oils.size(), 2u);
  EXPECT_EQ(page.oils[1].name, "Hydraulic 46");
  EXPECT_EQ(page.oils[1].gravity, "");
  EXPECT_EQ(page.summary, "1 oil added: you have 2 oils of your own.");
  // What is kept reads back as the same oils.
  EXPECT_EQ(UserOilsKept(page.csv).csv, page.csv);
}

PageUserOil Typed(std::string name, std::string visc40 = "46", std::string visc100 = "6.8",
                  std::string gravity = "0.87") {
  return {std::move(name), std::move(visc40), std::move(visc100), std::move(gravity), "tank 2"};
}

// Each refusal of an oil added, changed or removed in the page: its message beside its box, and
// the oils kept as they were.
TEST(UserOilChangeTest, EachRefusalIsBesideItsBoxAndKeepsTheOilsKept) {
  const std::string kept(kKept);
  const struct {
    std::string name;
    PageUserOils page;
    std::string box;
    std::string message;
  } kRefusals[] = {
      {"NoName", AddUserOil(kept, Typed(" ")), "user-name", "An oil's name may not be empty."},
      {"KeptAlready", AddUserOil(kept, Typed("gear 220")), "user-name",
       "You already have an oil named \"Gear 220\"."},
      {"CatalogueName", AddUserOil(kept, Typed("shc 632")), "user-name", "a catalogue oil's name"},
      {"Formula", AddUserOil(kept, Typed("+A")), "user-name", "begins with \"+\""},
      {"NotANumber", AddUserOil(kept, Typed("B", "4x6")), "visc40", "4x6"},
      {"NoLine", AddUserOil(kept, Typed("B", "46", "0")), "visc100", "0"},
      {"ThickerWhenHot", AddUserOil(kept, Typed("B", "46", "60")), "visc100",
       "The viscosity at 100 °C (60) must be below the one at 40 °C (46)."},
      {"DensityForGravity", AddUserOil(kept, Typed("B", "46", "6.8", "870")), "gravity",
       "870 is a density"},
      {"RenamedOntoAnother",
       ChangeUserOil(AddUserOil(kept, Typed("B")).csv, "B", Typed("Gear 220")), "user-name",
       "You already have an oil named \"Gear 220\"."},
      {"ChangedNotKept", ChangeUserOil(kept, "B", Typed("B")), "user-name",
       "You have no oil named \"B\"."},
      {"RemovedNotKept", RemoveUserOil(kept, "B"), "user-name", "You have no oil named \"B\"."},
  };
  for (const auto& refusal : kRefusals) {
    SCOPED_TRACE(refusal.name);
    EXPECT_EQ(refusal.page.box, refusal.box);
    EXPECT_NE(refusal.page.message.find(refusal.message), std::string::npos)
        << refusal.page.message;
    EXPECT_EQ(refusal.page.summary, "");
    if (refusal.name != "RenamedOntoAnother") EXPECT_EQ(refusal.page.csv, kept);
  }
}

// An oil added, changed (renamed, its values and note) and removed, each kept as the desktop's
// oils file keeps it.
TEST(UserOilChangeTest, AddsChangesAndRemovesAsTheOilsFileKeepsThem) {
  const PageUserOils added =
      AddUserOil(std::string(kKept), Typed(" Hydraulic 46 ", "46", "6.8", ""));
  ASSERT_EQ(added.message, "");
  EXPECT_EQ(added.csv, std::string(kKept) + "Hydraulic 46,46,6.8,,tank 2\n");
  EXPECT_EQ(added.summary, "\"Hydraulic 46\" added: you have 2 oils of your own.");
  ASSERT_EQ(added.oils.size(), 2u);
  EXPECT_EQ(added.oils[1].note, "tank 2");

  PageUserOil changed = Typed("Hydraulic 46, tank 3", "46.5", "7", "0.88");
  changed.note = "";
  const PageUserOils saved = ChangeUserOil(added.csv, "hydraulic 46", changed);
  ASSERT_EQ(saved.message, "");
  EXPECT_EQ(saved.csv, std::string(kKept) + "\"Hydraulic 46, tank 3\",46.5,7,0.88,\n");
  EXPECT_EQ(saved.summary, "\"Hydraulic 46, tank 3\" saved: you have 2 oils of your own.");

  const PageUserOils removed = RemoveUserOil(saved.csv, "Gear 220");
  ASSERT_EQ(removed.message, "");
  EXPECT_EQ(removed.csv, "name,v40,v100,sg,note\n\"Hydraulic 46, tank 3\",46.5,7,0.88,\n");
  EXPECT_EQ(removed.summary, "\"Gear 220\" removed: you have 1 oil of your own.");
}

TEST(UserOilsKeptTest, AKeptTextThatCannotBeReadIsKeptAsItIsAndSaysWhy) {
  const std::string broken = "name,v40,v100\nA,46,\n";
  const PageUserOils page = UserOilsKept(broken);
  EXPECT_NE(page.message.find("line 2"), std::string::npos) << page.message;
  EXPECT_EQ(page.csv, broken);
  EXPECT_TRUE(page.oils.empty());
  EXPECT_TRUE(UserOilsKept("").oils.empty());
  EXPECT_EQ(ImportUserOils(broken, "name,v40,v100\nB,46,6.8\n", "mine.csv").csv, broken);
}

}  // namespace
}  // namespace project1::web

namespace project1::web {
namespace {

// Each refusal of the points, beside their box.
TEST(FitOfPointsTest, EachRefusalIsBesideThePointsBox) {
  const struct {
    std::string points;
    std::string law;
    std::string message;
  } cases[] = {
      {"", "walther", "Give two or more points"},
      {"40=320", "walther", "Give two or more points"},
      {"40:320 100=35", "walther", "The point \"40:320\" is not T=CST"},
      {"40=320 warm=35", "walther", "\"warm\""},
      {"40=320 100=3x5", "walther", "\"3x5\""},
      {"40=320 40=300 40=200", "walther", "40"},
      {"20=500 40=320 100=400", "walther",
       "The viscosity at 100 °C (400) must be below the one at 40 °C (320)."},
      {"40=320 100=35", "Walther", "Walther"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.points);
    const PageFit fit = FitOfPoints(c.points, c.law);
    EXPECT_EQ(fit.points.box, "points");
    EXPECT_NE(fit.points.message.find(c.message), std::string::npos) << fit.points.message;
    EXPECT_EQ(fit.visc40, "");
    EXPECT_TRUE(fit.points.rows.empty());
  }
}

// The tool's fit for --point: the least-squares line, its viscosities at 40 and 100 °C for the
// oil's boxes, and each point's deviation, the farthest named.
TEST(FitOfPointsTest, GivesTheToolsLineAndEachPointsDeviation) {
  for (const Law law : {Law::Walther, Law::D341}) {
    SCOPED_TRACE(LawName(law));
    const std::vector<ViscosityPoint> points = {{20, 1100}, {40, 320}, {60, 125}, {100, 35}};
    const PageFit fit =
        FitOfPoints(" 20=1100 40=320\t140F=125 373.15K=35", std::string(LawName(law)));
    ASSERT_EQ(fit.points.message, "");
    const ViscosityLine line = FitLine(law, points);
    EXPECT_EQ(fit.visc40, ShortestText(KinematicAt(line, 40)));
    EXPECT_EQ(fit.visc100, ShortestText(KinematicAt(line, 100)));
    const std::vector<double> deviations = DeviationsPercent(line, points);
    ASSERT_EQ(fit.points.numbers.size(), 4u);
    std::size_t farthest = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
      EXPECT_NEAR(std::stod(fit.points.numbers[i][0]), points[i].temperature_c, 1e-9);
      EXPECT_EQ(fit.points.numbers[i][2], ShortestText(KinematicAt(line, points[i].temperature_c)));
      EXPECT_EQ(fit.points.numbers[i][3], ShortestText(deviations[i]));
      if (std::abs(deviations[i]) > std::abs(deviations[farthest])) farthest = i;
    }
    EXPECT_EQ(fit.points.rows[1][1], "320.000");
    EXPECT_TRUE(fit.note.starts_with("Fitted through 4 points; the line is within ")) << fit.note;
    EXPECT_NE(fit.note.find("the point at " + fit.points.rows[farthest][0] + " °C, " +
                            fit.points.rows[farthest][1] + " cSt measured"),
              std::string::npos)
        << fit.note;
    // The boxes' two viscosities give the same line.
    const ViscosityLine boxes = FitLine40100(law, std::stod(fit.visc40), std::stod(fit.visc100));
    EXPECT_NEAR(KinematicAt(boxes, 20), KinematicAt(line, 20), 1e-9 * KinematicAt(line, 20));
  }
  // Two points: the line through them, with no deviations to tell.
  const PageFit two = FitOfPoints("40=320 100=35", "walther");
  EXPECT_NEAR(std::stod(two.visc40), 320, 1e-12 * 320);
  EXPECT_NEAR(std::stod(two.visc100), 35, 1e-12 * 35);
  EXPECT_TRUE(two.points.rows.empty());
  EXPECT_EQ(two.note, "");
}

PageBlendInputs StartingBlend() {
  PageBlendInputs in;
  in.visc40 = "68";
  in.visc100 = "8.7";
  in.second40 = "460";
  in.second100 = "30.6";
  in.at = "40";
  in.fraction = "0.25";
  return in;
}

TEST(BlendOfPageTest, EachRefusalIsBesideItsBox) {
  const struct {
    std::vector<std::pair<std::string PageBlendInputs::*, std::string>> typed;
    std::string box;
    std::string message;
  } cases[] = {
      {{{&PageBlendInputs::visc100, "80"}}, "visc100", "(80) must be below the one at 40 °C (68)"},
      {{{&PageBlendInputs::second40, "4x0"}}, "second40", "\"4x0\""},
      {{{&PageBlendInputs::second40, "0.1"}}, "second40", "0.1"},
      {{{&PageBlendInputs::second100, "0.1"}}, "second100", "0.1"},
      {{{&PageBlendInputs::target, "100"}}, "target", "Give one of a fraction"},
      {{{&PageBlendInputs::fraction, " "}}, "fraction", "Give one of a fraction"},
      {{{&PageBlendInputs::fraction, "1.5"}}, "fraction", "from 0 to 1; it is 1.5."},
      {{{&PageBlendInputs::fraction, ""}, {&PageBlendInputs::target, "1000"}}, "target", "1000"},
      {{{&PageBlendInputs::at, "-300"}}, "blend-at", "-300"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.box + " " + c.typed[0].second);
    PageBlendInputs in = StartingBlend();
    for (const auto& [input, text] : c.typed) in.*input = text;
    const PageBlend page = BlendOfPage(in);
    EXPECT_EQ(page.box, c.box);
    EXPECT_NE(page.message.find(c.message), std::string::npos) << page.message;
    EXPECT_TRUE(page.texts.empty());
  }
}

// A fraction's blend by the tool's functions, and its inverse: the blend's viscosity as a target
// gives the fraction back.
TEST(BlendOfPageTest, GivesTheToolsBlendAndItsInverse) {
  PageBlendInputs in = StartingBlend();
  in.at = "140F";  // 60 °C
  const PageBlend blend = BlendOfPage(in);
  ASSERT_EQ(blend.message, "");
  const double first60 = KinematicAt(FitLine40100(Law::Walther, 68, 8.7), 60);
  const double second60 = KinematicAt(FitLine40100(Law::Walther, 460, 30.6), 60);
  const double nu40 = BlendKinematic(68, 460, 0.25);
  const double nu100 = BlendKinematic(8.7, 30.6, 0.25);
  const double at60 = BlendKinematic(first60, second60, 0.25);
  EXPECT_EQ(blend.numbers, (std::vector<std::string>{
                               "0.25", ShortestText(at60), ShortestText(nu40), ShortestText(nu100),
                               ShortestText(ViscosityIndexOf(nu40, nu100)->unrounded)}));
  EXPECT_EQ(blend.texts.at(0), "0.250000");
  EXPECT_EQ(blend.texts.at(4), std::to_string(ViscosityIndexOf(nu40, nu100)->rounded));

  in.fraction = "";
  in.target = ShortestText(at60);
  const PageBlend inverse = BlendOfPage(in);
  ASSERT_EQ(inverse.message, "");
  EXPECT_NEAR(std::stod(inverse.numbers.at(0)), 0.25, 1e-9);
  EXPECT_EQ(inverse.texts.at(1), blend.texts.at(1));
}

}  // namespace
}  // namespace project1::web
