// The table file under processes that die or race: a writer killed at random moments, two
// writers at once, and the temporary files a killed writer leaves behind. The writers are
// separate processes running table_writer.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "engine/model.h"
#include "engine/table_text.h"
#include "file_faults.h"
#include "table_file/replace_file.h"
#include "table_file/table_file.h"
#include "test_support.h"

extern char** environ;

namespace project1 {
namespace {

namespace fs = std::filesystem;

struct Oil {
  const char* visc40;
  const char* visc100;
};
constexpr Oil kHeavyOil{"320", "35"};
constexpr Oil kLightOil{"68", "8.8"};

std::string TableOf(const Oil& oil) {
  CalcState s = FittedLine(std::stod(oil.visc40), std::stod(oil.visc100));
  return ViscosityTableText(s);
}

// How long a wait for the writer may take before the test fails: far more than any machine
// needs, however busy.
constexpr int kWriterDeadlineMilliseconds = 120'000;

// A running table_writer with pipes to its standard input and output. Started and waiting for
// Go(); killed and reaped by the destructor when still running. A stepped writer reports each
// step of its replaces and waits for Continue() after each.
class Writer {
 public:
  Writer(long count, const std::vector<Oil>& oils, bool stepped = false) {
    std::vector<std::string> args = {TABLE_WRITER};
    if (stepped) args.push_back("--steps");
    args.push_back(std::to_string(count));
    for (const Oil& oil : oils) {
      args.push_back(oil.visc40);
      args.push_back(oil.visc100);
    }
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    int input[2];
    int output[2];
    if (::pipe2(input, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    if (::pipe2(output, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    const int error = ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(input[0]);
    ::close(output[1]);
    to_child_ = input[1];
    from_child_ = output[0];
    if (error != 0) {
      pid_ = 0;
      throw std::runtime_error(std::string("cannot start table_writer: ") + std::strerror(error));
    }
    if (NextByte() != 'R') {
      Kill();
      ::close(to_child_);
      ::close(from_child_);
      throw std::runtime_error("table_writer did not report that it started");
    }
  }
  ~Writer() {
    if (pid_ != 0) Kill();
    ::close(to_child_);
    ::close(from_child_);
  }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  pid_t Pid() const { return pid_ != 0 ? pid_ : reaped_pid_; }

  void Go() {
    const char go = 'G';
    if (::write(to_child_, &go, 1) != 1) throw std::runtime_error("cannot start the writes");
  }
  // Lets a stepped writer go on past the step it reported.
  void Continue() { Go(); }

  // The next byte the writer reports, waiting for it; 0 when it ended without one. Throws when
  // nothing comes within the deadline.
  char NextByte() {
    pollfd ready{from_child_, POLLIN, 0};
    const int polled = ::poll(&ready, 1, kWriterDeadlineMilliseconds);
    if (polled == 0) {
      throw std::runtime_error("table_writer reported nothing within " +
                               std::to_string(kWriterDeadlineMilliseconds / 1000) + " s");
    }
    char byte = 0;
    if (polled < 0 || ::read(from_child_, &byte, 1) != 1) return 0;
    if (byte == 'w') ++tables_;
    return byte;
  }

  // Sends SIGKILL and reaps the process; returns its wait status.
  int Kill() {
    ::kill(pid_, SIGKILL);
    return Reap(0).value_or(-1);
  }

  // The wait status once the process has ended (waiting for it when `wait`), else nullopt.
  std::optional<int> Ended(bool wait) { return Reap(wait ? 0 : WNOHANG); }

  // The tables the process reported in place so far (reads what it wrote up to now; after it
  // ended, everything).
  int TablesWritten() {
    char bytes[256];
    const int flags = ::fcntl(from_child_, F_GETFL);
    if (pid_ != 0) ::fcntl(from_child_, F_SETFL, flags | O_NONBLOCK);
    for (ssize_t got; (got = ::read(from_child_, bytes, sizeof bytes)) > 0;) {
      tables_ += static_cast<int>(std::count(bytes, bytes + got, 'w'));
    }
    ::fcntl(from_child_, F_SETFL, flags);
    return tables_;
  }

 private:
  std::optional<int> Reap(int options) {
    if (pid_ == 0) return status_;
    int status = 0;
    const pid_t done = ::waitpid(pid_, &status, options);
    if (done != pid_) return std::nullopt;
    reaped_pid_ = pid_;
    pid_ = 0;
    status_ = status;
    return status;
  }

  pid_t pid_ = 0;
  pid_t reaped_pid_ = 0;
  int status_ = -1;
  int to_child_ = -1;
  int from_child_ = -1;
  int tables_ = 0;
};

std::string Describe(int status) {
  if (WIFEXITED(status)) return "exited with " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return "killed by signal " + std::to_string(WTERMSIG(status));
  return "status " + std::to_string(status);
}

// What the home folder holds, by kind.
struct Listing {
  bool table = false;
  std::vector<std::string> temporaries;  // ".Viscosity.txt.<host>.<pid>.<n>.tmp"
  std::vector<std::string> others;
};

Listing List(const fs::path& folder) {
  Listing listing;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name == "Viscosity.txt") {
      listing.table = true;
    } else if (name.starts_with(".Viscosity.txt.") && name.ends_with(".tmp")) {
      listing.temporaries.push_back(name);
    } else {
      listing.others.push_back(name);
    }
  }
  return listing;
}

// This machine's name, as the temporary names hold it.
std::string Host() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) throw std::runtime_error("no host name");
  return name;
}

// ".Viscosity.txt.<host>.<middle>": a temporary name of this host when `middle` is "<pid>.<n>.tmp".
std::string OnThisHost(const std::string& middle) {
  return ".Viscosity.txt." + Host() + "." + middle;
}

std::string TemporaryName(pid_t pid, const std::string& counter) {
  return OnThisHost(std::to_string(pid) + "." + counter + ".tmp");
}

// The seed of the random kill moments: $PROJECT1_KILL_SEED when set, to repeat a run.
std::uint64_t KillSeed() {
  if (const char* seed = std::getenv("PROJECT1_KILL_SEED")) return std::stoull(seed);
  return (static_cast<std::uint64_t>(std::random_device{}()) << 32) | std::random_device{}();
}

class CrashSafetyTest : public testing::Test {
 protected:
  void SetUp() override {
    // A writer that dies must not take the test with it through a write to its pipe.
    ::signal(SIGPIPE, SIG_IGN);
  }

