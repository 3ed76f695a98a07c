// The platform layer against the real file system of the system it is built for (POSIX or
// Windows): the safe replace through the fault table, the temporary names, non-ASCII names.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "file_faults.h"
#include "platform/file_calls.h"
#include "platform/file_lock.h"
#include "platform/host.h"
#include "platform/safe_replace.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

#include "test_support.h"
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

// A device has no folder entry to put a new file in the place of: it is written where it is.
#ifdef _WIN32
const fs::path kDevice = "NUL";
#else
const fs::path kDevice = "/dev/null";
#endif

TEST_F(PlatformTest, FailingStepOfWritingADeviceReportsItsCauseAndMakesNoFile) {
  for (const ReplaceFault& c : kInPlaceFaults) {
    SCOPED_TRACE(FileStepName(c.step));
    InjectFileFault(c.step, c.error);
    const std::error_code error = ReplaceFileBytes(kDevice, "new table\r\n", FaultyFileOps());
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(error.message(), c.cause);
    EXPECT_EQ(file_faults.injected, 1);
    EXPECT_TRUE(file_faults.created.empty());
  }
  InjectFileFault(FileStep::None, std::errc());
  EXPECT_FALSE(ReplaceFileBytes(kDevice, "new table\r\n", FaultyFileOps()));
  EXPECT_TRUE(file_faults.created.empty());
  EXPECT_EQ(file_faults.fsyncs, 0);
}

TEST_F(PlatformTest, FolderAtTheTargetIsRefusedAndLeftAsItWas) {
  fs::create_directory(Target());
  WriteAll(Target() / "inside.txt", "kept");
  const std::error_code error = ReplaceFileBytes(Target(), "table");
  EXPECT_EQ(error, std::errc::is_a_directory);
  EXPECT_EQ(ReadAll(Target() / "inside.txt"), "kept");
  EXPECT_EQ(Listing(folder_), std::vector<std::string>{"Viscosity.txt"});
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

// The lock's calls with one of them failing once, counting the files left open.
struct LockFaults {
  int fail_call = -1;  // 0 open, 1 lock
  std::errc error{};
  int open_files = 0;
};
LockFaults lock_faults;

const platform::LockCalls& FaultyLockCalls() {
  using platform::FileHandle;
  using platform::SystemLockCalls;
  static const platform::LockCalls calls{
      [](const fs::path& path, FileHandle& file) {
        if (lock_faults.fail_call == 0) return std::make_error_code(lock_faults.error);
        const std::error_code error = SystemLockCalls().open(path, file);
        if (!error) ++lock_faults.open_files;
        return error;
      },
      [](FileHandle file, bool wait) {
        if (lock_faults.fail_call == 1) return std::make_error_code(lock_faults.error);
        return SystemLockCalls().lock(file, wait);
      },
      [](FileHandle file) {
        --lock_faults.open_files;
        return SystemLockCalls().close(file);
      },
  };
  return calls;
}

TEST_F(PlatformTest, FailingStepOfTheLockHoldsNothingAndLeavesNoFileOpen) {
  struct Case {
    int call;
    std::errc error;
    const char* cause;
  };
  for (const Case& c : {Case{0, std::errc::permission_denied, "Permission denied"},
                        Case{1, std::errc::no_lock_available, "No locks available"},
                        Case{1, std::errc::io_error, "Input/output error"}}) {
    SCOPED_TRACE(c.cause);
    lock_faults = {c.call, c.error, 0};
    platform::FileLock lock;
    const std::error_code error = LockFile(folder_ / "oils.lock", lock, true, FaultyLockCalls());
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(error.message(), c.cause);
    EXPECT_FALSE(lock.held());
    EXPECT_EQ(lock_faults.open_files, 0);
    // The failure left nothing behind that keeps another from taking the lock.
    platform::FileLock next;
    EXPECT_FALSE(LockFile(folder_ / "oils.lock", next, false));
  }
}

TEST_F(PlatformTest, LockIsTakenByOneHolderAtATimeAndFreedWhenReleased) {
  lock_faults = {};
  const fs::path path = folder_ / PathFromUtf8("Öle.lock");
  platform::FileLock first;
  ASSERT_FALSE(LockFile(path, first, true, FaultyLockCalls()));
  EXPECT_TRUE(first.held());
  EXPECT_TRUE(fs::exists(path));
  platform::FileLock second;
  EXPECT_EQ(LockFile(path, second, false), std::errc::resource_unavailable_try_again);
  EXPECT_FALSE(second.held());
  first.Release();
  EXPECT_EQ(lock_faults.open_files, 0);
  EXPECT_FALSE(LockFile(path, second, false));
  EXPECT_TRUE(second.held());
}

#ifdef _WIN32
TEST_F(PlatformTest, ApplicationDataFolderIsAppData) {
  const std::wstring previous = ::_wgetenv(L"APPDATA") ? ::_wgetenv(L"APPDATA") : L"";
  ::_wputenv_s(L"APPDATA", L"C:\\Users\\Öl\\AppData\\Roaming");
  EXPECT_EQ(platform::ApplicationDataFolder(), fs::path(L"C:\\Users\\Öl\\AppData\\Roaming"));
  ::_wputenv_s(L"APPDATA", L"");
  EXPECT_EQ(platform::ApplicationDataFolder(), std::nullopt);
  ::_wputenv_s(L"APPDATA", previous.c_str());
}
#else
TEST_F(PlatformTest, ApplicationDataFolderFollowsXdgDataHomeThenHome) {
  struct Case {
    const char* xdg;  // nullptr: not set
    const char* home;
    std::optional<fs::path> folder;
  };
  const Case cases[] = {
      {"/data/x", "/home/u", fs::path("/data/x")},
      {nullptr, "/home/u", fs::path("/home/u/.local/share")},
      {"", "/home/u", fs::path("/home/u/.local/share")},
      {"relative/data", "/home/u", fs::path("/home/u/.local/share")},
      {nullptr, nullptr, std::nullopt},
  };
  const std::optional<std::string> xdg =
      std::getenv("XDG_DATA_HOME") ? std::optional<std::string>(std::getenv("XDG_DATA_HOME"))
                                   : std::nullopt;
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.xdg ? c.xdg : "(unset)");
    c.xdg ? ::setenv("XDG_DATA_HOME", c.xdg, 1) : ::unsetenv("XDG_DATA_HOME");
    c.home ? ::setenv("HOME", c.home, 1) : ::unsetenv("HOME");
    EXPECT_EQ(platform::ApplicationDataFolder(), c.folder);
  }
  xdg ? ::setenv("XDG_DATA_HOME", xdg->c_str(), 1) : ::unsetenv("XDG_DATA_HOME");
  ::setenv("HOME", home.c_str(), 1);
}
#endif

