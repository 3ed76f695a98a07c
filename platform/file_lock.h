#pragma once
// An advisory lock that makes read-change-replace of a file one step among the processes that
// take it: flock on POSIX, LockFileEx on Windows. The lock is held on a small lock file of its
// own beside the file it guards, since a replace puts a new file in the guarded one's place.
// Errors are std::errc causes, as for the file calls.

#include <filesystem>
#include <system_error>

#include "platform/file_calls.h"

namespace project1::platform {

struct LockCalls {
  // Opens `path` for locking, creating it (empty) when missing.
  std::error_code (*open)(const std::filesystem::path& path, FileHandle& file);
  // Takes the exclusive lock, waiting while another holds it; without `wait`,
  // std::errc::resource_unavailable_try_again when another holds it.
  std::error_code (*lock)(FileHandle file, bool wait);
  // Releases the lock and the file.
  std::error_code (*close)(FileHandle file);
};

// The calls of the system this program runs on.
const LockCalls& SystemLockCalls();

// A held lock, released when it goes away.
class FileLock {
 public:
  FileLock() = default;
  ~FileLock() { Release(); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  bool held() const { return calls_ != nullptr; }
  void Release();

 private:
  friend std::error_code LockFile(const std::filesystem::path&, FileLock&, bool, const LockCalls&);
  FileHandle file_ = 0;
  const LockCalls* calls_ = nullptr;
};

// Takes the exclusive advisory lock of `path` into `lock` (releasing what it held before);
// returns the cause of a failure, after which `lock` holds nothing and no file stays open.
std::error_code LockFile(const std::filesystem::path& path, FileLock& lock, bool wait = true,
                         const LockCalls& calls = SystemLockCalls());

}  // namespace project1::platform