  fs::path Target() const { return home_.File("Viscosity.txt"); }

  TempHome home_;
};

// The steps of one replace as a stepped table_writer reports them, in order.
struct ReplaceStep {
  char letter;
  const char* name;
  bool table_replaced;  // the new table is in place once this step is done
};
constexpr ReplaceStep kReplaceSteps[] = {
    {'o', "temporary file opened", false}, {'p', "part of the bytes written", false},
    {'a', "all bytes written", false},     {'f', "temporary file flushed", false},
    {'r', "renamed over the table", true}, {'d', "folder flushed", true},
};
constexpr std::size_t kStepCount = std::size(kReplaceSteps);

TEST_F(CrashSafetyTest, WriterKilledAtEveryStepLeavesNoTableOrOneCompleteTable) {
  constexpr int kKillsPerStep = 40;
  // Every 10th round starts without a table, so that a kill before the first table is in place
  // is tried again and again.
  constexpr int kFreshEvery = 10;
  // The writer completes up to this many tables before the one it is killed in.
  constexpr int kMostTablesBefore = 2;
  const std::uint64_t seed = KillSeed();
  std::cout << "kill test seed " << seed << " (set PROJECT1_KILL_SEED to repeat)\n";
  RecordProperty("seed", std::to_string(seed));
  std::mt19937_64 random(seed);
  // Each step drawn as often as every other, in a random order.
  std::vector<std::size_t> deck;
  for (std::size_t step = 0; step < kStepCount; ++step)
    deck.insert(deck.end(), kKillsPerStep, step);
  std::shuffle(deck.begin(), deck.end(), random);
  std::uniform_int_distribution<int> tables_before_kill(0, kMostTablesBefore);
  const std::string tables[] = {TableOf(kHeavyOil), TableOf(kLightOil)};
  ASSERT_NE(tables[0], tables[1]);

  std::vector<int> kills_at(kStepCount, 0);
  int mid_write = 0;
  int without_table = 0;
  std::optional<std::string> in_place;  // what the table file holds as far as the test knows
  for (std::size_t round = 0; round < deck.size(); ++round) {
    const ReplaceStep& kill_step = kReplaceSteps[deck[round]];
    const int kill_table = tables_before_kill(random);
    SCOPED_TRACE("round " + std::to_string(round) + ", seed " + std::to_string(seed) +
                 ", killed after step \"" + kill_step.name + "\" of table " +
                 std::to_string(kill_table));
    if (round % kFreshEvery == 0) {
      fs::remove(Target());
      in_place.reset();
    }
    Writer writer(0, {kHeavyOil, kLightOil}, /*stepped=*/true);
    writer.Go();
    // Let the writer go on step by step up to the drawn one, checking the order of its steps.
    int table = 0;
    std::size_t next_step = 0;
    for (;;) {
      const char got = writer.NextByte();
      ASSERT_NE(got, 0) << "the writer ended before the step it was to be killed at";
      if (got == 'w') {
        ASSERT_EQ(next_step, kStepCount)
            << "table " << table << " in place before \"" << kReplaceSteps[next_step].name << "\"";
        ++table;
        next_step = 0;
        continue;
      }
      ASSERT_LT(next_step, kStepCount) << "step '" << got << "' after the last step";
      ASSERT_EQ(got, kReplaceSteps[next_step].letter)
          << "expected \"" << kReplaceSteps[next_step].name << "\" next";
      if (kReplaceSteps[next_step].table_replaced) in_place = tables[table % 2];
      if (table == kill_table && &kReplaceSteps[next_step] == &kill_step) break;
      ++next_step;
      writer.Continue();
    }
    const int status = writer.Kill();
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << Describe(status);
    ++kills_at[next_step];

    const Listing listing = List(home_.Path());
    EXPECT_TRUE(listing.others.empty()) << listing.others.front();
    const std::optional<std::string> bytes = ReadBytes(Target());
    if (!bytes) {
      ASSERT_FALSE(in_place.has_value()) << "a table was in place and is gone";
      ++without_table;
    } else {
      ASSERT_TRUE(*bytes == tables[0] || *bytes == tables[1])
          << "not a complete table (" << bytes->size() << " bytes):\n"
          << *bytes;
    }
    EXPECT_EQ(bytes, in_place) << "not the table of the last completed rename";
    // Only the killed writer's own temporary may be there, and only before its rename: the
    // leftovers of the writers killed before were removed by its first replace.
    const std::string own = OnThisHost(std::to_string(writer.Pid()) + ".");
    const auto owned =
        std::count_if(listing.temporaries.begin(), listing.temporaries.end(),
                      [&](const std::string& name) { return name.starts_with(own); });
    EXPECT_EQ(owned, kill_step.table_replaced ? 0 : 1) << "the writer's own temporary files";
    EXPECT_EQ(listing.temporaries.size(), static_cast<std::size_t>(owned))
        << "leftovers of earlier writers: " << listing.temporaries.front();
    if (owned > 0) ++mid_write;
  }
  std::cout << "kills " << deck.size() << ", landed mid-write (temporary file present) "
            << mid_write << ", left no table yet " << without_table << "; by step:";
  for (std::size_t step = 0; step < kStepCount; ++step) {
    std::cout << " " << kReplaceSteps[step].name << " " << kills_at[step] << ";";
  }
  std::cout << "\n";
  RecordProperty("mid_write", mid_write);
  // Every step was hit as often as the deck holds it, whatever the machine's speed or load.
  for (std::size_t step = 0; step < kStepCount; ++step) {
    EXPECT_EQ(kills_at[step], kKillsPerStep)
        << "kills after \"" << kReplaceSteps[step].name << "\"";
  }

  // The next write removes what the killed writers left behind.
  CalcState s = FittedLine(320, 35);
  WriteViscosityTable(s);
  EXPECT_EQ(FolderListing(home_.Path()), std::vector<std::string>{"Viscosity.txt"});
  EXPECT_EQ(ReadBytes(Target()), tables[0]);
}

TEST_F(CrashSafetyTest, TwoWritersAtOnceAlwaysLeaveOneCompleteTable) {
  constexpr int kTablesEach = 100;
  const std::string heavy = TableOf(kHeavyOil);
  const std::string light = TableOf(kLightOil);
  Writer first(kTablesEach, {kHeavyOil});
  Writer second(kTablesEach, {kLightOil});
  first.Go();
  second.Go();

  // Read the file over and over while both write.
  int samples = 0;
  int changes = 0;
  bool table_seen = false;
  std::optional<std::string> last;
  std::optional<int> first_status;
  std::optional<int> second_status;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kWriterDeadlineMilliseconds);
  while (!first_status || !second_status) {
    ASSERT_LT(std::chrono::steady_clock::now(), deadline)
        << "the two writers did not finish their " << kTablesEach << " tables each within "
        << kWriterDeadlineMilliseconds / 1000 << " s";
    const std::optional<std::string> bytes = ReadBytes(Target());
    ++samples;
    if (!bytes) {
      ASSERT_FALSE(table_seen) << "sample " << samples << ": the table is gone";
    } else {
      ASSERT_TRUE(*bytes == heavy || *bytes == light)
          << "sample " << samples << ": not a complete table (" << bytes->size() << " bytes)";
      if (last && *last != *bytes) ++changes;
      last = bytes;
      table_seen = true;
    }
    const Listing listing = List(home_.Path());
    ASSERT_TRUE(listing.others.empty()) << listing.others.front();
    ASSERT_LE(listing.temporaries.size(), 2u);
    if (!first_status) first_status = first.Ended(false);
    if (!second_status) second_status = second.Ended(false);
    std::this_thread::sleep_for(std::chrono::microseconds(50));
  }
  std::cout << "samples read while writing " << samples << ", changes of oil seen " << changes
            << "\n";

