#include "csv/csv.h"

#include <algorithm>
#include <cstring>

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

CsvSplitter::Outcome CsvSplitter::Split(std::string_view record) {
  fields_.clear();
  std::size_t i = 0;
  // An unquoted field without the blanks around it, and without the CR of a CR LF at the end.
  const auto unquoted = [&](std::size_t from, std::size_t end) {
    std::string_view field = record.substr(from, end - from);
    if (end == record.size() && field.ends_with('\r')) field.remove_suffix(1);
    fields_.push_back(TrimBlanks(field));
  };
  if (std::memchr(record.data(), '"', record.size()) == nullptr) {
    // No quote anywhere, as on most lines: the fields lie between the commas.
    for (;;) {
      const void* comma = std::memchr(record.data() + i, ',', record.size() - i);
      if (comma == nullptr) {
        unquoted(i, record.size());
        return Outcome::Record;
      }
      const auto end = static_cast<std::size_t>(static_cast<const char*>(comma) - record.data());
      unquoted(i, end);
      i = end + 1;
    }
  }
  for (;;) {
    std::size_t start = i;
    while (start < record.size() && IsBlank(record[start])) ++start;
    if (start < record.size() && record[start] == '"') {
      const std::size_t column = fields_.size();
      if (unquoted_.size() <= column) unquoted_.resize(column + 1);
      std::string& text = unquoted_[column];
      text.clear();
      const std::size_t after = CsvQuotedFieldEnd(record, start);
      if (after == std::string_view::npos) {
        problem_at_ = start;
        return Outcome::OpenQuote;
      }
      for (std::size_t j = start + 1; j + 1 < after; ++j) {
        text += record[j];
        if (record[j] == '"') ++j;  // the second of a doubled quote
      }
      fields_.emplace_back(text);
      std::size_t j = after;
      while (j < record.size() && IsBlank(record[j])) ++j;
      if (j == record.size() || (j + 1 == record.size() && record[j] == '\r')) {
        return Outcome::Record;
      }
      if (record[j] != ',') {
        problem_at_ = j;
        return Outcome::Malformed;
      }
      i = j + 1;
    } else {
      const std::size_t comma = record.find(',', i);
      const std::size_t end = comma == std::string_view::npos ? record.size() : comma;
      unquoted(i, end);
      if (end == record.size()) return Outcome::Record;
      i = end + 1;
    }
  }
}

std::size_t CsvQuotedFieldEnd(std::string_view text, std::size_t quote) {
  for (std::size_t j = quote + 1; j < text.size(); ++j) {
    if (text[j] != '"') continue;
    if (j + 1 < text.size() && text[j + 1] == '"') {
      ++j;
      continue;
    }
    return j + 1;
  }
  return std::string_view::npos;
}

void ReadCsvRecords(std::string_view text, std::string_view source,
                    std::vector<CsvRecord>& records) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  const auto line_end = [&](std::size_t from) {
    const std::size_t end = text.find('\n', from);
    return end == std::string_view::npos ? text.size() : end;
  };
  CsvSplitter splitter;
  int line = 1;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t end = line_end(i);
    CsvSplitter::Outcome outcome = splitter.Split(text.substr(i, end - i));
    // A quoted field holding line breaks: the record runs to the line its quote closes on.
    while (outcome == CsvSplitter::Outcome::OpenQuote) {
      const std::size_t after = CsvQuotedFieldEnd(text, i + splitter.problem_at());
      if (after == std::string_view::npos) break;
      end = line_end(after);
      outcome = splitter.Split(text.substr(i, end - i));
    }
    if (outcome != CsvSplitter::Outcome::Record) {
      const std::size_t at = i + splitter.problem_at();
      const std::string_view before = text.substr(i, at - i);
      const std::size_t last_break = before.rfind('\n');
      const std::size_t line_start = last_break == std::string_view::npos ? i : i + last_break + 1;
      const auto breaks = std::count(before.begin(), before.end(), '\n');
      throw Error(ErrorKind::BadInput,
                  std::string(source) + " line " + std::to_string(line + breaks) + ", column " +
                      std::to_string(Column(text, line_start, at)) + ": " +
                      std::string(outcome == CsvSplitter::Outcome::OpenQuote ? kCsvOpenQuote
                                                                             : kCsvTextAfterQuote));
    }
    if (!splitter.Blank()) {
      CsvRecord record{{splitter.fields().begin(), splitter.fields().end()}, line};
      records.push_back(std::move(record));
    }
    const std::string_view whole = text.substr(i, end - i);
    line += static_cast<int>(std::count(whole.begin(), whole.end(), '\n')) + 1;
    i = end + 1;
  }
}

void AppendCsvField(std::string& out, std::string_view field) {
  const std::size_t start = out.size();
  out.resize(start + CsvFieldRoom(field));
  out.resize(static_cast<std::size_t>(PutCsvField(out.data() + start, field) - out.data()));
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
