#include "platform/file_lock.h"

namespace project1::platform {

void FileLock::Release() {
  if (calls_ == nullptr) return;
  (void)calls_->close(file_);
  calls_ = nullptr;
}

std::error_code LockFile(const std::filesystem::path& path, FileLock& lock, bool wait,
                         const LockCalls& calls) {
  lock.Release();
  FileHandle file = 0;
  if (const std::error_code error = calls.open(path, file)) return error;
  if (const std::error_code error = calls.lock(file, wait)) {
    (void)calls.close(file);
    return error;
  }
  lock.file_ = file;
  lock.calls_ = &calls;
  return {};
}

}  // namespace project1::platform
