// The file calls on POSIX systems.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/file_calls.h"
#include "platform/file_lock.h"

namespace project1::platform {

namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

int Descriptor(FileHandle file) { return static_cast<int>(file); }

std::error_code Create(const std::filesystem::path& path, FileHandle& file) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode_t{0644});
  if (fd < 0) return LastError();
  file = fd;
  return {};
}

std::error_code Write(FileHandle file, const char* data, std::size_t size, std::size_t& written) {
  const ssize_t result = ::write(Descriptor(file), data, size);
  if (result < 0) return LastError();
  written = static_cast<std::size_t>(result);
  return {};
}

std::error_code Flush(FileHandle file) {
  return ::fsync(Descriptor(file)) == 0 ? std::error_code() : LastError();
}

std::error_code Close(FileHandle file) {
  return ::close(Descriptor(file)) == 0 ? std::error_code() : LastError();
}

std::error_code Replace(const std::filesystem::path& from, const std::filesystem::path& to) {
  return std::rename(from.c_str(), to.c_str()) == 0 ? std::error_code() : LastError();
}

std::error_code Remove(const std::filesystem::path& path) {
  return ::unlink(path.c_str()) == 0 ? std::error_code() : LastError();
}

std::error_code OpenFolder(const std::filesystem::path& folder, FileHandle& file) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return LastError();
  file = fd;
  return {};
}

std::error_code Inspect(const std::filesystem::path& path, FileFacts& facts) {
  struct stat status = {};
  facts = FileFacts{};
  if (::stat(path.c_str(), &status) != 0) {
    return errno == ENOENT ? std::error_code() : LastError();
  }
  facts.kind = S_ISREG(status.st_mode)   ? FileKind::Regular
               : S_ISDIR(status.st_mode) ? FileKind::Folder
                                         : FileKind::Other;
  facts.mode = status.st_mode & 07777;
  facts.owner = status.st_uid;
  facts.group = status.st_gid;
  return {};
}

// As many links as the system itself follows before it gives up.
constexpr int kMostLinks = 40;

std::error_code Resolve(const std::filesystem::path& path, std::filesystem::path& file) {
  file = path;
  for (int links = 0;; ++links) {
    struct stat status = {};
    if (::lstat(file.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return {};
    if (links == kMostLinks) return std::make_error_code(std::errc::too_many_symbolic_link_levels);
    std::string pointee(static_cast<std::size_t>(status.st_size > 0 ? status.st_size : 255) + 1,
                        '\0');
    const ssize_t size = ::readlink(file.c_str(), pointee.data(), pointee.size());
    if (size < 0) return LastError();
    pointee.resize(static_cast<std::size_t>(size));
    const std::filesystem::path next(pointee);
    file = next.is_absolute() ? next : file.parent_path() / next;
  }
}

std::error_code Keep(FileHandle file, const FileFacts& replaced) {
  const int fd = Descriptor(file);
  struct stat made = {};
  if (::fstat(fd, &made) != 0) return LastError();
  mode_t mode = static_cast<mode_t>(replaced.mode);
  const auto owner = static_cast<uid_t>(replaced.owner);
  const auto group = static_cast<gid_t>(replaced.group);
  if ((made.st_uid != owner || made.st_gid != group) && ::fchown(fd, owner, group) != 0 &&
      made.st_gid != group && ::fchown(fd, static_cast<uid_t>(-1), group) != 0) {
    // The file stays in this user's group, which may read no more than others.
    mode = (mode & ~mode_t{070}) | ((mode & 07) << 3);
  }
  // After the owner: a change of owner clears the set-user and set-group bits.
  return ::fchmod(fd, mode) == 0 ? std::error_code() : LastError();
}

std::error_code OpenInPlace(const std::filesystem::path& path, FileHandle& file) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return LastError();
  file = fd;
  return {};
}

std::error_code OpenLock(const std::filesystem::path& path, FileHandle& file) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, mode_t{0644});
  if (fd < 0) return LastError();
  file = fd;
  return {};
}

std::error_code Lock(FileHandle file, bool wait) {
  while (::flock(Descriptor(file), LOCK_EX | (wait ? 0 : LOCK_NB)) != 0) {
    if (errno == EINTR) continue;
    if (errno == EWOULDBLOCK)
      return std::make_error_code(std::errc::resource_unavailable_try_again);
    return LastError();
  }
  return {};
}

}  // namespace

const LockCalls& SystemLockCalls() {
  static const LockCalls calls{&OpenLock, &Lock, &Close};
  return calls;
}

const FileCalls& SystemFileCalls() {
  static const FileCalls calls{&Create,     &Write,   &Flush,   &Close, &Replace,    &Remove,
                               &OpenFolder, &Inspect, &Resolve, &Keep,  &OpenInPlace};
  return calls;
}

FileHandle StandardOutput() { return STDOUT_FILENO; }
FileHandle StandardError() { return STDERR_FILENO; }

FileHandle HandleOfDescriptor(int fd) { return fd; }

int OpenForReading(const std::filesystem::path& path) {
  return ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
}

void UseBinaryMode(int) {}

}  // namespace project1::platform
