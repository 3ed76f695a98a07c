// Every message of the calculation names what it is about: an input names its box (and the
// error carries that input as its subject, which leads back to the box), anything else names
// the file, the row or the control and carries no subject.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/calculate.h"
#include "engine/model.h"
#include "error_expectations.h"
#include "fake_form.h"

namespace project1 {
namespace {

struct MessageCase {
  const char* name;
  std::map<std::string, std::string> inputs;  // box -> typed text
  std::string message;
  std::string box;  // the box the message is about; "" for none
};

void PrintTo(const MessageCase& c, std::ostream* os) { *os << c.name; }

// The name each input box goes by in messages, as a user reads it beside the box.
const std::map<std::string, std::string> kBoxNames = {
    {"vc", "viscosity at 40 °C"},
    {"vh", "viscosity at 100 °C"},
    {"tref", "first reference temperature"},
    {"tref2", "second reference temperature"},
    {"SG", "specific gravity"},
};

const std::vector<MessageCase> kMessages = {
    // Reading the five inputs.
    {"Viscosity40NotANumber",
     {{"vc", "abc"}},
     "The viscosity at 40 °C \"abc\" is not a number.",
     "vc"},
    {"Viscosity100TooLarge",
     {{"vh", "1e999"}},
     "The viscosity at 100 °C \"1e999\" is too large.",
     "vh"},
    {"FirstTemperatureNotANumber",
     {{"tref", ""}},
     "The first reference temperature \"\" is not a number.",
     "tref"},
    {"SecondTemperatureDecimalComma",
     {{"tref2", "1,5"}},
     "The second reference temperature \"1,5\" is not a number. Use \".\" for decimals and \",\" "
     "only between groups of three digits.",
     "tref2"},
    {"GravityNotANumber", {{"SG", "x"}}, "The specific gravity \"x\" is not a number.", "SG"},
    // Fitting the line.
    {"Viscosity40TooLow",
     {{"vc", "0.2"}},
     "The viscosity at 40 °C must be above 0.4 cSt; it is 0.2.",
     "vc"},
    {"Viscosity100TooLow",
     {{"vh", "-1"}},
     "The viscosity at 100 °C must be above 0.4 cSt; it is -1.",
     "vh"},
    // Evaluating it at each reference temperature.
    {"FirstTemperatureBelowAbsoluteZero",
     {{"tref", "-274"}},
     "The first reference temperature must be above -273.16 °C; it is -274.",
     "tref"},
    {"SecondTemperatureBelowAbsoluteZero",
     {{"tref2", "-300"}},
     "The second reference temperature must be above -273.16 °C; it is -300.",
     "tref2"},
    {"FirstTemperatureTooSteep",
     {{"tref", "-273.15"}},
     "The viscosity at the first reference temperature (-273.15 °C) is too large to compute: the "
     "viscosity-temperature line is too steep there.",
     "tref"},
    {"SecondTemperatureTooSteep",
     {{"vc", "100000"}, {"vh", "1"}, {"tref2", "-60"}},
     "The viscosity at the second reference temperature (-60 °C) is too large to compute: the "
     "viscosity-temperature line is too steep there.",
     "tref2"},
    // The density and the dynamic viscosities.
    {"GravityZero", {{"SG", "0"}}, "The specific gravity must be above 0; it is 0.", "SG"},
    {"GravityNegative",
     {{"SG", "-0.9"}},
     "The specific gravity must be above 0; it is -0.9.",
     "SG"},
    {"GravityBelowTheSmallestDouble",
     {{"SG", "1e-400"}},
     "The specific gravity must be above 0; it is 0.",
     "SG"},
    {"GravityTooLargeForTheDynamicViscosity",
     {{"tref", "-70"}, {"SG", "1e308"}},
     "The specific gravity is too large to compute the dynamic viscosity at the first reference "
     "temperature.",
     "SG"},
    // The table file: a row names its temperature, not a box.
    {"TableRowTooSteep",
     {{"vc", "100000"}, {"vh", "1"}},
     "The viscosity at -40 °C is too large to compute: the viscosity-temperature line is too "
     "steep there.",
     ""},
};

class CalculateMessageTest : public ::testing::TestWithParam<MessageCase> {
 protected:
  void SetUp() override { ModuleState() = CalcState{}; }

  TempHome home_;
  FakeForm form_;
};

TEST_P(CalculateMessageTest, NamesItsBoxAndLeadsBackToIt) {
  const MessageCase& c = GetParam();
  for (const auto& [box, text] : c.inputs) form_.Box(box).shown = text;

  const std::optional<Error> error = Caught(CalculateViscosity);

  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->what(), c.message);
  EXPECT_EQ(InputBoxOf(error->subject()), c.box) << "subject: " << error->subject();
  if (!c.box.empty()) {
    EXPECT_EQ(error->subject(), kBoxNames.at(c.box));
    EXPECT_NE(c.message.find(kBoxNames.at(c.box)), std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(EachMessage, CalculateMessageTest, ::testing::ValuesIn(kMessages),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(InputBoxOfTest, KnowsTheFiveInputsAndNothingElse) {
  for (const auto& [box, name] : kBoxNames) EXPECT_EQ(InputBoxOf(name), box) << name;
  for (const char* other : {"", "temperature", "Specific gravity", "vc", "table file"}) {
    EXPECT_EQ(InputBoxOf(other), "") << other;
  }
}

TEST(DensityFromSGTest, RefusesAGravityNotAboveZeroAndKeepsTheDensity) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<std::pair<double, std::string>> cases = {
      {0.0, "0"},
      {-0.0, "0"},
      {-0.9, "-0.9"},
      {-1e-300, "-0." + std::string(299, '0') + "1"},
      {-inf, "minus infinite"}};
  for (const auto& [sg, shown] : cases) {
    CalcState s;
    s.sg = sg;
    s.density = 7;
    const std::optional<Error> error = Caught([&] { DensityFromSG(s); });
    ASSERT_TRUE(error.has_value()) << sg;
    EXPECT_EQ(KindName(error->kind()), KindName(ErrorKind::InvalidArgument));
    EXPECT_EQ(error->what(), "The specific gravity must be above 0; it is " + shown + ".");
    EXPECT_EQ(error->subject(), "specific gravity");
    EXPECT_EQ(s.density, 7);
  }
  // The smallest gravity above 0 still gives a density.
  CalcState s;
  s.sg = std::numeric_limits<double>::denorm_min();
  DensityFromSG(s);
  EXPECT_GE(s.density, 0);
}

}  // namespace
}  // namespace project1
