// The machine's answers on POSIX systems.
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/host.h"

namespace project1::platform {

std::string HostName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "unnamed-host";
  std::string host(name);
  for (char& c : host) {
    if (c == '/') c = '_';
  }
  return host;
}

std::uint32_t ProcessId() { return static_cast<std::uint32_t>(::getpid()); }

bool ProcessHasEnded(std::uint32_t id) {
  // Only "no such process" proves it gone; EPERM means it runs under another user.
  return ::kill(static_cast<pid_t>(id), 0) != 0 && errno == ESRCH;
}

std::string_view HomeVariableName() { return "HOME"; }

std::optional<std::string> HomeVariable() {
  const char* home = std::getenv("HOME");
  if (home == nullptr) return std::nullopt;
  return std::string(home);
}

std::optional<std::filesystem::path> ApplicationDataFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data != nullptr && data[0] == '/') return std::filesystem::path(data);
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') return std::nullopt;
  return std::filesystem::path(home) / ".local" / "share";
}

std::string_view ApplicationDataVariables() { return "$XDG_DATA_HOME or $HOME"; }

std::vector<std::string> Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

std::filesystem::path PathFromUtf8(std::string_view utf8) { return std::filesystem::path(utf8); }

std::string Utf8FromPath(const std::filesystem::path& path) { return path.native(); }

}  // namespace project1::platform
