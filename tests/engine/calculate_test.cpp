#include "engine/calculate.h"

#include "table_file/table_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "error_expectations.h"
#include "test_support.h"

namespace project1 {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kEarlierTable = " Temp, C\t viscosity, cSt\r\n-40.0\t1.000\r\n";

// The window's inputs as it starts.
const CalculationInputs kStartingInputs = {"320", "35", "71", "150", "0.87"};

// One typed input: which of the five, and its text.
using Typed = std::pair<std::string CalculationInputs::*, std::string>;

CalculationInputs With(const std::vector<Typed>& typed) {
  CalculationInputs inputs = kStartingInputs;
  for (const auto& [input, text] : typed) inputs.*input = text;
  return inputs;
}

std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end = bytes.find("\r\n"); end != std::string::npos;
       end = bytes.find("\r\n", start)) {
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  if (start != bytes.size()) lines.push_back(bytes.substr(start));
  return lines;
}

// What a user sees of an outcome: the result texts in order, and the message ("" for none).
struct Seen {
  std::vector<std::string> texts;
  std::string message;
  std::string subject;
  bool operator==(const Seen&) const = default;
};

void PrintTo(const Seen& seen, std::ostream* os) {
  *os << "[";
  for (const std::string& text : seen.texts) *os << " " << text;
  *os << " ] \"" << seen.message << "\" subject \"" << seen.subject << "\"";
}

Seen SeenOf(const CalculationOutcome& outcome) {
  Seen seen;
  for (const ShownResult& shown : outcome.shown) seen.texts.push_back(shown.text);
  if (outcome.failure) {
    seen.message = outcome.failure->what();
    seen.subject = outcome.failure->subject();
  }
  return seen;
}

