// The tool in an engineer's terms: an oil from its grade and index, temperatures in °C, °F or K,
// lines through three or more measured points, and text that stays in line.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "engine/oil_properties.h"
#include "engine/viscosity_line.h"
#include "numtext/numtext.h"
#include "run_tool.h"

namespace project1 {
namespace {

using Json = nlohmann::json;
using Args = std::vector<std::string>;

std::string Answered(const Args& args, const ToolOptions& options = {}) {
  const ToolRun run = Tool(args, options);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  return run.out;
}

TEST(OilByGradeAndIndex, HasTheIndexItWasGivenAndTheSolversViscosityAt100C) {
  struct Case {
    double v40, vi;
  };
  const std::vector<Case> cases = {{220, 95}, {46, 150}, {32, 0}, {1000, 60}, {10, 120}};
  for (const Case& c : cases) {
    const std::string v40 = std::to_string(c.v40), vi = std::to_string(c.vi);
    SCOPED_TRACE(v40 + " " + vi);
    const Json index = RunJson({"index", "--v40", v40, "--vi", vi});
    const std::optional<double> nu100 = Nu100ForIndex(c.v40, c.vi);
    ASSERT_TRUE(nu100.has_value());
    EXPECT_EQ(index["kinematic_100c_cst"].get<double>(), *nu100);
    EXPECT_NEAR(index["viscosity_index_unrounded"].get<double>(), c.vi, 1e-6);
    // The same oil wherever an oil is read.
    const Json at = RunJson({"at", "100", "--v40", v40, "--vi", vi});
    EXPECT_NEAR(at[0]["kinematic_cst"].get<double>(), *nu100, 1e-9 * *nu100);
  }
}

TEST(OilByGradeAndIndex, IsReadFromTheBatchsViColumn) {
  ToolOptions list;
  list.input = "name,v40,v100,vi\nA,220,,95\nB,46,6.8,\nC,46,6.8,95\nD,5,,95\nE,46,,\n";
  const ToolRun run = Tool({"batch", "--format", "csv"}, list);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out,
            "line,name,viscosity_index,iso_vg,law,error\n"
            "2,A,95,220,walther,\n"
            "3,B,102,46,walther,\n"
            "4,C,,,,\"line 4: give v100 or vi, not both.\"\n"
            "5,D,,,,line 5: no v100 from 2 cSt up gives an oil of 5 cSt at 40 °C a viscosity index "
            "of 95.\n"
            "6,E,,,,line 6: the row gives neither v100 nor vi.\n");
}

TEST(Batch, RefusesAGravityOrExpansionOutsideAnOilsRange) {
  ToolOptions list;
  list.input = "v40,v100,sg\n46,6.8,7\n46,6.8,\"1,320\"\n46,6.8,0.87\n";
  const ToolRun run = Tool({"batch", "--at", "40", "--format", "csv"}, list);
  EXPECT_EQ(run.status, 2);
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 4U);
  EXPECT_EQ(lines[1], "2,,,,,,,,,line 2: sg must be from 0.5 to 3; it is 7.");
  EXPECT_EQ(
      lines[2],
      "3,,,,,,,,,\"line 3: sg must be from 0.5 to 3; it is 1,320, read as 1320 (a comma groups "
      "thousands): did you mean 1.320?\"");
  const ToolRun expansion = Tool({"batch", "--at", "40", "--expansion", "0.01"}, list);
  EXPECT_EQ(expansion.status, 2);
  EXPECT_EQ(expansion.err, "viscosity: --expansion must be from 0 to 0.005 per °C; it is 0.01.\n");
}

