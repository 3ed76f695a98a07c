#pragma once
// The user's own oils: a library of named oils kept in one CSV file that a person can edit in a
// spreadsheet, shared by the window and the tool. The file is `oils.csv` in the folder
// "Project1" of the application data folder, with the header "name,v40,v100,sg,note", one oil a
// row, UTF-8, fields quoted as RFC 4180 quotes them, and numbers in the shortest text that reads
// back as the same double. It is only ever changed by a replace under an advisory lock, so that
// two processes adding at once both land.

#include <filesystem>
#include <functional>
#include <string>

#include "platform/file_calls.h"
#include "user_oils/user_oils_text.h"

namespace project1 {

// Where the library lives: <application data folder>/Project1/oils.csv. Error(FileError) when
// the system names no such folder.
std::filesystem::path UserOilsPath();

// Reads the library at `path`; a missing file is an empty library, a file that cannot be read
// one problem.
UserOilLibrary ReadUserOils(const std::filesystem::path& path);

// Reads the library at `path` under its lock, lets `change` change the oils, checks each changed
// or added oil, and replaces the file with the result. Refuses (Error(FileError), the file
// untouched) while any row of the file cannot be read, or while it has columns of its own that
// the new file would not keep. The folder is made when missing. `calls`
// are the file calls of the replace.
void ChangeUserOils(const std::filesystem::path& path,
                    const std::function<void(std::vector<UserOil>&)>& change,
                    const platform::FileCalls& calls = platform::SystemFileCalls());

}  // namespace project1
