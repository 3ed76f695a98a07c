// The `viscosity` tool: parses the arguments, runs the one command they name and writes its
// answer.
//
// How a command is made (commands.h): one Declare function calls AddCommand with the command's
// name, description and run function, then declares its options on the Options struct AddCommand
// keeps for it (options shared by several commands through one helper each, in options.h and
// oil.h) and its help's footer. CLI11 calls the run function once the options are read; it
// computes the whole answer, renders it from the description of its fields (output.h, fields.h)
// and leaves it in the Answer, which RunTool writes. Adding a command is writing its Declare
// function and listing it in kCommands, in the order --help shows the commands.
#include "cli/tool.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <exception>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/output.h"
#include "engine/safe_replace.h"
#include "error/error.h"
#include "platform/file_calls.h"
#include "platform/host.h"
#include "project1/version.h"

namespace project1::cli {

namespace {

constexpr DeclareCommand kCommands[] = {
    DeclareAt,      DeclareTable,       DeclareTemperatureFor, DeclareIndex, DeclareBlend,
    DeclareBearing, DeclareSelectGrade, DeclareOils,           DeclareBatch, DeclareChart,
};

// The arguments, each negative number with no digit before its point ("-.5", which would be
// taken for an option) given a leading zero ("-0.5"). "-30" needs no help: no option of the tool
// is a minus and a digit.
std::vector<std::string> Arguments(int argc, const char* const* argv) {
  std::vector<std::string> texts(argv, argv + argc);
  for (std::string& text : texts) {
    if (text.size() > 2 && text[0] == '-' && text[1] == '.' && text[2] >= '0' && text[2] <= '9') {
      text.insert(1, "0");
    }
  }
  return texts;
}

void PrintError(const std::string& message) {
  std::string line = "viscosity: " + message + "\n";
  (void)platform::WriteAll(platform::StandardError(), line);
}

}  // namespace

int RunTool(int argc, const char* const* argv) {
  CLI::App app(
      "Viscosity of lubricating oils: viscosity at any temperature, table, index, grade, "
      "blends and whole lists of oils.",
      "viscosity");
  app.set_version_flag("--version", "viscosity " + std::string(kVersion));
  app.require_subcommand(1);
  app.footer(
      "An oil is given as --oil NAME, as --v40 CST --v100 CST, or as two --point T=CST.\n"
      "Run `viscosity COMMAND --help` for a command's options.\n\n"
      "Example:\n  viscosity at 71 --oil \"SHC 632\"");
  Answer answer;
  for (const DeclareCommand declare : kCommands) declare(app, answer);

  const std::vector<std::string> texts = Arguments(argc, argv);
  std::vector<const char*> args;
  for (const std::string& text : texts) args.push_back(text.c_str());
  try {
    try {
      app.parse(static_cast<int>(args.size()), args.data());  // runs the command
    } catch (const CLI::Success& help_or_version) {
      std::ostringstream out, err;
      const int status = app.exit(help_or_version, out, err);
      WriteAll(STDOUT_FILENO, out.str(), "standard output");
      return status;
    } catch (const CLI::ParseError& e) {
      PrintError(std::string(e.what()) + " (see viscosity --help)");
      return kExitUsage;
    }
    if (answer.file) {
      ReplaceFile(platform::PathFromUtf8(*answer.file), answer.bytes, answer.file_kind);
    } else {
      WriteAll(STDOUT_FILENO, answer.bytes, "standard output");
    }
    return answer.status;
  } catch (const Error& error) {
    PrintError(error.what());
    return error.kind() == ErrorKind::FileError ? kExitFile : kExitUsage;
  } catch (const std::exception& error) {
    PrintError(error.what());
    return kExitFile;
  }
}

}  // namespace project1::cli
