#pragma once
// The user's own oils as text: the rows of the oils file ("name,v40,v100,sg,note", UTF-8, fields
// quoted as RFC 4180 quotes them, numbers in the shortest text that reads back as the same
// double) read and written, and the rules of an oil's name and values. No file is touched here:
// the desktop keeps the text in its file (user_oils.h), the page in the browser's storage.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "oils/name_key.h"  // NameKey, which a name's uniqueness is judged on

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

// Refuses, with Error(BadInput) naming it, a name that is empty, holds a line break, equals a
// catalogue name or "OTHER", or is the name of another of `oils` (the oils other than `oil`
// itself); a name that begins with "=", "+", "-", "@", a tab or a carriage return (a spreadsheet
// runs it as a formula), holds a control character, or has more than 100 characters, each with
// its reason. Also refuses values that are not finite and above zero.
void CheckUserOil(const UserOil& oil, const std::vector<UserOil>& oils);

// Adds the oils of `imported` (read from `source`) at the end of `oils`, one at a time, each
// refused as the tool refuses an oil it is given: as a new oil is (CheckUserOil), and unless it is
// thinner at 100 °C than at 40 °C and its gravity, if any, lies from 0.5 to 3. Error(BadInput) at
// the first refusal, its message led by the oil's line: "site.csv line 3: ...".
void AppendImportedOils(std::vector<UserOil>& oils, const UserOilLibrary& imported,
                        std::string_view source);

// The oil of `oils` named `name` (judged by NameKey); nullptr when none is.
const UserOil* FindUserOil(const std::vector<UserOil>& oils, std::string_view name);

// The oils after `change` of `oils`, each changed or added oil checked as CheckUserOil checks a
// new one (the new names first, so that a clash is told as the new name's; an oil kept under its
// name is checked only for what an old name may not be), and every name kept without its
// surrounding blanks. Error(BadInput) at the first refusal.
std::vector<UserOil> ChangedUserOils(std::vector<UserOil> oils,
                                     const std::function<void(std::vector<UserOil>&)>& change);

}  // namespace project1
