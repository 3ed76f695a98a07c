#include "engine/safe_replace.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <system_error>

#include "error/error.h"

namespace project1 {

namespace {

int SystemOpen(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }
ssize_t SystemWrite(int fd, const void* data, size_t size) { return ::write(fd, data, size); }
int SystemFsync(int fd) { return ::fsync(fd); }
int SystemClose(int fd) { return ::close(fd); }
int SystemRename(const char* from, const char* to) { return std::rename(from, to); }
int SystemUnlink(const char* path) { return ::unlink(path); }

// How many temporary names are tried before giving up on a folder full of leftovers.
constexpr int kTemporaryNameAttempts = 16;

std::atomic<unsigned> temporary_counter{0};

[[noreturn]] void Fail(std::string_view what, const std::filesystem::path& target, int error) {
  throw Error(ErrorKind::FileError, "Cannot write the " + std::string(what) + " " +
                                        target.string() + ": " + std::strerror(error) + ".");
}

std::filesystem::path FolderOf(const std::filesystem::path& target) {
  return target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
}

// This machine's name as it goes into a file name: a character a file name cannot hold becomes
// "_"; a machine without a name is "unnamed-host".
std::string HostName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "unnamed-host";
  std::string host(name);
  for (char& c : host) {
    if (c == '/') c = '_';
  }
  return host;
}

// "." + the target's name + "." + this host's name + ".": the start of every temporary name this
// machine uses for that target. A folder shared between machines holds the temporary files of
// several hosts; a process id says something only on its own host.
std::string TemporaryPrefix(const std::filesystem::path& target) {
  return "." + target.filename().string() + "." + HostName() + ".";
}

// Parses digits without a sign or a leading zero, as the temporary names write them.
template <typename Number>
bool ParseCount(std::string_view digits, Number& value) {
  if (digits.empty() || digits.front() < '0' || digits.front() > '9') return false;
  if (digits.size() > 1 && digits.front() == '0') return false;
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, value);
  return error == std::errc() && stop == end;
}

// The writer's process id in `name` when it is a temporary name "<prefix><pid>.<n>.tmp" of the
// target written on this host, else 0.
pid_t TemporaryWriter(std::string_view name, std::string_view prefix) {
  constexpr std::string_view kSuffix = ".tmp";
  if (!name.starts_with(prefix) || !name.ends_with(kSuffix)) return 0;
  if (name.size() < prefix.size() + kSuffix.size()) return 0;
  const std::string_view middle =
      name.substr(prefix.size(), name.size() - prefix.size() - kSuffix.size());
  const std::size_t dot = middle.find('.');
  if (dot == std::string_view::npos) return 0;
  pid_t pid = 0;
  unsigned long long counter = 0;
  if (!ParseCount(middle.substr(0, dot), pid) || !ParseCount(middle.substr(dot + 1), counter)) {
    return 0;
  }
  return pid > 0 ? pid : 0;
}

// Removes the temporary files of `target` left by writers on this host that were killed before
// they could remove them: regular files with this host's temporary name whose process no longer
// exists. A file of a running process (this one included), a file of another host, and every
// other file are left alone. Failures are ignored: a leftover costs only space.
void RemoveLeftoverTemporaries(const std::filesystem::path& target, std::string_view prefix,
                               const FileOps& ops) {
  const pid_t self = ::getpid();
  std::error_code error;
  std::filesystem::directory_iterator it(FolderOf(target), error);
  for (const std::filesystem::directory_iterator end; !error && it != end; it.increment(error)) {
    const std::filesystem::path& path = it->path();
    const pid_t writer = TemporaryWriter(path.filename().native(), prefix);
    if (writer == 0 || writer == self) continue;
    std::error_code status_error;
    if (it->symlink_status(status_error).type() != std::filesystem::file_type::regular) continue;
    // Only "no such process" proves the writer gone; EPERM means it runs under another user.
    if (::kill(writer, 0) == 0 || errno != ESRCH) continue;
    ops.unlink(path.c_str());
  }
}

// Creates the temporary file beside `target`; returns its descriptor and sets `temporary`.
int CreateTemporary(std::string_view what, const std::filesystem::path& target,
                    std::string_view host_prefix, const FileOps& ops,
                    std::filesystem::path& temporary) {
  const std::filesystem::path folder = FolderOf(target);
  const std::string prefix = std::string(host_prefix) + std::to_string(::getpid()) + ".";
  int error = EEXIST;
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    const std::filesystem::path candidate =
        folder / (prefix + std::to_string(temporary_counter.fetch_add(1)) + ".tmp");
    const int fd =
        ops.open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode_t{0644});
    if (fd >= 0) {
      temporary = candidate;
      return fd;
    }
    error = errno;
    if (error != EEXIST && error != EINTR) break;
  }
  Fail(what, target, error);
}

// Writes every byte, going on after partial writes and interruptions; returns 0 or an errno.
int WriteAll(int fd, std::string_view bytes, const FileOps& ops) {
  const char* data = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    const ssize_t written = ops.write(fd, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (written == 0) return EIO;
    data += written;
    left -= static_cast<size_t>(written);
  }
  return 0;
}

// Makes the rename itself durable. A folder that cannot be synced does not undo the replace.
void SyncFolder(const std::filesystem::path& target, const FileOps& ops) {
  const std::filesystem::path folder = FolderOf(target);
  const int fd = ops.open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, mode_t{0});
  if (fd < 0) return;
  ops.fsync(fd);
  ops.close(fd);
}

}  // namespace

const FileOps& SystemFileOps() {
  static const FileOps ops{&SystemOpen,  &SystemWrite,  &SystemFsync,
                           &SystemClose, &SystemRename, &SystemUnlink};
  return ops;
}

void ReplaceFile(const std::filesystem::path& target, std::string_view bytes, const FileOps& ops) {
  ReplaceFile(target, bytes, "table file", ops);
}

void ReplaceFile(const std::filesystem::path& target, std::string_view bytes, std::string_view what,
                 const FileOps& ops) {
  const std::string prefix = TemporaryPrefix(target);
  RemoveLeftoverTemporaries(target, prefix, ops);
  std::filesystem::path temporary;
  const int fd = CreateTemporary(what, target, prefix, ops, temporary);

  int error = WriteAll(fd, bytes, ops);
  if (error == 0 && ops.fsync(fd) != 0) error = errno;
  if (error != 0) {
    ops.close(fd);
    ops.unlink(temporary.c_str());
    Fail(what, target, error);
  }
  if (ops.close(fd) != 0) {
    error = errno;
    ops.unlink(temporary.c_str());
    Fail(what, target, error);
  }
  if (ops.rename(temporary.c_str(), target.c_str()) != 0) {
    error = errno;
    ops.unlink(temporary.c_str());
    Fail(what, target, error);
  }
  SyncFolder(target, ops);
}

}  // namespace project1
