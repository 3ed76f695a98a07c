// The user's oils file: its text both ways, what it refuses, and its changes under processes
// that race or die.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "error/error.h"
#include "file_faults.h"
#include "test_support.h"
#include "user_oils/user_oils.h"
#include "user_oils_support.h"

namespace project1 {

bool operator==(const UserOil& a, const UserOil& b) {
  return a.name == b.name && a.nu40 == b.nu40 && a.nu100 == b.nu100 && a.gravity == b.gravity &&
         a.note == b.note;
}

namespace {

namespace fs = std::filesystem;

std::string ErrorOf(const std::function<void()>& step) {
  try {
    step();
  } catch (const Error& error) {
    return error.what();
  }
  return "(no error)";
}

TEST(UserOilsFile, EveryFieldReadsBackAsItWasWritten) {
  const std::vector<UserOil> oils = {
      {"Gear oil, site B", 220, 19.4, 0.89, "from \"supplier\" A, 2024"},
      {"Hydrauliköl HLP 46", 46.000000000000007, 6.8, std::nullopt, ""},
      {"潤滑油 \"X\"", 1e-5, 2.5e-7, 1.0000000000000002, "  blanks kept  "},
      {"plain", 320, 35, 0.87, "line,with,commas"},
  };
  const std::string text = UserOilsCsv(oils);
  EXPECT_TRUE(text.starts_with("name,v40,v100,sg,note\n")) << text;
  EXPECT_NE(text.find("\"Gear oil, site B\",220,19.4,0.89,\"from \"\"supplier\"\" A, 2024\"\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("Hydrauliköl HLP 46,46.00000000000001,6.8,,\n"), std::string::npos) << text;
  const UserOilLibrary read = ParseUserOils(text, "oils.csv");
  EXPECT_EQ(read.problems, std::vector<std::string>{});
  EXPECT_EQ(read.oils, oils);
}

TEST(UserOilsFile, ReadsWhatASpreadsheetMakesOfIt) {
  struct Case {
    const char* what;
    const char* text;
  };
  const UserOil expected{"SHC X", 68, 8.8, 0.86, "a note"};
  for (const Case& c : {
           Case{"byte-order mark and CR LF",
                "\xEF\xBB\xBFname,v40,v100,sg,note\r\nSHC X,68,8.8,"
                "0.86,a note\r\n"},
           Case{"columns moved, named in capitals, one more column",
                "Note,SG,V100,Name,V40,Colour\na note,0.86,8.8,SHC X,68,red\n"},
           Case{"blanks around fields, blank lines, grouped digits quoted",
                "name , v40,v100,sg,note\n\n  SHC X , \"68\" ,8.8, 0.86 ,a note\n\n"},
           Case{"no last line end", "name,v40,v100,sg,note\nSHC X,68,8.8,0.86,a note"},
       }) {
    SCOPED_TRACE(c.what);
    const UserOilLibrary read = ParseUserOils(c.text, "oils.csv");
    EXPECT_EQ(read.problems, std::vector<std::string>{});
    EXPECT_EQ(read.oils, std::vector<UserOil>{expected});
  }
}

TEST(UserOilsFile, BadRowsAreReportedByLineAndTheOthersStillOffered) {
  struct Case {
    const char* rows;  // after the header, which is line 1
    std::vector<std::string> problems;
    std::size_t offered;
  };
  const Case cases[] = {
      {"a,46,6.8,,\nbad,4x6,6.8,0.85,\nc,68,8.8,,\n",
       {"f.csv line 3: v40 \"4x6\" is not a number."},
       2},
      {"Gear A,46,6.8,,\n gear a ,68,8.8,,\n",
       {"f.csv line 3: the name \"gear a\" is already "
        "used by an earlier row."},
       1},
      {"a,46,,0.8,\n,46,6.8,,\n",
       {"f.csv line 2: v100 \"\" is not a number.", "f.csv line 3: the name is empty."},
       0},
      {"a,0,6.8,,\nb,46,6.8,-1,\n",
       {"f.csv line 2: The v40 of \"a\" must be above 0 (0).",
        "f.csv line 3: The sg of \"b\" must be above 0 (-1)."},
       0},
      // A quote never closed on the last line: the rows before it are still offered.
      {"a,46,6.8,,\"two\nlines\"\nb,46,6.8,,\"never closed\n",
       {"f.csv line 4, column 11: a quote is not closed."},
       1},
      {"a,46,6.8,,\nb,46,6.8,,\nc,46,6.8,,\"never closed\n",
       {"f.csv line 4, column 11: a quote is not closed."},
       2},
      {"a,46,6.8,,\nbad,4x6,6.8,,\nc,\"x\"y,6.8,,\nd,46,6.8,,\n",
       {"f.csv line 3: v40 \"4x6\" is not a number.",
        "f.csv line 4, column 6: text follows a closing quote."},
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rows);
    const UserOilLibrary read =
        ParseUserOils(std::string("name,v40,v100,sg,note\n") + c.rows, "f.csv");
    EXPECT_EQ(read.problems, c.problems);
    EXPECT_EQ(read.oils.size(), c.offered);
  }
  EXPECT_EQ(ParseUserOils("name,v40,sg\na,1,1\n", "f.csv").problems,
            std::vector<std::string>{"f.csv line 1: the header must name the columns name, v40 "
                                     "and v100 (and may name sg and note)."});
  EXPECT_EQ(
      ErrorOf([] { ParseUserOilsStrictly("name,v40,v100\na,1,0.5\nb,1,x\nc,1,y\n", "in.csv"); }),
      "in.csv line 3: v100 \"x\" is not a number.");
}

TEST(UserOilsFile, NamesAreRefusedWhenTakenInAnyCaseOrByTheCatalogue) {
  const std::vector<UserOil> oils = {{"Gear A", 46, 6.8, {}, ""}};
  struct Case {
    UserOil oil;
    std::string message;
  };
  const Case cases[] = {
      {{"  GEAR a ", 68, 8.8, {}, ""}, "You already have an oil named \"Gear A\"."},
      {{"geara", 68, 8.8, {}, ""}, "You already have an oil named \"Gear A\"."},
      {{"SHC632", 68, 8.8, {}, ""}, "\"SHC632\" is a catalogue oil's name; choose another."},
      {{"shc 632", 68, 8.8, {}, ""}, "\"shc 632\" is a catalogue oil's name; choose another."},
      {{"Other", 68, 8.8, {}, ""}, "\"Other\" is the list's own entry; choose another name."},
      {{"   ", 68, 8.8, {}, ""}, "An oil's name may not be empty."},
      {{"two\nlines", 68, 8.8, {}, ""},
       "The name and note of \"two\nlines\" must be one line each."},
      {{"thin", 68, -0.5, {}, ""}, "The v100 of \"thin\" must be above 0 (-0.5)."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.oil.name);
    EXPECT_EQ(ErrorOf([&] { CheckUserOil(c.oil, oils); }), c.message);
  }
  EXPECT_EQ(ErrorOf([&] { CheckUserOil({"Gear B", 68, 8.8, 0.9, "ok"}, oils); }), "(no error)");
  EXPECT_EQ(FindUserOil(oils, " gear a"), &oils[0]);
  EXPECT_EQ(FindUserOil(oils, "gear"), nullptr);
}

TEST(UserOilsFile, NewNamesThatCouldHurtAreRefusedSayingWhy) {
  const std::string formula =
      ", which makes a spreadsheet opening the oils file run it as a formula; begin it with "
      "another character.";
  const std::string control =
      "An oil's name may not hold a control character, which does not show and can break the "
      "lines of a list; character ";
  struct Case {
    std::string name;
    std::string message;  // empty: accepted
  };
  const Case cases[] = {
      {"=HYPERLINK(1)", "The name \"=HYPERLINK(1)\" begins with \"=\"" + formula},
      {"  =1+1", "The name \"=1+1\" begins with \"=\"" + formula},
      {"+44 oil", "The name \"+44 oil\" begins with \"+\"" + formula},
      {"-40 grade", "The name \"-40 grade\" begins with \"-\"" + formula},
      {"@SUM(A1)", "The name \"@SUM(A1)\" begins with \"@\"" + formula},
      {"\t=1", "The name begins with a tab" + formula},
      {"\rGear", "The name begins with a carriage return" + formula},
      {"Gear\aB", control + "5 is U+0007."},
      {"Öl\x7f", control + "3 is U+007F."},
      {"Öl\xc2\x85", control + "3 is U+0085."},
      {"Gear\tB", control + "5 is U+0009."},
      {std::string(101, 'x'),
       "An oil's name may have at most 100 characters, so that a list of oils stays readable; "
       "this one has 101."},
      {std::string(5000, 'x'),
       "An oil's name may have at most 100 characters, so that a list of oils stays readable; "
       "this one has 5,000."},
      {std::string(100, 'x'), ""},
      {"Öl " + std::string(97, 'x'), ""},  // 100 characters in 101 bytes
      {"Gear-40 @ 1+1=2", ""},
      {"Gear \"B\", no. 2", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ErrorOf([&] {
                CheckUserOil({c.name, 68, 8.8, {}, ""}, {});
              }),
              c.message.empty() ? "(no error)" : c.message);
  }

  // Through a change, as typed (a tab first is not trimmed away), and only for a new name: an oil
  // kept under an older name stays.
  TempDataHome home;
  fs::create_directories(home.OilsFile().parent_path());
  WriteBytes(home.OilsFile(), "name,v40,v100,sg,note\n-40 grade,46,6.8,,\n");
  EXPECT_EQ(ErrorOf([&] {
              ChangeUserOils(home.OilsFile(), [](auto& oils) {
                oils.push_back({"\t@x", 68, 8.8, {}, ""});
              });
            }),
            "The name begins with a tab" + formula);
  ChangeUserOils(home.OilsFile(), [](auto& oils) { oils.push_back({" B ", 68, 8.8, {}, ""}); });
  EXPECT_EQ(ReadBytes(home.OilsFile()), "name,v40,v100,sg,note\n-40 grade,46,6.8,,\nB,68,8.8,,\n");
}

TEST(UserOilsFile, LivesInTheApplicationDataFolder) {
  TempDataHome home;
  EXPECT_EQ(UserOilsPath(), home.OilsFile());
  ::unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(UserOilsPath(), home.Home() / ".local/share/Project1/oils.csv");
}

TEST(UserOilsChanges, AMissingFileIsAnEmptyLibraryAndTheFirstChangeMakesIt) {
  TempDataHome home;
  EXPECT_EQ(ReadUserOils(home.OilsFile()).oils.size(), 0u);
  EXPECT_EQ(ReadUserOils(home.OilsFile()).problems.size(), 0u);
  ChangeUserOils(home.OilsFile(), [](std::vector<UserOil>& oils) {
    oils.push_back({" Gear A ", 46, 6.8, {}, "n"});
  });
  EXPECT_EQ(ReadBytes(home.OilsFile()), "name,v40,v100,sg,note\nGear A,46,6.8,,n\n");
  EXPECT_EQ(ErrorOf([&] {
              ChangeUserOils(home.OilsFile(), [](std::vector<UserOil>& oils) {
                oils.push_back({"gear a", 68, 8.8, {}, ""});
              });
            }),
            "You already have an oil named \"Gear A\".");
}

TEST(UserOilsChanges, AFileWithABadRowOrColumnsOfItsOwnIsNeverRewritten) {
  TempDataHome home;
  const std::string file = home.OilsFile().string();
  const struct {
    std::string text;
    std::string message;
  } cases[] = {
      {"name,v40,v100,sg,note\r\nA,46,6.8,,\r\nB,4x6,6.8,,kept as typed\r\n",
       file + " line 3: v40 \"4x6\" is not a number. Mend the file before changing your oils; it "
              "is left as it is."},
      {"name,v40,v100,Supplier,sg,note,Colour\nA,46,6.8,Acme,0.86,,red\n",
       "Your oils file " + file +
           " has columns that a change would not keep (Supplier, Colour). "
           "Move them to a file of their own before changing your oils; it is left as it is."},
  };
  fs::create_directories(home.OilsFile().parent_path());
  for (const auto& c : cases) {
    WriteBytes(home.OilsFile(), c.text);
    EXPECT_EQ(ReadUserOils(home.OilsFile()).oils.size(), 1u);
    EXPECT_EQ(ErrorOf([&] {
                ChangeUserOils(home.OilsFile(), [](std::vector<UserOil>& oils) {
                  oils.push_back({"C", 68, 8.8, {}, ""});
                });
              }),
              c.message);
    EXPECT_EQ(ReadBytes(home.OilsFile()), c.text);
  }
}

TEST(UserOilsChanges, AnOilNamedLikeACatalogueOilAddedSinceIsKept) {
  TempDataHome home;
  fs::create_directories(home.OilsFile().parent_path());
  WriteBytes(home.OilsFile(), "name,v40,v100,sg,note\nSHC 632,300,33,,mine\n");
  ChangeUserOils(home.OilsFile(), [](std::vector<UserOil>& oils) {
    oils.push_back({"Gear", 68, 8.8, {}, ""});
  });
  EXPECT_EQ(ReadBytes(home.OilsFile()),
            "name,v40,v100,sg,note\nSHC 632,300,33,,mine\nGear,68,8.8,,\n");
}

TEST(UserOilsChanges, AFailingStepOfTheReplaceLeavesThePreviousFile) {
  TempDataHome home;
  ChangeUserOils(home.OilsFile(), [](auto& oils) { oils.push_back({"A", 46, 6.8, {}, ""}); });
  const std::optional<std::string> before = ReadBytes(home.OilsFile());
  for (const ReplaceFault& c : kReplaceFaults) {
    SCOPED_TRACE(FileStepName(c.step));
    InjectFileFault(c.step, c.error);
    const std::string message = ErrorOf([&] {
      ChangeUserOils(
          home.OilsFile(),
          [](auto& oils) {
            oils.push_back({"B", 68, 8.8, {}, ""});
          },
          FaultyFileOps());
    });
    EXPECT_TRUE(message.ends_with(std::string("cannot be written: ") + c.cause + ".")) << message;
    EXPECT_EQ(ReadBytes(home.OilsFile()), before);
  }
}

TEST(UserOilsChanges, AFileLinkedToATeamsFileChangesThatFileUnderALockBesideIt) {
  TempDataHome home;
  const fs::path team = home.Home() / "team";
  fs::create_directories(team);
  fs::create_directories(home.OilsFile().parent_path());
  WriteBytes(team / "oils.csv", "name,v40,v100,sg,note\nA,46,6.8,,\n");
  fs::permissions(team / "oils.csv", fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink(team / "oils.csv", home.OilsFile());
  ChangeUserOils(home.OilsFile(), [](auto& oils) { oils.push_back({"B", 68, 8.8, {}, ""}); });
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(home.OilsFile())));
  EXPECT_EQ(ReadBytes(team / "oils.csv"), "name,v40,v100,sg,note\nA,46,6.8,,\nB,68,8.8,,\n");
  EXPECT_EQ(fs::status(team / "oils.csv").permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(FolderListing(team), (std::vector<std::string>{".oils.csv.lock", "oils.csv"}));
  EXPECT_EQ(FolderListing(home.OilsFile().parent_path()), std::vector<std::string>{"oils.csv"});
}

// Runs `step` in a child process; returns its pid.
pid_t Fork(const std::function<void()>& step) {
  const pid_t child = ::fork();
  if (child == 0) {
    try {
      step();
    } catch (...) {
      ::_exit(1);
    }
    ::_exit(0);
  }
  return child;
}

int ExitStatus(pid_t child) {
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(UserOilsChanges, TwoProcessesAddingAtOnceBothLand) {
  TempDataHome home;
  const fs::path file = home.OilsFile();
  int go[2];
  ASSERT_EQ(::pipe(go), 0);
  std::vector<pid_t> children;
  for (const std::string prefix : {"first ", "second "}) {
    children.push_back(Fork([&] {
      char byte = 0;
      if (::read(go[0], &byte, 1) != 1) ::_exit(2);
      for (int i = 0; i < 100; ++i) {
        ChangeUserOils(file, [&](std::vector<UserOil>& oils) {
          oils.push_back({prefix + std::to_string(i), 46, 6.8, {}, ""});
        });
      }
    }));
  }
  ASSERT_EQ(::write(go[1], "GG", 2), 2);
  for (const pid_t child : children) EXPECT_EQ(ExitStatus(child), 0);
  ::close(go[0]);
  ::close(go[1]);
  const UserOilLibrary read = ReadUserOils(file);
  EXPECT_EQ(read.problems.size(), 0u);
  EXPECT_EQ(read.oils.size(), 200u);
}

// The file calls, each stopping after it is done until the test lets it go on: a byte on
// `steps` reports the call, one from `go` lets it continue.
int steps_out = -1, go_in = -1;
void Stop(char step) {
  char byte = 0;
  if (::write(steps_out, &step, 1) != 1 || ::read(go_in, &byte, 1) != 1) ::_exit(3);
}
const platform::FileCalls& SteppedCalls() {
  using platform::FileHandle;
  using platform::SystemFileCalls;
  static const platform::FileCalls calls{
      [](const fs::path& path, FileHandle& file) {
        const auto error = SystemFileCalls().create(path, file);
        Stop('o');
        return error;
      },
      [](FileHandle file, const char* data, std::size_t size, std::size_t& written) {
        // Half of the bytes first, so that a part-written file is a step of its own.
        const auto error = SystemFileCalls().write(file, data, size > 1 ? size / 2 : size, written);
        Stop('w');
        return error;
      },
      [](FileHandle file) {
        const auto error = SystemFileCalls().flush(file);
        Stop('f');
        return error;
      },
      [](FileHandle file) {
        const auto error = SystemFileCalls().close(file);
        Stop('c');
        return error;
      },
      [](const fs::path& from, const fs::path& to) {
        const auto error = SystemFileCalls().replace(from, to);
        Stop('r');
        return error;
      },
      SystemFileCalls().remove,
      SystemFileCalls().open_folder,
      SystemFileCalls().inspect,
      SystemFileCalls().resolve,
      SystemFileCalls().keep,
      SystemFileCalls().open_in_place,
  };
  return calls;
}

TEST(UserOilsChanges, AKillAtAnyStepOfASaveLeavesTheOldOrTheNewFile) {
  TempDataHome home;
  const fs::path file = home.OilsFile();
  ChangeUserOils(file, [](auto& oils) { oils.push_back({"old", 46, 6.8, {}, ""}); });
  const std::string old_text = *ReadBytes(file);
  const std::string new_text = UserOilsCsv(
      {{"old", 46, 6.8, {}, ""}, {"new, with a long note", 68, 8.8, 0.87, std::string(500, 'n')}});
  bool saw_new = false;
  // Kill the saver after its first, second, ... step until a save runs to its end.
  for (int kill_after = 1;; ++kill_after) {
    SCOPED_TRACE(kill_after);
    int steps[2], go[2];
    ASSERT_EQ(::pipe(steps), 0);
    ASSERT_EQ(::pipe(go), 0);
    const pid_t child = Fork([&] {
      ::close(steps[0]);
      ::close(go[1]);
      steps_out = steps[1];
      go_in = go[0];
      ChangeUserOils(
          file,
          [](auto& oils) {
            oils.push_back({"new, with a long note", 68, 8.8, 0.87, std::string(500, 'n')});
          },
          SteppedCalls());
    });
    ::close(steps[1]);
    ::close(go[0]);
    int taken = 0;
    char step = 0;
    while (taken < kill_after && ::read(steps[0], &step, 1) == 1) {
      if (++taken < kill_after) {
        ASSERT_EQ(::write(go[1], "g", 1), 1);
      }
    }
    const bool finished = taken < kill_after;
    ::kill(child, SIGKILL);
    ExitStatus(child);
    ::close(steps[0]);
    ::close(go[1]);
    const std::string now = *ReadBytes(file);
    EXPECT_TRUE(now == old_text || now == new_text) << now;
    saw_new = saw_new || now == new_text;
    // The temporary file a killed saver leaves is cleared by the next save.
    if (finished) break;
    WriteBytes(file, old_text);
  }
  EXPECT_TRUE(saw_new) << "a save ran to its end";
}

}  // namespace
}  // namespace project1
