#pragma once
// The `chart` command: the viscosity-temperature chart of one or more oils as an SVG or PNG
// file. Every failure is Error; nothing is printed or written here.

#include <optional>
#include <string>
#include <vector>

#include "cli/oil.h"

namespace project1::cli {

struct ChartOptions {
  std::vector<std::string> oils;    // --oil NAME, repeated: catalogue oils
  OilOptions typed;                 // --v40/--v100 or --point, and --law for every oil
  std::optional<std::string> name;  // --name of the typed oil
  std::optional<std::string> from;  // --from T
  std::optional<std::string> to;    // --to T
};

// The chart's bytes for `output`: SVG or, drawn by the PNG helper, PNG, by the file's ending.
std::string ChartCommand(const ChartOptions& options, const std::string& output);

}  // namespace project1::cli
