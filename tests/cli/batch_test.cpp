// The batch reader as a library: its fast path for plain numbers, and streaming that does not
// depend on where the input's blocks end.
#include "cli/batch.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "bearing/life.h"
#include "cli/run_tool.h"
#include "engine/viscosity_line.h"
#include "error_expectations.h"
#include "numtext/numtext.h"

namespace project1::cli {
namespace {

class StringSink : public OutputSink {
 public:
  explicit StringSink(std::size_t block) : OutputSink(block) {}
  void Drain() override {
    all += buffer;
    buffer.clear();
  }
  std::string all;
};

TEST(PlainNumber, ReadsOnlyPlainTextsAndThoseAsTextToNumberDoes) {
  for (const char* text :
       {"0", "46", "0.85", "320.5", "0.1", "1.005", "123456789012345678901234567890.5",
        "9007199254740993", "0.30000000000000004441"}) {
    SCOPED_TRACE(text);
    const std::optional<double> value = PlainNumber(text);
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(*value, TextToNumber(text));
  }
  // Everything else is left to TextToNumber, with its rules and messages.
  for (const char* text : {"", " 46", "46 ", "+46", "-46", "046", "00.5", ".5", "5.", "1e3",
                           "1,000", "4 6", "46x", "0x10", "inf", "nan", "1.2.3"}) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(PlainNumber(text).has_value());
  }
}

std::string RunInPieces(const std::string& input, std::size_t piece, std::size_t line_limit,
                        Format format = Format::Csv, std::vector<double> temperatures = {40, 100}) {
  BatchSettings settings;
  settings.at = std::move(temperatures);
  settings.format = format;
  settings.line_limit = line_limit;
  StringSink sink(64);  // drains often, as with a large input
  BatchRun run(settings, sink);
  for (std::size_t at = 0; at < input.size(); at += piece) run.Feed(input.substr(at, piece));
  run.Finish();
  sink.Drain();
  return sink.all;
}

TEST(BatchRun, OutputDoesNotDependOnWhereBlocksEnd) {
  const std::string input =
      "name,v40,v100,sg\r\n"
      "SHC 632,320,35,0.87\r\n"
      "\"a long name, with a comma and \"\"quotes\"\" that passes the limit\",46,6.8,0.85\n"
      "\n"
      "B,46,6.8\n"
      "C,1e3,7,\n"
      "\"E\",46,6.8,\"0.85\",\"more\",\"quoted\",\"fields\"\n"
      "\"F, on\r\ntwo lines\",46,6.8,\n"
      "\"open,1,2\n"
      "D,73.3,8.86,0.88";
  const std::string whole = RunInPieces(input, input.size(), 64);
  for (std::size_t piece : {1U, 2U, 3U, 7U, 64U}) {
    SCOPED_TRACE(piece);
    EXPECT_EQ(RunInPieces(input, piece, 64), whole);
  }
  // Line 3 is over the limit and line 5 short of fields: error rows, and the rest answered.
  EXPECT_NE(whole.find("\n3,,,,,,,,,,,,,line 3: the line is longer than 64 bytes.\n"),
            std::string::npos)
      << whole;
  EXPECT_NE(whole.find("\n5,B,,,,,,,,,,,,line 5: 3 fields where the header has 4.\n"),
            std::string::npos)
      << whole;
  EXPECT_NE(whole.find("\n6,C,"), std::string::npos);
  EXPECT_NE(whole.find("\n7,E,102,46,"), std::string::npos);  // quoted fields of any number
  // A quoted field may hold a line break; a quote never closed is refused on its own line, and
  // the lines after it are rows again.
  EXPECT_NE(whole.find("\n8,\"F, on\r\ntwo lines\",102,46,"), std::string::npos) << whole;
  EXPECT_NE(whole.find("\n10,,,,,,,,,,,,,\"line 10, column 1: a quote is not closed.\"\n"),
            std::string::npos)
      << whole;
  EXPECT_NE(whole.find("\n11,D,92,68,"), std::string::npos);
}

TEST(BatchRun, WritesTheSameColumnsInEachFormat) {
  const std::string input =
      "name,v40,v100,sg\n"
      "SHC 632,320,35,0.87\n"
      "B,46,6.8,\n"
      "bad,abc,5,0.9\n";
  struct Case {
    Format format;
    std::string out;
  };
  const std::vector<Case> cases = {
      {Format::Text,
       "Law: walther\n"
       "                                                   at 40 °C          at 40 °C          at "
       "40 °C\n"
       "  line  name                 VI    ISO VG               cSt              reyn             "
       "mPa·s\n"
       "     2  SHC 632             155    VG 320           320.000      0.0000403410           "
       "278.141\n"
       "     3  B                   102     VG 46            46.000                 -              "
       "   -\n"
       "     4  bad               error: line 4: v40 \"abc\" is not a number.\n"},
      {Format::Csv,
       "line,name,viscosity_index,iso_vg,kinematic_cst_at_40c,dynamic_reyn_at_40c,"
       "dynamic_mpa_s_at_40c,law,within_data_at_40c,error\n"
       "2,SHC 632,155,320,320.0000000000017,4.034099738919646e-05,278.1413859628335,walther,true,\n"
       "3,B,102,46,45.999999999999616,,,walther,true,\n"
       "4,bad,,,,,,,,\"line 4: v40 \"\"abc\"\" is not a number.\"\n"},
      {Format::Json,
       "[\n"
       "{\"line\":2,\"name\":\"SHC "
       "632\",\"viscosity_index\":155,\"iso_vg\":320,\"law\":\"walther\","
       "\"at\":[{"
       "\"temperature_c\":40.0,\"kinematic_cst\":320.0000000000017,\"dynamic_reyn\":4."
       "034099738919646e-05,\"dynamic_mpa_s\":278.1413859628335,\"within_data\":true}]},\n"
       "{\"line\":3,\"name\":\"B\",\"viscosity_index\":102,\"iso_vg\":46,\"law\":\"walther\","
       "\"at\":[{\"temperature_c\":40.0,\"kinematic_cst\":45.999999999999616,\"within_data\":true}]"
       "},\n"
       "{\"line\":4,\"name\":\"bad\",\"error\":\"line 4: v40 \\\"abc\\\" is not a number.\"}\n"
       "]\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.out);
    EXPECT_EQ(RunInPieces(input, input.size(), 1U << 16, c.format, {40}), c.out);
  }
  // Without --at and names, only the line, the index, the grade and the error remain.
  EXPECT_EQ(RunInPieces("v40,v100\n46,6.8\n", 64, 64, Format::Text, {}),
            "Law: walther\n" + std::string(41, ' ') +
                "\n  line  name                 VI    ISO VG\n     2              "
                "        102     VG 46\n");
}

TEST(BatchRun, GivesEachRowItsBearingsLifeFromItsColumns) {
  // At the temperature where 46/6.8 has 20 cSt, the worked example on line 2.
  const double t20 = TemperatureFor(FitLine40100(Law::Walther, 46, 6.8), 20);
  const std::string input =
      "name,v40,v100,bore,outside,speed,rating,load,fatigue_load,contamination,type\n"
      "worked,46,6.8,50,95,3000,55.3,10,1.34,0.8,\n"
      "no bearing,46,6.8,,,,,,,,\n"
      "level,46,6.8,50,95,3000,55.3,10,1.34,high,roller\n"
      "loads only,46,6.8,50,95,3000,55.3,10,,,thrust-ball\n"
      "below the load,46,6.8,50,95,3000,5,10,1.34,0.8,\n"
      "no load,46,6.8,50,95,3000,55.3,,1.34,0.8,\n"
      "bad type,46,6.8,50,95,3000,55.3,10,1.34,0.8,needle\n";
  const std::vector<std::string> rows = Lines(RunInPieces(input, 7, 1U << 16, Format::Json, {t20}));
  ASSERT_EQ(rows.size(), 9U);
  const auto row = [&rows](std::size_t line) {
    std::string text = rows[line - 1];
    if (text.back() == ',') text.pop_back();
    return nlohmann::json::parse(text);
  };
  const nlohmann::json worked = row(2);
  EXPECT_NEAR(worked["rated_viscosity_cst"].get<double>(), 9.649, 0.0005);
  EXPECT_NEAR(worked["basic_rating_life_hours"].get<double>(), 939.5, 0.05);
  EXPECT_NEAR(worked["at"][0]["kappa"].get<double>(), 2.073, 0.0005);
  EXPECT_NEAR(worked["at"][0]["a_iso"].get<double>(), 4.82, 0.005);
  EXPECT_NEAR(worked["at"][0]["modified_rating_life_hours"].get<double>(), 4529, 0.5);
  EXPECT_TRUE(row(3)["rated_viscosity_cst"].is_null());
  // "high" below 100 mm is e_C = 0.6; a roller's exponent is 10/3.
  LifeInputs roller{BearingType::Roller, 55.3, 10, 3000, 90, 0.6, 1.34};
  const BasicLife basic = BasicLifeOf(roller);
  const double kappa = row(4)["at"][0]["kappa"].get<double>();
  EXPECT_EQ(row(4)["basic_rating_life_hours"], basic.basic_rating_life_hours);
  EXPECT_EQ(row(4)["at"][0]["a_iso"], *ModifiedLifeAt(roller, basic, kappa).a_iso);
  EXPECT_TRUE(row(5)["at"][0]["a_iso"].is_null());
  EXPECT_FALSE(row(5)["basic_rating_life_hours"].is_null());
  EXPECT_EQ(row(6)["error"],
            "line 6: The dynamic load rating C (5 kN) must not be below the load P (10 kN).");
  EXPECT_EQ(row(7)["error"], "line 7: the row gives rating but no load.");
  EXPECT_EQ(row(8)["error"],
            "line 8: type \"needle\" is not one of ball, roller, thrust-ball, thrust-roller.");
}

TEST(BatchRun, RefusesAHeaderWhoseBearingColumnsCannotWorkTogether) {
  struct Case {
    const char* header;
    const char* message;
  };
  const Case cases[] = {
      {"v40,v100,bore,speed", "line 1: the header names bore without outside."},
      {"v40,v100,dm,bore,outside,speed",
       "line 1: the header names dm and bore or outside; name one."},
      {"v40,v100,dm", "line 1: the header names a bearing size without speed."},
      {"v40,v100,dm,speed,rating", "line 1: the header names rating without load."},
      {"v40,v100,dm,speed,rating,load,fatigue_load",
       "line 1: the header names fatigue_load without contamination."},
      {"v40,v100,rating,load",
       "line 1: the header names a bearing's loads without its dm and speed."},
      {"v40,v100,dm,speed,dm", "line 1: the header names the column dm twice."},
      {"name;v40;v100",
       "line 1: the header's columns are separated by \";\", not \",\". Save the file as CSV with "
       "commas between the columns (in a spreadsheet: Save As, \"CSV (comma delimited)\"), or "
       "replace each \";\" with \",\"."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.header);
    ExpectError([&] { RunInPieces(std::string(c.header) + "\n", 64, 64); }, ErrorKind::BadInput,
                c.message);
  }
}

}  // namespace
}  // namespace project1::cli
