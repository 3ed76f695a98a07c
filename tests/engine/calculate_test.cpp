#include "engine/calculate.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "engine/model.h"
#include "engine/table_file.h"
#include "error_expectations.h"
#include "fake_form.h"
#include "numtext/numtext.h"

namespace project1 {
namespace {

namespace fs = std::filesystem;
using State = std::map<std::string, std::string>;

constexpr std::string_view kEarlierTable = " Temp, C\t viscosity, cSt\r\n-40.0\t1.000\r\n";
const std::string kGreen = "0x0080FF80";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
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

std::optional<Error> Calculate() { return Caught(CalculateViscosity); }

// How a calculation ended: its error, if any, and what the window shows afterwards.
struct Ran {
  std::optional<Error> error;
  State shown;
};

// Calculates in a child process without the superuser's rights (see RunUnprivileged) against
// this process's window and home folder, and brings back the error and the window the child saw.
Ran CalculateUnprivileged(const FakeForm& form) {
  const ChildOutcome child = RunUnprivileged([&form] {
    const std::optional<Error> error = Calculate();
    // Fields separated by NUL: the kind (or "-") and message, then each control property.
    std::string out = error ? std::to_string(static_cast<int>(error->kind())) : "-";
    out += '\0';
    out += error ? error->what() : "";
    for (const auto& [key, value] : form.State()) {
      out += '\0' + key + '\0' + value;
    }
    return out;
  });
  Ran ran;
  if (!child.ran) {
    ADD_FAILURE() << "the unprivileged calculation did not run: " << child.text;
    return ran;
  }
  std::vector<std::string> fields;
  for (std::size_t start = 0;;) {
    const std::size_t end = child.text.find('\0', start);
    fields.push_back(child.text.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  if (fields.size() < 2 || fields.size() % 2 != 0) {
    ADD_FAILURE() << "unreadable answer from the child: " << child.text;
    return ran;
  }
  if (fields[0] != "-") ran.error = Error(static_cast<ErrorKind>(std::stoi(fields[0])), fields[1]);
  for (std::size_t i = 2; i < fields.size(); i += 2) ran.shown[fields[i]] = fields[i + 1];
  return ran;
}

class CalculateViscosityTest : public ::testing::Test {
 protected:
  void SetUp() override { ModuleState() = CalcState{}; }

  fs::path TablePath() const { return home_.File("Viscosity.txt"); }
  std::string Notice() const {
    return "the file Viscosity.txt was created in " + home_.Path().string() + "/";
  }

  TempHome home_;
  FakeForm form_;
};

TEST_F(CalculateViscosityTest, WindowAsItStartsGivesTheTypicalResultsTableNoticeAndColours) {
  State expected = form_.State();
  expected["vcalc.Text"] = "85.642";
  expected["vcalc2.Text"] = "11.987";
  expected["DynVisc.Text"] = ".0000108";
  expected["DynVisc2.Text"] = ".00000151";
  expected["Label4.Caption"] = Notice();
  expected["Label4.Bold"] = "true";
  expected["Label4.Size"] = "14";
  for (const char* box : {"vcalc", "vcalc2", "DynVisc", "DynVisc2"}) {
    expected[std::string(box) + ".BackColor"] = kGreen;
  }

  ASSERT_EQ(Outcome(Calculate()), "");

  EXPECT_EQ(form_.State(), expected);
  const std::vector<std::string> calls = {
      "vc.Text?",
      "vh.Text?",
      "tref.Text?",
      "tref2.Text?",
      "SG.Text?",
      "vcalc.Text=85.642",
      "vcalc2.Text=11.987",
      "DynVisc.Text=.0000108",
      "DynVisc2.Text=.00000151",
      "Label4.Caption=" + Notice(),
      "Label4.Bold=true",
      "Label4.Size=14",
      "vcalc.BackColor=0x0080FF80",
      "vcalc2.BackColor=0x0080FF80",
      "DynVisc.BackColor=0x0080FF80",
      "DynVisc2.BackColor=0x0080FF80",
  };
  EXPECT_EQ(form_.Calls(), calls);

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

  // The record keeps the inputs, the fit and the results of this calculation.
  const CalcState& s = ModuleState();
  EXPECT_EQ(s.visc40, 320);
  EXPECT_EQ(s.sg, 0.87);
  EXPECT_NEAR(s.slope, 2.7353244, 1e-7);
  EXPECT_NEAR(s.visc1, 85.64225, 1e-5);
  EXPECT_NEAR(s.dyn1, 1.0796544e-05, 1e-12);
}

// How HOME looks when the command runs.
enum class Home { kFresh, kUnset, kMissingFolder, kTableIsFolder, kReadOnly };

struct FailureCase {
  std::string name;
  std::map<std::string, std::string> inputs;  // box -> typed text
  std::string refused_call;                   // a call the window refuses, or ""
  Home home;
  ErrorKind kind;
  std::string message;  // "{home}" and "{visc1}" stand for the run's values
  State changes;        // "{notice}" stands for the completion notice
  bool table_replaced;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

const State kFourResults = {{"vcalc.Text", "85.642"},
                            {"vcalc2.Text", "11.987"},
                            {"DynVisc.Text", ".0000108"},
                            {"DynVisc2.Text", ".00000151"}};

State With(State state, const State& more) {
  for (const auto& [key, value] : more) state[key] = value;
  return state;
}

const std::vector<FailureCase> kFailures = {
    // Steps 1 to 5: an input that is not a number changes nothing on the window.
    {"EmptyViscosityAt40",
     {{"vc", ""}},
     "",
     Home::kFresh,
     ErrorKind::TypeMismatch,
     "The viscosity at 40 °C \"\" is not a number.",
     {},
     false},
    {"WordForViscosityAt100",
     {{"vh", "thirty-five"}},
     "",
     Home::kFresh,
     ErrorKind::TypeMismatch,
     "The viscosity at 100 °C \"thirty-five\" is not a number.",
     {},
     false},
    {"UnitAfterFirstTemperature",
     {{"tref", "71C"}},
     "",
     Home::kFresh,
     ErrorKind::TypeMismatch,
     "The first reference temperature \"71C\" is not a number.",
     {},
     false},
    {"BlankSecondTemperature",
     {{"tref2", "  "}},
     "",
     Home::kFresh,
     ErrorKind::TypeMismatch,
     "The second reference temperature \"  \" is not a number.",
     {},
     false},
    {"EmptySpecificGravity",
     {{"SG", ""}},
     "",
     Home::kFresh,
     ErrorKind::TypeMismatch,
     "The specific gravity \"\" is not a number.",
     {},
     false},
    {"DecimalCommaInSpecificGravity",
     {{"SG", "0,87"}},
     "",
     Home::kFresh,
     ErrorKind::TypeMismatch,
     "The specific gravity \"0,87\" is not a number. Use \".\" for decimals and \",\" only "
     "between groups of three digits.",
     {},
     false},
    {"SpecificGravityBeyondADouble",
     {{"SG", "1e999"}},
     "",
     Home::kFresh,
     ErrorKind::Overflow,
     "The specific gravity \"1e999\" is too large.",
     {},
     false},
    // Step 6: the fit.
    {"ViscosityAt40Of04",
     {{"vc", "0.4"}},
     "",
     Home::kFresh,
     ErrorKind::InvalidArgument,
     "The viscosity at 40 °C must be above 0.4 cSt; it is 0.4.",
     {},
     false},
    {"ViscosityAt100Of04",
     {{"vh", "0.4"}},
     "",
     Home::kFresh,
     ErrorKind::InvalidArgument,
     "The viscosity at 100 °C must be above 0.4 cSt; it is 0.4.",
     {},
     false},
    {"NegativeViscosityAt100",
     {{"vh", "-35"}},
     "",
     Home::kFresh,
     ErrorKind::InvalidArgument,
     "The viscosity at 100 °C must be above 0.4 cSt; it is -35.",
     {},
     false},
    // Steps 7 and 8: evaluations.
    {"FirstTemperatureBelowAbsoluteZero",
     {{"tref", "-300"}},
     "",
     Home::kFresh,
     ErrorKind::InvalidArgument,
     "The first reference temperature must be above -273.16 °C; it is -300.",
     {},
     false},
    {"SecondTemperatureBelowAbsoluteZero",
     {{"tref2", "-300"}},
     "",
     Home::kFresh,
     ErrorKind::InvalidArgument,
     "The second reference temperature must be above -273.16 °C; it is -300.",
     {{"vcalc.Text", "85.642"}},
     false},
    {"SecondTemperatureAtAbsoluteZero",
     {{"tref2", "-273.16"}},
     "",
     Home::kFresh,
     ErrorKind::InvalidArgument,
     "The second reference temperature must be above -273.16 °C; it is -273.16.",
     {{"vcalc.Text", "85.642"}},
     false},
    // Step 9: a gravity that is not above 0 gives no density.
    {"GravityOfZero",
     {{"SG", "0"}},
     "",
     Home::kFresh,
     ErrorKind::InvalidArgument,
     "The specific gravity must be above 0; it is 0.",
     {{"vcalc.Text", "85.642"}, {"vcalc2.Text", "11.987"}},
     false},
    {"NegativeGravity",
     {{"SG", "-0.9"}},
     "",
     Home::kFresh,
     ErrorKind::InvalidArgument,
     "The specific gravity must be above 0; it is -0.9.",
     {{"vcalc.Text", "85.642"}, {"vcalc2.Text", "11.987"}},
     false},
    // Steps 10 and 11: a dynamic viscosity too large for a double.
    {"DynamicViscosityBeyondADouble",
     {{"tref", "-70"}, {"SG", "1e308"}},
     "",
     Home::kFresh,
     ErrorKind::Overflow,
     "The specific gravity is too large to compute the dynamic viscosity at the first reference "
     "temperature.",
     {{"vcalc.Text", "153,110,844.928"}, {"vcalc2.Text", "11.987"}},
     false},
    // Step 12: the table; the four results are new, the notice and colours are not.
    {"LineOverflowsAtTheFirstRow",
     {{"vc", "100000"}, {"vh", "1"}},
     "",
     Home::kFresh,
     ErrorKind::Overflow,
     "The viscosity at -40 °C is too large to compute: the viscosity-temperature line is too "
     "steep there.",
     {{"vcalc.Text", "7.221"},
      {"vcalc2.Text", ".449"},
      {"DynVisc.Text", ".00000091"},
      {"DynVisc2.Text", ".00000006"}},
     false},
    {"HomeNotSet",
     {},
     "",
     Home::kUnset,
     ErrorKind::FileError,
     "Cannot write the table file: the home folder is not set (HOME is not set).",
     kFourResults,
     false},
    {"HomeFolderMissing",
     {},
     "",
     Home::kMissingFolder,
     ErrorKind::FileError,
     "Cannot write the table file: the home folder {home}/gone is not an existing folder.",
     kFourResults,
     false},
    {"TableNameTakenByAFolder",
     {},
     "",
     Home::kTableIsFolder,
     ErrorKind::FileError,
     "Cannot write the table file {home}/Viscosity.txt: Is a directory.",
     kFourResults,
     false},
    {"HomeFolderReadOnly",
     {},
     "",
     Home::kReadOnly,
     ErrorKind::FileError,
     "Cannot write the table file {home}/Viscosity.txt: Permission denied.",
     kFourResults,
     false},
    // A property call the window refuses ends the command at its step.
    {"ReadOfFirstInputRefused",
     {},
     "vc.Text?",
     Home::kFresh,
     ErrorKind::ControlError,
     "The window control vc refused to give its Text.",
     {},
     false},
    {"ReadOfSpecificGravityRefused",
     {},
     "SG.Text?",
     Home::kFresh,
     ErrorKind::ControlError,
     "The window control SG refused to give its Text.",
     {},
     false},
    {"FirstResultRefused",
     {},
     "vcalc.Text=",
     Home::kFresh,
     ErrorKind::ControlError,
     "The window control vcalc refused to take a new Text.",
     {},
     false},
    {"SecondDynamicResultRefused",
     {},
     "DynVisc2.Text=",
     Home::kFresh,
     ErrorKind::ControlError,
     "The window control DynVisc2 refused to take a new Text.",
     {{"vcalc.Text", "85.642"}, {"vcalc2.Text", "11.987"}, {"DynVisc.Text", ".0000108"}},
     false},
    {"NoticeRefused",
     {},
     "Label4.Caption=",
     Home::kFresh,
     ErrorKind::ControlError,
     "The window control Label4 refused to take a new Caption.",
     kFourResults,
     true},
    {"BoldRefused",
     {},
     "Label4.Bold=",
     Home::kFresh,
     ErrorKind::ControlError,
     "The window control Label4 refused to take a new Bold.",
     With(kFourResults, {{"Label4.Caption", "{notice}"}}),
     true},
    {"SizeRefused",
     {},
     "Label4.Size=",
     Home::kFresh,
     ErrorKind::ControlError,
     "The window control Label4 refused to take a new Size.",
     With(kFourResults, {{"Label4.Caption", "{notice}"}, {"Label4.Bold", "true"}}),
     true},
    {"ThirdColourRefused",
     {},
     "DynVisc.BackColor=",
     Home::kFresh,
     ErrorKind::ControlError,
     "The window control DynVisc refused to take a new BackColor.",
     With(kFourResults, {{"Label4.Caption", "{notice}"},
                         {"Label4.Bold", "true"},
                         {"Label4.Size", "14"},
                         {"vcalc.BackColor", kGreen},
                         {"vcalc2.BackColor", kGreen}}),
     true},
};

class CalculateFailureTest : public CalculateViscosityTest,
                             public ::testing::WithParamInterface<FailureCase> {};

TEST_P(CalculateFailureTest, StopsAtTheFailingStepAndKeepsWhatCameBefore) {
  const FailureCase& c = GetParam();
  for (const auto& [box, text] : c.inputs) form_.Box(box).shown = text;
  if (!c.refused_call.empty()) form_.FailCall(c.refused_call);

  const std::string home = home_.Path().string();
  const fs::path table = TablePath();
  switch (c.home) {
    case Home::kFresh:
    case Home::kReadOnly:
      WriteBytes(table, kEarlierTable);
      break;
    case Home::kUnset:
      WriteBytes(table, kEarlierTable);
      TempHome::SetHome(std::nullopt);
      break;
    case Home::kMissingFolder:
      WriteBytes(table, kEarlierTable);
      TempHome::SetHome(home + "/gone");
      break;
    case Home::kTableIsFolder:
      fs::create_directory(table);
      WriteBytes(table / "kept", kEarlierTable);
      break;
  }
  if (c.home == Home::kReadOnly) {
    // The user's own home folder, readable but not writable. The superuser could write into it
    // anyway, so the calculation runs as an unprivileged user who owns the folder.
    GiveToUnprivilegedUser(home_.Path());
    fs::permissions(home_.Path(), fs::perms::owner_read | fs::perms::owner_exec);
  }
  State expected = form_.State();
  for (const auto& [key, value] : c.changes) expected[key] = Replace(value, "{notice}", Notice());

  const Ran ran =
      c.home == Home::kReadOnly ? CalculateUnprivileged(form_) : Ran{Calculate(), form_.State()};

  const std::optional<Error>& error = ran.error;
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->kind(), c.kind) << KindName(error->kind());
  std::string message = Replace(c.message, "{home}", home);
  message = Replace(message, "{visc1}", NumberToText(ModuleState().visc1));
  EXPECT_EQ(error->what(), message);
  EXPECT_EQ(ran.shown, expected);

  if (c.home == Home::kTableIsFolder) {
    EXPECT_TRUE(fs::is_directory(table));
    EXPECT_EQ(ReadBytes(table / "kept"), std::string(kEarlierTable));
  } else if (c.table_replaced) {
    const std::optional<std::string> bytes = ReadBytes(table);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(SplitLines(*bytes).size(), 60u);
  } else {
    EXPECT_EQ(ReadBytes(table), std::string(kEarlierTable));
  }
  // No temporary file is left beside the table.
  EXPECT_EQ(FolderListing(home_.Path()), std::vector<std::string>{"Viscosity.txt"});
}

INSTANTIATE_TEST_SUITE_P(EachFailingStep, CalculateFailureTest, ::testing::ValuesIn(kFailures),
                         [](const auto& test) { return test.param.name; });

struct ReferenceCase {
  const char* name;
  const char* vc;
  const char* vh;
};

void PrintTo(const ReferenceCase& c, std::ostream* os) { *os << c.name; }

class ReferenceTemperatureTest : public CalculateViscosityTest,
                                 public ::testing::WithParamInterface<ReferenceCase> {};

TEST_P(ReferenceTemperatureTest, At40And100GivesBackTheTwoViscosities) {
  form_.Box("vc").shown = GetParam().vc;
  form_.Box("vh").shown = GetParam().vh;
  form_.Box("tref").shown = "40";
  form_.Box("tref2").shown = "100";

  ASSERT_EQ(Outcome(Calculate()), "");

  EXPECT_EQ(form_.Box("vcalc").shown, GetParam().vc);
  EXPECT_EQ(form_.Box("vcalc2").shown, GetParam().vh);
}

INSTANTIATE_TEST_SUITE_P(Oils, ReferenceTemperatureTest,
                         ::testing::Values(ReferenceCase{"Default", "320", "35"},
                                           ReferenceCase{"Thinnest", "31", "5.8"},
                                           ReferenceCase{"Thickest", "968", "78.5"},
                                           ReferenceCase{"FlatLine", "50", "50"}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(CalculateViscosityTest, PressingTwiceGivesTheSameTextsAndTheSameFile) {
  ASSERT_EQ(Outcome(Calculate()), "");
  const State first_state = form_.State();
  const std::vector<std::string> first_calls = form_.Calls();
  const std::optional<std::string> first_file = ReadBytes(TablePath());
  form_.ClearCalls();

  ASSERT_EQ(Outcome(Calculate()), "");

  EXPECT_EQ(form_.State(), first_state);
  EXPECT_EQ(form_.Calls(), first_calls);
  EXPECT_EQ(ReadBytes(TablePath()), first_file);
}

TEST_F(CalculateViscosityTest, InputsOfAnEarlierCalculationDoNotLeakIntoTheNext) {
  form_.Box("vc").shown = "968";
  form_.Box("vh").shown = "78.5";
  form_.Box("SG").shown = "0.85";
  ASSERT_EQ(Outcome(Calculate()), "");
  form_.Box("vc").shown = "320";
  form_.Box("vh").shown = "35";
  form_.Box("SG").shown = "0.87";
  ASSERT_EQ(Outcome(Calculate()), "");

  for (const auto& [box, text] : kFourResults) EXPECT_EQ(form_.State()[box], text) << box;
}

TEST_F(CalculateViscosityTest, ReachesTheWindowAfreshAtEveryStep) {
  // Another window takes over right after the first result is shown: every later step must
  // reach the new one.
  std::optional<FakeForm> second;
  form_.AfterCall("vcalc.Text=", [&] { second.emplace(); });

  ASSERT_EQ(Outcome(Calculate()), "");

  EXPECT_EQ(form_.Writes(), std::vector<std::string>{"vcalc.Text=85.642"});
  ASSERT_TRUE(second.has_value());
  const std::vector<std::string> later = second->Writes();
  ASSERT_EQ(later.size(), 10u);
  EXPECT_EQ(later.front(), "vcalc2.Text=11.987");
  EXPECT_EQ(later[3], "Label4.Caption=" + Notice());
  EXPECT_EQ(later.back(), "DynVisc2.BackColor=0x0080FF80");
  EXPECT_EQ(second->Box("vcalc").back_colour, kLightGreen);
}

TEST_F(CalculateViscosityTest, WithoutAWindowNothingRuns) {
  InstallForm1(nullptr);
  WriteBytes(TablePath(), kEarlierTable);

  const std::optional<Error> error = Calculate();

  InstallForm1(&form_);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->kind(), ErrorKind::ControlError);
  EXPECT_STREQ(error->what(), "The main window does not exist.");
  EXPECT_EQ(ReadBytes(TablePath()), std::string(kEarlierTable));
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
