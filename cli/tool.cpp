#include "cli/tool.h"

#include <fcntl.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <exception>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/batch.h"
#include "cli/bearing_commands.h"
#include "cli/chart_command.h"
#include "cli/commands.h"
#include "cli/oil.h"
#include "cli/output.h"
#include "engine/oil_properties.h"
#include "engine/safe_replace.h"
#include "numtext/error.h"
#include "project1/version.h"

namespace project1::cli {

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitFile = 1;

// An option whose text is kept as typed, for the command to read; absent when not given.
CLI::Option* AddTextOption(CLI::App& command, const std::string& name,
                           std::optional<std::string>& text, const std::string& description) {
  return command.add_option_function<std::string>(
      name, [&text](const std::string& given) { text = given; }, description);
}

// The options every command takes that names an oil.
void AddOilOptions(CLI::App& command, OilOptions& oil) {
  AddTextOption(command, "--oil", oil.oil,
                "a catalogue oil, by its exact name (see `viscosity oils`)")
      ->type_name("NAME");
  AddTextOption(command, "--v40", oil.v40, "kinematic viscosity at 40 °C")->type_name("CST");
  AddTextOption(command, "--v100", oil.v100, "kinematic viscosity at 100 °C")->type_name("CST");
  command
      .add_option("--point", oil.points,
                  "a measured viscosity at any temperature, given twice instead of --v40/--v100")
      ->type_name("T=CST")
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  AddTextOption(command, "--sg", oil.sg,
                "specific gravity (default: the catalogue's for --oil); without one, dynamic "
                "viscosities are left out")
      ->type_name("SG");
  AddTextOption(command, "--expansion", oil.expansion,
                "thermal expansion coefficient per °C, the gravity then taken at 15 °C")
      ->type_name("ALPHA");
  command.add_option("--law", oil.law, "viscosity-temperature law: walther or d341")
      ->type_name("LAW")
      ->default_str("walther");
}

void AddFormatOption(CLI::App& command, std::string& format) {
  command.add_option("--format", format, "text (for a person), csv or json")
      ->type_name("FORMAT")
      ->default_str("text");
}

constexpr const char* kTemperatureNote =
    "Temperatures are in °C; a suffix F or K reads them in °F or K (160F, 344.15K).";

std::string Footer(const std::string& example) {
  return std::string(kTemperatureNote) + "\n\nExample:\n  " + example;
}

// Reads `path` ("-" for standard input) in large blocks through a batch run into stdout.
int RunBatch(const std::string& path, BatchSettings settings) {
  int fd = STDIN_FILENO;
  if (path != "-") {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      throw Error(ErrorKind::FileError, "Cannot read " + path + ": " + std::strerror(errno) + ".");
    }
  }
  struct Closer {
    int fd;
    ~Closer() {
      if (fd != STDIN_FILENO) ::close(fd);
    }
  } closer{fd};
  const std::string what = path == "-" ? "standard input" : path;

  FdSink sink(STDOUT_FILENO, "standard output");
  BatchRun run(std::move(settings), sink);
  std::vector<char> block(kStreamBlock);
  while (true) {
    const ssize_t got = ::read(fd, block.data(), block.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      throw Error(ErrorKind::FileError, "Cannot read " + what + ": " + std::strerror(errno) + ".");
    }
    if (got == 0) break;
    run.Feed(std::string_view(block.data(), static_cast<std::size_t>(got)));
  }
  run.Finish();
  sink.Drain();
  if (run.failed() > 0) {
    std::string note = std::to_string(run.failed()) + " of " + std::to_string(run.rows()) +
                       (run.rows() == 1 ? " row" : " rows") + " failed.\n";
    WriteAll(STDERR_FILENO, note, "standard error");
    return kExitUsage;
  }
  return 0;
}

