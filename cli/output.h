#pragma once
// How the tool writes its answers. A command describes the fields of its answer once (key,
// label, unit, pattern) and hands over its values; the renderer writes them as text for a
// person, as CSV or as JSON. Also: aligned text tables and a buffered writer to a file
// descriptor, for streamed output.

#include <cstddef>
#include <nlohmann/json.hpp>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "engine/temperature_unit.h"
#include "numtext/numtext.h"

namespace project1::cli {

enum class Format { Text, Csv, Json };

// The formats' names in their order: "text", "csv", "json".
std::span<const std::string_view> FormatNames();

// The number patterns of the text format are numtext.h's (kTemperatureText and the others).

// One field of an answer.
struct Field {
  constexpr Field(std::string_view key_, std::string_view label_ = {}, std::string_view unit_ = {},
                  std::string_view pattern_ = {}, std::string_view none_ = {})
      : key(key_), label(label_), unit(unit_), pattern(pattern_), none(none_) {}
  std::string_view key;      // the CSV column and the JSON key
  std::string_view label;    // text: the row's label, or the column's first heading line; a
                             // field without one is left out of a text record
  std::string_view unit;     // text: after the value, or the column's second heading line
  std::string_view pattern;  // text: the number's display pattern, which may start with words
                             // ("VG 0"); none: the shortest plain decimal
  std::string_view none;     // text: shown for no value; none in a record: the row is left out
  // A temperature, given in degrees C, is shown in `shown`: its value converted, the "c" that
  // ends its key and the "°C" that starts its unit replaced ("temperature_f", "°F").
  bool temperature = false;
  TemperatureUnit shown = TemperatureUnit::Celsius;
};

// `field` marked as a temperature.
constexpr Field TemperatureField(Field field) {
  field.temperature = true;
  return field;
}
// The fields with their temperatures shown in `unit`.
std::vector<Field> InUnit(std::span<const Field> fields, TemperatureUnit unit);
Field InUnit(Field field, TemperatureUnit unit);

// The field's CSV column and JSON key, and its unit for a person, in the unit it is shown in.
std::string KeyOf(const Field& field);
std::string UnitOf(const Field& field);

// A list of words: a JSON array; in CSV one field, blank-separated; in text comma-separated, or
// the field's text for no value when empty.
using Words = std::span<const std::string>;

// A field's value: nothing (JSON null, an empty CSV field), a number, a whole number, a word or a
// list of words.
using Value = std::variant<std::monostate, double, long long, std::string_view, Words>;

// A value in the text format, by its field's pattern. Numbers from 10^15 on (either sign) are
// shown in the shortest scientific notation ("1e+300"), which a person can still read.
std::string TextOf(const Field& field, const Value& value);

// One CSV line: the fields' keys, or the values (numbers in their shortest form).
void AppendCsvHeader(std::string& out, std::span<const Field> fields);
void AppendCsvRow(std::string& out, std::span<const Value> values);
// The values of the fields, each temperature converted to the unit its field is shown in.
std::vector<Value> Shown(std::span<const Field> fields, std::span<const Value> values);

// A JSON object of the fields' keys and values.
using Json = nlohmann::ordered_json;
Json JsonOf(std::span<const Field> fields, std::span<const Value> values);
// `json` indented by two blanks, ending in LF; bytes that are not UTF-8 replaced.
std::string JsonText(const Json& json);
// The JSON text of a record whose array `key` holds one object a row: {record..., key: [rows]}.
std::string JsonRecordWithRows(std::span<const Field> record_fields, std::span<const Value> record,
                               std::string_view key, std::span<const Field> row_fields,
                               std::span<const std::vector<Value>> rows);
// Adds the fields' keys and values to the JSON object `object`.
void AddToJson(Json& object, std::span<const Field> fields, std::span<const Value> values);
// One answer in `format`: an object in JSON, a header and a line in CSV, a row of label, value
// and unit for each field in text.
std::string RenderRecord(std::span<const Field> fields, std::span<const Value> values,
                         Format format);
// Rows of answers in `format`: an array of objects in JSON, a header and a line each in CSV,
// columns under two heading lines (labels, units) in text, words left and numbers right.
std::string RenderRows(std::span<const Field> fields, const std::vector<std::vector<Value>>& rows,
                       Format format);

// Characters (not bytes) in UTF-8 text: its width in a text table.
std::size_t DisplayWidth(std::string_view text);

// Appends two blanks and `text` padded to `width` characters: right-aligned, or left-aligned.
void AppendTextCell(std::string& out, std::string_view text, std::size_t width, bool left = false);

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
