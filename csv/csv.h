#pragma once
// The one CSV codec of the program's files (RFC 4180): fields separated by ",", records by LF or
// CR LF, a field in double quotes holding commas, line breaks and doubled quotes; a byte-order
// mark at the start is skipped. Blanks around an unquoted field are not part of it, and a
// record that is one empty field (a blank line) is no record.

#include <cstddef>
#include <cstring>
#include <deque>
#include <optional>
#include <span>
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

// Whether `field` is written in quotes: when it holds a comma, a quote or a line break, or begins
// or ends with a blank (which a reader drops), or begins with a byte-order mark (which a reader
// skips at the start of a text).
inline bool NeedsCsvQuotes(std::string_view field) {
  // A loop over the bytes, cheaper on a short name than find_first_of's search for each of four.
  for (const char c : field) {
    if (c == ',' || c == '"' || c == '\r' || c == '\n') return true;
  }
  return !field.empty() && (field.front() == ' ' || field.front() == '\t' || field.back() == ' ' ||
                            field.back() == '\t' || field.starts_with("\xEF\xBB\xBF"));
}

// The most bytes PutCsvField writes for `field`.
constexpr std::size_t CsvFieldRoom(std::string_view field) { return 2 * field.size() + 2; }

// `field` written as a CSV field at `at`, which has CsvFieldRoom(field) bytes: in quotes, with
// each inner quote doubled, when NeedsCsvQuotes; as it is otherwise. Returns the end. Allocates
// nothing, for the batch's rows.
inline char* PutCsvField(char* at, std::string_view field) {
  if (!NeedsCsvQuotes(field)) {
    if (!field.empty()) std::memcpy(at, field.data(), field.size());
    return at + field.size();
  }
  *at++ = '"';
  for (const char c : field) {
    if (c == '"') *at++ = '"';
    *at++ = c;
  }
  *at++ = '"';
  return at;
}

// `field` appended to `out` as PutCsvField writes it.
void AppendCsvField(std::string& out, std::string_view field);

// The fields of one CSV record, split by the codec's rules from the record's text (its final line
// end left out; a quoted field may hold line breaks). The fields view that text or the
// splitter's own storage, reused from record to record, and stay valid until the next Split.
class CsvSplitter {
 public:
  enum class Outcome {
    Record,     // split whole
    OpenQuote,  // a quoted field is still open at the end: the record goes on past a line break
    Malformed,  // text follows a closing quote
  };
  Outcome Split(std::string_view record);
  std::span<const std::string_view> fields() const { return fields_; }
  // The byte of the record an outcome other than Record is found at: the open field's quote,
  // or the text after the closing quote.
  std::size_t problem_at() const { return problem_at_; }
  // Whether the record is one empty field (a blank line), which is no record.
  bool Blank() const { return fields_.size() == 1 && fields_[0].empty(); }

 private:
  std::vector<std::string_view> fields_;
  // A deque, so that growing it leaves the fields already split in place.
  std::deque<std::string> unquoted_;
  std::size_t problem_at_ = 0;
};

// What is wrong at a splitter's problem_at().
inline constexpr std::string_view kCsvOpenQuote = "a quote is not closed.";
inline constexpr std::string_view kCsvTextAfterQuote = "text follows a closing quote.";

// The byte after the quoted field that opens at `text[quote]`: past its closing quote, or npos
// when it is never closed.
std::size_t CsvQuotedFieldEnd(std::string_view text, std::size_t quote);

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
