#include "cli/chart_command.h"

#include <algorithm>
#include <cctype>

#include "chart/chart_svg.h"
#include "chart_png/png_helper.h"
#include "error/error.h"

namespace project1::cli {

namespace {

[[noreturn]] void Usage(const std::string& message) {
  throw Error(ErrorKind::TypeMismatch, message);
}

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
    drawn.fitted = {PointOption(options.points[0]), PointOption(options.points[1])};
  }
  return drawn;
}

}  // namespace

std::string ChartCommand(const ChartOptions& options, const std::string& output) {
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

  const std::string picture = ChartSvg(BuildChart(oils, span));
  return svg ? picture : SvgToPng(picture);
}

}  // namespace project1::cli
