// `viscosity oils` and its changes to the user's oils file, run as a process with the
// application data folder in a temporary home.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/oil_properties.h"
#include "numtext/numtext.h"
#include "run_tool.h"
#include "user_oils_support.h"

namespace project1 {
namespace {

constexpr const char* kSemicolonMessage =
    "the header's columns are separated by \";\", not \",\". Save the file as CSV with commas "
    "between the columns (in a spreadsheet: Save As, \"CSV (comma delimited)\"), or replace each "
    "\";\" with \",\".";

using Args = std::vector<std::string>;

ToolRun Ok(const Args& args) {
  const ToolRun run = Tool(args);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  return run;
}

TEST(OilsTool, EachChangeLandsInTheFileAndIsFoundByOil) {
  TempDataHome home;
  Ok({"oils", "add", "Gear oil, B", "--v40", "220", "--v100", "19.4", "--sg", "0.89", "--note",
      "site \"B\""});
  Ok({"oils", "add", "Measured", "--point", "20=500", "--point", "80=40"});
  Ok({"oils", "rename", "measured", "Hydrauliköl"});
  Ok({"oils", "add", "Spare", "--v40", "46", "--v100", "6.8"});
  Ok({"oils", "remove", " SPARE "});
  // A density at 15 °C is kept as its gravity.
  Ok({"oils", "add", "Lab", "--v40", "46", "--v100", "6.8", "--density", "999.1"});
  const std::string file = *ReadBytes(home.OilsFile());
  EXPECT_TRUE(file.ends_with("\nLab,46,6.8,1,\n")) << file;
  EXPECT_TRUE(
      file.starts_with("name,v40,v100,sg,note\n\"Gear oil, B\",220,19.4,0.89,\"site "
                       "\"\"B\"\"\"\nHydrauliköl,"))
      << file;
  // Two points keep the line's viscosities at 40 °C and 100 °C.
  const nlohmann::json at = RunJson({"at", "20", "80", "--oil", "hydrauliköl"});
  EXPECT_NEAR(at[0]["kinematic_cst"].get<double>(), 500, 1e-9);
  EXPECT_NEAR(at[1]["kinematic_cst"].get<double>(), 40, 1e-9);
  EXPECT_EQ(Ok({"oils", "export"}).out, file);
}

TEST(OilsTool, AnEditChangesTheValuesGivenAndKeepsTheOthers) {
  TempDataHome home;
  Ok({"oils", "add", "Gear", "--v40", "220", "--v100", "19.4", "--sg", "0.89", "--note", "site"});
  struct Case {
    Args options;
    std::string row;  // the oil's row after the edit
  };
  const Case cases[] = {
      {{"--v40", "230"}, "Gear,230,19.4,0.89,site"},
      {{"--v100", "20"}, "Gear,230,20,0.89,site"},
      {{"--sg", "0.9", "--note", "lab, May"}, "Gear,230,20,0.9,\"lab, May\""},
      {{"--density", "999.1"}, "Gear,230,20,1,\"lab, May\""},
      {{"--v40", "100", "--vi", "95"},
       "Gear,100," + ShortestText(*Nu100ForIndex(100, 95)) + ",1,\"lab, May\""},
  };
  for (const Case& c : cases) {
    Args args = {"oils", "edit", "gear"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    SCOPED_TRACE(testing::PrintToString(args));
    Ok(args);
    EXPECT_EQ(*ReadBytes(home.OilsFile()), "name,v40,v100,sg,note\n" + c.row + "\n");
  }
  const std::string before = *ReadBytes(home.OilsFile());
  struct Refusal {
    Args options;
    std::string message;
  };
  const Refusal refusals[] = {
      {{}, "Nothing to change: give --v40, --v100 or --vi, --sg or --density, or --note."},
      {{"--v40", "5"},
       "The viscosity at 100 °C (" + ShortestText(*Nu100ForIndex(100, 95)) +
           ") must be below the one at 40 °C (5)."},
      {{"--v100", "10", "--vi", "95"}, "Give --v100 or --vi, not both."},
      {{"--sg", "0.9", "--density", "900"}, "Give --sg or --density, not both."},
      {{"--v40", "x"}, "--v40 \"x\" is not a number."},
  };
  for (const Refusal& c : refusals) {
    Args args = {"oils", "edit", "Gear"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    SCOPED_TRACE(testing::PrintToString(args));
    const ToolRun run = Tool(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "viscosity: " + c.message + "\n");
    EXPECT_EQ(*ReadBytes(home.OilsFile()), before);
  }
  const ToolRun missing = Tool({"oils", "edit", "Other oil", "--v40", "46"});
  EXPECT_EQ(
      missing.err,
      "viscosity: You have no oil named \"Other oil\"; \"viscosity oils\" lists your oils.\n");
}

TEST(OilsTool, RefusalsNameTheirCauseAndLeaveTheFile) {
  TempDataHome home;
  Ok({"oils", "add", "Gear A", "--v40", "46", "--v100", "6.8"});
  const std::string before = *ReadBytes(home.OilsFile());
  WriteBytes(home.Home() / "in.csv", "name,v40,v100,sg\nNew,46,6.8,\nBad,4x6,6.8,0.85\n");
  WriteBytes(home.Home() / "clash.csv", "name,v40,v100\nNew,46,6.8\n gear a ,68,8.8\n");
  WriteBytes(home.Home() / "heavy.csv", "name,v40,v100,sg\nNew,46,6.8,\nHeavy,46,6.8,4.5\n");
  WriteBytes(home.Home() / "semicolons.csv", "name;v40;v100\nNew;46;6.8\n");
  struct Case {
    Args args;
    int status;
    std::string message;
  };
  const std::string in = (home.Home() / "in.csv").string();
  const std::string clash = (home.Home() / "clash.csv").string();
  const std::string heavy = (home.Home() / "heavy.csv").string();
  const std::string semicolons = (home.Home() / "semicolons.csv").string();
  const Case cases[] = {
      {{"oils", "add", "gear a", "--v40", "68", "--v100", "8.8"},
       2,
       "You already have an oil named \"Gear A\"."},
      {{"oils", "add", "shc 632", "--v40", "68", "--v100", "8.8"},
       2,
       "\"shc 632\" is a catalogue oil's name; choose another."},
      {{"oils", "add", "OTHER", "--v40", "68", "--v100", "8.8"},
       2,
       "\"OTHER\" is the list's own entry; choose another name."},
      {{"oils", "add", "X", "--v40", "6,8", "--v100", "1"},
       2,
       "--v40 \"6,8\" is not a number. Use \".\" for decimals and \",\" only between groups of "
       "three digits."},
      {{"oils", "add", "X", "--v40", "10", "--v100", "20"},
       2,
       "The viscosity at 100 °C (20) must be below the one at 40 °C (10)."},
      {{"oils", "add", "=HYPERLINK(1)", "--v40", "46", "--v100", "6.8"},
       2,
       "The name \"=HYPERLINK(1)\" begins with \"=\", which makes a spreadsheet opening the oils "
       "file run it as a formula; begin it with another character."},
      {{"oils", "remove", "Gear"},
       2,
       "You have no oil named \"Gear\"; \"viscosity oils\" lists your oils."},
      {{"oils", "rename", "Gear A", "SHC 624"},
       2,
       "\"SHC 624\" is a catalogue oil's name; choose another."},
      {{"oils", "import", in}, 2, in + " line 3: v40 \"4x6\" is not a number."},
      {{"oils", "import", clash}, 2, clash + " line 3: You already have an oil named \"Gear A\"."},
      {{"oils", "import", heavy}, 2, heavy + " line 3: sg must be from 0.5 to 3; it is 4.5."},
      {{"oils", "import", semicolons}, 2, semicolons + " line 1: " + kSemicolonMessage},
      {{"oils", "add", "GEARA", "--v40", "68", "--v100", "8.8"},
       2,
       "You already have an oil named \"Gear A\"."},
      {{"oils", "import", home.Home().string()},
       1,
       "Cannot read " + home.Home().string() + ": Is a directory."},
      {{"oils", "import", in + ".missing"},
       1,
       "Cannot read " + in + ".missing: No such file or directory."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    const ToolRun run = Tool(c.args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.err, "viscosity: " + c.message + "\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(ReadBytes(home.OilsFile()), before);
  }
}

TEST(OilsTool, AFileWithABadRowIsReportedStillOfferedAndNeverRewritten) {
  TempDataHome home;
  std::filesystem::create_directories(home.OilsFile().parent_path());
  struct Case {
    std::string bad;
    std::string problem;
  };
  const Case cases[] = {
      {"name,v40,v100,sg,note\nGood,46,6.8,,\nBad,46,x,,\n", "line 3: v100 \"x\" is not a number."},
      {"name,v40,v100,sg,note\nGood,46,6.8,,\n\"Bad,46,6.8,,\n",
       "line 3, column 1: a quote is not closed."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.problem);
    WriteBytes(home.OilsFile(), c.bad);
    const ToolRun listed = Tool({"oils", "--format", "csv"});
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.err, "viscosity: " + home.OilsFile().string() + " " + c.problem + "\n");
    EXPECT_TRUE(listed.out.ends_with("\nGood,46,6.8,,,user\n")) << listed.out;
    const ToolRun add = Tool({"oils", "add", "New", "--v40", "46", "--v100", "6.8"});
    EXPECT_EQ(add.status, 1);
    EXPECT_NE(add.err.find("Mend the file before changing your oils"), std::string::npos);
    EXPECT_EQ(ReadBytes(home.OilsFile()), c.bad);
  }
}

TEST(OilsTool, ListingReadsBackAsBatchInputAndAsAnImport) {
  TempDataHome home;
  Ok({"oils", "add", "Oil, \"quoted\"", "--v40", "73.3", "--v100", "8.86", "--sg", "0.88"});
  const std::string csv = Ok({"oils", "--format", "csv"}).out;
  EXPECT_TRUE(csv.starts_with("name,v40,v100,sg,note,source\nSHC 624,31,5.8,0.85,,catalogue\n"));
  ToolOptions input;
  input.input = csv;
  const ToolRun batch = RunProgram(VISCOSITY_TOOL, {"batch", "-", "--format", "csv"}, input);
  EXPECT_EQ(batch.status, 0) << batch.err;
  EXPECT_NE(batch.out.find("\n12,\"Oil, \"\"quoted\"\"\",92,68,"), std::string::npos) << batch.out;

  const nlohmann::json json = RunJson({"oils"});
  ASSERT_EQ(json.size(), 11u);
  EXPECT_EQ(json[0]["source"], "catalogue");
  EXPECT_EQ(json[10]["name"], "Oil, \"quoted\"");
  EXPECT_EQ(json[10]["source"], "user");
  EXPECT_EQ(json[10]["note"], "");
  EXPECT_EQ(json[10]["specific_gravity"].get<double>(), 0.88);

  // The user's rows of the listing import into another library.
  const std::string exported = Ok({"oils", "export"}).out;
  TempDataHome other;
  WriteBytes(other.Home() / "mine.csv", exported);
  Ok({"oils", "import", (other.Home() / "mine.csv").string()});
  EXPECT_EQ(ReadBytes(other.OilsFile()), exported);
}

TEST(OilsTool, TheCatalogueWinsANameItTookLaterAndSaysSoOnce) {
  TempDataHome home;
  std::filesystem::create_directories(home.OilsFile().parent_path());
  WriteBytes(home.OilsFile(), "name,v40,v100,sg,note\nSHC 632,100,10,,\n");
  const ToolRun run = Tool({"blend", "--oil", "SHC 632", "--with-oil", "SHC 632", "--fraction",
                            "0.5", "--at", "40", "--format", "json"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err,
            "viscosity: \"SHC 632\" is now also a catalogue oil: the catalogue's is used, not "
            "yours.\n");
  EXPECT_NEAR(nlohmann::json::parse(run.out)["blend_kinematic_cst"].get<double>(), 320, 1e-9);
}

TEST(OilsTool, OilFindsAUsersOilAsACatalogueOilWithItsLimits) {
  TempDataHome home;
  std::filesystem::create_directories(home.OilsFile().parent_path());
  WriteBytes(home.OilsFile(),
             "name,v40,v100,sg,note\nHydraulic HV 46,46,7.9,0.87,\nHeavy,100,11,4.5,\n");
  struct Case {
    std::string typed;
    int status;
    std::string err;  // empty: found, and ν40 is 46 cSt
  };
  const Case cases[] = {
      {"hydraulic hv46", 0, ""},
      {"HYDRAULICHV 46", 0, ""},
      {"Hydraulik HV 46", 2,
       "viscosity: --oil \"Hydraulik HV 46\" is not in the catalogue or among your oils; did you "
       "mean \"Hydraulic HV 46\"? \"viscosity oils\" lists them.\n"},
      {"heavy", 2,
       "viscosity: The specific gravity of your oil \"Heavy\" must be from 0.5 to 3; it is 4.5.\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    const ToolRun run = Tool({"at", "40", "--oil", c.typed, "--format", "csv"});
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.err, c.err);
    if (c.status == 0) EXPECT_TRUE(run.out.find("\n40,45.99999") != std::string::npos) << run.out;
  }
}

}  // namespace
}  // namespace project1
