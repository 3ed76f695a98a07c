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

// What a name stands for, its symbolic links followed.
enum class FileKind {
  Missing,  // nothing yet
  Regular,  // a file the replace puts a new one in the place of
  Folder,   // refused
  Other,    // a device, a FIFO, a console: written in place
};

// What a replace keeps of the file it replaces. The permission bits, owner and group are POSIX's;
// Windows keeps attributes and security through its replace call.
struct FileFacts {
  FileKind kind = FileKind::Missing;
  std::uint32_t mode = 0;
  std::int64_t owner = -1;
  std::int64_t group = -1;
};

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
  // Puts `from` in the place of `to`, replacing it, as one step (rename; ReplaceFileW, which keeps
  // the replaced file's attributes and security, or MoveFileExW when `to` is missing).
  std::error_code (*replace)(const std::filesystem::path& from, const std::filesystem::path& to);
  // Removes a file; failures are the caller's to ignore.
  std::error_code (*remove)(const std::filesystem::path& path);
  // Opens a folder so that flush makes a rename inside it durable; an error where the system
  // has no such call (Windows, whose replace writes through).
  std::error_code (*open_folder)(const std::filesystem::path& folder, FileHandle& file);
  // What `path` names, its links followed; a missing name is FileKind::Missing, not an error.
  std::error_code (*inspect)(const std::filesystem::path& path, FileFacts& facts);
  // The file a chain of symbolic links at `path` ends at (the path itself when it is no link),
  // which need not exist yet.
  std::error_code (*resolve)(const std::filesystem::path& path, std::filesystem::path& file);
  // Gives a new file the permission bits of the one it will replace, and its owner and group where
  // this process may set them; a group that cannot be kept gets no more than others may
  // (nothing to do on Windows, whose replace keeps them).
  std::error_code (*keep)(FileHandle file, const FileFacts& replaced);
  // Opens an existing file that is not a regular one (a device, a FIFO) to be written in place.
  std::error_code (*open_in_place)(const std::filesystem::path& path, FileHandle& file);
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
