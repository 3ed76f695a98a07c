#include "csv/csv.h"

#include "error/error.h"

namespace project1 {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The column, in characters, of text[at] on the line that starts at text[line_start].
int Column(std::string_view text, std::size_t line_start, std::size_t at) {
  int column = 1;
  for (std::size_t i = line_start; i < at && i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++column;
  }
  return column;
}

}  // namespace

void ReadCsvRecords(std::string_view text, std::string_view source,
                    std::vector<CsvRecord>& records) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  int line = 1;
  std::size_t line_start = 0;
  const auto refuse = [&](int at_line, std::size_t from, std::size_t at, const char* what) {
    throw Error(ErrorKind::BadInput, std::string(source) + " line " + std::to_string(at_line) +
                                         ", column " + std::to_string(Column(text, from, at)) +
                                         ": " + what);
  };
  std::size_t i = 0;
  while (i < text.size()) {
    CsvRecord record;
    record.line = line;
    std::string field;
    bool quoted_field = false;
    for (;;) {
      std::size_t start = i;
      while (start < text.size() && IsBlank(text[start])) ++start;
      if (start < text.size() && text[start] == '"') {
        i = start;
        const int opened = line;
        const std::size_t opened_line_start = line_start;
        field.clear();
        ++i;
        for (;;) {
          if (i >= text.size()) refuse(opened, opened_line_start, start, "a quote is not closed.");
          if (text[i] == '"') {
            if (i + 1 < text.size() && text[i + 1] == '"') {
              field += '"';
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          if (text[i] == '\n') {
            ++line;
            line_start = i + 1;
          }
          field += text[i++];
        }
        quoted_field = true;
        while (i < text.size() && IsBlank(text[i])) ++i;
        if (i < text.size() && text[i] != ',' && text[i] != '\n' && text[i] != '\r') {
          refuse(line, line_start, i, "text follows a closing quote.");
        }
      }
      while (i < text.size() && text[i] != ',' && text[i] != '\n') {
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] == '\n')) {
          ++i;
          continue;
        }
        field += text[i++];
      }
      record.fields.push_back(quoted_field ? field : std::string(TrimBlanks(field)));
      field.clear();
      quoted_field = false;
      if (i < text.size() && text[i] == ',') {
        ++i;
        continue;
      }
      ++i;  // the line end, or past the end
      ++line;
      line_start = i;
      break;
    }
    const bool blank = record.fields.size() == 1 && record.fields[0].empty();
    if (!blank) records.push_back(std::move(record));
  }
}

void AppendCsvField(std::string& out, std::string_view field) {
  // A byte-order mark would be skipped at the start of a text.
  const bool quoted = field.find_first_of(",\"\r\n") != std::string_view::npos ||
                      (!field.empty() && (IsBlank(field.front()) || IsBlank(field.back()))) ||
                      field.starts_with("\xEF\xBB\xBF");
  if (!quoted) {
    out += field;
    return;
  }
  out += '"';
  for (const char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

std::optional<std::string> SemicolonHeaderProblem(const CsvRecord& header) {
  if (header.fields.size() != 1 || header.fields[0].find(';') == std::string::npos) {
    return std::nullopt;
  }
  return "the header's columns are separated by \";\", not \",\". Save the file as CSV with "
         "commas between the columns (in a spreadsheet: Save As, \"CSV (comma delimited)\"), or "
         "replace each \";\" with \",\".";
}

}  // namespace project1
