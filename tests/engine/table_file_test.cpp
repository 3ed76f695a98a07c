#include "table_file/table_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/calculate.h"
#include "engine/table_text.h"
#include "error_expectations.h"
#include "file_faults.h"
#include "table_file/replace_file.h"
#include "test_support.h"

namespace project1 {
namespace {

namespace fs = std::filesystem;

// The lines of a table file without their CR LF; fails the test on any other line end.
std::vector<std::string> CrLfLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "bytes after the last CR LF: " << bytes.substr(start);
      break;
    }
    const std::string line = bytes.substr(start, end - start);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
    lines.push_back(line);
    start = end + 2;
  }
  return lines;
}

// Each test gets a fresh empty home folder; HOME is put back afterwards.
class TableFileTest : public testing::Test {
 protected:
  fs::path Target() const { return home_ / "Viscosity.txt"; }

  TempHome temp_home_;
  const fs::path home_ = temp_home_.Path();
};

TEST_F(TableFileTest, DefaultOilTableMatchesTheSampleLinesByteForByte) {
  CalcState s = FittedLine(320, 35);
  EXPECT_EQ(WriteViscosityTable(s), Target());

  const std::string bytes = ReadBytes(Target()).value_or("");
  EXPECT_EQ(bytes.size(), 869u);
  EXPECT_EQ(bytes.substr(bytes.size() - 13), "250.0\t3.527\r\n");
  const std::vector<std::string> lines = CrLfLines(bytes);
  ASSERT_EQ(lines.size(), 60u);
  EXPECT_EQ(lines[0], " Temp, C\t viscosity, cSt");

  struct Sample {
    int line;
    const char* text;
  };
  const Sample samples[] = {
      {2, "-40.0\t412,753.932"}, {3, "-35.0\t199,088.831"}, {9, "-5.0\t6,768.614"},
      {10, "0.0\t4,382.511"},    {14, "20.0\t1,003.420"},   {17, "35.0\t415.075"},
      {18, "40.0\t320.000"},     {30, "100.0\t35.000"},     {60, "250.0\t3.527"},
  };
  for (const Sample& sample : samples) {
    EXPECT_EQ(lines[static_cast<std::size_t>(sample.line - 1)], sample.text)
        << "line " << sample.line;
  }
  // Each row: the temperature of its line, one TAB.
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    ASSERT_EQ(std::count(line.begin(), line.end(), '\t'), 1) << line;
    EXPECT_EQ(std::stod(line.substr(0, line.find('\t'))), -40.0 + 5.0 * static_cast<double>(i - 1));
  }
  EXPECT_EQ(FolderListing(home_), std::vector<std::string>{"Viscosity.txt"});
}

TEST_F(TableFileTest, RowsShowSmallAndLargeViscositiesAsThePatternSays) {
  struct Case {
    double visc40;
    double visc100;
    int line;
    const char* text;
  };
  const Case cases[] = {
      // Below 1 cSt: no digit before the decimal separator.
      {2, 1, 60, "250.0\t.527"},
      {10, 2, 58, "240.0\t.603"},
      // Above 999,999 cSt: every group is separated.
      {3000, 100, 2, "-40.0\t631,472,127.989"},
      {3000, 100, 3, "-35.0\t170,523,981.429"},
  };
  for (const Case& c : cases) {
    CalcState s = FittedLine(c.visc40, c.visc100);
    const std::vector<std::string> lines = CrLfLines(ViscosityTableText(s));
    ASSERT_EQ(lines.size(), 60u);
    EXPECT_EQ(lines[static_cast<std::size_t>(c.line - 1)], c.text);
  }
}

TEST_F(TableFileTest, SecondCalculationReplacesTheFirstTable) {
  CalcState first = FittedLine(320, 35);
  WriteViscosityTable(first);
  CalcState second = FittedLine(68, 8.8);
  WriteViscosityTable(second);

  const std::string bytes = ReadBytes(Target()).value_or("");
  EXPECT_EQ(bytes.size(), 835u);
  EXPECT_EQ(CrLfLines(bytes)[1], "-40.0\t221,893.062");
  EXPECT_EQ(FolderListing(home_), std::vector<std::string>{"Viscosity.txt"});
}