  EXPECT_EQ(Describe(*first_status), "exited with 0");
  EXPECT_EQ(Describe(*second_status), "exited with 0");
  EXPECT_EQ(first.TablesWritten(), kTablesEach);
  EXPECT_EQ(second.TablesWritten(), kTablesEach);
  const std::optional<std::string> bytes = ReadBytes(Target());
  ASSERT_TRUE(bytes.has_value());
  EXPECT_TRUE(*bytes == heavy || *bytes == light);
  EXPECT_EQ(FolderListing(home_.Path()), std::vector<std::string>{"Viscosity.txt"});
}

TEST_F(CrashSafetyTest, ReplaceRemovesOnlyTheTemporaryFilesOfEndedWriters) {
  Writer live(0, {kHeavyOil});  // waits for Go() and stays alive until the end of the test
  pid_t ended = 0;
  {
    Writer gone(0, {kHeavyOil});
    gone.Kill();
    ended = gone.Pid();
  }
  const pid_t self = ::getpid();
  // Larger than any process id the kernel gives (at most 2^22).
  const pid_t never = 2147483647;

  const std::vector<std::string> removed = {
      TemporaryName(ended, "0"),
      TemporaryName(ended, "17"),
      TemporaryName(never, "4294967295"),
  };
  const std::string ended_text = std::to_string(ended);
  const std::string never_text = std::to_string(never);
  const std::vector<std::string> kept = {
      TemporaryName(live.Pid(), "3"),  // a writer still running
      TemporaryName(self, "999"),      // this process: maybe another thread's write
      // Other hosts sharing the folder: their process ids mean nothing here.
      ".Viscosity.txt.other-host." + never_text + ".0.tmp",
      ".Viscosity.txt.other-host." + ended_text + ".0.tmp",
      ".Viscosity.txt." + Host() + "x." + never_text + ".0.tmp",
      ".Viscosity.txt." + Host() + ".lan." + never_text + ".0.tmp",
      ".Viscosity.txt." + never_text + ".0.tmp",             // no host at all
      ".Other.txt." + Host() + "." + ended_text + ".0.tmp",  // another file's
      "Viscosity.txt." + Host() + "." + ended_text + ".0.tmp",
      TemporaryName(ended, "0") + ".bak",
      OnThisHost(ended_text + ".tmp"),
      OnThisHost(ended_text + "..tmp"),
      OnThisHost(ended_text + ".x.tmp"),
      OnThisHost(ended_text + ".1.2.tmp"),
      OnThisHost("0" + ended_text + ".0.tmp"),
      OnThisHost("+" + ended_text + ".0.tmp"),
      OnThisHost("-1.0.tmp"),  // kill(-1) would reach every process
      OnThisHost("0.0.tmp"),   // kill(0) would reach this process group
      OnThisHost("99999999999999999999.0.tmp"),
      "notes.txt",
  };
  for (const std::string& name : removed) WriteBytes(home_.File(name), "partial table " + name);
  for (const std::string& name : kept) WriteBytes(home_.File(name), "keep " + name);
  // Named like a leftover of the ended writer but not a regular file: left alone.
  const std::string folder = TemporaryName(ended, "5");
  fs::create_directory(home_.File(folder));
  const std::string link = TemporaryName(ended, "6");
  fs::create_symlink("notes.txt", home_.File(link));

  ReplaceFile(Target(), "table");

  std::vector<std::string> expected = kept;
  expected.push_back(folder);
  expected.push_back(link);
  expected.push_back("Viscosity.txt");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FolderListing(home_.Path()), expected);
  for (const std::string& name : kept) EXPECT_EQ(ReadBytes(home_.File(name)), "keep " + name);
  EXPECT_EQ(ReadBytes(Target()), "table");
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(home_.File(link))));
}

TEST_F(CrashSafetyTest, LeftoversOfAnotherTargetInTheSameFolderAreLeftAlone) {
  pid_t ended = 0;
  {
    Writer gone(0, {kHeavyOil});
    gone.Kill();
    ended = gone.Pid();
  }
  const std::string mine = TemporaryName(ended, "0");
  const std::string other = ".Viscosity.txt.old." + Host() + "." + std::to_string(ended) + ".0.tmp";
  WriteBytes(home_.File(mine), "partial");
  WriteBytes(home_.File(other), "partial");

  // The target "Viscosity.txt.old" owns only names starting ".Viscosity.txt.old.<host>.".
  ReplaceFile(home_.File("Viscosity.txt.old"), "table");
  EXPECT_EQ(FolderListing(home_.Path()), (std::vector<std::string>{mine, "Viscosity.txt.old"}));
}

}  // namespace
}  // namespace project1
