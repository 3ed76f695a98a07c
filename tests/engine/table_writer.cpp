// A table writer for the crash-safety tests, run as a separate process:
//
//   table_writer [--steps] <count> <visc40> <visc100> [<visc40> <visc100> ...]
//
// Writes "R" to standard output once started, waits for one byte (or the end) on standard input,
// then writes the table file of each oil in turn into $HOME, <count> tables in all (0: until it
// is killed), writing "w" to standard output after each table is in place. Exits 0 after the
// last table, 1 with the message on standard error when a write fails, 2 on bad arguments.
//
// With --steps it also reports each step of every replace as it is done, one letter (see
// kSteps), and then waits for one byte on standard input before it goes on, so that a test can
// stop it at exactly that step. Its first write writes only half of the bytes, so that "part
// written" is a step of its own.

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "engine/model.h"
#include "error/error.h"
#include "table_file/replace_file.h"
#include "table_file/table_file.h"
#include "test_support.h"

namespace {

bool WriteByte(char byte) { return ::write(STDOUT_FILENO, &byte, 1) == 1; }

// The steps of one replace, in order, as the letters reported with --steps.
constexpr char kOpened = 'o';         // temporary file created
constexpr char kPartWritten = 'p';    // the first half of the bytes written
constexpr char kAllWritten = 'a';     // every byte written
constexpr char kFlushed = 'f';        // the temporary file synced
constexpr char kRenamed = 'r';        // renamed over the table
constexpr char kFolderFlushed = 'd';  // the folder synced

// Reports `step` and waits for the go-ahead; the process ends when the test has gone away.
void Step(char step) {
  char go = 0;
  if (!WriteByte(step) || ::read(STDIN_FILENO, &go, 1) != 1) std::_Exit(3);
}

// The temporary file of the replace under way and how many writes it had.
project1::platform::FileHandle temporary = -1;
bool has_temporary = false;
int temporary_writes = 0;

bool IsTemporary(project1::platform::FileHandle file) { return has_temporary && file == temporary; }

const project1::FileOps& System() { return project1::SystemFileOps(); }

// The system's file calls, each reporting its step once done.
const project1::FileOps& SteppedFileOps() {
  using project1::platform::FileHandle;
  using Path = std::filesystem::path;
  static const project1::FileOps ops{
      [](const Path& path, FileHandle& file) {
        const std::error_code error = System().create(path, file);
        if (!error) {
          temporary = file;
          has_temporary = true;
          temporary_writes = 0;
          Step(kOpened);
        }
        return error;
      },
      [](FileHandle file, const char* data, std::size_t size, std::size_t& written) {
        const bool first = IsTemporary(file) && temporary_writes++ == 0 && size > 1;
        const std::error_code error = System().write(file, data, first ? size / 2 : size, written);
        if (IsTemporary(file) && !error && written > 0) {
          Step(written == size ? kAllWritten : kPartWritten);
        }
        return error;
      },
      [](FileHandle file) {
        const std::error_code error = System().flush(file);
        Step(IsTemporary(file) ? kFlushed : kFolderFlushed);
        return error;
      },
      [](FileHandle file) {
        if (IsTemporary(file)) has_temporary = false;
        return System().close(file);
      },
      [](const Path& from, const Path& to) {
        const std::error_code error = System().replace(from, to);
        if (!error) Step(kRenamed);
        return error;
      },
      System().remove,
      System().open_folder,
      System().inspect,
      System().resolve,
      System().keep,
      System().open_in_place,
  };
  return ops;
}

}  // namespace

int main(int argc, char** argv) {
  const bool stepped = argc > 1 && std::strcmp(argv[1], "--steps") == 0;
  if (stepped) {
    --argc;
    ++argv;
  }
  if (argc < 4 || argc % 2 != 0) {
    std::fprintf(stderr, "usage: table_writer [--steps] <count> <visc40> <visc100> [...]\n");
    return 2;
  }
  const long count = std::strtol(argv[1], nullptr, 10);
  const project1::FileOps& ops = stepped ? SteppedFileOps() : project1::SystemFileOps();
  std::vector<project1::CalcState> oils;
  try {
    for (int arg = 2; arg + 1 < argc; arg += 2) {
      oils.push_back(project1::FittedLine(std::strtod(argv[arg], nullptr),
                                          std::strtod(argv[arg + 1], nullptr)));
    }
    if (!WriteByte('R')) return 1;
    char go = 0;
    if (::read(STDIN_FILENO, &go, 1) < 0) return 1;
    for (long written = 0; count == 0 || written < count; ++written) {
      project1::WriteViscosityTable(oils[static_cast<std::size_t>(written) % oils.size()], ops);
      if (!WriteByte('w')) return 1;
    }
  } catch (const project1::Error& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
