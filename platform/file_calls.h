#pragma once
// The file calls the safe replace and the writers use, one set per operating system (POSIX and
// Windows), behind one small table of functions so that tests can make any one of them fail.
// Errors are std::error_code values of the generic category (std::errc) wherever the system's
// error has one, so that a cause reads the same on every system ("No space left on device").

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace project1::platform {

// An open file: a descriptor on POSIX, a HANDLE on Windows.
using FileHandle = std::intptr_t;

struct FileCalls {
  // Creates `path`, which must not exist yet, for writing; readable by everyone, written by its
  // owner.
  std::error_code (*create)(const std::filesystem::path& path, FileHandle& file);
  // Writes up to `size` bytes; sets `written` to how many. std::errc::interrupted asks to retry.
  std::error_code (*write)(FileHandle file, const char* data, std::size_t size,
                           std::size_t& written);
  // Sends what was written to the disk (fsync, FlushFileBuffers).
  std::error_code (*flush)(FileHandle file);
  // Releases the file; a failing close has still released it.
  std::error_code (*close)(FileHandle file);
  // Puts `from` in the place of `to`, replacing it, as one step (rename, MoveFileExW).
  std::error_code (*replace)(const std::filesystem::path& from, const std::filesystem::path& to);
  // Removes a file; failures are the caller's to ignore.
  std::error_code (*remove)(const std::filesystem::path& path);
  // Opens a folder so that flush makes a rename inside it durable; an error where the system
  // has no such call (Windows, whose replace writes through).
  std::error_code (*open_folder)(const std::filesystem::path& folder, FileHandle& file);
};

// The calls of the system this program runs on.
const FileCalls& SystemFileCalls();

// Writes every byte, going on after partial writes and interruptions. A write that writes
// nothing is an input/output error.
std::error_code WriteAll(FileHandle file, std::string_view bytes,
                         const FileCalls& calls = SystemFileCalls());

// The standard output and standard error of this process.
FileHandle StandardOutput();
FileHandle StandardError();

// The file behind a C runtime descriptor (0, 1, 2 or one from OpenForReading).
FileHandle HandleOfDescriptor(int fd);

// Opens `path` for reading as a C runtime descriptor, bytes as they are (no line-end
// translation); -1 with errno set on failure.
int OpenForReading(const std::filesystem::path& path);

// Makes a descriptor read and write bytes as they are (Windows translates line ends otherwise).
void UseBinaryMode(int fd);

}  // namespace project1::platform
