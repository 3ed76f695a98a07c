// The `viscosity` tool: parses the arguments, runs the one command they name and writes its
// answer.
//
// How a command is made (commands.h): one Declare function calls AddCommand with the name it is
// given, the command's description and run function, then declares its options on the Options
// struct AddCommand keeps for it (options shared by several commands through one helper each, in
// options.h and oil.h) and its help's footer. CLI11 calls the run function once the options are
// read; it computes the whole answer, renders it from the description of its fields (output.h,
// fields.h) and leaves it in the Answer, which RunTool writes. Adding a command is writing its
// Declare function and listing it under its name in kCommands, in the order --help shows the
// commands.
#include "cli/tool.h"

#include <CLI/CLI.hpp>
#include <array>
#include <exception>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/output.h"
#include "error/error.h"
#include "oils/name_key.h"
#include "platform/file_calls.h"
#include "platform/host.h"
#include "project1/version.h"
#include "table_file/replace_file.h"

namespace project1::cli {

namespace {

// The commands, each under its name, in the order --help shows them.
struct Command {
  const char* name;
  DeclareCommand declare;
};
constexpr Command kCommands[] = {
    {"at", DeclareAt},
    {"table", DeclareTable},
    {"temperature-for", DeclareTemperatureFor},
    {"index", DeclareIndex},
    {"blend", DeclareBlend},
    {"bearing", DeclareBearing},
    {"select-grade", DeclareSelectGrade},
    {"oils", DeclareOils},
    {"batch", DeclareBatch},
    {"chart", DeclareChart},
};

}  // namespace

std::span<const std::string_view> CommandNames() {
  static const std::array<std::string_view, std::size(kCommands)> kNames = [] {
    std::array<std::string_view, std::size(kCommands)> names;
    for (std::size_t i = 0; i < names.size(); ++i) names[i] = kCommands[i].name;
    return names;
  }();
  return kNames;
}

namespace {

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

// "`viscosity at`", for messages.
std::string Quoted(const CLI::App& command) { return "`viscosity " + command.get_name() + "`"; }

// The command `typed` is not, with the nearest of the tool's commands offered.
std::string UnknownCommand(const std::string& typed) {
  const std::span<const std::string_view> views = CommandNames();
  const NameMatch match = MatchName(typed, views);
  std::string message = "\"" + typed + "\" is not a command";
  message += match.nearest.empty()
                 ? ";"
                 : "; did you mean " + QuotedChoices(views, match.nearest, "`") + "?";
  return message + " `viscosity --help` lists the commands.";
}

// " did you mean --temperature-unit?" for the options of `command` nearest to `typed`
// ("--tempreature-unit", or "--tempreature-unit=F"), as a mistyped command is offered the
// nearest commands; empty when none is near.
std::string NearestOption(const CLI::App& command, std::string_view typed) {
  if (!typed.starts_with("--")) return "";
  typed = typed.substr(2, typed.find('=') - 2);
  // An option of another command is no slip: the command does not take it.
  if (const CLI::App* tool = command.get_parent()) {
    for (const CLI::App* other : tool->get_subcommands({})) {
      for (const CLI::Option* option : other->get_options()) {
        for (const std::string& name : option->get_lnames()) {
          if (name == typed) return "";
        }
      }
    }
  }
  std::vector<std::string> names, shown;
  for (const CLI::Option* option : command.get_options()) {
    for (const std::string& name : option->get_lnames()) {
      names.push_back(name);
      shown.push_back("--" + name);
    }
  }
  const NameMatch match =
      MatchName(typed, std::vector<std::string_view>(names.begin(), names.end()));
  std::vector<std::size_t> offered = match.nearest;
  if (match.found) offered = {*match.found};
  if (offered.empty()) return "";
  return " did you mean " +
         QuotedChoices(std::vector<std::string_view>(shown.begin(), shown.end()), offered, "") +
         "?";
}

// The parser's complaint as the tool's own sentence, naming the command and the option.
std::string ParserMessage(const CLI::App& app, const CLI::ParseError& error,
                          const std::vector<std::string>& texts) {
  const std::vector<CLI::App*> chosen = app.get_subcommands();
  if (chosen.empty()) {
    if (texts.size() < 2) return "No command given; `viscosity --help` lists the commands.";
    const std::string& first = texts[1];
    if (first.starts_with("-")) {
      return "\"" + first +
             "\" is not an option of viscosity itself; give a command first. "
             "`viscosity --help` lists the commands.";
    }
    return UnknownCommand(first);
  }
  const CLI::App& command = *chosen.front();
  const std::string help = "`viscosity " + command.get_name() + " --help`";
  switch (static_cast<CLI::ExitCodes>(error.get_exit_code())) {
    case CLI::ExitCodes::ExtrasError: {
      std::vector<std::string> extras = command.remaining();
      std::string extra = extras.empty() ? std::string() : extras.front();
      for (const std::string& text : extras) {
        if (text.starts_with("-")) extra = text;
      }
      if (extra.starts_with("-")) {
        return Quoted(command) + " has no option " + extra + ";" + NearestOption(command, extra) +
               " " + help + " lists its options.";
      }
      return Quoted(command) + " does not take \"" + extra + "\"; " + help +
             " lists what it takes.";
    }
    // A transformer's refusal (options.h), "--load: must be above 0 kN; it is 0.", as a sentence.
    case CLI::ExitCodes::ValidationError: {
      const std::string_view what = error.what();
      const std::size_t colon = what.find(": ");
      if (what.starts_with("--") && colon != std::string_view::npos) {
        return std::string(what.substr(0, colon)) + " " + std::string(what.substr(colon + 2));
      }
      break;
    }
    case CLI::ExitCodes::RequiredError:
      for (const CLI::Option* option : command.get_options()) {
        if (option->get_required() && option->count() == 0) {
          const bool positional = option->get_lnames().empty();
          return Quoted(command) + " needs " +
                 (positional ? "" : "--" + option->get_lnames().front() + " ") +
                 option->get_type_name() + " (" + option->get_description() + ").";
        }
      }
      break;
    case CLI::ExitCodes::ArgumentMismatch:
      for (const CLI::Option* option : command.get_options()) {
        if (option->get_lnames().empty()) continue;
        const std::string flag = "--" + option->get_lnames().front();
        if (option->count() > 1 &&
            option->get_multi_option_policy() != CLI::MultiOptionPolicy::TakeAll) {
          return flag + " is given " + std::to_string(option->count()) + " times; give it once.";
        }
        if (std::string_view(error.what()).starts_with(flag + ":")) {
          return flag + " needs a value: " + flag + " " + option->get_type_name() + ".";
        }
      }
      break;
    default:
      break;
  }
  return error.what() + std::string(" (see ") + help + ")";
}

// Whether --help was given to the tool or to the command (or subcommand) chosen.
bool HelpAsked(const CLI::App& app) {
  if (const CLI::Option* help = app.get_help_ptr(); help != nullptr && help->count() > 0) {
    return true;
  }
  const std::vector<CLI::App*> chosen = app.get_subcommands();
  return !chosen.empty() && HelpAsked(*chosen.front());
}

void PrintError(int err, const std::string& message) {
  std::string line = "viscosity: " + message + "\n";
  (void)platform::WriteAll(platform::HandleOfDescriptor(err), line);
}

}  // namespace

namespace {

// The tool's parser with every command, or with only `only`.
std::unique_ptr<CLI::App> ToolApp(Answer& answer, const Command* only) {
  auto app = std::make_unique<CLI::App>(
      "Viscosity of lubricating oils: viscosity at any temperature, table, index, grade, "
      "blends and whole lists of oils.",
      "viscosity");
  app->set_version_flag("-v,--version", "viscosity " + std::string(kVersion));
  app->require_subcommand(1);
  app->footer(
      "An oil is given as --oil NAME, as --v40 CST with --v100 CST or --vi INDEX, or as two or\n"
      "more --point T=CST. --temperature-unit C|F|K sets the unit of the temperatures written.\n"
      "Run `viscosity COMMAND --help` for a command's options.\n\n"
      "Example:\n  viscosity at 71 --oil \"SHC 632\"");
  for (const Command& command : kCommands) {
    if (only == nullptr || only == &command) command.declare(*app, command.name, answer);
  }
  return app;
}

// The command named exactly by the first argument, if one is.
const Command* NamedCommand(const std::vector<std::string>& texts) {
  if (texts.size() < 2) return nullptr;
  for (const Command& command : kCommands) {
    if (texts[1] == command.name) return &command;
  }
  return nullptr;
}

}  // namespace

int RunTool(int argc, const char* const* argv, const ToolStreams& streams) {
  const std::vector<std::string> texts = Arguments(argc, argv);
  std::vector<const char*> args;
  for (const std::string& text : texts) args.push_back(text.c_str());
  try {
    // A run that names its command first needs no other command's options, whose declaring is
    // most of the tool's start. Help and every complaint of the parser come from the whole
    // tool, as they always read; the parser complains before any command runs.
    Answer answer;
    answer.streams = streams;
    bool parsed = false;
    if (const Command* named = NamedCommand(texts)) {
      try {
        ToolApp(answer, named)->parse(static_cast<int>(args.size()), args.data());
        parsed = true;
      } catch (const CLI::Error&) {
        answer = Answer();
        answer.streams = streams;
      }
    }
    if (!parsed) {
      const std::unique_ptr<CLI::App> app = ToolApp(answer, nullptr);
      try {
        app->parse(static_cast<int>(args.size()), args.data());  // runs the command
      } catch (const CLI::ParseError& e) {
        // Help is given whatever the values of the other options: the parser reads the values
        // into their types, and refuses a bad one, before it looks for --help.
        const bool help = e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success) ||
                          (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::ValidationError) &&
                           HelpAsked(*app));
        if (!help) {
          PrintError(streams.err, ParserMessage(*app, e, texts));
          return kExitUsage;
        }
        std::ostringstream out, err;
        const int status = e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)
                               ? app->exit(e, out, err)
                               : app->exit(CLI::CallForHelp(), out, err);
        WriteAll(streams.out, out.str(), "standard output");
        return status;
      }
    }
    if (answer.file) {
      ReplaceFile(platform::PathFromUtf8(*answer.file), answer.bytes, answer.file_kind);
    } else {
      WriteAll(streams.out, answer.bytes, "standard output");
    }
    return answer.status;
  } catch (const Error& error) {
    PrintError(streams.err, error.what());
    return ExitStatusOf(error.kind());
  } catch (const std::exception& error) {
    PrintError(streams.err, error.what());
    return kExitFile;
  }
}

}  // namespace project1::cli