TEST(Density, IsReadAsTheGravityOfALabReportsDensityAt15C) {
  // The same answer as the gravity 870 / 999.10 given as --sg.
  const std::string sg = ShortestText(870 / 999.10);
  for (const Args& oil : {Args{"--v40", "46", "--v100", "6.8"}, Args{"--oil", "SHC 632"}}) {
    Args by_density = {"at", "40", "--format", "json", "--density", "870"};
    Args by_sg = {"at", "40", "--format", "json", "--sg", sg};
    by_density.insert(by_density.end(), oil.begin(), oil.end());
    by_sg.insert(by_sg.end(), oil.begin(), oil.end());
    SCOPED_TRACE(testing::PrintToString(by_density));
    EXPECT_EQ(Answered(by_density), Answered(by_sg));
  }
  struct Case {
    Args extra;
    std::string message;
  };
  const Case cases[] = {
      {{"--sg", "870"},
       "--sg must be from 0.5 to 3; 870 is a density: did you mean --density 870?"},
      {{"--density", "0.87"}, "--density must be from 500 to 3,000 kg/m³; it is 0.87."},
      {{"--density", "3001"}, "--density must be from 500 to 3,000 kg/m³; it is 3001."},
      {{"--density", "870", "--sg", "0.87"}, "Give --sg or --density, not both."},
      {{"--expansion", "0.0007"}, "--expansion needs a specific gravity: give --sg or --density."},
  };
  for (const Case& c : cases) {
    Args args = {"table", "--v40", "46", "--v100", "6.8"};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    SCOPED_TRACE(testing::PrintToString(args));
    const ToolRun run = Tool(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "viscosity: " + c.message + "\n");
  }
}

TEST(TemperatureUnit, ShowsEveryTemperatureInTheUnitAsked) {
  struct Case {
    std::string unit, key, symbol;
    double at40, at0;  // 40 °C and 0 °C in the unit
    std::string text40;
  };
  const std::vector<Case> cases = {
      {"C", "temperature_c", "°C", 40, 0, "40.0"},
      {"F", "temperature_f", "°F", 104, 32, "104.0"},
      {"K", "temperature_k", "K", 313.15, 273.15, "313.15"},
  };
  const Json celsius = RunJson({"bearing", "--bore", "340", "--outside", "420", "--speed", "500",
                                "--at", "70", "--oil", "SHC 632"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.unit);
    const Args at = {"at", "40", "--oil", "SHC 632", "--temperature-unit", c.unit};
    const Json json = RunJson(at);
    EXPECT_NEAR(json[0][c.key].get<double>(), c.at40, 1e-9);
    EXPECT_EQ(json[0].size(), 6U);  // no temperature_c beside it; law and within_data

    Args csv_args = at;
    csv_args.insert(csv_args.end(), {"--format", "csv"});
    const std::vector<std::string> csv = Lines(Answered(csv_args));
    ASSERT_EQ(csv.size(), 2U);
    EXPECT_EQ(csv[0], c.key + ",kinematic_cst,dynamic_reyn,dynamic_mpa_s,law,within_data");
    EXPECT_NEAR(std::stod(csv[1].substr(0, csv[1].find(','))), c.at40, 1e-9);

    const std::vector<std::string> text = Lines(Answered(at));
    ASSERT_EQ(text.size(), 4U);
    EXPECT_EQ(text[2].substr(0, text[2].find_first_not_of(' ') + c.symbol.size()).find(c.symbol),
              text[2].find_first_not_of(' '))
        << text[2];
    EXPECT_EQ(text[3].substr(text[3].find_first_not_of(' '), c.text40.size()), c.text40);

    // The table file's header and rows.
    const std::vector<std::string> table = Lines(Answered(
        {"table", "--oil", "SHC 632", "--from", "0", "--to", "5", "--temperature-unit", c.unit}));
    ASSERT_EQ(table.size(), 3U);
    EXPECT_EQ(table[0], " Temp, " + c.unit + "\t viscosity, cSt\r");
    EXPECT_NEAR(std::stod(table[1].substr(0, table[1].find('\t'))), c.at0, 0.05);

    // A temperature answered, the bearing's range and the batch's points.
    const Json temperature =
        RunJson({"temperature-for", "320", "--oil", "SHC 632", "--temperature-unit", c.unit});
    EXPECT_NEAR(temperature[c.key].get<double>(), c.at40, 1e-9);
    const Json bearing = RunJson({"bearing", "--bore", "340", "--outside", "420", "--speed", "500",
                                  "--at", "70", "--oil", "SHC 632", "--temperature-unit", c.unit});
    for (const std::string kappa : {"kappa_1_temperature_", "kappa_4_temperature_"}) {
      const double t_c = celsius[kappa + "c"].get<double>();
      const double shown = c.unit == "F" ? t_c * 9 / 5 + 32 : c.unit == "K" ? t_c + 273.15 : t_c;
      EXPECT_NEAR(bearing[kappa + c.key.substr(c.key.size() - 1)].get<double>(), shown, 1e-9);
    }
    EXPECT_NEAR(bearing["points"][0][c.key].get<double>(),
                c.unit == "F"   ? 158
                : c.unit == "K" ? 343.15
                                : 70,
                1e-9);
    ToolOptions list;
    list.input = "v40,v100\n46,6.8\n";
    const Json batch = Json::parse(
        Answered({"batch", "--at", "40", "--format", "json", "--temperature-unit", c.unit}, list));
    EXPECT_NEAR(batch[0]["at"][0][c.key].get<double>(), c.at40, 1e-9);
  }
}

