#pragma once
// The commands of the `viscosity` tool as functions from their parsed options to the text they
// print. Every failure is Error; nothing is printed by these functions.

#include <optional>
#include <string>
#include <vector>

#include "cli/oil.h"
#include "cli/output.h"

namespace project1::cli {

std::string AtCommand(const Oil& oil, const std::vector<std::string>& temperatures, Format format);

struct TableRange {
  std::optional<std::string> from, to, step;
};
std::string TableCommand(const Oil& oil, const TableRange& range, Format format);

std::string TemperatureForCommand(const Oil& oil, const std::string& cst, Format format);

std::string IndexCommand(const Oil& oil, Format format);

struct BlendOptions {
  std::optional<std::string> with_oil, with_v40, with_v100;
  std::optional<std::string> fraction, target;
  std::string at;
};
std::string BlendCommand(const Oil& first, const OilOptions& first_options,
                         const BlendOptions& blend, Format format);

std::string OilsCommand(Format format);

}  // namespace project1::cli
