#include "engine/safe_replace.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "numtext/error.h"

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

[[noreturn]] void Fail(const std::filesystem::path& target, int error) {
  throw Error(ErrorKind::FileError,
              "Cannot write the table file " + target.string() + ": " + std::strerror(error) + ".");
}

// Creates the temporary file beside `target`; returns its descriptor and sets `temporary`.
int CreateTemporary(const std::filesystem::path& target, const FileOps& ops,
                    std::filesystem::path& temporary) {
  const std::filesystem::path folder =
      target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
  const std::string prefix =
      "." + target.filename().string() + "." + std::to_string(::getpid()) + ".";
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
  Fail(target, error);
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
  const std::filesystem::path folder =
      target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
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
  std::filesystem::path temporary;
  const int fd = CreateTemporary(target, ops, temporary);

  int error = WriteAll(fd, bytes, ops);
  if (error == 0 && ops.fsync(fd) != 0) error = errno;
  if (error != 0) {
    ops.close(fd);
    ops.unlink(temporary.c_str());
    Fail(target, error);
  }
  if (ops.close(fd) != 0) {
    error = errno;
    ops.unlink(temporary.c_str());
    Fail(target, error);
  }
  if (ops.rename(temporary.c_str(), target.c_str()) != 0) {
    error = errno;
    ops.unlink(temporary.c_str());
    Fail(target, error);
  }
  SyncFolder(target, ops);
}

}  // namespace project1
