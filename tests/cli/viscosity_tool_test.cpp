// The `viscosity` tool: what it prints, where, and its exit status.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "cli/tool.h"
#include "engine/model.h"
#include "engine/table_text.h"
#include "project1/version.h"
#include "run_tool.h"
#include "user_oils_support.h"

namespace project1 {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;
using Args = std::vector<std::string>;

// The window's table file for an oil, as the engine writes it.
std::string WindowTable(double visc40, double visc100) {
  CalcState s;
  s.visc40 = visc40;
  s.visc100 = visc100;
  FitViscosityLine(s);
  return ViscosityTableText(s);
}

class TempFolder {
 public:
  TempFolder() {
    char name[] = "/tmp/viscosity-test.XXXXXX";
    path_ = ::mkdtemp(name);
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

TEST(ViscosityTool, TableIsTheWindowsTableFile) {
  const std::string window = WindowTable(320, 35);  // the catalogue's SHC 632
  TempFolder folder;
  const fs::path file = folder.path() / "Viscosity.txt";

  struct Case {
    Args args;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {{"table", "--oil", "SHC 632"}, window},
      {{"table", "--v40", "320", "--v100", "35", "--law", "walther"}, window},
      // The range spelled out takes the general path and must give the same bytes.
      {{"table", "--oil", "SHC 632", "--from", "-40", "--to", "250", "--step", "5"}, window},
      // A part of the range: the header and the rows for 0, 5 and 10 C.
      {{"table", "--oil", "SHC 632", "--from", "0", "--to", "10"},
       window.substr(0, window.find("\r\n") + 2) +
           window.substr(window.find("\r\n0.0\t") + 2,
                         window.find("\r\n15.0\t") - window.find("\r\n0.0\t"))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    const ToolRun run = Tool(c.args);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, c.expected);
  }

  const ToolRun written = Tool({"table", "--oil", "SHC 632", "-o", file.string()});
  EXPECT_EQ(written.status, 0);
  EXPECT_EQ(written.out, "");
  EXPECT_EQ(ReadWholeFile(file), window);
}

TEST(ViscosityTool, AFileThatCannotBeWrittenLeavesThePreviousOne) {
  TempFolder folder;
  const fs::path file = folder.path() / "table.txt";
  WriteWholeFile(file, "previous table\n");
  struct Case {
    std::string name;
    fs::path target;
    ToolOptions options;
  };
  ToolOptions small_files;
  // The table (about 1.2 kB) is larger, so its write fails; the message still fits.
  small_files.file_size_limit = 512;
  const std::vector<Case> cases = {
      {"file size limit", file, small_files},
      {"missing folder", folder.path() / "missing" / "table.txt", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ToolRun run = Tool({"table", "--oil", "SHC 632", "-o", c.target.string()}, c.options);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("viscosity: ", 0), 0U) << run.err;
    EXPECT_NE(run.err.find(c.target.filename().string()), std::string::npos) << run.err;
    EXPECT_EQ(ReadWholeFile(file), "previous table\n");
    // No temporary file is left beside the target.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
  }
}

TEST(ViscosityTool, AFileWrittenKeepsWhatTheUserSetUpAndADeviceIsWrittenInPlace) {
  TempFolder folder;
  const fs::path team = folder.path() / "team.txt", link = folder.path() / "link.txt";
  const fs::path kept = folder.path() / "private.txt";
  WriteWholeFile(team, "previous table\n");
  fs::create_symlink("team.txt", link);
  WriteWholeFile(kept, "previous table\n");
  fs::permissions(kept, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  const std::string table = Tool({"table", "--oil", "SHC 632"}).out;
  for (const fs::path& target : {link, kept}) {
    SCOPED_TRACE(target.string());
    const ToolRun run = Tool({"table", "--oil", "SHC 632", "-o", target.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadWholeFile(target), table);
  }
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
  EXPECT_EQ(fs::status(kept).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  struct Case {
    std::string target;
    std::string message;
  };
  for (const Case& c :
       {Case{"/dev/full", "/dev/full: No space left on device."},
        Case{folder.path().string(), folder.path().string() + ": Is a directory."}}) {
    SCOPED_TRACE(c.target);
    const ToolRun run = Tool({"table", "--oil", "SHC 632", "-o", c.target});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "viscosity: Cannot write the table file " + c.message + "\n");
  }
  EXPECT_TRUE(fs::is_character_file("/dev/full"));
  EXPECT_EQ(Tool({"table", "--oil", "SHC 632", "-o", "/dev/null"}).status, 0);
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST(ViscosityTool, AnOilThickerWhenHotIsRefusedByEveryCommandWithOneMessage) {
  TempDataHome home;
  const std::string svg = (home.Home() / "chart.svg").string();
  const std::string list = (home.Home() / "list.csv").string();
  WriteWholeFile(list, "name,v40,v100\nHot,46,60\n");
  const std::string by_viscosities =
      "The viscosity at 100 °C (60) must be below the one at 40 °C (46).";
  struct Form {
    Args args;
    std::string message;
  };
  const Form forms[] = {
      {{"--v40", "46", "--v100", "60"}, by_viscosities},
      {{"--point", "0=20", "--point", "50=30", "--point", "100=40"},
       "The viscosity at 50 °C (30) must be below the one at 0 °C (20)."},
  };
  const Args commands[] = {
      {"at", "0", "100", "200"},
      {"table"},
      {"temperature-for", "20"},
      {"index"},
      {"blend", "--with-oil", "SHC 632", "--fraction", "0.5", "--at", "40"},
      {"chart", "-o", svg},
      {"bearing", "--dm", "380", "--speed", "500", "--at", "40"},
      {"oils", "add", "Hot"},
  };
  for (const Args& command : commands) {
    for (const Form& form : forms) {
      Args args = command;
      args.insert(args.end(), form.args.begin(), form.args.end());
      SCOPED_TRACE(testing::PrintToString(args));
      const ToolRun run = Tool(args);
      EXPECT_EQ(run.status, 2);
      EXPECT_EQ(run.out, "");
      EXPECT_EQ(run.err, "viscosity: " + form.message + "\n");
    }
  }
  // The second oil of a blend, a row of a list and an oil imported are refused the same way.
  const ToolRun second = Tool({"blend", "--oil", "SHC 632", "--with-v40", "46", "--with-v100", "60",
                               "--fraction", "0.5", "--at", "40"});
  EXPECT_EQ(second.status, 2);
  EXPECT_EQ(second.err, "viscosity: " + by_viscosities + "\n");
  const ToolRun batch = Tool({"batch", "--format", "csv", list});
  EXPECT_EQ(batch.status, 2);
  EXPECT_NE(batch.out.find("line 2: " + by_viscosities), std::string::npos) << batch.out;
  const ToolRun imported = Tool({"oils", "import", list});
  EXPECT_EQ(imported.status, 2);
  EXPECT_EQ(imported.err, "viscosity: " + list + " line 2: " + by_viscosities + "\n");
  EXPECT_FALSE(fs::exists(svg));
  EXPECT_FALSE(fs::exists(home.OilsFile()));
}

TEST(ViscosityTool, EachCommandsHelpStatesItsFormulas) {
  const std::string walther =
      "  walther: log10 log10 Z = A − B log10 (t + 273.16), t in °C, ν in cSt, Z = ν + 0.6\n";
  const std::string d341 =
      "  d341 (ASTM D341-20): log10 log10 Z = A − B log10 (t + 273.15), t in °C, ν in cSt, Z = ν + "
      "0.7 + exp(−1.47 − 1.84 ν − 0.51 ν²), the last term for viscosities below about 2 cSt\n";
  const std::string blend =
      "  Refutas, by mass fraction x of the second oil: VBN = 14.534 ln ln (ν + 0.8) + 10.975, VBN "
      "of the blend = (1 − x) VBN1 + x VBN2\n";
  const std::string dynamic =
      "  dynamic viscosity = ν · SG · ρ_water, ρ_water = 62.37 lb/ft³ (999.07 kg/m³)\n";
  const std::string expansion = "  SG at t = SG15 · exp(−α Δt (1 + 0.8 α Δt)), Δt = t − 15 °C\n";
  // Every command of the tool, each with the formulas its help states (`oils` none); a command
  // added without its line here fails.
  const std::map<std::string_view, std::vector<std::string>> formulas = {
      {"at", {walther, d341, dynamic, expansion}},
      {"table", {walther, d341, dynamic, expansion}},
      {"batch", {walther, d341, dynamic, expansion}},
      {"blend", {walther, d341, blend}},
      {"temperature-for", {walther, d341}},
      {"index", {walther, d341}},
      {"bearing", {walther, d341}},
      {"select-grade", {walther, d341}},
      {"chart", {walther, d341}},
      {"oils", {}},
  };
  for (const std::string_view command : cli::CommandNames()) {
    SCOPED_TRACE(command);
    const auto stated_formulas = formulas.find(command);
    ASSERT_NE(stated_formulas, formulas.end());
    const std::string help = Tool({std::string(command), "--help"}).out;
    if (stated_formulas->second.empty()) {
      EXPECT_EQ(help.find("Formulas:"), std::string::npos) << help;
      continue;
    }
    std::string stated = "Formulas:\n";
    for (const std::string& formula : stated_formulas->second) stated += formula;
    EXPECT_NE(help.find(stated + "\n"), std::string::npos) << help;
  }
}

// A value the parser refuses does not hide the help asked for beside it.
TEST(ViscosityTool, HelpIsGivenWhateverTheOtherOptionsHold) {
  const std::pair<Args, std::string> cases[] = {
      {{"at", "--format", "yaml", "--help"}, "viscosity at"},
      {{"bearing", "--load", "0", "--help"}, "viscosity bearing"},
      {{"oils", "add", "--law", "cube", "--help"}, "viscosity oils add"},
  };
  for (const auto& [args, command] : cases) {
    SCOPED_TRACE(testing::PrintToString(args));
    const ToolRun run = Tool(args);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("Usage: " + command + " [OPTIONS]"), std::string::npos) << run.out;
  }
}

TEST(ViscosityTool, AnAnswerThatCannotBeWrittenIsAFileError) {
  ToolOptions tiny_output;
  tiny_output.file_size_limit = 16;  // every answer below is longer
  for (const Args& args :
       {Args{"--help"}, Args{"at", "--help"}, Args{"oils"}, Args{"table", "--oil", "SHC 632"}}) {
    SCOPED_TRACE(testing::PrintToString(args));
    const ToolRun run = Tool(args, tiny_output);
    EXPECT_EQ(run.status, 1);
    // The limit holds for standard error too: the message's start is all it gets.
    EXPECT_EQ(run.err, "viscosity: Canno");
  }
}

TEST(ViscosityTool, BadInputExitsTwoWithAMessageAndNoOutput) {
  struct Case {
    Args args;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"at", "40", "--v40", "abc", "--v100", "5"}, "--v40 \"abc\" is not a number."},
      {{"at", "40", "--v40", "46", "--v100", "6,8"},
       "--v100 \"6,8\" is not a number. Use \".\" for decimals and \",\" only between groups of "
       "three digits."},
      {{"at", "40", "--v40", "46"}, "--v40 is given without --v100 or --vi."},
      {{"at", "abc", "--oil", "SHC 632"}, "The temperature \"abc\" is not a number."},
      {{"at", "-300", "--oil", "SHC 632"},
       "The temperature \"-300\" is at or below absolute zero."},
      {{"at", "40"},
       "No oil given: give the oil as --oil NAME, as --v40 CST with --v100 CST or --vi INDEX, or "
       "as two or more --point T=CST."},
      {{"at", "40", "--oil", "SHC 632", "--v40", "46", "--v100", "6.8"},
       "More than one oil given: give the oil as --oil NAME, as --v40 CST with --v100 CST or --vi "
       "INDEX, or as two or more --point T=CST."},
      {{"at", "40", "--oil", "SHC 999"},
       "--oil \"SHC 999\" is not in the catalogue; did you mean \"SHC 629\" or \"SHC 639\"? "
       "\"viscosity oils\" lists its names."},
      {{"at", "40", "--oil", "Hydraulic 46"},
       "--oil \"Hydraulic 46\" is not in the catalogue; \"viscosity oils\" lists its names."},
      {{"at", "40", "--point", "20=300"},
       "Only one --point is given; give two or more, each as T=CST."},
      // An oil from its grade and index.
      {{"at", "40", "--vi", "95"}, "--vi is given without --v40."},
      {{"at", "40", "--v40", "220", "--v100", "19", "--vi", "95"},
       "Give --v100 or --vi, not both."},
      {{"at", "40", "--v40", "5", "--vi", "95"},
       "No viscosity at 100 °C from 2 cSt up gives an oil of 5 cSt at 40 °C a viscosity index of "
       "95."},
      {{"index", "--v40", "46", "--vi", "1e6"},
       "No viscosity at 100 °C from 2 cSt up gives an oil of 46 cSt at 40 °C a viscosity index of "
       "1000000."},
      {{"at", "40", "--v40", "220", "--vi", "high"}, "--vi \"high\" is not a number."},
      // The tool's own limits of a gravity and an expansion coefficient.
      {{"at", "40", "--v40", "46", "--v100", "6.8", "--sg", "1,320"},
       "--sg must be from 0.5 to 3; it is 1,320, read as 1320 (a comma groups thousands): did "
       "you mean 1.320?"},
      {{"at", "40", "--v40", "46", "--v100", "6.8", "--sg", "0.2"},
       "--sg must be from 0.5 to 3; it is 0.2."},
      {{"at", "40", "--v40", "46", "--v100", "6.8", "--sg", "0.89", "--expansion", "1"},
       "--expansion must be from 0 to 0.005 per °C; it is 1."},
      {{"at", "40", "--v40", "46", "--v100", "6.8", "--sg", "0.89", "--expansion", "-0.0007"},
       "--expansion must be from 0 to 0.005 per °C; it is -0.0007."},
      {{"at", "1e6", "--v40", "46", "--v100", "6.8", "--sg", "0.89", "--expansion", "0.005"},
       "At 1000000 °C the oil has expanded too far to give a density: 0.89 at 15 °C, expanding "
       "by 0.005 per °C."},
      {{"at", "40", "--oil", "SHC 632", "--temperature-unit", "R"},
       "--temperature-unit \"R\" is not one of C, F, K."},
      // The parser's findings, in the tool's words.
      {{"tabel"},
       "\"tabel\" is not a command; did you mean `table`? `viscosity --help` lists the commands."},
      {{"frobnicate"}, "\"frobnicate\" is not a command; `viscosity --help` lists the commands."},
      {{}, "No command given; `viscosity --help` lists the commands."},
      {{"--bogus"},
       "\"--bogus\" is not an option of viscosity itself; give a command first. `viscosity "
       "--help` lists the commands."},
      {{"at", "40", "--oil", "SHC 632", "--oil", "SHC 630"},
       "--oil is given 2 times; give it once."},
      {{"at", "40", "--oil"}, "--oil needs a value: --oil NAME."},
      {{"at", "--oil", "SHC 632"}, "`viscosity at` needs T (temperatures, °C)."},
      {{"at", "40", "--oil", "SHC 632", "--bogus"},
       "`viscosity at` has no option --bogus; `viscosity at --help` lists its options."},
      // A slip of an option is offered the nearest ones, as a slip of a command is; an option of
      // another command is no slip.
      {{"at", "40", "--oil", "SHC 632", "--tempreature-unit", "F"},
       "`viscosity at` has no option --tempreature-unit; did you mean --temperature-unit? "
       "`viscosity at --help` lists its options."},
      {{"table", "--oil", "SHC 632", "--fromm=20"},
       "`viscosity table` has no option --fromm=20; did you mean --from? `viscosity table --help` "
       "lists its options."},
      {{"at", "40", "--oil", "SHC 632", "--V40", "46"},
       "`viscosity at` has no option --V40; did you mean --v40? `viscosity at --help` lists its "
       "options."},
      {{"index", "--oil", "SHC 632", "--sg", "0.9"},
       "`viscosity index` has no option --sg; `viscosity index --help` lists its options."},
      {{"temperature-for", "10", "--oil", "SHC 632", "--expansion", "0.0007"},
       "`viscosity temperature-for` has no option --expansion; `viscosity temperature-for "
       "--help` lists its options."},
      {{"temperature-for", "10", "20", "--oil", "SHC 632"},
       "`viscosity temperature-for` does not take \"20\"; `viscosity temperature-for --help` "
       "lists what it takes."},
      {{"blend", "--oil", "SHC 626", "--with-oil", "SHC 630", "--fraction", "0.5"},
       "`viscosity blend` needs --at T (temperature, °C)."},
      {{"at", "40", "--point", "20:300", "--point", "80=20"},
       "--point \"20:300\" is not T=CST (a temperature, \"=\" and a viscosity)."},
      {{"at", "40", "--oil", "SHC 632", "--format", "xml"},
       "--format \"xml\" is not one of text, csv, json."},
      {{"at", "40", "--oil", "SHC 632", "--format", "CSV"},
       "--format \"CSV\" is not one of text, csv, json."},
      {{"at", "40", "--oil", "SHC 632", "--law", "astm"},
       "--law \"astm\" is not one of walther, d341."},
      {{"table", "--oil", "SHC 632", "--step", "0"}, "--step must be above 0; it is 0."},
      {{"table", "--oil", "SHC 632", "--from", "20CF"}, "--from \"20CF\" is not a number."},
      {{"table", "--oil", "SHC 632", "--from", "100", "--to", "50"},
       "--to (50 °C) is below --from (100 °C)."},
      {{"temperature-for", "thin", "--oil", "SHC 632"}, "The viscosity \"thin\" is not a number."},
      {{"blend", "--oil", "SHC 626", "--with-oil", "SHC 630", "--fraction", "1.5", "--at", "40"},
       "--fraction must be from 0 to 1; it is 1.5."},
      {{"blend", "--oil", "SHC 626", "--with-v40", "x", "--with-v100", "5", "--fraction", "0.5",
        "--at", "40"},
       "--with-v40 \"x\" is not a number."},
      {{"blend", "--oil", "SHC 626", "--with-oil", "SHC 999", "--fraction", "0.5", "--at", "40"},
       "--with-oil \"SHC 999\" is not in the catalogue; did you mean \"SHC 629\" or \"SHC "
       "639\"? \"viscosity oils\" lists its names."},
      {{"blend", "--oil", "SHC 626", "--with-v100", "3", "--fraction", "0.5", "--at", "40"},
       "--with-v100 is given without --with-v40."},
      {{"blend", "--oil", "SHC 626", "--with-oil", "SHC 630", "--fraction", "0.5", "--at",
        "1e999F"},
       "--at \"1e999\" is too large."},
      // A temperature option names itself in every message of the temperature rules.
      {{"table", "--oil", "SHC 632", "--from", "-300"},
       "--from \"-300\" is at or below absolute zero."},
      {{"at", "40", "--point", "abcF=1", "--point", "80=20"}, "--point \"abcF\" is not a number."},
      {{"blend", "--oil", "SHC 626", "--with-oil", "SHC 630", "--target", "1000", "--at", "40"},
       "The target viscosity 1000 cSt is outside what the two oils reach at that temperature: "
       "66 to 222 cSt."},
      // A number typed is echoed as a person reads it, not as hundreds of digits.
      {{"at", "40", "--v40", "1e-300", "--v100", "1e-301"},
       "The viscosity at 40 °C must be above 0.4 cSt; it is 1e-300."},
      {{"blend", "--oil", "SHC 626", "--with-oil", "SHC 630", "--target", "2.5e20", "--at", "40"},
       "The target viscosity 2.5e+20 cSt is outside what the two oils reach at that temperature: "
       "66 to 222 cSt."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    const ToolRun run = Tool(c.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "viscosity: " + c.message + "\n");
  }
}

TEST(ViscosityTool, TemperaturesMayBeNegativeOrInFahrenheitOrKelvin) {
  struct Case {
    Args temperatures;
    std::vector<double> celsius;
  };
  const std::vector<Case> cases = {
      {{"-30", "0", "40"}, {-30, 0, 40}},
      {{"-40F", "233.15K", "-40"}, {-40, -40, -40}},
      {{"212F", "373.15k", "-.5", "-0.5"}, {100, 100, -0.5, -0.5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.temperatures));
    Args args = {"at"};
    args.insert(args.end(), c.temperatures.begin(), c.temperatures.end());
    args.insert(args.end(), {"--v40", "320", "--v100", "35"});
    const Json answer = RunJson(args);
    ASSERT_EQ(answer.size(), c.celsius.size());
    for (std::size_t i = 0; i < c.celsius.size(); ++i) {
      EXPECT_NEAR(answer[i]["temperature_c"].get<double>(), c.celsius[i], 1e-12);
    }
  }
  // A temperature with a suffix is read wherever a temperature is read.
  const Json point =
      RunJson({"at", "20", "--point", "32F=1.644", "--point", "313.15K=0.925", "--law", "d341"});
  EXPECT_NEAR(point[0]["kinematic_cst"].get<double>(), 1.201, 5e-4);
}

TEST(ViscosityTool, BlendTextNamesEachTemperatureOnce) {
  struct Case {
    std::string at;
    std::vector<std::string> rows;  // the start of each "Blend at" row, in order
  };
  const std::vector<Case> cases = {
      {"60", {"Blend at 60.0 °C ", "Blend at 40 °C ", "Blend at 100 °C "}},
      {"40", {"Blend at 40.0 °C ", "Blend at 100 °C "}},
      {"100", {"Blend at 100.0 °C ", "Blend at 40 °C "}},
      {"104F", {"Blend at 40.0 °C ", "Blend at 100 °C "}},
      {"373.15K", {"Blend at 100.0 °C ", "Blend at 40 °C "}},
      {"40.01", {"Blend at 40.01 °C ", "Blend at 40 °C ", "Blend at 100 °C "}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.at);
    const ToolRun run = Tool(
        {"blend", "--oil", "SHC 626", "--with-oil", "SHC 630", "--fraction", "0.5", "--at", c.at});
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::string> rows;
    for (const std::string& line : Lines(run.out)) {
      if (line.rfind("Blend at ", 0) == 0) rows.push_back(line.substr(0, line.find(" °C ") + 5));
    }
    EXPECT_EQ(rows, c.rows) << run.out;
  }
  // JSON keeps every key whatever the temperature.
  const Json json = RunJson(
      {"blend", "--oil", "SHC 626", "--with-oil", "SHC 630", "--fraction", "0.5", "--at", "40"});
  EXPECT_NEAR(json["blend_kinematic_cst"].get<double>(),
              json["blend_kinematic_40c_cst"].get<double>(), 1e-9);
  EXPECT_TRUE(json["blend_kinematic_100c_cst"].is_number());
}

TEST(ViscosityTool, JsonAnswersCarryTheEnginesNumbers) {
  // at: the catalogue's gravity gives dynamic viscosities; 320 cSt at 0.87 is about 278.1 mPa*s.
  const Json at = RunJson({"at", "40", "100", "--oil", "SHC 632"});
  ASSERT_EQ(at.size(), 2U);
  EXPECT_NEAR(at[0]["kinematic_cst"].get<double>(), 320, 320 * 1e-12);
  EXPECT_NEAR(at[1]["kinematic_cst"].get<double>(), 35, 35 * 1e-12);
  EXPECT_NEAR(at[0]["dynamic_mpa_s"].get<double>(), 278.14, 0.01);
  EXPECT_NEAR(at[0]["dynamic_mpa_s"].get<double>(),
              at[0]["dynamic_reyn"].get<double>() * 6894757.293168, 1e-9);
  // Without a gravity the dynamic viscosities are left out.
  const Json bare = RunJson({"at", "40", "--v40", "320", "--v100", "35"});
  EXPECT_FALSE(bare[0].contains("dynamic_reyn"));
  EXPECT_FALSE(bare[0].contains("dynamic_mpa_s"));

  // --sg replaces the catalogue's gravity; with --expansion the gravity is that at 15 C and
  // falls above it: by exp(-0.07 (1 + 0.8 * 0.07)) = 0.928746 at 115 C for 0.0007 per C.
  const Json gravity = RunJson({"at", "15", "115", "--oil", "SHC 632", "--sg", "0.9"});
  const Json expanding =
      RunJson({"at", "15", "115", "--oil", "SHC 632", "--sg", "0.9", "--expansion", "0.0007"});
  EXPECT_NEAR(gravity[0]["dynamic_mpa_s"].get<double>() / at[0]["dynamic_mpa_s"].get<double>() *
                  at[0]["kinematic_cst"].get<double>() / gravity[0]["kinematic_cst"].get<double>(),
              0.9 / 0.87, 1e-12);
  EXPECT_NEAR(expanding[0]["dynamic_mpa_s"].get<double>(),
              gravity[0]["dynamic_mpa_s"].get<double>(), 1e-12);
  EXPECT_NEAR(
      expanding[1]["dynamic_mpa_s"].get<double>() / gravity[1]["dynamic_mpa_s"].get<double>(),
      0.928745, 1e-6);

  // The published check of the d341 law: 404 and 28 cSt give 132.126 cSt at 60 C.
  const Json d341 = RunJson({"at", "60", "--v40", "404", "--v100", "28", "--law", "d341"});
  EXPECT_NEAR(d341[0]["kinematic_cst"].get<double>(), 132.126, 5e-4);

  // table: 59 rows from -40 to 250 C.
  const Json table = RunJson({"table", "--oil", "SHC 632"});
  ASSERT_EQ(table.size(), 59U);
  EXPECT_EQ(table.front()["temperature_c"].get<double>(), -40);
  EXPECT_EQ(table.back()["temperature_c"].get<double>(), 250);

  // temperature-for is the inverse of at, on both laws.
  for (const char* law : {"walther", "d341"}) {
    const Json t = RunJson({"temperature-for", "320", "--oil", "SHC 632", "--law", law});
    EXPECT_EQ(t["kinematic_cst"].get<double>(), 320);
    EXPECT_NEAR(t["temperature_c"].get<double>(), 40, 1e-9) << law;
  }

  // index: the standard's examples, a grade at its printed limit and an undefined index.
  struct IndexCase {
    std::string v40, v100;
    std::optional<Json> index;  // nullopt: not checked here
    Json grade;
  };
  const std::vector<IndexCase> indexes = {
      {"73.30", "8.86", 92, 68},          {"22.83", "5.05", 156, 22},
      {"53.47", "7.80", 111, nullptr},    {"35.2", "6", std::nullopt, 32},
      {"40", "7", std::nullopt, nullptr}, {"5", "1.5", nullptr, 5},
  };
  for (const IndexCase& c : indexes) {
    SCOPED_TRACE(c.v40 + " " + c.v100);
    const Json index = RunJson({"index", "--v40", c.v40, "--v100", c.v100});
    if (c.index) {
      EXPECT_EQ(index["viscosity_index"], *c.index);
    }
    EXPECT_EQ(index["viscosity_index_unrounded"].is_null(), index["viscosity_index"].is_null());
    EXPECT_EQ(index["iso_vg"], c.grade);
    EXPECT_EQ(index["kinematic_40c_cst"].get<double>(), std::stod(c.v40));
    EXPECT_EQ(index["kinematic_100c_cst"].get<double>(), std::stod(c.v100));
    EXPECT_GT(index["saybolt_100f_s"].get<double>(), index["saybolt_210f_s"].get<double>());
  }
  const ToolRun undefined = Tool({"index", "--v40", "5", "--v100", "1.5"});
  EXPECT_EQ(undefined.status, 0);
  EXPECT_EQ(Lines(undefined.out).at(0), "Law: walther");
  EXPECT_EQ(Lines(undefined.out).at(1), "Viscosity index      not defined below 2 cSt at 100 °C");

  // blend: fraction 0 and 1 give the two oils; a target is reached.
  const Json first = RunJson({"at", "60", "--oil", "SHC 626"});
  const Json second = RunJson({"at", "60", "--oil", "SHC 630"});
  const Args blend = {"blend", "--oil", "SHC 626", "--with-oil", "SHC 630", "--at", "60"};
  auto with = [&](Args more) {
    Args args = blend;
    args.insert(args.end(), more.begin(), more.end());
    return RunJson(args);
  };
  EXPECT_NEAR(with({"--fraction", "0"})["blend_kinematic_cst"].get<double>(),
              first[0]["kinematic_cst"].get<double>(), 1e-9);
  EXPECT_NEAR(with({"--fraction", "1"})["blend_kinematic_cst"].get<double>(),
              second[0]["kinematic_cst"].get<double>(), 1e-9);
  const Json target = with({"--target", "80"});
  EXPECT_GT(target["fraction"].get<double>(), 0);
  EXPECT_LT(target["fraction"].get<double>(), 1);
  EXPECT_NEAR(target["blend_kinematic_cst"].get<double>(), 80, 1e-9);
  EXPECT_EQ(target["temperature_c"].get<double>(), 60);
  EXPECT_TRUE(target["viscosity_index"].is_number_integer());

  // oils: the catalogue in list order.
  const Json oils = RunJson({"oils"});
  ASSERT_EQ(oils.size(), 10U);
  EXPECT_EQ(oils[6]["name"], "SHC 632");
  EXPECT_EQ(oils[6]["kinematic_40c_cst"].get<double>(), 320);
  EXPECT_EQ(oils[6]["specific_gravity"].get<double>(), 0.87);
}

TEST(ViscosityTool, CsvAndJsonOfEachCommandHoldTheSameFields) {
  const std::vector<Args> commands = {
      {"at", "40", "100", "--oil", "SHC 632"},
      {"at", "40", "--v40", "46", "--v100", "6.8"},
      {"table", "--oil", "SHC 632", "--from", "0", "--to", "10"},
      {"temperature-for", "20", "--oil", "SHC 632"},
      {"index", "--v40", "5", "--v100", "1.5"},
      {"blend", "--oil", "SHC 626", "--with-oil", "SHC 630", "--fraction", "0.5", "--at", "40"},
      // Not `oils`: its CSV takes the batch input's column names (oils_tool_test.cpp).
  };
  for (const Args& command : commands) {
    SCOPED_TRACE(testing::PrintToString(command));
    Args csv_args = command;
    csv_args.insert(csv_args.end(), {"--format", "csv"});
    const ToolRun csv = Tool(csv_args);
    ASSERT_EQ(csv.status, 0) << csv.err;
    Args json_args = command;
    json_args.insert(json_args.end(), {"--format", "json"});
    const auto json = nlohmann::ordered_json::parse(Tool(json_args).out);  // keys in their order
    const auto& first = json.is_array() ? json.at(0) : json;
    std::vector<std::string> keys;
    for (const auto& item : first.items()) keys.push_back(item.key());
    std::string header;
    for (const std::string& key : keys) header += (header.empty() ? "" : ",") + key;
    EXPECT_EQ(Lines(csv.out).at(0), header);
    EXPECT_EQ(Lines(csv.out).size(), json.is_array() ? json.size() + 1 : 2U);
  }
}

TEST(ViscosityTool, BatchAnswersEveryRowAndNamesTheBadOnes) {
  const std::string input =
      "name,v40,v100,sg\r\n"
      "SHC 632,320,35,0.87\r\n"
      "\"Oil, \"\"B\"\"\",46,6.8,\r\n"
      "\r\n"
      "bad,abc,5,0.9\r\n"
      "thin,0.3,0.2,0.8\r\n"
      "\"open,1,2\r\n"
      "short,1\r\n"
      "last,73.3,8.86,0.88";  // no line end
  ToolOptions options;
  options.input = input;
  // The text format, the default: the law and two header lines, then one line a row, and the
  // footnote of -20 °C, which lies outside the oils' data.
  const ToolRun text = RunProgram(VISCOSITY_TOOL, {"batch", "--at", "40", "--at", "-20"}, options);
  EXPECT_EQ(text.status, 2);
  EXPECT_EQ(Lines(text.out).size(), 3U + 7U + 1U) << text.out;

  const ToolRun run =
      RunProgram(VISCOSITY_TOOL, {"batch", "-", "--at", "40", "--format", "csv"}, options);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, "4 of 7 rows failed.\n");
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 8U) << run.out;
  EXPECT_EQ(lines[0],
            "line,name,viscosity_index,iso_vg,kinematic_cst_at_40c,dynamic_reyn_at_40c,"
            "dynamic_mpa_s_at_40c,law,within_data_at_40c,error");
  const std::vector<std::string> starts = {
      "2,SHC 632,155,320,",
      "3,\"Oil, \"\"B\"\"\",",
      "5,bad,,,,,,,,\"line 5: v40 \"\"abc\"\" is not a number.\"",
      "6,thin,,,,,,,,line 6: The viscosity at 40 °C must be above 0.4 cSt; it is 0.3.",
      "7,,,,,,,,,\"line 7, column 1: a quote is not closed.\"",
      "8,short,,,,,,,,line 8: 2 fields where the header has 4.",
      "9,last,92,68,"};
  for (std::size_t i = 0; i < starts.size(); ++i) {
    EXPECT_EQ(lines[i + 1].rfind(starts[i], 0), 0U) << lines[i + 1];
  }
  // An oil without a gravity has its dynamic fields empty; one with a gravity has them.
  EXPECT_TRUE(lines[2].ends_with(",,,walther,true,")) << lines[2];
  EXPECT_EQ(lines[1].back(), ',');
  EXPECT_NE(lines[1].find("e-05,"), std::string::npos);

  const Json json = [&] {
    const ToolRun j = RunProgram(VISCOSITY_TOOL, {"batch", "--format", "json"}, options);
    EXPECT_EQ(j.status, 2);
    return Json::parse(j.out);
  }();
  ASSERT_EQ(json.size(), 7U);
  const std::vector<int> numbers = {2, 3, 5, 6, 7, 8, 9};
  const std::vector<bool> failed = {false, false, true, true, true, true, false};
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    EXPECT_EQ(json[i]["line"], numbers[i]);
    EXPECT_EQ(json[i].contains("error"), failed[i]) << json[i];
  }
  EXPECT_EQ(json[1]["name"], "Oil, \"B\"");
  EXPECT_EQ(json[6]["viscosity_index"], 92);