TEST_F(TableFileTest, OverflowingRowLeavesThePreviousTableAndNoTemporaryFile) {
  const std::string overflow =
      "The viscosity at -40 °C is too large to compute: the viscosity-temperature line is too "
      "steep there.";
  CalcState steep = FittedLine(100000, 1);

  // No previous table: nothing is created.
  ExpectError([&] { WriteViscosityTable(steep); }, Fault::Overflow, overflow);
  EXPECT_TRUE(FolderListing(home_).empty());

  CalcState good = FittedLine(320, 35);
  WriteViscosityTable(good);
  const std::optional<std::string> before = ReadBytes(Target());
  ExpectError([&] { WriteViscosityTable(steep); }, Fault::Overflow, overflow);
  EXPECT_EQ(ReadBytes(Target()), before);
  EXPECT_EQ(FolderListing(home_), std::vector<std::string>{"Viscosity.txt"});
}

TEST_F(TableFileTest, HomeThatIsNoFolderIsAFileErrorWithItsCause) {
  WriteBytes(home_ / "plain", "not a folder");
  fs::create_directory_symlink(home_ / "loop", home_ / "loop");
  const std::string prefix = "Cannot write the table file: the home folder ";
  const auto missing = [&](const fs::path& home) {
    return prefix + home.string() + " is not an existing folder.";
  };
  const auto unreadable = [&](const fs::path& home, const char* cause) {
    return prefix + home.string() + " cannot be read: " + cause + ".";
  };
  struct Case {
    std::optional<std::string> home;
    std::string message;
  };
  const Case cases[] = {
      {std::nullopt, "Cannot write the table file: the home folder is not set (HOME is not set)."},
      {"", "Cannot write the table file: the home folder is not set (HOME is empty)."},
      {(home_ / "plain").string(), missing(home_ / "plain")},
      {(home_ / "plain" / "sub").string(), missing(home_ / "plain" / "sub")},
      {(home_ / "missing").string(), missing(home_ / "missing")},
      // It may exist, but the system cannot say: its own cause is reported.
      {(home_ / "loop").string(), unreadable(home_ / "loop", "Too many levels of symbolic links")},
      {(home_ / std::string(300, 'h')).string(),
       unreadable(home_ / std::string(300, 'h'), "File name too long")},
  };
  CalcState s = FittedLine(320, 35);
  for (const Case& c : cases) {
    TempHome::SetHome(c.home);
    ExpectError([&] { WriteViscosityTable(s); }, ErrorKind::File, c.message);
  }
  EXPECT_EQ(FolderListing(home_), (std::vector<std::string>{"loop", "plain"}));
}

TEST_F(TableFileTest, HomeBehindAFolderThatMayNotBeSearchedIsReportedWithThatCause) {
  // As the superuser no folder is closed, so the table is written by an unprivileged user.
  const fs::path locked = home_ / "locked";
  const fs::path home = locked / "home";
  fs::create_directories(home);
  fs::permissions(locked, fs::perms::none);
  const ChildOutcome child = RunUnprivileged([&] {
    TempHome::SetHome(home.string());
    CalcState s = FittedLine(320, 35);
    return Outcome(Caught([&] { WriteViscosityTable(s); }));
  });
  ASSERT_TRUE(child.ran) << child.text;
  EXPECT_EQ(child.text, "Cannot write the table file: the home folder " + home.string() +
                            " cannot be read: Permission denied.");
}

