#pragma once
// Runs the `viscosity` tool and captures what it prints and its exit status, for tests: as a
// separate process, or (where the test links the tool's library) as a call in the test's own
// process, which spares a test table one process start per row.

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#ifdef PROJECT1_TOOL_IN_PROCESS
#include "cli/tool.h"
#endif

namespace project1 {

struct ToolRun {
  int status = -1;  // exit status; -1 when the program did not exit normally
  std::string out;
  std::string err;
};

struct ToolOptions {
  std::optional<std::string> input;       // standard input (else /dev/null)
  std::optional<rlim_t> file_size_limit;  // RLIMIT_FSIZE of the program, with SIGXFSZ ignored
};

// The lines of `text`, without their line ends.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

inline std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

inline void WriteWholeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// A run's streams on temporary files: the input written before, the output and error read back.
struct StreamFiles {
  explicit StreamFiles(const ToolOptions& options) {
    WriteWholeFile(in_path, options.input.value_or(""));
  }
  static std::filesystem::path NewFolder() {
    char folder_template[] = "/tmp/viscosity-run.XXXXXX";
    return ::mkdtemp(folder_template);
  }
  // The run's output and error read back, and the folder removed.
  ToolRun Collect(int status) const {
    ToolRun run{status, ReadWholeFile(out_path), ReadWholeFile(err_path)};
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return run;
  }
  std::filesystem::path folder = NewFolder();
  std::filesystem::path in_path = folder / "in", out_path = folder / "out",
                        err_path = folder / "err";
};

// Runs `program` with `args`; standard output and error go to temporary files that are read back.
inline ToolRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                          const ToolOptions& options = {}) {
  const StreamFiles files(options);
  const std::filesystem::path &in_path = files.in_path, &out_path = files.out_path,
                              &err_path = files.err_path;

  std::vector<std::string> argv_text = {program};
  argv_text.insert(argv_text.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& text : argv_text) argv.push_back(text.data());
  argv.push_back(nullptr);

  const pid_t child = ::fork();
  if (child == 0) {
    const int in = ::open(in_path.c_str(), O_RDONLY);
    const int out = ::open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0) ::_exit(126);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    if (options.file_size_limit) {
      ::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{*options.file_size_limit, *options.file_size_limit};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  int status = 0;
  if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status)) {
    return files.Collect(WEXITSTATUS(status));
  }
  return files.Collect(-1);
}

#ifdef VISCOSITY_TOOL
// The `viscosity` program under test, run as a process with `args`: for what only a process
// shows (a file size limit, the programs it finds beside itself, its inherited environment).
inline ToolRun ToolProcess(const std::vector<std::string>& args, const ToolOptions& options = {}) {
  return RunProgram(VISCOSITY_TOOL, args, options);
}

#ifdef PROJECT1_TOOL_IN_PROCESS
// The tool run with `args` by a call in this process, its streams on temporary files as a
// process's would be; as a process when the options need one.
inline ToolRun Tool(const std::vector<std::string>& args, const ToolOptions& options = {}) {
  if (options.file_size_limit) return ToolProcess(args, options);
  const StreamFiles files(options);
  std::vector<const char*> argv = {"viscosity"};
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  const cli::ToolStreams streams{
      ::open(files.in_path.c_str(), O_RDONLY),
      ::open(files.out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600),
      ::open(files.err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600)};
  int status = -1;
  if (streams.in >= 0 && streams.out >= 0 && streams.err >= 0) {
    status = cli::RunTool(static_cast<int>(argv.size()), argv.data(), streams);
  }
  for (const int fd : {streams.in, streams.out, streams.err}) {
    if (fd >= 0) ::close(fd);
  }
  return files.Collect(status);
}
#else
inline ToolRun Tool(const std::vector<std::string>& args, const ToolOptions& options = {}) {
  return ToolProcess(args, options);
}
#endif

// Runs a command that must succeed quietly and returns its standard output as JSON.
inline nlohmann::json RunJson(std::vector<std::string> args) {
  args.insert(args.end(), {"--format", "json"});
  const ToolRun run = Tool(args);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  return nlohmann::json::parse(run.out);
}
#endif

}  // namespace project1