  // Every row good: exit 0, nothing on standard error.
  options.input = "v100,v40\n35,320\n8.86,73.3\n";
  const ToolRun good = RunProgram(VISCOSITY_TOOL, {"batch", "--format", "csv"}, options);
  EXPECT_EQ(good.status, 0);
  EXPECT_EQ(good.err, "");
  EXPECT_EQ(good.out,
            "line,name,viscosity_index,iso_vg,law,error\n2,,155,320,walther,\n3,,92,68,walther,\n");

  // A header without v100 stops the batch before any output.
  options.input = "name,v40\nA,46\n";
  const ToolRun header = RunProgram(VISCOSITY_TOOL, {"batch", "--format", "csv"}, options);
  EXPECT_EQ(header.status, 2);
  EXPECT_EQ(header.out, "");
  EXPECT_EQ(header.err,
            "viscosity: line 1: the header names no v100 column; it must name at least v40 and "
            "v100 (or vi).\n");
  const ToolRun missing = Tool({"batch", "/nonexistent/oils.csv"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err,
            "viscosity: Cannot read /nonexistent/oils.csv: No such file or directory.\n");
}

// The commands the tool's --help lists, as it lists them: the first word of each line below
// "Subcommands:", up to the blank line.
std::vector<std::string> ListedCommands() {
  const std::vector<std::string> lines = Lines(Tool({"--help"}).out);
  std::vector<std::string> commands;
  auto line = std::find(lines.begin(), lines.end(), "Subcommands:");
  if (line == lines.end()) return commands;
  for (++line; line != lines.end() && !line->empty(); ++line) {
    const std::size_t start = line->find_first_not_of(' ');
    commands.push_back(line->substr(start, line->find(' ', start) - start));
  }
  return commands;
}

TEST(ViscosityTool, EveryCommandHasHelpWithAnExampleAndTheToolItsVersion) {
  const std::vector<std::string> commands = ListedCommands();
  EXPECT_EQ(commands,
            std::vector<std::string>(cli::CommandNames().begin(), cli::CommandNames().end()));
  for (const std::string& command : commands) {
    SCOPED_TRACE(command);
    const ToolRun run = Tool({command, "--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("Example:\n  viscosity " + command + " "), std::string::npos) << run.out;
  }
  for (const char* flag : {"--version", "-v"}) {
    const ToolRun version = Tool({flag});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "viscosity " + std::string(kVersion) + "\n");
  }
}

}  // namespace
}  // namespace project1
