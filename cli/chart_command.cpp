// The `chart` command: the viscosity-temperature chart of one or more oils as an SVG or PNG
// file.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "chart/chart_svg.h"
#include "chart_png/png_helper.h"
#include "cli/commands.h"
#include "cli/oil.h"
#include "cli/options.h"
#include "error/error.h"
#include "platform/host.h"

namespace project1::cli {

namespace {

struct ChartOptions {
  std::vector<std::string> oils;    // --oil NAME, repeated: catalogue oils
  OilOptions typed;                 // --v40/--v100 or --point, and --law for every oil
  std::optional<std::string> name;  // --name of the typed oil
  std::optional<std::string> from;  // --from T
  std::optional<std::string> to;    // --to T
  std::optional<std::string> file;  // -o FILE
  TemperatureUnit unit = TemperatureUnit::Celsius;  // --temperature-unit of the axis
};

bool EndsWith(const std::string& text, std::string_view ending) {
  if (text.size() < ending.size()) return false;
  return std::equal(ending.begin(), ending.end(), text.end() - static_cast<long>(ending.size()),
                    [](char a, char b) {
                      return std::tolower(static_cast<unsigned char>(a)) ==
                             std::tolower(static_cast<unsigned char>(b));
                    });
}

ChartOil OnChart(const std::string& name, const Oil& oil, const OilOptions& options) {
  ChartOil drawn{name, oil.line, {{{40, oil.nu40}, {100, oil.nu100}}}, {}};
  if (!oil.given_40_100) {
    drawn.fitted.clear();
    for (const std::string& point : options.points) drawn.fitted.push_back(PointOption(point));
  }
  return drawn;
}

// The chart's bytes for `output`: SVG or, drawn by the PNG helper, PNG, by the file's ending.
std::string Chart(const ChartOptions& options, const std::string& output) {
  // A folder is refused as the write would refuse it, whatever its name ends in.
  std::error_code ignored;
  if (std::filesystem::is_directory(platform::PathFromUtf8(output), ignored)) {
    throw Error(ErrorKind::File, "Cannot write the chart file " + output + ": " +
                                     std::make_error_code(std::errc::is_a_directory).message() +
                                     ".");
  }
  const bool svg = EndsWith(output, ".svg");
  if (!svg && !EndsWith(output, ".png")) {
    Usage("-o \"" + output + "\" must end in .svg or .png.");
  }
  std::vector<ChartOil> oils;
  for (const std::string& name : options.oils) {
    OilOptions by_name;
    by_name.oil = name;
    by_name.law = options.typed.law;
    oils.push_back(OnChart(name, ResolveOil(by_name), by_name));
  }
  const OilOptions& typed = options.typed;
  if (oils.empty() || typed.v40 || typed.v100 || !typed.points.empty()) {
    oils.push_back(OnChart(options.name.value_or("Oil"), ResolveOil(typed), typed));
  }
  ChartSpan span;
  if (options.from) span.from_c = OptionTemperature("--from", *options.from);
  if (options.to) span.to_c = OptionTemperature("--to", *options.to);

  const std::string picture = ChartSvg(BuildChart(oils, span, {}, options.unit));
  return svg ? picture : SvgToPng(picture);
}

}  // namespace

void DeclareChart(CLI::App& tool, const std::string& name, Answer& answer) {
  auto [chart, options] = AddCommand<ChartOptions>(
      tool, name, "viscosity-temperature chart of one or more oils as an SVG or PNG picture",
      [&answer](const ChartOptions& o) {
        answer.bytes = Chart(o, *o.file);
        answer.file = o.file;
        answer.file_kind = "chart file";
      });
  AddRepeatedOption(
      *chart, "--oil", options->oils,
      "a catalogue oil by its name, in any case, with or without blanks; may be repeated")
      ->type_name("NAME");
  AddTextOption(*chart, "--v40", options->typed.v40, "kinematic viscosity at 40 °C of one more oil")
      ->type_name("CST");
  AddTextOption(*chart, "--v100", options->typed.v100, "kinematic viscosity at 100 °C of that oil")
      ->type_name("CST");
  AddPointOption(*chart, options->typed.points,
                 "a measured viscosity of that oil at any temperature, given twice instead of "
                 "--v40/--v100; three or more times, the line is their least-squares fit");
  AddTextOption(*chart, "--name", options->name, "the name that oil carries on the chart")
      ->type_name("NAME")
      ->default_str("Oil");
  AddTextOption(*chart, "--vi", options->typed.vi,
                "viscosity index of that oil, with --v40 in place of --v100")
      ->type_name("INDEX");
  AddLawOption(*chart, options->typed.law);
  AddTemperatureUnitOption(*chart, options->unit);
  AddSpanOptions(*chart, options->from, options->to, "lowest temperature, °C",
                 "highest temperature, °C");
  AddOutputOption(*chart, options->file, "the picture: FILE.svg or FILE.png, replaced safely")
      ->required();
  chart->footer(
      Footer("viscosity chart --oil \"SHC 624\" --oil \"SHC 632\" -o chart.svg", kLawFormulas));
}

}  // namespace project1::cli
