#include "user_oils/user_oils.h"

#include <fstream>
#include <iterator>
#include <utility>

#include "error/error.h"
#include "platform/file_lock.h"
#include "platform/host.h"
#include "platform/safe_replace.h"

namespace project1 {

std::filesystem::path UserOilsPath() {
  const std::optional<std::filesystem::path> folder = platform::ApplicationDataFolder();
  if (!folder) {
    throw Error(ErrorKind::File, "The folder of your oils is not known: set " +
                                     std::string(platform::ApplicationDataVariables()) + ".");
  }
  return *folder / "Project1" / "oils.csv";
}

UserOilLibrary ReadUserOils(const std::filesystem::path& path) {
  const std::string source = platform::Utf8FromPath(path);
  std::error_code error;
  if (!std::filesystem::exists(path, error) && !error) return {};
  std::ifstream in(path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in && !in.eof()) {
    UserOilLibrary library;
    library.problems.push_back("Your oils file " + source + " cannot be read.");
    return library;
  }
  return ParseUserOils(text, source);
}

void ChangeUserOils(const std::filesystem::path& path,
                    const std::function<void(std::vector<UserOil>&)>& change,
                    const platform::FileCalls& calls) {
  const std::string shown = platform::Utf8FromPath(path);
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  if (error) {
    throw Error(ErrorKind::File, "The folder of your oils file " + shown +
                                     " cannot be made: " + error.message() + ".");
  }
  // The lock sits beside the file that is replaced, the end of any links at `path`, so that all
  // who reach one shared file through links of their own take the same lock.
  const std::filesystem::path file = platform::ReplacedFile(path, calls);
  const std::filesystem::path lock_path =
      file.parent_path() / ("." + file.filename().string() + ".lock");
  platform::FileLock lock;
  if ((error = platform::LockFile(lock_path, lock))) {
    throw Error(ErrorKind::File,
                "Your oils file " + shown + " cannot be locked: " + error.message() + ".");
  }
  UserOilLibrary library = ReadUserOils(path);
  if (!library.problems.empty()) {
    throw Error(ErrorKind::File, library.problems.front() +
                                     " Mend the file before changing your oils; it is "
                                     "left as it is.");
  }
  if (!library.other_columns.empty()) {
    std::string columns;
    for (const std::string& column : library.other_columns) {
      columns += (columns.empty() ? "" : ", ") + column;
    }
    throw Error(ErrorKind::File,
                "Your oils file " + shown + " has columns that a change would not keep (" +
                    columns +
                    "). Move them to a file of their own before changing your oils; it "
                    "is left as it is.");
  }
  const std::vector<UserOil> oils = ChangedUserOils(std::move(library.oils), change);
  if ((error = platform::ReplaceFileBytes(path, UserOilsCsv(oils), calls))) {
    throw Error(ErrorKind::File,
                "Your oils file " + shown + " cannot be written: " + error.message() + ".");
  }
}

}  // namespace project1