TEST(Batch, NamesEachTemperaturesColumnsAsTheTemperatureIsGiven) {
  ToolOptions list;
  list.input = "v40,v100,sg\n46,6.8,0.87\n";
  const std::vector<std::string> csv =
      Lines(Answered({"batch", "--at", "160F", "--at", "40", "--at", "344.15 k", "--at", "50C",
                      "--format", "csv", "--temperature-unit", "F"},
                     list));
  ASSERT_FALSE(csv.empty());
  EXPECT_EQ(csv[0],
            "line,name,viscosity_index,iso_vg,kinematic_cst_at_160f,dynamic_reyn_at_160f,"
            "dynamic_mpa_s_at_160f,kinematic_cst_at_40c,dynamic_reyn_at_40c,dynamic_mpa_s_at_40c,"
            "kinematic_cst_at_344.15k,dynamic_reyn_at_344.15k,dynamic_mpa_s_at_344.15k,"
            "kinematic_cst_at_50c,dynamic_reyn_at_50c,dynamic_mpa_s_at_50c,law,within_data_at_160f,"
            "within_data_at_40c,within_data_at_344.15k,within_data_at_50c,error");
  // A temperature with the suffix C is one in °C.
  EXPECT_EQ(Answered({"at", "40C", "100c", "--v40", "46", "--v100", "6.8"}),
            Answered({"at", "40", "100", "--v40", "46", "--v100", "6.8"}));
  const std::string text = Answered({"batch", "--at", "160F", "--at", "40"}, list);
  EXPECT_NE(text.find("at 160 °F"), std::string::npos) << text;
  EXPECT_NE(text.find("at 40 °C"), std::string::npos) << text;
}

