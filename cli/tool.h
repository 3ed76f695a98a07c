#pragma once
// The `viscosity` command: reads its arguments, runs one command and returns the exit status
// (0 success, 2 bad usage or input, 1 a file error). The answer goes to standard output only
// when the command succeeds; messages go to standard error.

namespace project1::cli {

int RunTool(int argc, const char* const* argv);

}  // namespace project1::cli