void PrintError(const std::string& message) {
  std::string line = "viscosity: " + message + "\n";
  ssize_t ignored = ::write(STDERR_FILENO, line.data(), line.size());
  (void)ignored;
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

  OilOptions oil;
  std::string format_name = "text";
  std::optional<std::string> output_file;

  // at
  std::vector<std::string> temperatures;
  CLI::App* at = app.add_subcommand("at", "kinematic (and dynamic) viscosity at each temperature");
  AddOilOptions(*at, oil);
  AddFormatOption(*at, format_name);
  at->add_option("temperatures", temperatures, "temperatures, °C")->type_name("T")->required();
  at->footer(Footer("viscosity at -30 0 40 160F --oil \"SHC 632\""));

  // table
  TableRange range;
  CLI::App* table = app.add_subcommand(
      "table", "viscosity table, --to included; by default the window's table file");
  AddOilOptions(*table, oil);
  AddFormatOption(*table, format_name);
  AddTextOption(*table, "--from", range.from, "first temperature, °C")
      ->type_name("T")
      ->default_str("-40");
  AddTextOption(*table, "--to", range.to, "last temperature, °C")
      ->type_name("T")
      ->default_str("250");
  AddTextOption(*table, "--step", range.step, "temperature step, °C")
      ->type_name("STEP")
      ->default_str("5");
  AddTextOption(*table, "-o,--output", output_file,
                "replace FILE safely with the table instead of printing it")
      ->type_name("FILE");
  table->footer(Footer("viscosity table --oil \"SHC 632\" -o Viscosity.txt"));

  // temperature-for
  std::string cst;
  CLI::App* temperature_for =
      app.add_subcommand("temperature-for", "the temperature at which the oil reaches CST");
  AddOilOptions(*temperature_for, oil);
  AddFormatOption(*temperature_for, format_name);
  temperature_for->add_option("cst", cst, "kinematic viscosity, cSt")->type_name("CST")->required();
  temperature_for->footer(Footer("viscosity temperature-for 10 --v40 46 --v100 6.8"));

  // index
  CLI::App* index = app.add_subcommand(
      "index", "viscosity index, ISO grade, ν40, ν100 and Saybolt seconds at 100 °F and 210 °F");
  AddOilOptions(*index, oil);
  AddFormatOption(*index, format_name);
  index->footer(Footer("viscosity index --v40 73.3 --v100 8.86"));

  // blend
  BlendOptions blend;
  CLI::App* blend_command = app.add_subcommand(
      "blend",
      "blend of the oil with a second one: ν at T for a fraction, or the fraction for a "
      "target");
  AddOilOptions(*blend_command, oil);
  AddFormatOption(*blend_command, format_name);
  AddTextOption(*blend_command, "--with-oil", blend.with_oil, "the second oil, a catalogue name")
      ->type_name("NAME");
  AddTextOption(*blend_command, "--with-v40", blend.with_v40,
                "the second oil's kinematic viscosity at 40 °C")
      ->type_name("CST");
  AddTextOption(*blend_command, "--with-v100", blend.with_v100,
                "the second oil's kinematic viscosity at 100 °C")
      ->type_name("CST");
  AddTextOption(*blend_command, "--fraction", blend.fraction,
                "mass fraction of the second oil, 0 to 1")
      ->type_name("X");
  AddTextOption(*blend_command, "--target", blend.target,
                "the blend's wanted viscosity at --at, cSt")
      ->type_name("CST");
  blend_command->add_option("--at", blend.at, "temperature, °C")->type_name("T")->required();
  blend_command->footer(
      Footer("viscosity blend --oil \"SHC 626\" --with-oil \"SHC 630\" --target 100 --at 40"));

  // bearing, select-grade
  BearingOptions bearing_options;
  SelectGradeOptions select_options;
  const auto add_size_options = [](CLI::App& command, BearingSizeOptions& size) {
    AddTextOption(command, "--dm", size.dm, "the bearing's mean diameter (d + D) / 2, mm")
        ->type_name("MM");
    AddTextOption(command, "--bore", size.bore, "the bearing's bore d, mm, with --outside")
        ->type_name("MM");
    AddTextOption(command, "--outside", size.outside, "the bearing's outside diameter D, mm")
        ->type_name("MM");
    AddTextOption(command, "--speed", size.speed, "the bearing's speed, r/min")->type_name("RPM");
  };
  CLI::App* bearing = app.add_subcommand(
      "bearing",
      "is the oil thick enough for a rolling bearing: ν1, κ and the temperatures of κ = 1 and 4");
  AddOilOptions(*bearing, oil);
  AddFormatOption(*bearing, format_name);
  add_size_options(*bearing, bearing_options.size);
  bearing->add_option("--at", bearing_options.at, "operating temperatures, °C")->type_name("T");
  bearing->footer(Footer(
      "viscosity bearing --bore 340 --outside 420 --speed 500 --at 70 90 --oil \"SHC 632\""));
  CLI::App* select_grade = app.add_subcommand(
      "select-grade", "the smallest ISO grade that gives a rolling bearing κ ≥ 1 at a temperature");
  AddFormatOption(*select_grade, format_name);
  add_size_options(*select_grade, select_options.size);
  AddTextOption(*select_grade, "--at", select_options.at, "operating temperature, °C")
      ->type_name("T");
  AddTextOption(*select_grade, "--vi", select_options.vi, "the oils' viscosity index")
      ->type_name("INDEX")
      ->default_str("95");
  select_grade->footer(Footer("viscosity select-grade --dm 380 --speed 500 --at 70"));

  // oils
  CLI::App* oils = app.add_subcommand("oils", "the built-in catalogue of oils");
  AddFormatOption(*oils, format_name);
  oils->footer("Example:\n  viscosity oils --format csv");

  // batch
  std::string batch_path = "-";
  std::vector<std::string> batch_at;
  std::optional<std::string> batch_expansion;
  CLI::App* batch =
      app.add_subcommand("batch", "one answer row for every oil of a CSV list, streamed");
  batch->add_option("file", batch_path, "CSV file, - for standard input")
      ->type_name("FILE")
      ->default_str("-");
  batch->add_option("--at", batch_at, "a temperature of the answers, °C; may be repeated")
      ->type_name("T")
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  batch->add_option("--law", oil.law, "viscosity-temperature law: walther or d341")
      ->type_name("LAW")
      ->default_str("walther");
  AddTextOption(*batch, "--expansion", batch_expansion,
                "thermal expansion coefficient per °C, the sg column then taken at 15 °C")
      ->type_name("ALPHA");
  AddFormatOption(*batch, format_name);
  batch->footer(
      "The first line is a header naming the columns v40 and v100 (cSt) and optionally name and\n"
      "sg; other columns are ignored. Each following line that is not blank gives one row: the\n"
      "oil's viscosity index, ISO grade and its viscosities at each --at, or an error row naming\n"
      "the line's number (the header is line 1); the rest go on. The exit status is 2 when any\n"
      "row failed.\n\n" +
      Footer("viscosity batch oils.csv --at 40 --at 100 --format csv"));

  // chart
  ChartOptions chart_options;
  CLI::App* chart = app.add_subcommand(
      "chart", "viscosity-temperature chart of one or more oils as an SVG or PNG picture");
  chart
      ->add_option("--oil", chart_options.oils,
                   "a catalogue oil, by its exact name; may be repeated")
      ->type_name("NAME")
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  AddTextOption(*chart, "--v40", chart_options.typed.v40,
                "kinematic viscosity at 40 °C of one more oil")
      ->type_name("CST");
  AddTextOption(*chart, "--v100", chart_options.typed.v100,
                "kinematic viscosity at 100 °C of that oil")
      ->type_name("CST");
  chart
      ->add_option("--point", chart_options.typed.points,
                   "a measured viscosity of that oil at any temperature, given twice instead of "
                   "--v40/--v100")
      ->type_name("T=CST")
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  AddTextOption(*chart, "--name", chart_options.name, "the name that oil carries on the chart")
      ->type_name("NAME")
      ->default_str("Oil");
  chart->add_option("--law", chart_options.typed.law, "viscosity-temperature law: walther or d341")
      ->type_name("LAW")
      ->default_str("walther");
  AddTextOption(*chart, "--from", chart_options.from, "lowest temperature, °C")
      ->type_name("T")
      ->default_str("-40");
  AddTextOption(*chart, "--to", chart_options.to, "highest temperature, °C")
      ->type_name("T")
      ->default_str("250");
  AddTextOption(*chart, "-o,--output", output_file,
                "the picture: FILE.svg or FILE.png, replaced safely")
      ->type_name("FILE")
      ->required();
  chart->footer(Footer("viscosity chart --oil \"SHC 624\" --oil \"SHC 632\" -o chart.svg"));

  // A negative number with no digit before its point ("-.5") would be taken for an option; it
  // is passed on as the same number with a leading zero ("-0.5"). "-30" needs no help: no option
  // of the tool is a minus and a digit.
  std::vector<std::string> texts(argv, argv + argc);
  std::vector<const char*> args;
  for (std::string& text : texts) {
    if (text.size() > 2 && text[0] == '-' && text[1] == '.' && text[2] >= '0' && text[2] <= '9') {
      text.insert(1, "0");
    }
    args.push_back(text.c_str());
  }

  try {
    app.parse(static_cast<int>(args.size()), args.data());
  } catch (const CLI::CallForHelp& e) {
    std::ostringstream out, err;
    const int status = app.exit(e, out, err);
    WriteAll(STDOUT_FILENO, out.str(), "standard output");
    return status;
  } catch (const CLI::CallForVersion& e) {
    std::ostringstream out, err;
    const int status = app.exit(e, out, err);
    WriteAll(STDOUT_FILENO, out.str(), "standard output");
    return status;
  } catch (const CLI::ParseError& e) {
    PrintError(std::string(e.what()) + " (see viscosity --help)");
    return kExitUsage;
  }

  try {
    const Format format = FormatFromName(format_name);
    std::string answer;
    if (at->parsed()) {
      answer = AtCommand(ResolveOil(oil), temperatures, format);
    } else if (table->parsed()) {
      answer = TableCommand(ResolveOil(oil), range, format);
    } else if (temperature_for->parsed()) {
      answer = TemperatureForCommand(ResolveOil(oil), cst, format);
    } else if (index->parsed()) {
      answer = IndexCommand(ResolveOil(oil), format);
    } else if (blend_command->parsed()) {
      answer = BlendCommand(ResolveOil(oil), oil, blend, format);
    } else if (bearing->parsed()) {
      answer = BearingCommand(ResolveOil(oil), bearing_options, format);
    } else if (select_grade->parsed()) {
      answer = SelectGradeCommand(select_options, format);
    } else if (chart->parsed()) {
      answer = ChartCommand(chart_options, *output_file);
    } else if (oils->parsed()) {
      answer = OilsCommand(format);
    } else if (batch->parsed()) {
      BatchSettings settings;
      settings.law = LawOption(oil.law);
      settings.format = format;
      for (const std::string& text : batch_at) {
        settings.at.push_back(OptionTemperature("--at", text));
      }
      if (batch_expansion) settings.expansion = OptionNumber("--expansion", *batch_expansion);
      return RunBatch(batch_path, std::move(settings));
    }
    if (output_file) {
      ReplaceFile(*output_file, answer, chart->parsed() ? "chart file" : "table file");
    } else {
      WriteAll(STDOUT_FILENO, answer, "standard output");
    }
    return 0;
  } catch (const Error& error) {
    PrintError(error.what());
    return error.kind() == ErrorKind::FileError ? kExitFile : kExitUsage;
  } catch (const std::exception& error) {
    PrintError(error.what());
    return kExitFile;
  }
}

}  // namespace project1::cli