#ifndef _WIN32
TEST_F(PlatformTest, SymbolicLinkStaysAndTheFileItEndsAtIsReplacedFromBesideIt) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> links;  // name in the folder, pointee
    std::string replaced;                                    // where the bytes must land
    bool existed;
  };
  const Case cases[] = {
      {"absolute link", {{"Viscosity.txt", "{team}/shared.txt"}}, "team/shared.txt", true},
      {"relative link", {{"Viscosity.txt", "team/shared.txt"}}, "team/shared.txt", true},
      {"two links",
       {{"Viscosity.txt", "mine.txt"}, {"mine.txt", "team/shared.txt"}},
       "team/shared.txt",
       true},
      {"relative to the link's own folder",
       {{"Viscosity.txt", "team/link.txt"}, {"team/link.txt", "shared.txt"}},
       "team/shared.txt",
       true},
      {"link to a file not made yet", {{"Viscosity.txt", "team/new.txt"}}, "team/new.txt", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "team");
    if (c.existed) WriteAll(folder_ / c.replaced, "the team's oils");
    std::vector<std::pair<fs::path, fs::path>> made;
    for (const auto& [name, pointee] : c.links) {
      std::string to = pointee;
      if (to.starts_with("{team}")) to = (folder_ / "team").string() + to.substr(6);
      fs::create_symlink(to, folder_ / name);
      made.emplace_back(folder_ / name, to);
    }
    const fs::path replaced = folder_ / c.replaced;
    EXPECT_EQ(platform::ReplacedFile(Target()), replaced);
    InjectFileFault(FileStep::None, std::errc());
    ASSERT_FALSE(ReplaceFileBytes(Target(), "new oils", FaultyFileOps()));
    for (const auto& [link, pointee] : made) {
      EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link))) << link;
      EXPECT_EQ(fs::read_symlink(link), pointee);
    }
    EXPECT_EQ(ReadAll(replaced), "new oils");
    ASSERT_EQ(file_faults.created.size(), 1u);
    EXPECT_EQ(file_faults.created[0].parent_path(), replaced.parent_path());
    EXPECT_TRUE(Utf8FromPath(file_faults.created[0].filename())
                    .starts_with("." + Utf8FromPath(replaced.filename()) + "."));
  }
}

