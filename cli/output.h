#pragma once
// How the tool writes its answers: the three formats, shortest round-trip numbers, CSV fields,
// aligned text tables and a buffered writer to a file descriptor.

#include <charconv>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace project1::cli {

enum class Format { Text, Csv, Json };

// Number patterns of the text format, for a person.
inline constexpr std::string_view kTemperatureText = "##0.0##";
inline constexpr std::string_view kKinematicText = "###,##0.000";
inline constexpr std::string_view kReynText = "0.0000000000";
inline constexpr std::string_view kMpaSText = "###,##0.000";
inline constexpr std::string_view kIndexText = "##0.000";
inline constexpr std::string_view kSayboltText = "###,##0.00";
inline constexpr std::string_view kFractionText = "0.000000";

// A number of the text format: `pattern` as the window shows numbers, but from 10^15 on (either
// sign) the shortest scientific notation ("1e+300"), which a person can still read.
std::string TextNumber(double value, std::string_view pattern);

// The format named `name` ("text", "csv" or "json"); Error(TypeMismatch) naming the text.
Format FormatFromName(std::string_view name);

// Appends the shortest text that reads back as the same double ("40", "0.85", "6.5e-06").
inline void AppendShortest(std::string& out, double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}
std::string Shortest(double value);

// Appends `field` as one CSV field, quoted (with inner quotes doubled) when it holds a comma, a
// quote, a CR or an LF.
void AppendCsvField(std::string& out, std::string_view field);

// Rows of cells printed as columns two blanks apart, numbers right-aligned and words
// left-aligned, widths counted in characters (UTF-8), each line ending in LF.
class TextTable {
 public:
  enum class Align { Left, Right };
  explicit TextTable(std::vector<Align> columns) : align_(std::move(columns)) {}
  void Add(std::vector<std::string> row) { rows_.push_back(std::move(row)); }
  std::string Render() const;

 private:
  std::vector<Align> align_;
  std::vector<std::vector<std::string>> rows_;
};

// Characters (not bytes) in UTF-8 text.
std::size_t DisplayWidth(std::string_view text);

// The size of the blocks streamed input is read in and streamed output is written in: large
// enough that system calls cost next to nothing, small enough that memory stays flat.
inline constexpr std::size_t kStreamBlock = std::size_t{1} << 18;

// Where streamed output goes: rows are appended to buffer and drained in large blocks, so the
// memory held stays the same however many rows pass through.
class OutputSink {
 public:
  explicit OutputSink(std::size_t block = kStreamBlock) : block_(block) {
    buffer.reserve(block_ + block_ / 4);
  }
  OutputSink(const OutputSink&) = delete;
  OutputSink& operator=(const OutputSink&) = delete;
  virtual ~OutputSink() = default;

  std::string buffer;
  // Drains the buffer once it holds a block or more.
  void MaybeDrain() {
    if (buffer.size() >= block_) Drain();
  }
  // Hands the whole buffer on and empties it.
  virtual void Drain() = 0;

 private:
  std::size_t block_;
};

// Drains to a file descriptor; write errors are Error(FileError) naming `what`.
class FdSink : public OutputSink {
 public:
  FdSink(int fd, std::string what) : fd_(fd), what_(std::move(what)) {}
  void Drain() override;

 private:
  int fd_;
  std::string what_;
};

// Writes all of `bytes` to `fd`; Error(FileError) naming `what` on failure.
void WriteAll(int fd, std::string_view bytes, std::string_view what);

}  // namespace project1::cli
