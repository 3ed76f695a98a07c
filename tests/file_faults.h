#pragma once
// The replace's system calls with one chosen step made to fail, for tests.

#include <fcntl.h>
#include <sys/types.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/safe_replace.h"
#include "test_support.h"

namespace project1 {

// The step of the replace to fail. Its first call fails with the chosen errno; every other call
// goes to the system. ShortWriteThenFail writes half of the first write and fails the second;
// FolderSync fails the second fsync (the folder's, after the file's).
enum class FileStep { None, Create, Write, ShortWriteThenFail, Fsync, FolderSync, Close, Rename };

inline const char* FileStepName(FileStep step) {
  switch (step) {
    case FileStep::None:
      return "none";
    case FileStep::Create:
      return "create";
    case FileStep::Write:
      return "write";
    case FileStep::ShortWriteThenFail:
      return "short write";
    case FileStep::Fsync:
      return "fsync";
    case FileStep::FolderSync:
      return "folder fsync";
    case FileStep::Close:
      return "close";
    case FileStep::Rename:
      return "rename";
  }
  return "?";
}

// What the faulty calls were told and what they saw.
struct FileFaults {
  FileStep step = FileStep::None;
  int error = 0;
  int injected = 0;  // failures handed out
  int writes = 0;
  int fsyncs = 0;
  std::vector<std::string> created;  // paths opened with O_CREAT
  std::vector<int> created_flags;
  std::vector<mode_t> created_modes;
};

inline FileFaults file_faults;

// Arms the faulty calls for one run; counts start from zero.
inline void InjectFileFault(FileStep step, int error) {
  file_faults = FileFaults{};
  file_faults.step = step;
  file_faults.error = error;
}

namespace detail {
inline bool FailNow(bool chosen) {
  if (!chosen) return false;
  ++file_faults.injected;
  errno = file_faults.error;
  return true;
}
}  // namespace detail

// The system calls, with the armed step failing once.
inline const FileOps& FaultyFileOps() {
  static const FileOps ops{
      [](const char* path, int flags, mode_t mode) {
        if ((flags & O_CREAT) != 0) {
          const bool first = file_faults.created.empty();
          file_faults.created.push_back(path);
          file_faults.created_flags.push_back(flags);
          file_faults.created_modes.push_back(mode);
          if (detail::FailNow(first && file_faults.step == FileStep::Create)) return -1;
        }
        return SystemFileOps().open(path, flags, mode);
      },
      [](int fd, const void* data, size_t size) -> ssize_t {
        const int call = file_faults.writes++;
        const FileStep step = file_faults.step;
        if (step == FileStep::ShortWriteThenFail && call == 0) {
          return SystemFileOps().write(fd, data, size / 2);
        }
        if (detail::FailNow((step == FileStep::Write && call == 0) ||
                            (step == FileStep::ShortWriteThenFail && call == 1))) {
          return -1;
        }
        return SystemFileOps().write(fd, data, size);
      },
      [](int fd) {
        const int call = file_faults.fsyncs++;
        if (detail::FailNow((file_faults.step == FileStep::Fsync && call == 0) ||
                            (file_faults.step == FileStep::FolderSync && call == 1))) {
          return -1;
        }
        return SystemFileOps().fsync(fd);
      },
      // A failing close has still released the descriptor.
      [](int fd) {
        const int result = SystemFileOps().close(fd);
        if (detail::FailNow(file_faults.step == FileStep::Close && file_faults.injected == 0)) {
          return -1;
        }
        return result;
      },
      [](const char* from, const char* to) {
        if (detail::FailNow(file_faults.step == FileStep::Rename)) return -1;
        return SystemFileOps().rename(from, to);
      },
      SystemFileOps().unlink,
  };
  return ops;
}

}  // namespace project1
