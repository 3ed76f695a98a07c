// The bearing and grade answers of the `viscosity` program run as a separate process, and the
// oil-property refusals and number forms every command shares.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "bearing/bearing.h"
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
