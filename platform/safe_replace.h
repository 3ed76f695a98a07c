#pragma once
// Replacing a file so that it is always either the previous complete file or the new complete
// one: write a temporary file created exclusively beside the target, flush it, put it in the
// target's place, then flush the folder where the system can. On any failure the temporary file
// is removed and the target is left exactly as it was.

#include <filesystem>
#include <string_view>
#include <system_error>

#include "platform/file_calls.h"

namespace project1::platform {

// Replaces `target` with `bytes`; returns the cause of a failure. A symbolic link at the target
// is replaced, never written through. The temporary file is
// ".<target name>.<host name>.<process id>.<n>.tmp". Temporary files of the same target left
// behind by writers on this host that ended without removing them are removed first; those of
// running processes and of other hosts are left alone.
std::error_code ReplaceFileBytes(const std::filesystem::path& target, std::string_view bytes,
                                 const FileCalls& calls = SystemFileCalls());

}  // namespace project1::platform