TEST(MeasuredPoints, ThreeOrMoreAreFittedAndTheFitReportedInEachFormat) {
  const Args three = {"at", "40", "--point", "20=760", "--point", "60=86", "--point", "100=18.75"};
  const ViscosityPoint points[] = {{20, 760}, {60, 86}, {100, 18.75}};
  const ViscosityLine line = FitLine(Law::Walther, points);
  const double deviation = MaxDeviationPercent(line, points);
  EXPECT_NEAR(deviation, 8.647425670954734, 1e-9);  // worked out apart from the program

  const Json json = RunJson(three);
  EXPECT_EQ(json[0]["kinematic_cst"].get<double>(), KinematicAt(line, 40));
  EXPECT_EQ(json[0]["fit_points"].get<int>(), 3);
  EXPECT_EQ(json[0]["fit_max_deviation_percent"].get<double>(), deviation);
  Args csv = three;
  csv.insert(csv.end(), {"--format", "csv"});
  const std::vector<std::string> csv_lines = Lines(Answered(csv));
  ASSERT_EQ(csv_lines.size(), 2U);
  std::string header = "temperature_c,kinematic_cst,law,fit_points,fit_max_deviation_percent";
  for (const char* n : {"1", "2", "3"}) {
    for (const char* key : {"temperature_c", "measured_cst", "line_cst", "deviation_percent"}) {
      header += std::string(",fit_point_") + n + "_" + key;
    }
  }
  EXPECT_EQ(csv_lines[0], header + ",within_data");
  std::vector<std::string> csv_row;
  for (std::size_t at = 0, end = 0; end != std::string::npos; at = end + 1) {
    end = csv_lines[1].find(',', at);
    csv_row.push_back(csv_lines[1].substr(at, end - at));
  }
  ASSERT_EQ(csv_row.size(), 18U);
  // Each point with the line's viscosity there and its deviation, the same in JSON and in CSV's
  // columns; the text names the farthest.
  ASSERT_EQ(json[0]["fit_points_detail"].size(), 3U);
  for (std::size_t i = 0; i < 3; ++i) {
    const Json& point = json[0]["fit_points_detail"][i];
    const double on_line = KinematicAt(line, points[i].temperature_c);
    EXPECT_EQ(point["temperature_c"].get<double>(), points[i].temperature_c);
    EXPECT_EQ(point["measured_cst"].get<double>(), points[i].kinematic_cst);
    EXPECT_EQ(point["line_cst"].get<double>(), on_line);
    EXPECT_NEAR(point["deviation_percent"].get<double>(),
                (on_line - points[i].kinematic_cst) / points[i].kinematic_cst * 100, 1e-9);
    std::size_t column = 5 + 4 * i;
    for (const char* key : {"temperature_c", "measured_cst", "line_cst", "deviation_percent"}) {
      EXPECT_EQ(std::stod(csv_row[column++]), point[key].get<double>()) << key << " " << i;
    }
  }
  EXPECT_NEAR(std::abs(json[0]["fit_points_detail"][1]["deviation_percent"].get<double>()),
              deviation, 1e-9);
  Args fahrenheit = three;
  fahrenheit.insert(fahrenheit.end(), {"--temperature-unit", "F", "--format", "json"});
  EXPECT_EQ(Json::parse(Answered(fahrenheit))[0]["fit_points_detail"][1]["temperature_f"], 140.0);
  fahrenheit.back() = "csv";
  const std::vector<std::string> fahrenheit_csv = Lines(Answered(fahrenheit));
  EXPECT_NE(fahrenheit_csv[0].find(",fit_point_2_temperature_f,"), std::string::npos);
  EXPECT_NE(fahrenheit_csv[1].find(",walther,3,8.64"), std::string::npos);
  EXPECT_NE(fahrenheit_csv[1].find(",140,86,"), std::string::npos) << fahrenheit_csv[1];
  EXPECT_NE(Answered(three).find("Fitted through 3 points; the line is within 8.647 % of each. "
                                 "Farthest from it: the point at 60.0 °C, 86.000 cSt measured, " +
                                 FormatNumber(KinematicAt(line, 60), "###,##0.000") +
                                 " cSt on the line (-8.647 %).\n"),
            std::string::npos)
      << Answered(three);
  Args index = three;
  index[0] = "index";
  index.erase(index.begin() + 1);
  const std::string record = Answered(index);
  EXPECT_NE(record.find("Points fitted               3\n"), std::string::npos) << record;
  EXPECT_NE(record.find("Largest deviation           8.647 %\n"), std::string::npos) << record;

  const Json bearing = RunJson({"bearing", "--dm", "380", "--speed", "500", "--at", "70", "--point",
                                "20=760", "--point", "60=86", "--point", "100=18.75"});
  EXPECT_EQ(bearing["fit_points"].get<int>(), 3);
  EXPECT_EQ(bearing["fit_max_deviation_percent"].get<double>(), deviation);

  // Two points: today's line exactly, and no fit reported.
  const Json two = RunJson({"at", "60", "--point", "20=760", "--point", "100=18.75"});
  EXPECT_EQ(two[0]["kinematic_cst"].get<double>(),
            KinematicAt(FitLine(Law::Walther, {20, 760}, {100, 18.75}), 60));
  EXPECT_FALSE(two[0].contains("fit_points"));
}

