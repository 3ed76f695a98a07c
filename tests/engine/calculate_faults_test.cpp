// The whole calculation when the system fails one step of replacing the table file: the error
// reaches the caller with a clear message, the previous table stays byte for byte, no temporary
// file remains, and the window shows the new results without the completion notice or colours.

#include <fcntl.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/calculate.h"
#include "engine/model.h"
#include "engine/safe_replace.h"
#include "engine/table_file.h"
#include "error_expectations.h"
#include "fake_form.h"
#include "file_faults.h"

namespace project1 {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPreviousTable =
    " Temp, C\t viscosity, cSt\r\n-40.0\t9.999\r\n250.0\t1.000\r\n";

class CalculateFileFaultTest : public testing::Test {
 protected:
  void SetUp() override { ModuleState() = CalcState{}; }
  void TearDown() override { SetTableFileOps(nullptr); }

  TempHome home_;
  FakeForm form_;
};

TEST_F(CalculateFileFaultTest, FailingStepOfTheReplaceKeepsThePreviousTableAndReportsTheCause) {
  struct Case {
    FileStep step;
    int error;
    const char* cause;
  };
  std::vector<Case> cases;
  for (FileStep step :
       {FileStep::Create, FileStep::Write, FileStep::Fsync, FileStep::Close, FileStep::Rename}) {
    cases.push_back({step, ENOSPC, "No space left on device"});
    cases.push_back({step, EIO, "Input/output error"});
  }
  const fs::path table = home_.File("Viscosity.txt");
  // The window before: the inputs as it starts, the results of no calculation yet.
  const std::map<std::string, std::string> before = form_.State();
  std::map<std::string, std::string> expected = before;
  expected["vcalc.Text"] = "85.642";
  expected["vcalc2.Text"] = "11.987";
  expected["DynVisc.Text"] = ".0000108";
  expected["DynVisc2.Text"] = ".00000151";

  int faults = 0;
  SetTableFileOps(&FaultyFileOps());
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(FileStepName(c.step)) + " fails with " + c.cause);
    for (const auto& [box, text] : before) {
      if (box.ends_with(".Text") && box != "LubList.Text") {
        form_.Box(box.substr(0, box.find('.'))).shown = text;
      }
    }
    WriteBytes(table, kPreviousTable);
    InjectFileFault(c.step, c.error);
    form_.ClearCalls();

    ExpectError(CalculateViscosity, ErrorKind::FileError,
                "Cannot write the table file " + table.string() + ": " + c.cause + ".");

    faults += file_faults.injected;
    EXPECT_EQ(file_faults.injected, 1);
    EXPECT_EQ(ReadBytes(table), std::string(kPreviousTable));
    EXPECT_EQ(FolderListing(home_.Path()), std::vector<std::string>{"Viscosity.txt"});
    EXPECT_EQ(form_.State(), expected);
  }
  std::cout << "faults injected through the calculation: " << faults << "\n";
  RecordProperty("faults", faults);
  EXPECT_EQ(faults, 10);

  // With the system calls back, the same window writes the new table.
  SetTableFileOps(nullptr);
  CalculateViscosity();
  const std::optional<std::string> bytes = ReadBytes(table);
  ASSERT_TRUE(bytes.has_value());
  EXPECT_TRUE(bytes->starts_with(" Temp, C\t viscosity, cSt\r\n-40.0\t412,753.932\r\n"));
  EXPECT_EQ(form_.Notice().caption,
            "the file Viscosity.txt was created in " + home_.Path().string() + "/");
}

}  // namespace
}  // namespace project1
