#include "cli/output.h"

#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>

#include "numtext/error.h"
#include "numtext/numtext.h"

namespace project1::cli {

Format FormatFromName(std::string_view name) {
  if (name == "text") return Format::Text;
  if (name == "csv") return Format::Csv;
  if (name == "json") return Format::Json;
  throw Error(ErrorKind::TypeMismatch,
              "--format \"" + std::string(name) + "\" is not one of text, csv, json.");
}

std::string TextNumber(double value, std::string_view pattern) {
  constexpr double kScientificFrom = 1e15;
  if (!std::isfinite(value) || std::fabs(value) < kScientificFrom) {
    return FormatNumber(value, pattern);
  }
  char buffer[32];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
  return std::string(buffer, result.ptr);
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
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      throw Error(ErrorKind::FileError,
                  "Cannot write " + std::string(what) + ": " + std::strerror(errno) + ".");
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

void FdSink::Drain() {
  WriteAll(fd_, buffer, what_);
  buffer.clear();
}

}  // namespace project1::cli