TEST(WithinData, EachRowSaysWhetherItsTemperatureLiesInTheOilsMeasuredRange) {
  struct Case {
    Args oil;
    std::vector<std::string> temperatures;
    std::vector<bool> within;
    std::string range;  // the footnote's range
  };
  const Case cases[] = {
      {{"--v40", "46", "--v100", "6.8"},
       {"39.9", "40", "70", "100", "100.1", "5000"},
       {false, true, true, true, false, false},
       "40.0 to 100.0 °C"},
      {{"--oil", "SHC 632"}, {"40", "-40"}, {true, false}, "40.0 to 100.0 °C"},
      {{"--point", "80=40", "--point", "20=500", "--point", "60=100"},
       {"20", "50", "80", "90"},
       {true, true, true, false},
       "20.0 to 80.0 °C"},
  };
  for (const Case& c : cases) {
    Args args = {"at"};
    args.insert(args.end(), c.temperatures.begin(), c.temperatures.end());
    args.insert(args.end(), c.oil.begin(), c.oil.end());
    SCOPED_TRACE(testing::PrintToString(args));
    const Json json = RunJson(args);
    Args csv = args;
    csv.insert(csv.end(), {"--format", "csv"});
    const std::vector<std::string> csv_lines = Lines(Answered(csv));
    const std::vector<std::string> text = Lines(Answered(args));
    for (std::size_t i = 0; i < c.within.size(); ++i) {
      EXPECT_EQ(json[i]["within_data"], c.within[i]) << i;
      EXPECT_TRUE(csv_lines[i + 1].ends_with(c.within[i] ? ",true" : ",false")) << csv_lines[i + 1];
      EXPECT_EQ(text[i + 3].ends_with("*"), !c.within[i]) << text[i + 3];
    }
    EXPECT_EQ(text[c.within.size() + 3], "* outside the oil's measured range, " + c.range +
                                             ": the line is carried beyond its data.");
  }
  // Every answer names its law.
  EXPECT_EQ(RunJson({"at", "40", "--oil", "SHC 632", "--law", "d341"})[0]["law"], "d341");
  EXPECT_EQ(RunJson({"index", "--oil", "SHC 632"})["law"], "walther");
  EXPECT_EQ(RunJson({"bearing", "--dm", "380", "--speed", "500", "--at", "70", "--oil", "SHC 632",
                     "--law", "d341"})["law"],
            "d341");
  // All rows within: no mark and no footnote.
  EXPECT_EQ(Lines(Answered({"at", "40", "100", "--v40", "46", "--v100", "6.8"})).size(), 5U);
}

TEST(WithinData, IsSaidByEveryAnswerAboutATemperatureAndTheTextNamesTheLaw) {
  struct Case {
    Args args;
    std::vector<bool> within;  // JSON's within_data in document order; CSV's columns row by row
    std::string law;
    std::optional<std::string> input = std::nullopt;  // a batch's
  };
  const Args oil = {"--v40", "46", "--v100", "6.8"};
  const auto blend_at = [](const char* t) {
    return Args{"blend", "--point",     "20=500", "--point",    "60=100", "--with-v40",
                "46",    "--with-v100", "6.8",    "--fraction", "0.5",    "--at",
                t};
  };
  const Args bearing = {"bearing", "--dm", "380", "--speed", "500", "--at", "70", "150"};
  const Case cases[] = {
      {{"temperature-for", "10"}, {true}, "walther"},
      {{"temperature-for", "1000", "--law", "d341"}, {false}, "d341"},
      // The blend's temperature within both oils' data: 40 to 60 °C.
      {blend_at("50"), {true}, "walther"},
      {blend_at("30"), {false}, "walther"},
      {blend_at("80"), {false}, "walther"},
      {bearing, {true, false}, "walther"},
      {{"batch", "--at", "150", "--at", "40", "--law", "d341"},
       {false, true, false, true},
       "d341",
       "v40,v100\n46,6.8\n320,35\n"},
  };
  for (Case c : cases) {
    if (c.args[0] != "blend" && !c.input) c.args.insert(c.args.end(), oil.begin(), oil.end());
    SCOPED_TRACE(testing::PrintToString(c.args));
    ToolOptions options;
    options.input = c.input;
    auto run = [&](const std::string& format) {
      Args args = c.args;
      args.insert(args.end(), {"--format", format});
      return Answered(args, options);
    };
    std::vector<bool> json;
    const std::function<void(const Json&)> collect = [&](const Json& value) {
      for (const auto& [key, item] : value.items()) {
        if (key == "within_data") json.push_back(item.get<bool>());
        if (item.is_structured()) collect(item);
      }
    };
    collect(Json::parse(run("json")));
    EXPECT_EQ(json, c.within);

    std::vector<bool> csv;
    const std::vector<std::string> lines = Lines(run("csv"));
    std::vector<std::size_t> columns;
    for (std::size_t i = 1; i < lines.size(); ++i) {
      std::vector<std::string> fields;
      for (std::size_t at = 0, end = 0; end != std::string::npos; at = end + 1) {
        end = lines[i].find(',', at);
        fields.push_back(lines[i].substr(at, end - at));
      }
      std::size_t column = 0;
      for (std::size_t at = 0, end = 0; end != std::string::npos; at = end + 1, ++column) {
        end = lines[0].find(',', at);
        if (lines[0].compare(at, 11, "within_data") == 0)
          csv.push_back(fields.at(column) == "true");
      }
    }
    EXPECT_EQ(csv, c.within);

    // Text: the law first; each answer outside the data marked once, and one footnote.
    const std::vector<std::string> text = Lines(run("text"));
    EXPECT_EQ(text.at(0), "Law: " + c.law);
    std::size_t marks = 0, notes = 0;
    for (const std::string& line : text) {
      if (line.starts_with("* outside ")) {
        ++notes;
      } else {
        marks += line.find(" *") != std::string::npos;
      }
    }
    // A batch marks its temperature's heading, whatever the rows.
    const auto outside = c.input ? 1 : std::count(c.within.begin(), c.within.end(), false);
    EXPECT_EQ(marks, static_cast<std::size_t>(outside));
    EXPECT_EQ(notes, outside > 0 ? 1U : 0U);
  }
}

