#pragma once
// The user's own oils: a library of named oils kept in one CSV file that a person can edit in a
// spreadsheet, shared by the window and the tool. The file is `oils.csv` in the folder
// "Project1" of the application data folder, with the header "name,v40,v100,sg,note", one oil a
// row, UTF-8, fields quoted as RFC 4180 quotes them, and numbers in the shortest text that reads
// back as the same double. It is only ever changed by a replace under an advisory lock, so that
// two processes adding at once both land.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "oils/name_key.h"  // NameKey, which a name's uniqueness is judged on
#include "platform/file_calls.h"

namespace project1 {

struct UserOil {
  std::string name;  // without surrounding blanks
  double nu40 = 0;   // cSt at 40 C
  double nu100 = 0;  // cSt at 100 C
  std::optional<double> gravity;
  std::string note;
};

// A library as read: the oils of the rows that could be read, in file order, and one message
// for each row or file that could not ("<file> line 4: v40 "4x6" is not a number.").
struct UserOilLibrary {
  std::vector<UserOil> oils;
  std::vector<int> lines;  // the line each oil's row starts on (the header is line 1)
  std::vector<std::string> problems;
  std::vector<std::string> other_columns;  // header names of columns the library does not keep
};

// The header of the file.
inline constexpr std::string_view kUserOilsHeader = "name,v40,v100,sg,note";

// Where the library lives: <application data folder>/Project1/oils.csv. Error(FileError) when
// the system names no such folder.
std::filesystem::path UserOilsPath();

// Reads CSV text whose header names at least name, v40 and v100 (and optionally sg and note, in
// any order and case; other columns are ignored). `source` names the text in the messages. Rows
// that cannot be read, and names met before, are reported; a header that cannot be read makes
// the whole text one problem. A quote never closed (or followed by other text) ends the text
// there: it is reported by its line and the rows before it are still read.
UserOilLibrary ParseUserOils(std::string_view text, std::string_view source);

// The same, refusing the whole text at its first problem with Error(BadInput).
UserOilLibrary ParseUserOilsStrictly(std::string_view text, std::string_view source);

// The file's text for `oils`.
std::string UserOilsCsv(const std::vector<UserOil>& oils);

// Reads the library at `path`; a missing file is an empty library, a file that cannot be read
// one problem.
UserOilLibrary ReadUserOils(const std::filesystem::path& path);

// Refuses, with Error(BadInput) naming it, a name that is empty, holds a line break, equals a
// catalogue name or "OTHER", or is the name of another of `oils` (the oils other than `oil`
// itself); a name that begins with "=", "+", "-", "@", a tab or a carriage return (a spreadsheet
// runs it as a formula), holds a control character, or has more than 100 characters, each with
// its reason. Also refuses values that are not finite and above zero.
void CheckUserOil(const UserOil& oil, const std::vector<UserOil>& oils);

// The oil of `oils` named `name` (judged by NameKey); nullptr when none is.
const UserOil* FindUserOil(const std::vector<UserOil>& oils, std::string_view name);

// Reads the library at `path` under its lock, lets `change` change the oils, checks each changed
// or added oil, and replaces the file with the result. Refuses (Error(FileError), the file
// untouched) while any row of the file cannot be read, or while it has columns of its own that
// the new file would not keep. The folder is made when missing. `calls`
// are the file calls of the replace.
void ChangeUserOils(const std::filesystem::path& path,
                    const std::function<void(std::vector<UserOil>&)>& change,
                    const platform::FileCalls& calls = platform::SystemFileCalls());

}  // namespace project1
