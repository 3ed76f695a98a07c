// The bearing and grade answers of the `viscosity` tool, and the oil-property refusals and
// number forms every command shares.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "bearing/bearing.h"
#include "bearing/life.h"
#include "engine/oil_properties.h"
#include "engine/viscosity_line.h"
#include "run_tool.h"

namespace project1 {
namespace {

using Json = nlohmann::json;
using Args = std::vector<std::string>;

// The line of text in `text` that holds `part`, or "" when none does.
std::string LineWith(const std::string& text, const std::string& part) {
  const std::size_t at = text.find(part);
  if (at == std::string::npos) return "";
  const std::size_t start =
      text.rfind('\n', at) == std::string::npos ? 0 : text.rfind('\n', at) + 1;
  return text.substr(start, text.find('\n', at) - start);
}

TEST(BearingTool, AnswersKappaAndTheOperatingRangeOnTheEnginesLine) {
  const Json out = RunJson({"bearing", "--bore", "340", "--outside", "420", "--speed", "500",
                            "--at", "40", "100", "130", "--v40", "320", "--v100", "24.5"});
  const double rated = RatedViscosity(380, 500);
  const ViscosityLine line = FitLine40100(Law::Walther, 320, 24.5);
  EXPECT_EQ(out["mean_diameter_mm"], 380);
  EXPECT_EQ(out["speed_rpm"], 500);
  EXPECT_NEAR(out["rated_viscosity_cst"].get<double>(), 13.28, 0.005);
  EXPECT_NEAR(KinematicAt(line, out["kappa_1_temperature_c"].get<double>()), rated, 1e-12 * rated);
  EXPECT_NEAR(KinematicAt(line, out["kappa_4_temperature_c"].get<double>()), 4 * rated,
              4e-12 * rated);
  const char* bands[] = {"4_or_more", "1_to_4", "below_1"};
  ASSERT_EQ(out["points"].size(), 3U);
  for (std::size_t i = 0; i < 3; ++i) {
    const Json& point = out["points"][i];
    SCOPED_TRACE(point.dump());
    const double nu = KinematicAt(line, point["temperature_c"].get<double>());
    EXPECT_EQ(point["kinematic_cst"].get<double>(), nu);
    EXPECT_DOUBLE_EQ(point["kappa"].get<double>(), nu / rated);
    EXPECT_EQ(point["kappa_band"], bands[i]);
  }

  const ToolRun text = Tool({"bearing", "--dm", "380", "--speed", "500", "--at", "130", "--v40",
                             "320", "--v100", "24.5"});
  EXPECT_EQ(text.status, 0) << text.err;
  EXPECT_NE(text.out.find("Rated viscosity ν1  13.279 cSt"), std::string::npos) << text.out;
  EXPECT_NE(LineWith(text.out, "130.0").find("below 1: no separating film"), std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find("κ = 1 at"), std::string::npos);
  EXPECT_NE(text.out.find("κ = 4 at"), std::string::npos);
}

// The worked example: d_m = 72.5 mm at 3,000 r/min on an oil of 20 cSt at 60 °C.
const Args kWorkedExample = {
    "bearing", "--dm",           "72.5",    "--speed",         "3000",     "--at", "60",
    "--point", "60=20",          "--point", "100=7",           "--rating", "55.3", "--load",
    "10",      "--fatigue-load", "1.34",    "--contamination", "0.8"};

TEST(BearingTool, GivesTheWorkedExamplesLifeInEveryFormat) {
  const Json out = RunJson(kWorkedExample);
  EXPECT_NEAR(out["rated_viscosity_cst"].get<double>(), 9.649, 0.0005);
  EXPECT_EQ(out["life_exponent"], 3);
  EXPECT_NEAR(out["basic_rating_life_mrev"].get<double>(), 169.112, 0.0005);
  EXPECT_NEAR(out["basic_rating_life_hours"].get<double>(), 939.5, 0.05);
  EXPECT_EQ(out["reliability_percent"], 90);
  EXPECT_EQ(out["a1"], 1);
  EXPECT_EQ(out["contamination_factor"], 0.8);
  EXPECT_NEAR(out["ec_cu_over_p"].get<double>(), 0.1072, 1e-12);
  const Json& point = out["points"][0];
  EXPECT_NEAR(point["kappa"].get<double>(), 2.073, 0.0005);
  EXPECT_NEAR(point["a_iso"].get<double>(), 4.82, 0.005);
  EXPECT_NEAR(point["modified_rating_life_hours"].get<double>(), 4529, 0.5);
  EXPECT_TRUE(point["note"].is_null());

  // CSV names its columns as JSON names its keys.
  Args csv = kWorkedExample;
  csv.insert(csv.end(), {"--format", "csv"});
  const std::string header = Lines(Tool(csv).out).at(0);
  for (const char* key : {"a_iso", "modified_rating_life_hours", "note", "life_exponent",
                          "basic_rating_life_mrev", "basic_rating_life_hours",
                          "reliability_percent", "a1", "contamination_factor", "ec_cu_over_p"}) {
    EXPECT_NE(("," + header + ",").find("," + std::string(key) + ","), std::string::npos) << key;
  }

  // Text: each value with its unit, and a_ISO and L_nmh in the row of their temperature.
  const ToolRun text = Tool(kWorkedExample);
  EXPECT_EQ(text.status, 0) << text.err;
  EXPECT_EQ(LineWith(text.out, "L10h"), "Basic rating life L10h    939.5 h") << text.out;
  EXPECT_EQ(LineWith(text.out, "L10 "), "Basic rating life L10     169.112 million revolutions");
  EXPECT_EQ(LineWith(text.out, "60.0"),
            "       60.0     20.000  9.649  2.073  4.821  4,529.2  1 to 4: a separating film, "
            "where designs aim");
}

TEST(BearingTool, GivesNoModifiedLifeBelowKappaOneTenthAndSaysWhy) {
  // 10 cSt at 40 °C and 1.5 cSt at 150 °C against 314 cSt: kappa 0.032 and 0.005.
  const Args args = {"bearing",
                     "--dm",
                     "72.5",
                     "--speed",
                     "30",
                     "--at",
                     "40",
                     "150",
                     "--v40",
                     "10",
                     "--v100",
                     "2.7",
                     "--rating",
                     "55.3",
                     "--load",
                     "10",
                     "--fatigue-load",
                     "1.34",
                     "--cleanliness",
                     "high",
                     "--type",
                     "roller",
                     "--reliability",
                     "99"};
  const Json out = RunJson(args);
  EXPECT_EQ(out["contamination_factor"], 0.6);
  EXPECT_EQ(out["a1"], 0.25);
  EXPECT_EQ(out["life_exponent"], 10.0 / 3);
  for (const Json& point : out["points"]) {
    EXPECT_TRUE(point["a_iso"].is_null());
    EXPECT_TRUE(point["modified_rating_life_hours"].is_null());
    EXPECT_EQ(point["note"], kBelowLifeMethod);
  }
  const ToolRun text = Tool(args);
  EXPECT_NE(text.out.find("–: " + std::string(kBelowLifeMethod) + ".\n"), std::string::npos)
      << text.out;
  // Without the life options the answer is as it was: no life in it.
  const Json plain = RunJson(
      {"bearing", "--dm", "72.5", "--speed", "30", "--at", "40", "--v40", "10", "--v100", "2.7"});
  EXPECT_FALSE(plain.contains("life_exponent"));
  EXPECT_FALSE(plain["points"][0].contains("a_iso"));
}

TEST(SelectGradeTool, MarksTheSmallestGradeThatSeparatesTheFilm) {
  struct Case {
    Args args;
    double rated;
    double t;
    double index;
  };
  const Case cases[] = {
      {{"--dm", "380", "--speed", "500", "--at", "70"}, RatedViscosity(380, 500), 70, 95},
      {{"--bore", "20", "--outside", "47", "--speed", "3000", "--at", "90", "--vi", "150"},
       RatedViscosity(33.5, 3000),
       90,
       150},
      {{"--dm", "1", "--speed", "1", "--at", "150"}, RatedViscosity(1, 1), 150, 95},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    Args args = {"select-grade"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Json out = RunJson(args);
    const GradeSelection expected = SelectGrade(c.rated, c.t, c.index);
    EXPECT_DOUBLE_EQ(out["rated_viscosity_cst"].get<double>(), c.rated);
    EXPECT_EQ(out["temperature_c"], c.t);
    EXPECT_EQ(out["viscosity_index"], c.index);
    if (expected.smallest_iso_vg) {
      EXPECT_EQ(out["smallest_iso_vg"], *expected.smallest_iso_vg);
    } else {
      EXPECT_TRUE(out["smallest_iso_vg"].is_null());
    }
    ASSERT_EQ(out["grades"].size(), 20U);
    for (std::size_t i = 0; i < 20; ++i) {
      const Json& grade = out["grades"][i];
      EXPECT_EQ(grade["iso_vg"], expected.grades[i].iso_vg);
      EXPECT_EQ(grade["kappa"].is_null(), !expected.grades[i].kappa.has_value());
      if (expected.grades[i].kappa) {
        EXPECT_EQ(grade["kappa"], *expected.grades[i].kappa);
      }
    }
  }
  EXPECT_TRUE(SelectGrade(RatedViscosity(1, 1), 150).smallest_iso_vg == std::nullopt);

  const ToolRun text = Tool({"select-grade", "--dm", "380", "--speed", "500", "--at", "70"});
  EXPECT_EQ(text.status, 0) << text.err;
  const int smallest = *SelectGrade(RatedViscosity(380, 500), 70).smallest_iso_vg;
  EXPECT_EQ(LineWith(text.out, "← smallest").rfind("VG " + std::to_string(smallest) + " ", 0), 0U)
      << text.out;
  EXPECT_NE(text.out.find("Smallest grade with κ ≥ 1  VG " + std::to_string(smallest)),
            std::string::npos);

  // A grade that reaches κ = 1 only at its nominal ν40 is marked; --basis minimum passes it by.
  const Args at72 = {"select-grade", "--dm", "380", "--speed", "500", "--at", "72"};
  const ToolRun marginal = Tool(at72);
  EXPECT_EQ(LineWith(marginal.out, "marginal").rfind("VG 46 ", 0), 0U) << marginal.out;
  EXPECT_TRUE(LineWith(marginal.out, "marginal").ends_with("← smallest with κ ≥ 1, marginal"));
  Args by_minimum = at72;
  by_minimum.insert(by_minimum.end(), {"--basis", "minimum"});
  const Json chosen = RunJson(by_minimum);
  EXPECT_EQ(chosen["basis"], "minimum");
  EXPECT_EQ(chosen["smallest_iso_vg"], 68);
  EXPECT_EQ(chosen["grades"][8]["marginal"], 1);
  EXPECT_EQ(RunJson(at72)["smallest_iso_vg"], 46);
}

TEST(SelectGradeTool, MarksTheSmallestGradeThatLastsTheLifeAskedFor) {
  const Args args = {"select-grade",  "--dm",   "380",    "--speed",        "500",
                     "--at",          "70",     "--type", "roller",         "--rating",
                     "1600",          "--load", "200",    "--fatigue-load", "140",
                     "--cleanliness", "normal", "--life", "100000"};
  const Json out = RunJson(args);
  LifeInputs inputs;
  inputs.type = BearingType::Roller;
  inputs.rating_kn = 1600;
  inputs.load_kn = 200;
  inputs.speed_rpm = 500;
  inputs.fatigue_load_kn = 140;
  inputs.contamination = 0.6;  // normal, from 100 mm on
  const GradeSelection selection = SelectGrade(RatedViscosity(380, 500), 70);
  const GradeLives lives = GradeLivesOf(selection, inputs, 100000);
  ASSERT_TRUE(lives.smallest_iso_vg.has_value());
  EXPECT_EQ(out["life_hours"], 100000);
  EXPECT_EQ(out["smallest_iso_vg_for_life"], *lives.smallest_iso_vg);
  EXPECT_EQ(out["smallest_iso_vg"], *selection.smallest_iso_vg);
  EXPECT_EQ(out["contamination_factor"], 0.6);
  for (std::size_t i = 0; i < selection.grades.size(); ++i) {
    const Json& hours = out["grades"][i]["modified_rating_life_hours"];
    if (lives.modified_rating_life_hours[i]) {
      EXPECT_EQ(hours, *lives.modified_rating_life_hours[i]);
    } else {
      EXPECT_TRUE(hours.is_null());
    }
  }
  // CSV marks the one row; text marks it with the hours asked for.
  Args csv = args;
  csv.insert(csv.end(), {"--format", "csv"});
  const std::vector<std::string> lines = Lines(Tool(csv).out);
  int marked = 0;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].find(",0,1,") != std::string::npos ||
        lines[i].find(",1,1,") != std::string::npos) {
      ++marked;
      EXPECT_EQ(lines[i].rfind(std::to_string(*lives.smallest_iso_vg) + ",", 0), 0U) << lines[i];
    }
  }
  EXPECT_EQ(marked, 1);
  EXPECT_EQ(LineWith(Tool(args).out, "← smallest with L_nmh")
                .rfind("VG " + std::to_string(*lives.smallest_iso_vg) + " ", 0),
            0U);
}