TEST(TextOutput, StaysInOneStyleAndInLine) {
  // The reyn column grouped as its neighbours are.
  const std::vector<std::string> cold = Lines(Answered({"at", "-100", "--oil", "SHC 632"}));
  ASSERT_EQ(cold.size(), 5U);  // the law, the row marked outside the oil's data, its footnote
  EXPECT_NE(cold[3].find(" 591,567.8637240304 "), std::string::npos) << cold[2];

  // A name matched without regard to case and blanks gives the catalogue oil's answer.
  const std::string exact = Answered({"at", "40", "--oil", "SHC 632"});
  for (const char* name : {"shc 632", "SHC632", "Shc  632"}) {
    EXPECT_EQ(Answered({"at", "40", "--oil", name}), exact) << name;
  }

  // Batch rows keep their columns however long the names.
  ToolOptions list;
  list.input = "name,v40,v100\nShort,46,6.8\nA lubricant with a long name,46,6.8\n";
  const std::vector<std::string> lines = Lines(Answered({"batch", "--at", "100"}, list));
  std::vector<std::size_t> ends;
  for (const std::string& line : lines) {
    if (line.find("6.800") != std::string::npos) ends.push_back(line.find("6.800"));
  }
  ASSERT_EQ(ends.size(), 2U);
  EXPECT_EQ(ends[0], ends[1]);
}

TEST(Table, StepsInTheUnitItsTemperaturesAreGivenIn) {
  // 68 °F to 212 °F in steps of 36 °F: 20, 40, 60, 80 and 100 °C.
  const std::string table = Answered({"table", "--v40", "46", "--v100", "6.8", "--from", "68F",
                                      "--to", "212F", "--step", "36F", "--temperature-unit", "F"});
  std::vector<std::string> temperatures;
  for (const std::string& line : Lines(table))
    temperatures.push_back(line.substr(0, line.find('\t')));
  EXPECT_EQ(temperatures,
            (std::vector<std::string>{" Temp, F", "68.0", "104.0", "140.0", "176.0", "212.0"}));
  const ToolRun refused = Tool({"table", "--v40", "46", "--v100", "6.8", "--step", "-9F"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.err, "viscosity: --step must be above 0; it is -5.\n");
}

TEST(Table, EndsAtToWhereverTheStepsLand) {
  struct Case {
    std::string step;
    std::vector<double> temperatures;
  };
  const std::vector<Case> cases = {
      {"30", {0, 30, 60, 90, 100}},
      {"25", {0, 25, 50, 75, 100}},
      {"60", {0, 60, 100}},
      {"0.1", {}},  // 1001 rows, the last 100 °C
      // A step in °F or K, as the temperatures are.
      {"45F", {0, 25, 50, 75, 100}},
      {"50K", {0, 50, 100}},
      {"50C", {0, 50, 100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    const Json rows = RunJson(
        {"table", "--v40", "46", "--v100", "6.8", "--from", "0", "--to", "100", "--step", c.step});
    std::vector<double> temperatures;
    for (const Json& row : rows) {
      temperatures.push_back(std::round(row["temperature_c"].get<double>() * 1e9) / 1e9);
    }
    if (c.temperatures.empty()) {
      EXPECT_EQ(temperatures.size(), 1001U);
      EXPECT_NEAR(temperatures.back(), 100, 1e-9);
    } else {
      EXPECT_EQ(temperatures, c.temperatures);
    }
  }
}

}  // namespace
}  // namespace project1
