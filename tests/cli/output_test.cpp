// The renderer: one description of an answer's fields gives its text, CSV and JSON.
#include "cli/output.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "caught.h"

namespace project1::cli {
namespace {

TEST(TextOf, ShowsAValueByItsFieldsPattern) {
  struct Case {
    Field field;
    Value value;
    std::string shown;
  };
  const std::vector<Case> cases = {
      {{"k", "", "", "###,##0.000"}, 12345.6789, "12,345.679"},
      {{"k", "", "", "VG 0"}, 68LL, "VG 68"},  // words before the placeholders stay
      {{"k", "", "", "VG 0", "none"}, Value(), "none"},
      {{"k", "", "", "0"}, -12LL, "-12"},
      {{"k"}, 0.85, "0.85"},  // no pattern: the shortest plain decimal
      {{"k"}, 1e-7, "0.0000001"},
      {{"k", "", "", "0.0"}, std::string_view("words"), "words"},
      {{"k"}, Value(), ""},
      // From 10^15 on, of either sign and with or without a pattern: scientific notation.
      {{"k", "", "", "###,##0.000"}, 9.99e14, "999,000,000,000,000.000"},
      {{"k", "", "", "###,##0.000"}, 1e15, "1e+15"},
      {{"k", "", "", "###,##0.000"}, -1e15, "-1e+15"},
      {{"k"}, 1e300, "1e+300"},
      {{"k", "", "", "0"}, 1234567890123456789LL, "1.2345678901234568e+18"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    EXPECT_EQ(TextOf(c.field, c.value), c.shown);
  }
}

TEST(Words, AreAListInEachFormatAndTheFieldsNoneWhenEmpty) {
  const std::vector<std::string> two = {"SAE 8", "SAE 12"};
  const std::vector<std::string> none;
  const Field fields[] = {{"grades", "Grades", "", "", "none"}};
  struct Case {
    Format format;
    Words words;
    std::string out;
  };
  const std::vector<Case> cases = {
      {Format::Text, two, "Grades  SAE 8, SAE 12\n"},
      {Format::Text, none, "Grades  none\n"},
      {Format::Csv, two, "grades\nSAE 8 SAE 12\n"},  // blank-separated: one field
      {Format::Csv, none, "grades\n\n"},
      {Format::Json, two, "{\n  \"grades\": [\n    \"SAE 8\",\n    \"SAE 12\"\n  ]\n}\n"},
      {Format::Json, none, "{\n  \"grades\": []\n}\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.out);
    EXPECT_EQ(RenderRecord(fields, std::vector<Value>{c.words}, c.format), c.out);
  }
}

TEST(TextOf, RefusesAValueThatIsNotFinite) {
  const std::optional<Error> error = Caught([] { TextOf({"k", "", "", "0.0"}, 1.0 / 0.0); });
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->fault(), Fault::InvalidOperation);
}

// A record of a whole number with a text for none, a number with a unit, a field the text
// leaves out and a word.
const Field kRecord[] = {
    {"index", "Index", "", "0", "undefined"},
    {"nu", "Viscosity", "cSt", "0.00"},
    {"hidden", "", "", "0.0"},
    {"name", "Name"},
};

TEST(RenderRecord, WritesEachFormatFromTheSameFields) {
  struct Case {
    Format format;
    std::vector<Value> values;
    std::string out;
  };
  const std::vector<Case> cases = {
      {Format::Text,
       {92LL, 12.345, 1.5, std::string_view("Oil")},
       "Index      92\nViscosity  12.35 cSt\nName       Oil\n"},
      {Format::Text, {Value(), 1.0, 1.5, Value()}, "Index      undefined\nViscosity  1.00 cSt\n"},
      {Format::Csv,
       {92LL, 12.345, 1.5, std::string_view("Oil, \"B\"")},
       "index,nu,hidden,name\n92,12.345,1.5,\"Oil, \"\"B\"\"\"\n"},
      {Format::Csv, {Value(), 1e-5, 1.5, Value()}, "index,nu,hidden,name\n,1e-05,1.5,\n"},
      {Format::Json,
       {92LL, 12.0, 1.5, std::string_view("Oil")},
       "{\n  \"index\": 92,\n  \"nu\": 12.0,\n  \"hidden\": 1.5,\n  \"name\": \"Oil\"\n}\n"},
      {Format::Json,
       {Value(), 12.0, 1.5, Value()},
       "{\n  \"index\": null,\n  \"nu\": 12.0,\n  \"hidden\": 1.5,\n  \"name\": null\n}\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.out);
    EXPECT_EQ(RenderRecord(kRecord, c.values, c.format), c.out);
  }
}

TEST(TemperatureFields, AreWrittenInTheUnitTheyAreShownIn) {
  const Field fields[] = {
      TemperatureField({"kappa_1_temperature_c", "κ = 1 at", "°C, hottest", "#,##0.0##"}),
      {"nu_40c", "At 40 °C", "cSt", "0.0"}};  // not a temperature
  const std::vector<Value> values = {100.0, 46.0};
  struct Case {
    TemperatureUnit unit;
    Format format;
    std::string out;
  };
  const std::vector<Case> cases = {
      {TemperatureUnit::Celsius, Format::Csv, "kappa_1_temperature_c,nu_40c\n100,46\n"},
      {TemperatureUnit::Fahrenheit, Format::Csv, "kappa_1_temperature_f,nu_40c\n212,46\n"},
      {TemperatureUnit::Kelvin, Format::Csv, "kappa_1_temperature_k,nu_40c\n373.15,46\n"},
      {TemperatureUnit::Fahrenheit, Format::Json,
       "{\n  \"kappa_1_temperature_f\": 212.0,\n  \"nu_40c\": 46.0\n}\n"},
      {TemperatureUnit::Kelvin, Format::Text, "κ = 1 at  373.15 K, hottest\nAt 40 °C  46.0 cSt\n"},
      {TemperatureUnit::Fahrenheit, Format::Text,
       "κ = 1 at  212.0 °F, hottest\nAt 40 °C  46.0 cSt\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.out);
    EXPECT_EQ(RenderRecord(InUnit(fields, c.unit), values, c.format), c.out);
  }
  // From 1,000 on every text column is grouped, the reyn and temperature columns too.
  EXPECT_EQ(TextOf({"r", "", "", kReynText}, 591567.8637240304), "591,567.8637240304");
  EXPECT_EQ(TextOf(InUnit(fields[0], TemperatureUnit::Kelvin), 1000.0), "1,273.15");
}

TEST(RenderRows, WritesColumnsUnderTheirLabelsAndUnits) {
  const Field fields[] = {{"name", "Name"}, {"t", "Temperature", "°C", "0.0"}, {"nu", "ν", "cSt"}};
  const std::vector<std::vector<Value>> rows = {{std::string_view("A"), 40.0, 320.5},
                                                {std::string_view("Longer"), -5.26, 35.0}};
  struct Case {
    Format format;
    std::string out;
  };
  const std::vector<Case> cases = {
      // Words left and numbers right, widths in characters; no blanks end a line.
      {Format::Text,
       "Name    Temperature      ν\n"
       "                 °C    cSt\n"
       "A              40.0  320.5\n"
       "Longer         -5.3     35\n"},
      {Format::Csv, "name,t,nu\nA,40,320.5\nLonger,-5.26,35\n"},
      {Format::Json,
       "[\n  {\n    \"name\": \"A\",\n    \"t\": 40.0,\n    \"nu\": 320.5\n  },\n  {\n    "
       "\"name\": "
       "\"Longer\",\n    \"t\": -5.26,\n    \"nu\": 35.0\n  }\n]\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.out);
    EXPECT_EQ(RenderRows(fields, rows, c.format), c.out);
  }
}

}  // namespace
}  // namespace project1::cli