TEST_F(TableFileTest, FolderThatCannotBeWrittenIsAFileError) {
  // A path under a regular file cannot be created, whoever runs the test.
  WriteBytes(home_ / "plain", "not a folder");
  const fs::path target = home_ / "plain" / "Viscosity.txt";
  ExpectError([&] { ReplaceFile(target, "table"); }, ErrorKind::File,
              "Cannot write the table file " + target.string() + ": Not a directory.");
  EXPECT_EQ(ReadBytes(home_ / "plain"), "not a folder");
}

TEST_F(TableFileTest, SymbolicLinkAtTheTargetStaysAndItsPointeeGetsTheTable) {
  const fs::path pointee = home_ / "elsewhere.txt";
  WriteBytes(pointee, "an earlier table");
  fs::create_symlink(pointee, Target());

  CalcState s = FittedLine(320, 35);
  WriteViscosityTable(s);
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(Target())));
  EXPECT_EQ(ReadBytes(pointee), ViscosityTableText(s));
}

TEST_F(TableFileTest, FailingSystemCallLeavesThePreviousTableAndNoTemporaryFile) {
  const std::string previous = "an earlier table\r\n";
  CalcState s = FittedLine(320, 35);
  for (const ReplaceFault& c : kReplaceFaults) {
    SCOPED_TRACE(c.cause);
    WriteBytes(Target(), previous);
    InjectFileFault(c.step, c.error);
    ExpectError([&] { WriteViscosityTable(s, FaultyFileOps()); }, ErrorKind::File,
                "Cannot write the table file " + Target().string() + ": " + c.cause + ".");
    EXPECT_EQ(file_faults.injected, 1);
    EXPECT_EQ(ReadBytes(Target()), previous);
    EXPECT_EQ(FolderListing(home_), std::vector<std::string>{"Viscosity.txt"});
  }
}

TEST_F(TableFileTest, TemporaryFileIsCreatedBesideTheTargetAndRenamedOverIt) {
  InjectFileFault(FileStep::None, std::errc());
  CalcState s = FittedLine(320, 35);
  WriteViscosityTable(s, FaultyFileOps());
  ASSERT_EQ(file_faults.created.size(), 1u);
  const fs::path temporary = file_faults.created[0];
  EXPECT_EQ(temporary.parent_path(), home_);
  const std::string name = temporary.filename().string();
  char host[256] = {};
  ASSERT_EQ(::gethostname(host, sizeof host - 1), 0);
  const std::string prefix =
      ".Viscosity.txt." + std::string(host) + "." + std::to_string(::getpid()) + ".";
  EXPECT_EQ(name.rfind(prefix, 0), 0u) << name;
  EXPECT_TRUE(name.ends_with(".tmp")) << name;
  EXPECT_EQ(file_faults.fsyncs, 2) << "the file and then its folder";
  EXPECT_EQ(ReadBytes(Target()), ViscosityTableText(s));
  EXPECT_EQ(FolderListing(home_), std::vector<std::string>{"Viscosity.txt"});
}

TEST_F(TableFileTest, TemporaryNameInUseIsSkippedUntilTheAttemptsRunOut) {
  // Every temporary name taken: the replace gives up and the target is untouched.
  int taken_names = 0;
  static int* taken = nullptr;
  taken = &taken_names;
  FileOps all_taken = SystemFileOps();
  all_taken.create = [](const fs::path&, platform::FileHandle&) {
    ++*taken;
    return std::make_error_code(std::errc::file_exists);
  };
  ExpectError([&] { ReplaceFile(Target(), "table", all_taken); }, ErrorKind::File,
              "Cannot write the table file " + Target().string() + ": File exists.");
  EXPECT_GT(taken_names, 1);
  EXPECT_TRUE(FolderListing(home_).empty());

  // A name left behind by another run is skipped.
  taken_names = 0;
  FileOps first_taken = SystemFileOps();
  first_taken.create = [](const fs::path& path, platform::FileHandle& file) {
    if ((*taken)++ == 0) return std::make_error_code(std::errc::file_exists);
    return SystemFileOps().create(path, file);
  };
  ReplaceFile(Target(), "table", first_taken);
  EXPECT_EQ(ReadBytes(Target()), "table");
  EXPECT_EQ(FolderListing(home_), std::vector<std::string>{"Viscosity.txt"});
}

