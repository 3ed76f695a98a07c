#pragma once
// The commands of the `viscosity` tool. Each is declared by one function that adds it to the
// tool: its options, its help and what it does once they are read (a CLI11 callback). What it
// does ends in an Answer for the tool to write; every failure is Error, and nothing is printed
// before the answer is complete.

#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "cli/tool.h"
#include "error/error.h"

namespace project1::cli {

// What a command leaves for the tool to write: its bytes, to standard output or replacing
// `file`, and the exit status.
struct Answer {
  ToolStreams streams;  // where the run reads and writes
  std::string bytes;
  std::optional<std::string> file;  // -o FILE
  std::string_view file_kind;       // what the file is, for its messages: "table file"
  int status = 0;
};

// Adds the command `name` to the tool.
using DeclareCommand = void (*)(CLI::App& tool, const std::string& name, Answer& answer);

// Adds the command `name` with its options in a `Options` of its own, kept alive by the
// command's callback, which hands them to `run` once they are read.
template <typename Options, typename Run>
std::pair<CLI::App*, Options*> AddCommand(CLI::App& tool, const std::string& name,
                                          const std::string& description, Run run) {
  auto options = std::make_shared<Options>();
  CLI::App* command = tool.add_subcommand(name, description);
  command->callback([options, run] { run(*options); });
  return {command, options.get()};
}

void DeclareAt(CLI::App& tool, const std::string& name, Answer& answer);
void DeclareTable(CLI::App& tool, const std::string& name, Answer& answer);
void DeclareTemperatureFor(CLI::App& tool, const std::string& name, Answer& answer);
void DeclareIndex(CLI::App& tool, const std::string& name, Answer& answer);
void DeclareBlend(CLI::App& tool, const std::string& name, Answer& answer);
void DeclareBearing(CLI::App& tool, const std::string& name,
                    Answer& answer);  // bearing_commands.cpp
void DeclareSelectGrade(CLI::App& tool, const std::string& name,
                        Answer& answer);  // bearing_commands.cpp
void DeclareOils(CLI::App& tool, const std::string& name, Answer& answer);
void DeclareBatch(CLI::App& tool, const std::string& name, Answer& answer);  // batch_command.cpp
void DeclareChart(CLI::App& tool, const std::string& name, Answer& answer);  // chart_command.cpp

// The exit statuses: bad usage or input, a file that cannot be read or written.
inline constexpr int kExitUsage = 2;
inline constexpr int kExitFile = 1;

// The exit status of a command stopped by an error of `kind`: 2 for bad input and usage, 1 for a
// file, and 1 for a fault of the program's own, as for any other failure that is not the
// person's.
constexpr int ExitStatusOf(ErrorKind kind) {
  switch (kind) {
    case ErrorKind::BadInput:
    case ErrorKind::BadUsage:
      return kExitUsage;
    case ErrorKind::File:
    case ErrorKind::Internal:
      return kExitFile;
  }
  return kExitFile;
}

}  // namespace project1::cli
