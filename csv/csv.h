#pragma once
// The one CSV codec of the program's files (RFC 4180): fields separated by ",", records by LF or
// CR LF, a field in double quotes holding commas, line breaks and doubled quotes; a byte-order
// mark at the start is skipped. Blanks around an unquoted field are not part of it, and a
// record that is one empty field (a blank line) is no record.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace project1 {

// One record of CSV text: its fields and the line it starts on (the first line is 1).
struct CsvRecord {
  std::vector<std::string> fields;
  int line = 0;
};

// Splits `text` into `records`, appending each as it is read. Throws Error(BadInput) naming
// `source`, the line and the column at a quote that is never closed or is followed by other
// text ("oils.csv line 3, column 7: a quote is not closed."); the records before it stay.
void ReadCsvRecords(std::string_view text, std::string_view source,
                    std::vector<CsvRecord>& records);

// `field` appended to `out` as a CSV field: quoted when it holds a comma, a quote or a line
// break, or begins or ends with a blank or begins with a byte-order mark; as it is otherwise.
void AppendCsvField(std::string& out, std::string_view field);

// `text` without the spaces and tabs around it.
inline std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// For a header that is one field holding ";" (a spreadsheet that saved with semicolons): the
// message that names the separator and says how to save with commas, after "<source> line 1: ".
// Nothing for any other header.
std::optional<std::string> SemicolonHeaderProblem(const CsvRecord& header);

}  // namespace project1