TEST_F(PlatformTest, LoopOfLinksIsRefusedWithTheSystemsCause) {
  fs::create_symlink("other.txt", Target());
  fs::create_symlink("Viscosity.txt", folder_ / "other.txt");
  const std::error_code error = ReplaceFileBytes(Target(), "table");
  EXPECT_EQ(error.message(), "Too many levels of symbolic links");
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(Target())));
  EXPECT_EQ(Listing(folder_), (std::vector<std::string>{"Viscosity.txt", "other.txt"}));
}

struct stat StatusOf(const fs::path& path) {
  struct stat status = {};
  EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
  return status;
}

TEST_F(PlatformTest, NewFileKeepsTheModeOwnerAndGroupOfTheOldOne) {
  struct Case {
    mode_t mode;
    uid_t owner;  // the old file's; this process's user when -1
    gid_t group;
  };
  const auto me = static_cast<uid_t>(-1);
  const bool root = ::geteuid() == 0;
  const Case cases[] = {
      {0600, me, static_cast<gid_t>(-1)},
      {0640, me, static_cast<gid_t>(-1)},
      {0604, me, static_cast<gid_t>(-1)},
      {0755, me, static_cast<gid_t>(-1)},
      {0640, root ? 1234u : me, root ? 1235u : static_cast<gid_t>(-1)},
  };
  const mode_t umask = ::umask(022);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.mode) + " " + std::to_string(c.owner));
    fs::remove(Target());
    WriteAll(Target(), "old");
    ASSERT_EQ(::chown(Target().c_str(), c.owner, c.group), 0);
    ASSERT_EQ(::chmod(Target().c_str(), c.mode), 0);
    const struct stat before = StatusOf(Target());
    ASSERT_FALSE(ReplaceFileBytes(Target(), "new"));
    const struct stat after = StatusOf(Target());
    EXPECT_NE(after.st_ino, before.st_ino) << "a new file";
    EXPECT_EQ(after.st_mode & 07777, c.mode);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
  }
  ::umask(umask);
}

TEST_F(PlatformTest, GroupThatCannotBeKeptMayReadNoMoreThanOthers) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs a file of a group this user is not in";
  // The file belongs to the unprivileged user but to the superuser's group, which that user is
  // not in: the new file stays in the user's own group, with the others' rights.
  struct Case {
    mode_t old_mode;
    mode_t new_mode;
  };
  for (const Case& c : {Case{0640, 0600}, Case{0664, 0644}, Case{0604, 0644}}) {
    SCOPED_TRACE(std::to_string(c.old_mode));
    fs::remove(Target());
    WriteAll(Target(), "old");
    GiveToUnprivilegedUser(folder_);
    GiveToUnprivilegedUser(Target());
    ASSERT_EQ(::chown(Target().c_str(), static_cast<uid_t>(-1), 0), 0);
    ASSERT_EQ(::chmod(Target().c_str(), c.old_mode), 0);
    const ChildOutcome child = RunUnprivileged([&] {
      const std::error_code error = ReplaceFileBytes(Target(), "new");
      return error ? error.message() : std::string("replaced");
    });
    ASSERT_TRUE(child.ran) << child.text;
    EXPECT_EQ(child.text, "replaced");
    const struct stat after = StatusOf(Target());
    EXPECT_EQ(after.st_mode & 07777, c.new_mode);
    EXPECT_EQ(after.st_uid, Nobody().uid);
    EXPECT_EQ(after.st_gid, Nobody().gid);
    EXPECT_EQ(ReadAll(Target()), "new");
  }
}

TEST_F(PlatformTest, DeviceAndFifoAreWrittenInPlaceAndStayWhatTheyWere) {
  // A full device reports its cause.
  EXPECT_EQ(ReplaceFileBytes("/dev/full", "table").message(), "No space left on device");
  EXPECT_TRUE(fs::is_character_file("/dev/full"));

  // A FIFO, and a link to it, hand every byte to the reader.
  const fs::path fifo = folder_ / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_symlink("pipe", Target());
  for (const fs::path& target : {fifo, Target()}) {
    SCOPED_TRACE(target.string());
    std::string read;
    std::thread reader([&] { read = ReadAll(fifo); });
    const std::error_code error = ReplaceFileBytes(target, std::string(100000, 'x'));
    reader.join();
    EXPECT_FALSE(error) << error.message();
    EXPECT_EQ(read, std::string(100000, 'x'));
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(fifo)));
  }
  EXPECT_EQ(Listing(folder_), (std::vector<std::string>{"Viscosity.txt", "pipe"}));
}

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
