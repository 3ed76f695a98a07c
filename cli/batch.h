#pragma once
// The batch command's reader: CSV in, one answer row per oil out, streamed in constant memory.
//
// The input's first line is a header naming the columns v40 and v100 (cSt at 40 C and 100 C) or
// vi (the viscosity index, in place of v100 on the rows that leave v100 blank), and optionally
// name and sg (specific gravity), and a bearing's columns (batch_bearing.h); other columns are
// ignored. Every following line
// that is not blank gives exactly one output row, in order: the oil's answers, or an error row
// naming the line's number (the header is line 1). Blank lines give none. In text, a name too
// wide for its column has a line of its own, the values below it in their columns, so that
// every column stays in line however long the names.

#include <cstddef>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/batch_bearing.h"
#include "cli/output.h"
#include "csv/csv.h"
#include "engine/temperature_unit.h"
#include "engine/viscosity_line.h"

namespace project1::cli {

// The value of a field written the plainest way, digits with an optional fraction and no
// leading zero ("46", "0.85", "320.5"), read exactly as TextToNumber reads it (both are
// correctly rounded); nullopt for any other text, which then goes through TextToNumber. This is
// the batch's fast path: most supplier sheets hold nothing else.
std::optional<double> PlainNumber(std::string_view text);

// The number in `field` of the column `column`, with the window's rules and messages
// ('sg "abc" is not a number.').
double BatchFieldNumber(std::string_view column, std::string_view field);

// The name a temperature typed for --at gives its columns: the number as typed and its unit's
// letter, "40c" for "40", "160f" for "160F", "344.15k" for "344.15 K".
std::string AtName(std::string_view typed);

struct BatchSettings {
  Law law = Law::Walther;
  std::vector<double> at;  // temperatures of the answers, C
  // Their names (AtName); where left out, the name of the temperature in degrees C.
  std::vector<std::string> at_names;
  TemperatureUnit unit = TemperatureUnit::Celsius;  // of the temperatures in JSON
  Format format = Format::Csv;
  std::optional<double> expansion;    // thermal expansion per C, with sg taken at 15 C
  std::size_t line_limit = 1U << 16;  // longer lines are error rows
};

class BatchRun {
 public:
  BatchRun(BatchSettings settings, OutputSink& sink);

  // Reads the next bytes of the input; every completed line is answered. A header that lacks
  // v40 or v100, or names a column twice, is Error(BadInput).
  void Feed(std::string_view bytes);
  // The input has ended: answers a last line without a line end and closes the output.
  void Finish();

  std::size_t rows() const { return rows_; }
  std::size_t failed() const { return failed_; }

 private:
  void Line(std::string_view line);
  void TooLong();
  void Header();
  void Row();
  void WriteStart();
  void WriteResult(double v40, double v100, std::optional<double> sg);
  void WriteError(const std::string& message);
  static std::size_t TextWidth(std::size_t column);
  Json JsonStart() const;
  void AppendJsonRow(const Json& row);
  void AppendTextStart();
  // Splits `record` into fields_, with `problem` set ("column 5: a quote is not closed.") when
  // its quotes are malformed.
  CsvSplitter::Outcome Split(std::string_view record, std::string& problem);
  // A record of the input; one whose quoted field is still open at its end waits for the next
  // line when `may_go_on`.
  void Record(std::string_view record, bool may_go_on);
  // The record still waiting for its quote to close, given up: its first line refused, and the
  // lines after it read again as records of their own; `at_end`, until none is left open.
  void CloseOpenRecord(bool at_end);

  BatchSettings settings_;
  OutputSink& sink_;
  std::size_t line_number_ = 0;
  std::string pending_;    // the start of a line whose end has not come yet
  bool overlong_ = false;  // the pending line passed the limit; skip to its end
  bool header_seen_ = false;
  std::size_t rows_ = 0;
  std::size_t failed_ = 0;

  std::size_t header_columns_ = 0;
  std::optional<std::size_t> name_column_, v40_column_, v100_column_, vi_column_, sg_column_;
  CsvSplitter splitter_;
  std::span<const std::string_view> fields_;  // the record's, as split
  // The record being read: its first line's number and, while a quoted field in it is open at
  // a line's end, its lines so far.
  std::size_t record_line_ = 0;
  std::string open_record_;
  bool record_open_ = false;
  std::string_view name_;
  // The output's columns, described once for all three formats (their keys and labels kept in
  // texts_), and the values of the row being written.
  std::vector<Field> columns_;
  std::size_t text_columns_ = 0;  // the columns text shows, the first ones
  std::vector<bool> within_;      // each temperature lies within the oils' data, 40 to 100 °C
  std::deque<std::string> texts_;
  std::vector<Value> values_;
  std::vector<Field> point_fields_;  // of each temperature's JSON, in the unit asked for
  BatchBearing bearing_;             // the bearing columns, when the header names them
  // The temperatures made ready for the law's lines once; none where one is refused.
  std::vector<std::optional<LineTemperature>> prepared_;
};

}  // namespace project1::cli
