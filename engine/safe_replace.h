#pragma once
// Replacing a file so that it is always either the previous complete file or the new complete
// one (see platform/safe_replace.h), with the failure as the program's error.

#include <filesystem>
#include <string_view>

#include "platform/file_calls.h"

namespace project1 {

// The file calls the replace uses, so that tests can make any one of them fail.
using FileOps = platform::FileCalls;

// The real calls of this system.
inline const FileOps& SystemFileOps() { return platform::SystemFileCalls(); }

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
