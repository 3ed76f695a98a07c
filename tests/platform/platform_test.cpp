// The platform layer against the real file system of the system it is built for (POSIX or
// Windows): the safe replace through the fault table, the temporary names, non-ASCII names.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "file_faults.h"
#include "platform/file_calls.h"
#include "platform/host.h"
#include "platform/safe_replace.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace project1 {
namespace {

namespace fs = std::filesystem;
using platform::PathFromUtf8;
using platform::ReplaceFileBytes;
using platform::Utf8FromPath;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// The names in a folder as UTF-8, sorted.
std::vector<std::string> Listing(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(Utf8FromPath(entry.path().filename()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

class PlatformTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("project1-platform-" + std::to_string(platform::ProcessId()) + "-" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  fs::path Target() const { return folder_ / "Viscosity.txt"; }

  fs::path folder_;
};

TEST_F(PlatformTest, FailingStepOfTheReplaceLeavesThePreviousFileAndNoTemporaryFile) {
  const std::string previous = "an earlier table\r\n";
  for (const ReplaceFault& c : kReplaceFaults) {
    SCOPED_TRACE(FileStepName(c.step));
    WriteAll(Target(), previous);
    InjectFileFault(c.step, c.error);
    const std::error_code error = ReplaceFileBytes(Target(), "new table\r\n", FaultyFileOps());
    EXPECT_EQ(error, c.error);
    // The cause reads the same on every system.
    EXPECT_EQ(error.message(), c.cause);
    EXPECT_EQ(file_faults.injected, 1);
    EXPECT_EQ(ReadAll(Target()), previous);
    EXPECT_EQ(Listing(folder_), std::vector<std::string>{"Viscosity.txt"});
  }
}

TEST_F(PlatformTest, ReplaceWritesATemporaryFileBesideTheTargetAndPutsItInItsPlace) {
  WriteAll(Target(), "an earlier table\r\n");
  InjectFileFault(FileStep::None, std::errc());
  ASSERT_FALSE(ReplaceFileBytes(Target(), "new table\r\n", FaultyFileOps()));
  ASSERT_EQ(file_faults.created.size(), 1u);
  EXPECT_EQ(file_faults.created[0].parent_path(), folder_);
  const std::string name = Utf8FromPath(file_faults.created[0].filename());
  const std::string prefix =
      ".Viscosity.txt." + platform::HostName() + "." + std::to_string(platform::ProcessId()) + ".";
  EXPECT_EQ(name.rfind(prefix, 0), 0u) << name;
  EXPECT_TRUE(name.ends_with(".tmp")) << name;
#ifdef _WIN32
  EXPECT_EQ(file_faults.fsyncs, 1) << "the file; the move itself writes through";
#else
  EXPECT_EQ(file_faults.fsyncs, 2) << "the file and then its folder";
#endif
  EXPECT_EQ(ReadAll(Target()), "new table\r\n");
  EXPECT_EQ(Listing(folder_), std::vector<std::string>{"Viscosity.txt"});
}

TEST_F(PlatformTest, NamesWithLettersBeyondAsciiAreWrittenAndListedAsTheyAreSpelt) {
  for (const std::string name : {"Öl-Tabelle.txt", "Viskosität 40 °C.txt", "潤滑油.txt"}) {
    SCOPED_TRACE(name);
    const fs::path target = folder_ / PathFromUtf8(name);
    EXPECT_EQ(Utf8FromPath(target.filename()), name);
    ASSERT_FALSE(ReplaceFileBytes(target, "table\r\n"));
    EXPECT_EQ(ReadAll(target), "table\r\n");
    ASSERT_FALSE(ReplaceFileBytes(target, "second table\r\n"));
    EXPECT_EQ(ReadAll(target), "second table\r\n");
    EXPECT_EQ(Listing(folder_), std::vector<std::string>{name});
    fs::remove(target);
  }
}

TEST_F(PlatformTest, SystemCallsReportTheirCausesAsOnEverySystem) {
  const platform::FileCalls& calls = platform::SystemFileCalls();
  platform::FileHandle file = 0;
  WriteAll(Target(), "taken");
  EXPECT_EQ(calls.create(Target(), file), std::errc::file_exists);
  EXPECT_EQ(calls.create(folder_ / "missing" / "x.txt", file),
            std::errc::no_such_file_or_directory);
  EXPECT_EQ(calls.replace(folder_ / "missing.txt", Target()), std::errc::no_such_file_or_directory);
  EXPECT_EQ(calls.remove(folder_ / "missing.txt"), std::errc::no_such_file_or_directory);
  EXPECT_EQ(ReadAll(Target()), "taken");
  EXPECT_FALSE(platform::ProcessHasEnded(platform::ProcessId()));
  EXPECT_FALSE(platform::HostName().empty());
  EXPECT_EQ(platform::HostName().find_first_of("/\\"), std::string::npos);
}

#ifndef _WIN32
TEST_F(PlatformTest, TemporaryFileIsReadableByAllAndWrittenByItsOwner) {
  const mode_t previous = ::umask(0);
  platform::FileHandle file = 0;
  const fs::path path = folder_ / "made.tmp";
  ASSERT_FALSE(platform::SystemFileCalls().create(path, file));
  platform::SystemFileCalls().close(file);
  ::umask(previous);
  EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write |
                                                fs::perms::group_read | fs::perms::others_read);
}
#endif

}  // namespace
}  // namespace project1
