#pragma once
// Replacing a file so that it is always either the previous complete file or the new complete
// one: write a temporary file created exclusively beside the target, flush and fsync it, rename
// it over the target, then fsync the folder. On any failure the temporary file is removed and the
// target is left exactly as it was.

#include <sys/types.h>

#include <filesystem>
#include <string_view>

namespace project1 {

// The system calls the replace uses, so that tests can make any one of them fail.
struct FileOps {
  int (*open)(const char* path, int flags, mode_t mode);
  ssize_t (*write)(int fd, const void* data, size_t size);
  int (*fsync)(int fd);
  int (*close)(int fd);
  int (*rename)(const char* from, const char* to);
  int (*unlink)(const char* path);
};

// The real POSIX calls.
const FileOps& SystemFileOps();

// Replaces `target` with `bytes`. A symbolic link at the target is replaced, never written
// through. The temporary file is ".<target name>.<host name>.<process id>.<n>.tmp". Temporary
// files of the same target left behind by writers on this host that were killed (their process
// no longer exists) are removed first; those of running processes and of other hosts are left
// alone.
// Throws Error(FileError) naming the file and the cause.
void ReplaceFile(const std::filesystem::path& target, std::string_view bytes,
                 const FileOps& ops = SystemFileOps());
// The same for a file other than the table: `what` names it in the message ("chart file").
void ReplaceFile(const std::filesystem::path& target, std::string_view bytes, std::string_view what,
                 const FileOps& ops = SystemFileOps());

}  // namespace project1
