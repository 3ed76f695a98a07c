#pragma once
// The replace's file calls with one chosen step made to fail, for tests. The same table serves the
// POSIX and the Windows calls: the failures are std::errc causes, which read the same on both.

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/file_calls.h"

namespace project1 {

// The step of the replace to fail. Its first call fails with the chosen cause; every other call
// goes to the system. ShortWriteThenFail writes half of the first write and fails the second;
// FolderSync fails the second flush (the folder's, after the file's, where the system flushes
// folders).
enum class FileStep {
  None,
  Inspect,
  Create,
  Write,
  ShortWriteThenFail,
  Keep,
  Fsync,
  FolderSync,
  Close,
  Rename,
  OpenInPlace,
};

inline const char* FileStepName(FileStep step) {
  switch (step) {
    case FileStep::None:
      return "none";
    case FileStep::Inspect:
      return "inspect";
    case FileStep::Keep:
      return "keep mode and owner";
    case FileStep::OpenInPlace:
      return "open in place";
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

// A failure of each step of the safe replace, and the cause its message names.
struct ReplaceFault {
  FileStep step;
  std::errc error;
  const char* cause;
};
inline constexpr ReplaceFault kReplaceFaults[] = {
    {FileStep::Inspect, std::errc::permission_denied, "Permission denied"},
    {FileStep::Create, std::errc::permission_denied, "Permission denied"},
    {FileStep::Write, std::errc::no_space_on_device, "No space left on device"},
    {FileStep::ShortWriteThenFail, std::errc::no_space_on_device, "No space left on device"},
    {FileStep::Keep, std::errc::operation_not_permitted, "Operation not permitted"},
    {FileStep::Fsync, std::errc::io_error, "Input/output error"},
    {FileStep::Close, std::errc::io_error, "Input/output error"},
    {FileStep::Rename, std::errc::permission_denied, "Permission denied"},
};

// A failure of each step of writing a device or a FIFO in place.
inline constexpr ReplaceFault kInPlaceFaults[] = {
    {FileStep::OpenInPlace, std::errc::permission_denied, "Permission denied"},
    {FileStep::Write, std::errc::no_space_on_device, "No space left on device"},
    {FileStep::ShortWriteThenFail, std::errc::no_space_on_device, "No space left on device"},
    {FileStep::Close, std::errc::io_error, "Input/output error"},
};

// What the faulty calls were told and what they saw.
struct FileFaults {
  FileStep step = FileStep::None;
  std::errc error{};
  int injected = 0;  // failures handed out
  int writes = 0;
  int fsyncs = 0;
  std::vector<std::filesystem::path> created;  // the files created
};

inline FileFaults file_faults;

// Arms the faulty calls for one run; counts start from zero.
inline void InjectFileFault(FileStep step, std::errc error) {
  file_faults = FileFaults{};
  file_faults.step = step;
  file_faults.error = error;
}

namespace detail {
inline bool FailNow(bool chosen) {
  if (!chosen) return false;
  ++file_faults.injected;
  return true;
}
inline std::error_code Injected() { return std::make_error_code(file_faults.error); }
}  // namespace detail

// The system calls, with the armed step failing once.
inline const platform::FileCalls& FaultyFileOps() {
  using platform::FileHandle;
  using platform::SystemFileCalls;
  static const platform::FileCalls ops{
      [](const std::filesystem::path& path, FileHandle& file) {
        const bool first = file_faults.created.empty();
        file_faults.created.push_back(path);
        if (detail::FailNow(first && file_faults.step == FileStep::Create)) {
          return detail::Injected();
        }
        return SystemFileCalls().create(path, file);
      },
      [](FileHandle file, const char* data, std::size_t size, std::size_t& written) {
        const int call = file_faults.writes++;
        const FileStep step = file_faults.step;
        if (step == FileStep::ShortWriteThenFail && call == 0) {
          return SystemFileCalls().write(file, data, size / 2, written);
        }
        if (detail::FailNow((step == FileStep::Write && call == 0) ||
                            (step == FileStep::ShortWriteThenFail && call == 1))) {
          return detail::Injected();
        }
        return SystemFileCalls().write(file, data, size, written);
      },
      [](FileHandle file) {
        const int call = file_faults.fsyncs++;
        if (detail::FailNow((file_faults.step == FileStep::Fsync && call == 0) ||
                            (file_faults.step == FileStep::FolderSync && call == 1))) {
          return detail::Injected();
        }
        return SystemFileCalls().flush(file);
      },
      // A failing close has still released the file.
      [](FileHandle file) {
        const std::error_code result = SystemFileCalls().close(file);
        if (detail::FailNow(file_faults.step == FileStep::Close && file_faults.injected == 0)) {
          return detail::Injected();
        }
        return result;
      },
      [](const std::filesystem::path& from, const std::filesystem::path& to) {
        if (detail::FailNow(file_faults.step == FileStep::Rename)) return detail::Injected();
        return SystemFileCalls().replace(from, to);
      },
      SystemFileCalls().remove,
      SystemFileCalls().open_folder,
      [](const std::filesystem::path& path, platform::FileFacts& facts) {
        if (detail::FailNow(file_faults.step == FileStep::Inspect)) return detail::Injected();
        return SystemFileCalls().inspect(path, facts);
      },
      SystemFileCalls().resolve,
      [](FileHandle file, const platform::FileFacts& replaced) {
        if (detail::FailNow(file_faults.step == FileStep::Keep)) return detail::Injected();
        return SystemFileCalls().keep(file, replaced);
      },
      [](const std::filesystem::path& path, FileHandle& file) {
        if (detail::FailNow(file_faults.step == FileStep::OpenInPlace)) return detail::Injected();
        return SystemFileCalls().open_in_place(path, file);
      },
  };
  return ops;
}

}  // namespace project1
