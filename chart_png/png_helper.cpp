#include "chart_png/png_helper.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "error/error.h"
#include "platform/file_calls.h"

extern char** environ;

namespace project1 {

namespace {

constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1a\n";

[[noreturn]] void Fail(const std::string& message) { throw Error(ErrorKind::File, message); }

// Closes a descriptor when it goes out of scope.
struct Descriptor {
  int fd = -1;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
};

// A temporary file that is removed when it goes out of scope.
struct TemporaryFile {
  std::string path;
  ~TemporaryFile() {
    if (!path.empty()) ::unlink(path.c_str());
  }
};

// Everything readable from fd until its end.
std::string ReadAll(int fd) {
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) return bytes;
    if (got < 0) {
      if (errno == EINTR) continue;
      Fail(std::string("The PNG picture could not be read from its helper: ") +
           std::strerror(errno) + ".");
    }
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
}

}  // namespace

std::filesystem::path ChartPngHelper() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    const std::filesystem::path beside =
        self.parent_path().parent_path() / PROJECT1_LIBEXEC_DIR / "project1-chart-png";
    if (std::filesystem::is_regular_file(beside, error)) return beside;
  }
  Fail("The PNG helper project1-chart-png is not installed beside this program.");
}

std::string SvgToPng(std::string_view svg, const std::filesystem::path& helper) {
  const char* tmp = std::getenv("TMPDIR");
  TemporaryFile input{std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") +
                      "/project1-chart.XXXXXX.svg"};
  {
    Descriptor file{::mkstemps(input.path.data(), 4)};
    if (file.fd < 0) {
      input.path.clear();
      Fail(std::string("A temporary file for the chart could not be created: ") +
           std::strerror(errno) + ".");
    }
    const std::error_code error = platform::WriteAll(platform::FileHandle{file.fd}, svg);
    if (error) {
      Fail("The chart could not be written to a temporary file: " + error.message() + ".");
    }
  }

  int pipe_fds[2];
  if (::pipe2(pipe_fds, O_CLOEXEC) != 0) {
    Fail(std::string("The PNG helper could not be started: ") + std::strerror(errno) + ".");
  }
  Descriptor read_end{pipe_fds[0]};
  Descriptor write_end{pipe_fds[1]};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, write_end.fd, STDOUT_FILENO);
  const std::string helper_path = helper.string();
  char* argv[] = {const_cast<char*>(helper_path.c_str()), input.path.data(), nullptr};
  pid_t child = 0;
  const int spawned = ::posix_spawn(&child, helper_path.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    Fail("The PNG helper " + helper_path + " could not be started: " + std::strerror(spawned) +
         ".");
  }
  ::close(write_end.fd);
  write_end.fd = -1;
  const std::string png = ReadAll(read_end.fd);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
      png.compare(0, kPngSignature.size(), kPngSignature) != 0) {
    Fail("The PNG helper " + helper_path + " could not draw the chart.");
  }
  return png;
}

}  // namespace project1
