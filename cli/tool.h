#pragma once
// The `viscosity` command: reads its arguments, runs one command and returns the exit status
// (0 success, 2 bad usage or input, 1 a file error). The answer goes to standard output only
// when the command succeeds; messages go to standard error.

#include <span>
#include <string_view>

namespace project1::cli {

// The tool's commands' names, in the order --help lists them.
std::span<const std::string_view> CommandNames();

// Where one run of the tool reads its input (`batch -`) and writes its answer and messages: C
// runtime descriptors, standard input, output and error unless the caller gives others.
struct ToolStreams {
  int in = 0;
  int out = 1;
  int err = 2;
};

int RunTool(int argc, const char* const* argv, const ToolStreams& streams = {});

}  // namespace project1::cli
