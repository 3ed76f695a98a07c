#pragma once
// The bearing commands of the `viscosity` tool: `bearing` (is this oil right for this bearing, and
// up to what temperature) and `select-grade` (which ISO grade a bearing needs). Each takes its
// options as typed and returns the text it prints; every failure is Error naming the option and
// its value.

#include <optional>
#include <string>
#include <vector>

#include "cli/oil.h"
#include "cli/output.h"

namespace project1::cli {

// A bearing's size and speed as typed: --dm, or --bore and --outside; and --speed.
struct BearingSizeOptions {
  std::optional<std::string> dm;       // --dm MM
  std::optional<std::string> bore;     // --bore MM
  std::optional<std::string> outside;  // --outside MM
  std::optional<std::string> speed;    // --speed RPM
};

struct BearingOptions {
  BearingSizeOptions size;
  std::vector<std::string> at;  // --at T..., at least one
};
std::string BearingCommand(const Oil& oil, const BearingOptions& options, Format format);

struct SelectGradeOptions {
  BearingSizeOptions size;
  std::optional<std::string> at;  // --at T
  std::optional<std::string> vi;  // --vi INDEX, 95 when not given
};
std::string SelectGradeCommand(const SelectGradeOptions& options, Format format);

}  // namespace project1::cli
