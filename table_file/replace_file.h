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

// Replaces `target` with `bytes` as platform::ReplaceFileBytes does: a symbolic link stays and
// the file it ends at is replaced, the permission bits, owner and group are kept, a device or a
// FIFO is written in place.
// Throws Error(FileError) naming the file and the cause.
void ReplaceFile(const std::filesystem::path& target, std::string_view bytes,
                 const FileOps& ops = SystemFileOps());
// The same for a file other than the table: `what` names it in the message ("chart file").
void ReplaceFile(const std::filesystem::path& target, std::string_view bytes, std::string_view what,
                 const FileOps& ops = SystemFileOps());

}  // namespace project1