// Calculates in a child process without the superuser's rights (see RunUnprivileged) and brings
// back what the child saw, its fields separated by NUL.
Seen SeenUnprivileged(const CalculationInputs& inputs) {
  const ChildOutcome child = RunUnprivileged([&inputs] {
    const Seen seen = SeenOf(Calculate(inputs));
    std::string out = seen.message + '\0' + seen.subject;
    for (const std::string& text : seen.texts) out += '\0' + text;
    return out;
  });
  Seen seen;
  if (!child.ran) {
    ADD_FAILURE() << "the unprivileged calculation did not run: " << child.text;
    return seen;
  }
  std::vector<std::string> fields;
  for (std::size_t start = 0;;) {
    const std::size_t end = child.text.find('\0', start);
    fields.push_back(child.text.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  seen.message = fields.at(0);
  seen.subject = fields.at(1);
  seen.texts.assign(fields.begin() + 2, fields.end());
  return seen;
}

class CalculateTest : public ::testing::Test {
 protected:
  fs::path TablePath() const { return home_.File("Viscosity.txt"); }

  TempHome home_;
};

TEST_F(CalculateTest, StartingInputsGiveTheTypicalResultsAndTable) {
  const CalculationOutcome outcome = Calculate(kStartingInputs);

  ASSERT_TRUE(outcome.Succeeded()) << outcome.failure->what();
  EXPECT_EQ(SeenOf(outcome), (Seen{{"85.642", "11.987", ".0000108", ".00000151"}, "", ""}));
  std::vector<Result> order;
  for (const ShownResult& shown : outcome.shown) order.push_back(shown.result);
  EXPECT_EQ(order, (std::vector<Result>{Result::kViscosity1, Result::kViscosity2, Result::kDynamic1,
                                        Result::kDynamic2}));
  EXPECT_EQ(outcome.table, TablePath());
  EXPECT_EQ(CompletionNotice(outcome.table.parent_path().string()),
            "the file Viscosity.txt was created in " + home_.Path().string() + "/");

  const std::optional<std::string> bytes = ReadBytes(TablePath());
  ASSERT_TRUE(bytes.has_value());
  EXPECT_TRUE(bytes->ends_with("\r\n"));
  EXPECT_EQ(std::count(bytes->begin(), bytes->end(), '\n'), 60);
  EXPECT_EQ(std::count(bytes->begin(), bytes->end(), '\r'), 60);
  const std::vector<std::string> lines = SplitLines(*bytes);
  ASSERT_EQ(lines.size(), 60u);
  EXPECT_EQ(lines[0], " Temp, C\t viscosity, cSt");
  EXPECT_EQ(lines[1], "-40.0\t412,753.932");
  EXPECT_EQ(lines[16], "35.0\t415.075");
  EXPECT_EQ(lines[29], "100.0\t35.000");
  EXPECT_EQ(lines[59], "250.0\t3.527");

  // The outcome keeps the inputs, the fit and the results.
  const CalcState& s = outcome.values;
  EXPECT_EQ(s.visc40, 320);
  EXPECT_EQ(s.gravity, 0.87);
  EXPECT_NEAR(s.line.b, 2.7353244, 1e-7);
  EXPECT_NEAR(s.visc1, 85.64225, 1e-5);
  EXPECT_NEAR(s.dynamic1, 1.0796544e-05, 1e-12);
}

// How HOME looks when the calculation runs.
enum class Home { kFresh, kUnset, kMissingFolder, kTableIsFolder, kReadOnly };

struct FailureCase {
  std::string name;
  std::vector<Typed> typed;
  Home home;
  Fault fault;                     // Fault::None for the table file's failures
  std::string message;             // "{home}" stands for the home folder
  std::string subject;             // the input the message is about, "" for none
  std::vector<std::string> shown;  // the result texts shown before the failure
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

const std::vector<std::string> kFourResults = {"85.642", "11.987", ".0000108", ".00000151"};
const std::string kVisc40(kVisc40Name);
const std::string kVisc100(kVisc100Name);
const std::string kTemp1(kTemp1Name);
const std::string kTemp2(kTemp2Name);
const std::string kGravity(kGravityName);

const std::vector<FailureCase> kFailures = {
    // Reading the five inputs: nothing is shown.
    {"EmptyViscosityAt40",
     {{&CalculationInputs::visc40, ""}},
     Home::kFresh,
     Fault::TypeMismatch,
     "The viscosity at 40 °C \"\" is not a number.",
     kVisc40,
     {}},
    {"WordForViscosityAt100",
     {{&CalculationInputs::visc100, "thirty-five"}},
     Home::kFresh,
     Fault::TypeMismatch,
     "The viscosity at 100 °C \"thirty-five\" is not a number.",
     kVisc100,
     {}},
    {"ViscosityAt100BeyondADouble",
     {{&CalculationInputs::visc100, "1e999"}},
     Home::kFresh,
     Fault::Overflow,
     "The viscosity at 100 °C \"1e999\" is too large.",
     kVisc100,
     {}},
    {"UnitAfterFirstTemperature",
     {{&CalculationInputs::temp1, "71C"}},
     Home::kFresh,
     Fault::TypeMismatch,
     "The first reference temperature \"71C\" is not a number.",
     kTemp1,
     {}},
    {"BlankSecondTemperature",
     {{&CalculationInputs::temp2, "  "}},
     Home::kFresh,
     Fault::TypeMismatch,
     "The second reference temperature \"  \" is not a number.",
     kTemp2,
     {}},
    {"DecimalCommaInSecondTemperature",
     {{&CalculationInputs::temp2, "1,5"}},
     Home::kFresh,
     Fault::TypeMismatch,
     "The second reference temperature \"1,5\" is not a number. Use \".\" for decimals and \",\" "
     "only between groups of three digits.",
     kTemp2,
     {}},
    {"EmptySpecificGravity",
     {{&CalculationInputs::gravity, ""}},
     Home::kFresh,
     Fault::TypeMismatch,
     "The specific gravity \"\" is not a number.",
     kGravity,
     {}},
    {"DecimalCommaInSpecificGravity",
     {{&CalculationInputs::gravity, "0,87"}},
     Home::kFresh,
     Fault::TypeMismatch,
     "The specific gravity \"0,87\" is not a number. Use \".\" for decimals and \",\" only "
     "between groups of three digits.",
     kGravity,
     {}},
    {"SpecificGravityBeyondADouble",
     {{&CalculationInputs::gravity, "1e999"}},
     Home::kFresh,
     Fault::Overflow,
     "The specific gravity \"1e999\" is too large.",
     kGravity,
     {}},
    // Fitting the line: nothing is shown.
    {"ViscosityAt40Of04",
     {{&CalculationInputs::visc40, "0.4"}},
     Home::kFresh,
     Fault::InvalidArgument,
     "The viscosity at 40 °C must be above 0.4 cSt; it is 0.4.",
     kVisc40,
     {}},
    {"ViscosityAt100Of04",
     {{&CalculationInputs::visc100, "0.4"}},
     Home::kFresh,
     Fault::InvalidArgument,
     "The viscosity at 100 °C must be above 0.4 cSt; it is 0.4.",
     kVisc100,
     {}},
    {"NegativeViscosityAt100",
     {{&CalculationInputs::visc100, "-35"}},
     Home::kFresh,
     Fault::InvalidArgument,
     "The viscosity at 100 °C must be above 0.4 cSt; it is -35.",
     kVisc100,
     {}},
    // Evaluating the line at each reference temperature.
    {"FirstTemperatureBelowAbsoluteZero",
     {{&CalculationInputs::temp1, "-300"}},
     Home::kFresh,
     Fault::InvalidArgument,
     "The first reference temperature must be above -273.16 °C; it is -300.",
     kTemp1,
     {}},
    {"FirstTemperatureTooSteep",
     {{&CalculationInputs::temp1, "-273.15"}},
     Home::kFresh,
     Fault::Overflow,
     "The viscosity at the first reference temperature (-273.15 °C) is too large to compute: "
     "the viscosity-temperature line is too steep there.",
     kTemp1,
     {}},
    {"SecondTemperatureBelowAbsoluteZero",
     {{&CalculationInputs::temp2, "-300"}},
     Home::kFresh,
     Fault::InvalidArgument,
     "The second reference temperature must be above -273.16 °C; it is -300.",
     kTemp2,
     {"85.642"}},
    {"SecondTemperatureAtAbsoluteZero",
     {{&CalculationInputs::temp2, "-273.16"}},
     Home::kFresh,
     Fault::InvalidArgument,
     "The second reference temperature must be above -273.16 °C; it is -273.16.",
     kTemp2,
     {"85.642"}},
    {"SecondTemperatureTooSteep",
     {{&CalculationInputs::visc40, "100000"},
      {&CalculationInputs::visc100, "1"},
      {&CalculationInputs::temp2, "-60"}},
     Home::kFresh,
     Fault::Overflow,
     "The viscosity at the second reference temperature (-60 °C) is too large to compute: the "
     "viscosity-temperature line is too steep there.",
     kTemp2,
     {"7.221"}},
    // The density: the two kinematic results are new.
    {"GravityOfZero",
     {{&CalculationInputs::gravity, "0"}},
     Home::kFresh,
     Fault::InvalidArgument,
     "The specific gravity must be above 0; it is 0.",
     kGravity,
     {"85.642", "11.987"}},
    {"NegativeGravity",
     {{&CalculationInputs::gravity, "-0.9"}},
     Home::kFresh,
     Fault::InvalidArgument,
     "The specific gravity must be above 0; it is -0.9.",
     kGravity,
     {"85.642", "11.987"}},
    {"GravityBelowTheSmallestDouble",
     {{&CalculationInputs::gravity, "1e-400"}},
     Home::kFresh,
     Fault::InvalidArgument,
     "The specific gravity must be above 0; it is 0.",
     kGravity,
     {"85.642", "11.987"}},
    // The dynamic viscosities.
    {"DynamicViscosityBeyondADouble",
     {{&CalculationInputs::temp1, "-70"}, {&CalculationInputs::gravity, "1e308"}},
     Home::kFresh,
     Fault::Overflow,
     "The specific gravity is too large to compute the dynamic viscosity at the first reference "
     "temperature.",
     kGravity,
     {"153,110,844.928", "11.987"}},
    // The table: the four results are new; a row names its temperature, not an input.
    {"LineOverflowsAtTheFirstRow",
     {{&CalculationInputs::visc40, "100000"}, {&CalculationInputs::visc100, "1"}},
     Home::kFresh,
     Fault::Overflow,
     "The viscosity at -40 °C is too large to compute: the viscosity-temperature line is too "
     "steep there.",
     "",
     {"7.221", ".449", ".00000091", ".00000006"}},
    {"HomeNotSet",
     {},
     Home::kUnset,
     Fault::None,
     "Cannot write the table file: the home folder is not set (HOME is not set).",
     "",
     kFourResults},
    {"HomeFolderMissing",
     {},
     Home::kMissingFolder,
     Fault::None,
     "Cannot write the table file: the home folder {home}/gone is not an existing folder.",
     "",
     kFourResults},
    {"TableNameTakenByAFolder",
     {},
     Home::kTableIsFolder,
     Fault::None,
     "Cannot write the table file {home}/Viscosity.txt: Is a directory.",
     "",
     kFourResults},
    {"HomeFolderReadOnly",
     {},
     Home::kReadOnly,
     Fault::None,
     "Cannot write the table file {home}/Viscosity.txt: Permission denied.",
     "",
     kFourResults},
};

class CalculateFailureTest : public CalculateTest,
                             public ::testing::WithParamInterface<FailureCase> {};

TEST_P(CalculateFailureTest, StopsAtTheFailingStepAndShowsWhatCameBefore) {
  const FailureCase& c = GetParam();
  const std::string home = home_.Path().string();
  const fs::path table = TablePath();
  if (c.home == Home::kTableIsFolder) {
    fs::create_directory(table);
    WriteBytes(table / "kept", kEarlierTable);
  } else {
    WriteBytes(table, kEarlierTable);
  }
  if (c.home == Home::kUnset) TempHome::SetHome(std::nullopt);
  if (c.home == Home::kMissingFolder) TempHome::SetHome(home + "/gone");
  if (c.home == Home::kReadOnly) {
    // The user's own home folder, readable but not writable. The superuser could write into it
    // anyway, so the calculation runs as an unprivileged user who owns the folder.
    GiveToUnprivilegedUser(home_.Path());
    fs::permissions(home_.Path(), fs::perms::owner_read | fs::perms::owner_exec);
  }
  const CalculationInputs inputs = With(c.typed);

  std::string message = c.message;
  if (const std::size_t at = message.find("{home}"); at != std::string::npos) {
    message.replace(at, 6, home);
  }
  if (c.home == Home::kReadOnly) {
    EXPECT_EQ(SeenUnprivileged(inputs), (Seen{c.shown, message, c.subject}));
  } else {
    const CalculationOutcome outcome = Calculate(inputs);
    ASSERT_TRUE(outcome.failure.has_value());
    EXPECT_EQ(FaultName(outcome.failure->fault()), FaultName(c.fault));
    EXPECT_EQ(outcome.failure->kind(),
              c.fault == Fault::None ? ErrorKind::File : ErrorKind::BadInput);
    EXPECT_EQ(SeenOf(outcome), (Seen{c.shown, message, c.subject}));
    EXPECT_TRUE(outcome.table.empty());
  }

  // The earlier table stays as it was, and no temporary file is left beside it.
  if (c.home == Home::kTableIsFolder) {
    EXPECT_TRUE(fs::is_directory(table));
    EXPECT_EQ(ReadBytes(table / "kept"), std::string(kEarlierTable));
  } else {
    EXPECT_EQ(ReadBytes(table), std::string(kEarlierTable));
  }
  EXPECT_EQ(FolderListing(home_.Path()), std::vector<std::string>{"Viscosity.txt"});
}

INSTANTIATE_TEST_SUITE_P(EachFailingStep, CalculateFailureTest, ::testing::ValuesIn(kFailures),
                         [](const auto& test) { return test.param.name; });

TEST_F(CalculateTest, WithoutAFileEveryInputFailureIsTheSameAndTheTableIsTheFilesBytes) {
  for (const FailureCase& c : kFailures) {
    if (c.home != Home::kFresh) continue;
    SCOPED_TRACE(c.name);
    const CalculationOutcome outcome = CalculateWithoutFile(With(c.typed));
    EXPECT_EQ(SeenOf(outcome), (Seen{c.shown, c.message, c.subject}));
    EXPECT_TRUE(outcome.table_text.empty());
  }

  const CalculationOutcome written = Calculate(kStartingInputs);
  const std::optional<std::string> file = ReadBytes(TablePath());
  ASSERT_TRUE(file.has_value());
  fs::remove(TablePath());
  // No home folder is needed, and none is written to.
  TempHome::SetHome(std::nullopt);
  const CalculationOutcome kept = CalculateWithoutFile(kStartingInputs);
  ASSERT_TRUE(kept.Succeeded()) << kept.failure->what();
  EXPECT_EQ(SeenOf(kept), SeenOf(written));
  EXPECT_EQ(kept.table_text, *file);
  EXPECT_TRUE(kept.table.empty());
  EXPECT_TRUE(FolderListing(home_.Path()).empty());
}

TEST_F(CalculateTest, AtFortyAndAHundredDegreesGivesBackTheTwoViscosities) {
  const std::pair<const char*, const char*> oils[] = {
      {"320", "35"}, {"31", "5.8"}, {"968", "78.5"}, {"50", "50"}};
  for (const auto& [visc40, visc100] : oils) {
    const CalculationOutcome outcome = Calculate({visc40, visc100, "40", "100", "0.87"});
    ASSERT_TRUE(outcome.Succeeded()) << visc40 << ": " << outcome.failure->what();
    EXPECT_EQ(outcome.shown.at(0).text, visc40);
    EXPECT_EQ(outcome.shown.at(1).text, visc100);
  }
}

TEST_F(CalculateTest, CalculatingTwiceGivesTheSameTextsAndTheSameFile) {
  const Seen first = SeenOf(Calculate(kStartingInputs));
  const std::optional<std::string> first_file = ReadBytes(TablePath());
  ASSERT_TRUE(first_file.has_value());
  WriteBytes(TablePath(), kEarlierTable);

  EXPECT_EQ(SeenOf(Calculate(kStartingInputs)), first);
  EXPECT_EQ(ReadBytes(TablePath()), first_file);
}

TEST(CompletionNoticeTest, NamesTheFileAndTheFolderEndingInOneSlash) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"/home/ann", "the file Viscosity.txt was created in /home/ann/"},
      {"/home/ann/", "the file Viscosity.txt was created in /home/ann/"},
      {"/home/ann//", "the file Viscosity.txt was created in /home/ann/"},
      {"/", "the file Viscosity.txt was created in /"},
      {"/srv/oil data", "the file Viscosity.txt was created in /srv/oil data/"},
  };
  for (const auto& [folder, notice] : cases) {
    EXPECT_EQ(CompletionNotice(folder), notice) << folder;
  }
}

}  // namespace
}  // namespace project1