TEST(IndexTool, GivesTheSaeGradesOfTheViscosityAt100C) {
  struct Case {
    std::string v100;
    std::vector<std::string> j300;
    Json j306;
    std::string text_j300;
  };
  const Case cases[] = {
      {"6.9", {"12", "16", "20"}, "75", "12, 16, 20"},
      {"14", {"40"}, "90", "40"},
      {"3", {}, nullptr, "none"},
      {"45", {}, "250", "none"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.v100);
    const Json out = RunJson({"index", "--v40", "460", "--v100", c.v100});
    EXPECT_EQ(out["sae_j300_grades"], Json(c.j300));
    EXPECT_EQ(out["sae_j306_grade"], c.j306);
    const ToolRun text = Tool({"index", "--v40", "460", "--v100", c.v100});
    EXPECT_EQ(LineWith(text.out, "SAE J300"), "SAE J300 grades             " + c.text_j300);
    EXPECT_NE(text.out.find("W grades need low-temperature measurements and are not given."),
              std::string::npos);
  }
}

TEST(BearingTool, BadInputExitsTwoNamingTheOptionAndItsValue) {
  const Args oil = {"--v40", "320", "--v100", "24.5"};
  struct Case {
    Args args;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"bearing", "--dm", "0", "--speed", "500", "--at", "40"},
       "--dm must be above 0 mm; it is 0."},
      {{"bearing", "--dm", "380", "--speed", "-5", "--at", "40"},
       "--speed must be above 0 r/min; it is -5."},
      {{"select-grade", "--bore", "420", "--outside", "340", "--speed", "500", "--at", "40"},
       "--bore (420) must be below --outside (340)."},
      {{"select-grade", "--bore", "340", "--outside", "340", "--speed", "500", "--at", "40"},
       "--bore (340) must be below --outside (340)."},
      {{"select-grade", "--bore", "-1", "--outside", "340", "--speed", "500", "--at", "40"},
       "--bore must be above 0 mm; it is -1."},
      {{"select-grade", "--bore", "340", "--speed", "500", "--at", "40"},
       "--bore is given without --outside."},
      {{"select-grade", "--dm", "380", "--outside", "420", "--speed", "500", "--at", "40"},
       "Give the bearing's size as --dm MM or as --bore MM --outside MM, not both."},
      {{"select-grade", "--speed", "500", "--at", "40"},
       "No bearing size given: give --dm MM or --bore MM --outside MM."},
      {{"select-grade", "--dm", "380", "--at", "40"}, "No speed given: give --speed RPM."},
      {{"select-grade", "--dm", "380", "--speed", "500"}, "No temperature given: give --at T."},
      {{"select-grade", "--dm", "380", "--speed", "fast", "--at", "40"},
       "--speed \"fast\" is not a number."},
      {{"select-grade", "--dm", "380", "--speed", "500", "--at", "40", "--vi", "high"},
       "--vi \"high\" is not a number."},
      {{"select-grade", "--dm", "380", "--speed", "500", "--at", "40", "--basis", "max"},
       "--basis \"max\" is not one of nominal, minimum."},
      {{"bearing", "--dm", "380", "--speed", "500", "--at", "40", "--v40", "10", "--v100", "20"},
       "The viscosity at 100 °C (20) must be below the one at 40 °C (10)."},
      // The oil-property refusals every command shares.
      {{"index", "--v40", "10", "--v100", "20"},
       "The viscosity at 100 °C (20) must be below the one at 40 °C (10)."},
      {{"index", "--point", "50=10", "--point", "80=20"},
       "The viscosity at 80 °C (20) must be below the one at 50 °C (10)."},
      {{"bearing", "--dm", "380", "--speed", "500", "--at", "40", "--point", "80=9", "--point",
        "20=9"},
       "The viscosity at 80 °C (9) must be below the one at 20 °C (9)."},
      // The life's options, each refusal naming the option and its value, or the piece missing.
      {{"bearing", "--dm", "72.5", "--speed", "3000", "--rating", "50", "--load", "0", "--at",
        "40"},
       "--load must be above 0 kN; it is 0."},
      {{"bearing", "--dm", "72.5", "--speed", "3000", "--rating", "50", "--load", "-3", "--at",
        "40"},
       "--load must be above 0 kN; it is -3."},
      {{"bearing", "--dm", "72.5", "--speed", "3000", "--rating", "9.5", "--load", "10", "--at",
        "40"},
       "--rating (9.5 kN) must not be below --load (10 kN)."},
      {{"bearing", "--dm", "72.5", "--speed", "3000", "--rating", "50", "--load", "10",
        "--fatigue-load", "1", "--contamination", "1.5", "--at", "40"},
       "--contamination must be from 0 to 1; it is 1.5."},
      {{"bearing", "--dm", "72.5", "--speed", "3000", "--rating", "50", "--load", "10",
        "--fatigue-load", "1", "--contamination", "-0.1", "--at", "40"},
       "--contamination must be from 0 to 1; it is -0.1."},
      {{"bearing", "--dm", "72.5", "--speed", "3000", "--type", "needle", "--at", "40"},
       "--type \"needle\" is not one of ball, roller, thrust-ball, thrust-roller."},
      {{"bearing", "--dm", "72.5", "--speed", "3000", "--cleanliness", "clean", "--at", "40"},
       "--cleanliness \"clean\" is not one of extreme, high, normal, slight, typical, severe, "
       "very-severe."},
      {{"bearing", "--dm", "72.5", "--speed", "3000", "--reliability", "93", "--at", "40"},
       "--reliability must be one of 90, 95, 96, 97, 98 and 99 %; it is 93."},
      {{"bearing", "--dm", "72.5", "--speed", "3000", "--fatigue-load", "1.34kN", "--at", "40"},
       "--fatigue-load \"1.34kN\" is not a number."},
      {{"bearing", "--dm", "72.5", "--speed", "3000", "--rating", "50", "--at", "40"},
       "--rating is given without --load."},
      {{"bearing", "--dm", "72.5", "--speed", "3000", "--load", "10", "--at", "40"},
       "--load is given without --rating."},
      {{"bearing", "--dm", "72.5", "--speed", "3000", "--type", "roller", "--at", "40"},
       "--type is given without --rating and --load."},
      {{"bearing", "--dm", "72.5", "--speed", "3000", "--rating", "50", "--load", "10",
        "--fatigue-load", "1", "--at", "40"},
       "--fatigue-load is given without --contamination or --cleanliness."},
      {{"bearing", "--dm", "72.5", "--speed", "3000", "--rating", "50", "--load", "10",
        "--cleanliness", "high", "--at", "40"},
       "--cleanliness is given without --fatigue-load."},
      {{"bearing", "--dm", "72.5", "--speed", "3000", "--rating", "50", "--load", "10", "--ep",
        "--at", "40"},
       "--ep is given without --fatigue-load."},
      {{"bearing", "--dm", "72.5", "--speed", "3000", "--rating", "50", "--load", "10",
        "--fatigue-load", "1", "--contamination", "0.5", "--cleanliness", "high", "--at", "40"},
       "Give --contamination EC or --cleanliness LEVEL, not both."},
      {{"select-grade", "--dm", "380", "--speed", "500", "--at", "70", "--life", "5000"},
       "--life is given without --rating and --load."},
      {{"select-grade", "--dm", "380", "--speed", "500", "--at", "70", "--life", "5000", "--rating",
        "50", "--load", "10"},
       "--life is given without --fatigue-load."},
      {{"select-grade", "--dm", "380", "--speed", "500", "--at", "70", "--life", "0", "--rating",
        "50", "--load", "10", "--fatigue-load", "1", "--contamination", "0.5"},
       "--life must be above 0 h; it is 0."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    Args args = c.args;
    if (args[0] == "bearing" && args.back() == "40")
      args.insert(args.end(), oil.begin(), oil.end());
    const ToolRun run = Tool(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "viscosity: " + c.message + "\n");
  }
}

