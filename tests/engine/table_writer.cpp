// A table writer for the crash-safety tests, run as a separate process:
//
//   table_writer <count> <visc40> <visc100> [<visc40> <visc100> ...]
//
// Writes "R" to standard output once started, waits for one byte (or the end) on standard input,
// then writes the table file of each oil in turn into $HOME, <count> tables in all (0: until it
// is killed), writing "w" to standard output after each table is in place. Exits 0 after the
// last table, 1 with the message on standard error when a write fails, 2 on bad arguments.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/model.h"
#include "engine/table_file.h"
#include "error/error.h"
#include "test_support.h"

namespace {

bool WriteByte(char byte) { return ::write(STDOUT_FILENO, &byte, 1) == 1; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4 || argc % 2 != 0) {
    std::fprintf(stderr, "usage: table_writer <count> <visc40> <visc100> [...]\n");
    return 2;
  }
  const long count = std::strtol(argv[1], nullptr, 10);
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
      project1::WriteViscosityTable(oils[static_cast<std::size_t>(written) % oils.size()]);
      if (!WriteByte('w')) return 1;
    }
  } catch (const project1::Error& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
