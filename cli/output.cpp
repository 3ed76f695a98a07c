#include "cli/output.h"

#include <system_error>

#include "numtext/error.h"
#include "platform/file_calls.h"

namespace project1::cli {

Format FormatFromName(std::string_view name) {
  if (name == "text") return Format::Text;
  if (name == "csv") return Format::Csv;
  if (name == "json") return Format::Json;
  throw Error(ErrorKind::TypeMismatch,
              "--format \"" + std::string(name) + "\" is not one of text, csv, json.");
}

std::string Shortest(double value) {
  std::string out;
  AppendShortest(out, value);
  return out;
}

void AppendCsvField(std::string& out, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += field;
    return;
  }
  out += '"';
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

std::size_t DisplayWidth(std::string_view text) {
  std::size_t width = 0;
  for (char c : text) width += (static_cast<unsigned char>(c) & 0xC0U) != 0x80U;
  return width;
}

std::string TextTable::Render() const {
  std::vector<std::size_t> widths(align_.size(), 0);
  for (const auto& row : rows_) {
    for (std::size_t i = 0; i < row.size() && i < widths.size(); ++i) {
      widths[i] = std::max(widths[i], DisplayWidth(row[i]));
    }
  }
  std::string out;
  for (const auto& row : rows_) {
    std::string line;
    for (std::size_t i = 0; i < row.size() && i < widths.size(); ++i) {
      if (i > 0) line += "  ";
      const std::string pad(widths[i] - DisplayWidth(row[i]), ' ');
      if (align_[i] == Align::Right) {
        line += pad + row[i];
      } else {
        line += row[i];
        if (i + 1 < row.size()) line += pad;
      }
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out += line;
    out += '\n';
  }
  return out;
}

void WriteAll(int fd, std::string_view bytes, std::string_view what) {
  const std::error_code error = platform::WriteAll(platform::HandleOfDescriptor(fd), bytes);
  if (error) {
    throw Error(ErrorKind::FileError,
                "Cannot write " + std::string(what) + ": " + error.message() + ".");
  }
}

void FdSink::Drain() {
  WriteAll(fd_, buffer, what_);
  buffer.clear();
}

}  // namespace project1::cli
