#include "table_file/replace_file.h"

#include <string>
#include <system_error>

#include "error/error.h"
#include "platform/host.h"
#include "platform/safe_replace.h"

namespace project1 {

void ReplaceFile(const std::filesystem::path& target, std::string_view bytes, const FileOps& ops) {
  ReplaceFile(target, bytes, "table file", ops);
}

void ReplaceFile(const std::filesystem::path& target, std::string_view bytes, std::string_view what,
                 const FileOps& ops) {
  const std::error_code cause = platform::ReplaceFileBytes(target, bytes, ops);
  if (cause) {
    throw Error(ErrorKind::File, "Cannot write the " + std::string(what) + " " +
                                     platform::Utf8FromPath(target) + ": " + cause.message() + ".");
  }
}

}  // namespace project1
