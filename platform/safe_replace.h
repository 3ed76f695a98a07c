#pragma once
// Replacing a file so that it is always either the previous complete file or the new complete
// one: write a temporary file created exclusively beside the target, flush it, give it what the
// user set up on the old one, put it in the target's place, then flush the folder where the system
// can. On any failure the temporary file is removed and the target is left exactly as it was.

#include <filesystem>
#include <string_view>
#include <system_error>

#include "platform/file_calls.h"

namespace project1::platform {

// Replaces `target` with `bytes`; returns the cause of a failure.
// - A symbolic link stays: the file it ends at is replaced (see ReplacedFile).
// - The new file keeps the old one's permission bits, and its owner and group where this process
//   may set them (FileCalls::keep).
// - A device or a FIFO is written in place, with no temporary file; a folder is refused
//   (std::errc::is_a_directory).
// The temporary file is ".<file name>.<host name>.<process id>.<n>.tmp" beside the replaced file.
// Temporary files of the same file left behind by writers on this host that ended without
// removing them are removed first; those of running processes and of other hosts are left alone.
std::error_code ReplaceFileBytes(const std::filesystem::path& target, std::string_view bytes,
                                 const FileCalls& calls = SystemFileCalls());

// The file a replace of `target` puts a new one in the place of: the end of the symbolic links at
// `target`, else `target` itself. A lock that guards the file is taken beside it.
std::filesystem::path ReplacedFile(const std::filesystem::path& target,
                                   const FileCalls& calls = SystemFileCalls());

}  // namespace project1::platform
