// The `batch` command: reads a CSV list of oils from a file or standard input and streams an
// answer row for each to standard output.
#include <fcntl.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>

#include "cli/batch.h"
#include "cli/commands.h"
#include "cli/options.h"
#include "error/error.h"
#include "platform/file_calls.h"
#include "platform/host.h"

namespace project1::cli {

namespace {

struct BatchOptions {
  std::string path = "-";
  std::vector<std::string> at;
  Law law = Law::Walther;
  std::optional<std::string> expansion;
  Format format = Format::Text;
  TemperatureUnit unit = TemperatureUnit::Celsius;
};

// Reads `path` ("-" for standard input) in large blocks through a batch run into standard output;
// the exit status.
int RunBatch(const std::string& path, BatchSettings settings, const ToolStreams& streams) {
  int fd = streams.in;
  if (path != "-") {
    fd = platform::OpenForReading(platform::PathFromUtf8(path));
    if (fd < 0) {
      throw Error(ErrorKind::File, "Cannot read " + path + ": " + std::strerror(errno) + ".");
    }
  }
  struct Closer {
    int fd;
    int in;
    ~Closer() {
      if (fd != in) ::close(fd);
    }
  } closer{fd, streams.in};
  const std::string what = path == "-" ? "standard input" : path;
  platform::UseBinaryMode(fd);

  FdSink sink(streams.out, "standard output");
  BatchRun run(std::move(settings), sink);
  std::vector<char> block(kStreamBlock);
  while (true) {
    // A block fits the unsigned count the Windows C library takes.
    const ssize_t got = ::read(fd, block.data(), static_cast<unsigned>(block.size()));
    if (got < 0) {
      if (errno == EINTR) continue;
      throw Error(ErrorKind::File, "Cannot read " + what + ": " + std::strerror(errno) + ".");
    }
    if (got == 0) break;
    run.Feed(std::string_view(block.data(), static_cast<std::size_t>(got)));
  }
  run.Finish();
  sink.Drain();
  if (run.failed() > 0) {
    std::string note = std::to_string(run.failed()) + " of " + std::to_string(run.rows()) +
                       (run.rows() == 1 ? " row" : " rows") + " failed.\n";
    WriteAll(streams.err, note, "standard error");
    return kExitUsage;
  }
  return 0;
}

}  // namespace

void DeclareBatch(CLI::App& tool, const std::string& name, Answer& answer) {
  auto [batch, options] = AddCommand<BatchOptions>(
      tool, name, "one answer row for every oil of a CSV list, streamed",
      [&answer](const BatchOptions& o) {
        BatchSettings settings;
        settings.format = o.format;
        settings.law = o.law;
        settings.unit = o.unit;
        for (const std::string& text : o.at) {
          settings.at.push_back(OptionTemperature("--at", text));
          settings.at_names.push_back(AtName(text));
        }
        if (o.expansion) settings.expansion = ExpansionOption("--expansion", *o.expansion);
        answer.status = RunBatch(o.path, std::move(settings), answer.streams);
      });
  batch->add_option("file", options->path, "CSV file, - for standard input")
      ->type_name("FILE")
      ->default_str("-");
  AddRepeatedOption(*batch, "--at", options->at,
                    "a temperature of the answers, °C; may be repeated")
      ->type_name("T");
  AddLawOption(*batch, options->law);
  AddTextOption(*batch, "--expansion", options->expansion,
                "thermal expansion coefficient per °C, 0 to 0.005, the sg column then taken at "
                "15 °C")
      ->type_name("ALPHA");
  AddFormatOption(*batch, options->format);
  AddTemperatureUnitOption(*batch, options->unit);
  batch->footer(
      "The first line is a header naming the columns v40 and v100 (cSt) or vi (the viscosity\n"
      "index, for rows without v100), and optionally name and sg; other columns are ignored.\n"
      "Each following line that is not blank gives one row: the oil's viscosity index, ISO\n"
      "grade and its viscosities at each --at (columns named as the temperature is given:\n"
      "kinematic_cst_at_160f for --at 160F), or an error row naming the line's number (the\n"
      "header is line 1); the rest go on. The exit status is 2 when any row failed.\n"
      "CSV and JSON name the law, and say for each --at whether it lies within the oils'\n"
      "data, 40 to 100 °C (within_data_at_160f); text marks a heading outside it with *.\n"
      "A rolling bearing's columns dm (or bore and outside, mm) and speed (r/min) add ν1 and κ\n"
      "at each --at; rating and load (kN) and type (ball, roller, thrust-ball, thrust-roller)\n"
      "add L10h; fatigue_load (kN) and contamination (e_C, or a cleanliness level) add a_ISO and\n"
      "L_nmh at each --at, at 90 % reliability without EP additives.\n\n" +
      Footer("viscosity batch oils.csv --at 40 --at 100 --format csv",
             kLawFormulas | kDynamicFormula | kExpansionFormula));
}

}  // namespace project1::cli
