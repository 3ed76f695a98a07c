// The file calls on Windows, on the wide-character Win32 calls: CreateFileW, WriteFile,
// FlushFileBuffers, CloseHandle, ReplaceFileW, MoveFileExW and DeleteFileW.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/file_calls.h"
#include "platform/file_lock.h"

namespace project1::platform {

namespace {

// The system's error as its std::errc where there is one, so that causes read as on POSIX.
std::error_code ErrorFrom(DWORD code) {
  switch (code) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return std::make_error_code(std::errc::file_exists);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return std::make_error_code(std::errc::permission_denied);
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return std::make_error_code(std::errc::no_such_file_or_directory);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return std::make_error_code(std::errc::no_space_on_device);
    case ERROR_WRITE_PROTECT:
      return std::make_error_code(std::errc::read_only_file_system);
    case ERROR_FILENAME_EXCED_RANGE:
      return std::make_error_code(std::errc::filename_too_long);
    case ERROR_DIRECTORY:
      return std::make_error_code(std::errc::not_a_directory);
    default:
      return {static_cast<int>(code), std::system_category()};
  }
}

std::error_code LastError() { return ErrorFrom(::GetLastError()); }

HANDLE Native(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

std::error_code Create(const std::filesystem::path& path, FileHandle& file) {
  // CREATE_NEW fails with ERROR_FILE_EXISTS when the name is taken.
  const HANDLE handle = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return LastError();
  file = reinterpret_cast<FileHandle>(handle);
  return {};
}

std::error_code Write(FileHandle file, const char* data, std::size_t size, std::size_t& written) {
  // WriteFile takes a 32-bit count; the caller's loop writes the rest.
  const auto count = static_cast<DWORD>(std::min<std::size_t>(size, 1U << 30U));
  DWORD done = 0;
  if (!::WriteFile(Native(file), data, count, &done, nullptr)) return LastError();
  written = done;
  return {};
}

std::error_code Flush(FileHandle file) {
  return ::FlushFileBuffers(Native(file)) ? std::error_code() : LastError();
}

std::error_code Close(FileHandle file) {
  return ::CloseHandle(Native(file)) ? std::error_code() : LastError();
}

std::error_code Replace(const std::filesystem::path& from, const std::filesystem::path& to) {
  // ReplaceFileW gives the new file the replaced one's attributes and security descriptor.
  if (::ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                     nullptr)) {
    return {};
  }
  const DWORD code = ::GetLastError();
  if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND) return ErrorFrom(code);
  // Nothing to replace yet. MOVEFILE_WRITE_THROUGH returns only once the move is on the disk.
  return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
             ? std::error_code()
             : LastError();
}

std::error_code Remove(const std::filesystem::path& path) {
  return ::DeleteFileW(path.c_str()) ? std::error_code() : LastError();
}

// A folder is not flushed on Windows: the replace writes through.
std::error_code OpenFolder(const std::filesystem::path&, FileHandle&) {
  return std::make_error_code(std::errc::function_not_supported);
}

// Opens what `path` names, its links followed, to ask about it.
HANDLE OpenToInspect(const std::filesystem::path& path) {
  return ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

std::error_code Inspect(const std::filesystem::path& path, FileFacts& facts) {
  facts = FileFacts{};
  const HANDLE handle = OpenToInspect(path);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD code = ::GetLastError();
    return code == ERROR_FILE_NOT_FOUND ? std::error_code() : ErrorFrom(code);
  }
  BY_HANDLE_FILE_INFORMATION info = {};
  const DWORD type = ::GetFileType(handle);
  if (type != FILE_TYPE_DISK) {
    facts.kind = FileKind::Other;  // a console, a pipe, NUL
  } else if (::GetFileInformationByHandle(handle, &info)) {
    facts.kind =
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? FileKind::Folder : FileKind::Regular;
  } else {
    const std::error_code error = LastError();
    ::CloseHandle(handle);
    return error;
  }
  ::CloseHandle(handle);
  return {};
}

std::error_code Resolve(const std::filesystem::path& path, std::filesystem::path& file) {
  file = path;
  const HANDLE handle = OpenToInspect(path);
  if (handle == INVALID_HANDLE_VALUE) return {};  // nothing there yet: written as named
  std::wstring name(MAX_PATH, L'\0');
  DWORD size = 0;
  for (;;) {
    size = ::GetFinalPathNameByHandleW(handle, name.data(), static_cast<DWORD>(name.size()),
                                       FILE_NAME_NORMALIZED);
    if (size < name.size()) break;
    name.resize(size + 1);
  }
  const std::error_code error = size == 0 ? LastError() : std::error_code();
  ::CloseHandle(handle);
  if (error) return error;
  name.resize(size);
  // The final name, links and junctions followed. The system gives it as "\\?\C:\..." or
  // "\\?\UNC\server\...": written back as the user writes a path, so that the temporary file
  // and every message name the folder as typed.
  constexpr std::wstring_view kUnc = L"\\\\?\\UNC\\";
  constexpr std::wstring_view kLocal = L"\\\\?\\";
  if (std::wstring_view(name).starts_with(kUnc)) {
    name = L"\\\\" + name.substr(kUnc.size());
  } else if (std::wstring_view(name).starts_with(kLocal) && name.size() > kLocal.size() + 1 &&
             name[kLocal.size() + 1] == L':') {
    name = name.substr(kLocal.size());
  }
  file = std::filesystem::path(name);
  return {};
}

// ReplaceFileW keeps the replaced file's attributes and security descriptor.
std::error_code Keep(FileHandle, const FileFacts&) { return {}; }

std::error_code OpenInPlace(const std::filesystem::path& path, FileHandle& file) {
  const HANDLE handle =
      ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return LastError();
  file = reinterpret_cast<FileHandle>(handle);
  return {};
}

std::error_code OpenLock(const std::filesystem::path& path, FileHandle& file) {
  const HANDLE handle = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return LastError();
  file = reinterpret_cast<FileHandle>(handle);
  return {};
}

// The lock covers the file's first byte, which need not exist; closing the handle releases it.
std::error_code Lock(FileHandle file, bool wait) {
  OVERLAPPED at = {};
  const DWORD flags = LOCKFILE_EXCLUSIVE_LOCK | (wait ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
  if (::LockFileEx(Native(file), flags, 0, 1, 0, &at)) return {};
  const DWORD code = ::GetLastError();
  if (!wait && (code == ERROR_LOCK_VIOLATION || code == ERROR_IO_PENDING)) {
    return std::make_error_code(std::errc::resource_unavailable_try_again);
  }
  return ErrorFrom(code);
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

FileHandle StandardOutput() {
  return reinterpret_cast<FileHandle>(::GetStdHandle(STD_OUTPUT_HANDLE));
}
FileHandle HandleOfDescriptor(int fd) { return static_cast<FileHandle>(::_get_osfhandle(fd)); }

int OpenForReading(const std::filesystem::path& path) {
  return ::_wopen(path.c_str(), _O_RDONLY | _O_BINARY);
}

void UseBinaryMode(int fd) { ::_setmode(fd, _O_BINARY); }

FileHandle StandardError() {
  return reinterpret_cast<FileHandle>(::GetStdHandle(STD_ERROR_HANDLE));
}

}  // namespace project1::platform
