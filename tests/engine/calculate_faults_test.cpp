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
#include "fake_form.h"

namespace project1 {
namespace {

namespace fs = std::filesystem;

enum class Step { kCreate, kWrite, kFsync, kClose, kRename };

const char* StepName(Step step) {
  switch (step) {
    case Step::kCreate:
      return "create";
    case Step::kWrite:
      return "write";
    case Step::kFsync:
      return "fsync";
    case Step::kClose:
      return "close";
    case Step::kRename:
      return "rename";
  }
  return "?";
}

// The step to fail, its errno, and how often the failure was injected.
struct Injection {
  Step step = Step::kCreate;
  int error = 0;
  int injected = 0;
};
Injection injection;

// Fails the first call of the chosen step; every other call goes to the system.
bool Inject(Step step) {
  if (injection.step != step || injection.injected > 0) return false;
  ++injection.injected;
  errno = injection.error;
  return true;
}

const FileOps kFaultyOps{
    [](const char* path, int flags, mode_t mode) {
      if ((flags & O_CREAT) != 0 && Inject(Step::kCreate)) return -1;
      return SystemFileOps().open(path, flags, mode);
    },
    [](int fd, const void* data, size_t size) -> ssize_t {
      if (Inject(Step::kWrite)) return -1;
      return SystemFileOps().write(fd, data, size);
    },
    // The temporary file is synced before the folder: the first fsync is the file's.
    [](int fd) {
      if (Inject(Step::kFsync)) return -1;
      return SystemFileOps().fsync(fd);
    },
    // A failing close has still released the descriptor.
    [](int fd) {
      const int result = SystemFileOps().close(fd);
      if (Inject(Step::kClose)) return -1;
      return result;
    },
    [](const char* from, const char* to) {
      if (Inject(Step::kRename)) return -1;
      return SystemFileOps().rename(from, to);
    },
    SystemFileOps().unlink,
};

constexpr std::string_view kPreviousTable =
    " Temp, C\t viscosity, cSt\r\n-40.0\t9.999\r\n250.0\t1.000\r\n";

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

class CalculateFileFaultTest : public testing::Test {
 protected:
  void SetUp() override { ModuleState() = CalcState{}; }
  void TearDown() override { SetTableFileOps(nullptr); }

  TempHome home_;
  FakeForm form_;
};

TEST_F(CalculateFileFaultTest, FailingStepOfTheReplaceKeepsThePreviousTableAndReportsTheCause) {
  struct Case {
    Step step;
    int error;
    const char* cause;
  };
  std::vector<Case> cases;
  for (Step step : {Step::kCreate, Step::kWrite, Step::kFsync, Step::kClose, Step::kRename}) {
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
  SetTableFileOps(&kFaultyOps);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(StepName(c.step)) + " fails with " + c.cause);
    for (const auto& [box, text] : before) {
      if (box.ends_with(".Text") && box != "LubList.Text") {
        form_.Box(box.substr(0, box.find('.'))).shown = text;
      }
    }
    WriteBytes(table, kPreviousTable);
    injection = Injection{c.step, c.error, 0};
    form_.ClearCalls();

    std::optional<Error> error;
    try {
      CalculateViscosity();
    } catch (const Error& e) {
      error = e;
    }

    faults += injection.injected;
    EXPECT_EQ(injection.injected, 1);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(KindName(error->kind()), KindName(ErrorKind::FileError));
    EXPECT_EQ(std::string(error->what()),
              "Cannot write the table file " + table.string() + ": " + c.cause + ".");
    EXPECT_EQ(ReadBytes(table), std::string(kPreviousTable));
    EXPECT_EQ(Names(home_.Path()), std::vector<std::string>{"Viscosity.txt"});
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
