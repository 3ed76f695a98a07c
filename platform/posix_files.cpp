// The file calls on POSIX systems.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

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
  static const FileCalls calls{&Create, &Write, &Flush, &Close, &Replace, &Remove, &OpenFolder};
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