TEST_F(TableFileTest, PartialAndInterruptedWritesStillWriteEveryByte) {
  static int calls = 0;
  calls = 0;
  FileOps trickle = SystemFileOps();
  trickle.write = [](platform::FileHandle file, const char* data, std::size_t size,
                     std::size_t& written) {
    if (calls++ % 2 == 0) return std::make_error_code(std::errc::interrupted);
    return SystemFileOps().write(file, data, size < 7 ? size : 7, written);
  };
  CalcState s = FittedLine(320, 35);
  WriteViscosityTable(s, trickle);
  EXPECT_EQ(ReadBytes(Target()), ViscosityTableText(s));
  EXPECT_GT(calls, 200);
}

TEST_F(TableFileTest, FolderThatCannotBeSyncedStillGetsTheNewTable) {
  WriteBytes(Target(), "an earlier table\r\n");
  InjectFileFault(FileStep::FolderSync, std::errc::io_error);
  CalcState s = FittedLine(320, 35);
  WriteViscosityTable(s, FaultyFileOps());
  EXPECT_EQ(file_faults.injected, 1);
  EXPECT_EQ(ReadBytes(Target()), ViscosityTableText(s));
}

// The whole calculation when the system fails one step of replacing the table file: the
// failure has a clear message, the previous table stays byte for byte, no temporary file
// remains, and the outcome has the four new results.
constexpr std::string_view kPreviousTable =
    " Temp, C\t viscosity, cSt\r\n-40.0\t9.999\r\n250.0\t1.000\r\n";

TEST(CalculateFileFaultTest, FailingStepOfTheReplaceKeepsThePreviousTableAndReportsTheCause) {
  TempHome home;
  struct Case {
    FileStep step;
    std::errc error;
    const char* cause;
  };
  std::vector<Case> cases;
  for (FileStep step :
       {FileStep::Create, FileStep::Write, FileStep::Fsync, FileStep::Close, FileStep::Rename}) {
    cases.push_back({step, std::errc::no_space_on_device, "No space left on device"});
    cases.push_back({step, std::errc::io_error, "Input/output error"});
  }
  const fs::path table = home.File("Viscosity.txt");
  const CalculationInputs inputs = {"320", "35", "71", "150", "0.87"};

  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(FileStepName(c.step)) + " fails with " + c.cause);
    WriteBytes(table, kPreviousTable);
    InjectFileFault(c.step, c.error);

    const CalculationOutcome outcome = Calculate(inputs, FaultyFileOps());

    ASSERT_TRUE(outcome.failure.has_value());
    EXPECT_EQ(KindName(outcome.failure->kind()), KindName(ErrorKind::File));
    EXPECT_EQ(outcome.failure->what(),
              "Cannot write the table file " + table.string() + ": " + c.cause + ".");
    EXPECT_EQ(file_faults.injected, 1);
    EXPECT_EQ(ReadBytes(table), std::string(kPreviousTable));
    EXPECT_EQ(FolderListing(home.Path()), std::vector<std::string>{"Viscosity.txt"});
    std::vector<std::string> shown;
    for (const ShownResult& result : outcome.shown) shown.push_back(result.text);
    EXPECT_EQ(shown, (std::vector<std::string>{"85.642", "11.987", ".0000108", ".00000151"}));
  }

  // With the system calls back, the same inputs write the new table.
  ASSERT_TRUE(Calculate(inputs).Succeeded());
  const std::optional<std::string> bytes = ReadBytes(table);
  ASSERT_TRUE(bytes.has_value());
  EXPECT_TRUE(bytes->starts_with(" Temp, C\t viscosity, cSt\r\n-40.0\t412,753.932\r\n"));
}

}  // namespace
}  // namespace project1