TEST(ViscosityTool, BlendsAnOilWithItselfAndShowsHugeNumbersInScientificNotation) {
  const Json blend = RunJson(
      {"blend", "--oil", "SHC 632", "--with-oil", "SHC 632", "--target", "320", "--at", "40"});
  EXPECT_EQ(blend["fraction"], 0);

  const Args huge = {"temperature-for", "1e300", "--v40", "46", "--v100", "6.8"};
  const ToolRun text = Tool(huge);
  EXPECT_EQ(text.status, 0) << text.err;
  EXPECT_EQ(LineWith(text.out, "Kinematic viscosity"), "Kinematic viscosity  1e+300 cSt");
  const ToolRun just_below =
      Tool({"temperature-for", "999999999999999", "--v40", "46", "--v100", "6.8"});
  EXPECT_EQ(LineWith(just_below.out, "Kinematic viscosity"),
            "Kinematic viscosity  999,999,999,999,999.000 cSt");
  EXPECT_EQ(LineWith(Tool({"temperature-for", "1e15", "--v40", "46", "--v100", "6.8"}).out,
                     "Kinematic viscosity"),
            "Kinematic viscosity  1e+15 cSt");
  // JSON keeps the number.
  EXPECT_EQ(RunJson(huge)["kinematic_cst"], 1e300);
}

}  // namespace
}  // namespace project1
