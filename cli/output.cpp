#include "cli/output.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>
#include <type_traits>

#include "csv/csv.h"
#include "error/error.h"
#include "numtext/numtext.h"
#include "platform/file_calls.h"

namespace project1::cli {

namespace {

// Room for any number written: a double's shortest form or a 64-bit integer.
constexpr std::size_t kNumberRoom = kShortestTextRoom;

// Rows of cells printed as columns two blanks apart, right- or left-aligned, widths counted in
// characters, each line ending in LF with no blanks before it.
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

// `words` joined by `separator`.
std::string Joined(Words words, std::string_view separator) {
  std::string out;
  for (const std::string& word : words) {
    if (!out.empty()) out += separator;
    out += word;
  }
  return out;
}

}  // namespace

std::size_t DisplayWidth(std::string_view text) {
  std::size_t width = 0;
  for (char c : text) width += (static_cast<unsigned char>(c) & 0xC0U) != 0x80U;
  return width;
}

std::string JsonText(const Json& json) {
  return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::string JsonRecordWithRows(std::span<const Field> record_fields, std::span<const Value> record,
                               std::string_view key, std::span<const Field> row_fields,
                               std::span<const std::vector<Value>> rows) {
  Json out = JsonOf(record_fields, record);
  Json& array = out[std::string(key)] = Json::array();
  for (const std::vector<Value>& row : rows) array.push_back(JsonOf(row_fields, row));
  return JsonText(out);
}

std::span<const std::string_view> FormatNames() {
  static constexpr std::string_view kNames[] = {"text", "csv", "json"};
  return kNames;
}

Field InUnit(Field field, TemperatureUnit unit) {
  if (field.temperature) field.shown = unit;
  return field;
}

std::vector<Field> InUnit(std::span<const Field> fields, TemperatureUnit unit) {
  std::vector<Field> out;
  out.reserve(fields.size());
  for (const Field& field : fields) out.push_back(InUnit(field, unit));
  return out;
}

std::string KeyOf(const Field& field) {
  std::string key(field.key);
  if (field.temperature && field.shown != TemperatureUnit::Celsius && key.ends_with("_c")) {
    key.back() = UnitLetter(field.shown)[0] == 'F' ? 'f' : 'k';
  }
  return key;
}

std::string UnitOf(const Field& field) {
  constexpr std::string_view kCelsius = UnitSymbol(TemperatureUnit::Celsius);
  if (!field.temperature || !field.unit.starts_with(kCelsius)) return std::string(field.unit);
  return std::string(UnitSymbol(field.shown)) + std::string(field.unit.substr(kCelsius.size()));
}

std::vector<Value> Shown(std::span<const Field> fields, std::span<const Value> values) {
  std::vector<Value> out(values.begin(), values.end());
  for (std::size_t i = 0; i < fields.size() && i < out.size(); ++i) {
    const double* t = std::get_if<double>(&out[i]);
    if (fields[i].temperature && t != nullptr) out[i] = FromCelsius(*t, fields[i].shown);
  }
  return out;
}

std::string TextOf(const Field& field, const Value& given) {
  const Value value = field.temperature && std::holds_alternative<double>(given)
                          ? Value(FromCelsius(std::get<double>(given), field.shown))
                          : given;
  if (std::holds_alternative<std::monostate>(value)) return std::string(field.none);
  if (const auto* word = std::get_if<std::string_view>(&value)) return std::string(*word);
  if (const auto* words = std::get_if<Words>(&value)) {
    return words->empty() ? std::string(field.none) : Joined(*words, ", ");
  }
  const double number = std::holds_alternative<double>(value)
                            ? std::get<double>(value)
                            : static_cast<double>(std::get<long long>(value));
  if (IsShownInScientific(number)) return ScientificShortestText(number);
  if (field.pattern.empty()) return NumberToText(number);
  // Words before the placeholders are shown as they are.
  const std::size_t digits = std::min(field.pattern.find_first_of("#0"), field.pattern.size());
  return std::string(field.pattern.substr(0, digits)) +
         FormatNumber(number, field.pattern.substr(digits));
}

void AppendCsvHeader(std::string& out, std::span<const Field> fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out += ',';
    out += KeyOf(fields[i]);
  }
  out += '\n';
}

void AppendCsvRow(std::string& out, std::span<const Value> values) {
  // Written straight into the string, within room reserved for the longest line.
  std::size_t room = values.size() + 1;
  for (const Value& value : values) {
    if (const auto* word = std::get_if<std::string_view>(&value)) {
      room += CsvFieldRoom(*word);
    } else if (const auto* words = std::get_if<Words>(&value)) {
      for (const std::string& one : *words) room += 2 * one.size() + 3;
      room += 2;
    } else {
      room += kNumberRoom;
    }
  }
  const std::size_t start = out.size();
  out.resize(start + room);
  char* at = out.data() + start;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) *at++ = ',';
    const Value& value = values[i];
    if (const auto* number = std::get_if<double>(&value)) {
      at = PutShortestText(at, *number);
    } else if (const auto* whole = std::get_if<long long>(&value)) {
      at = std::to_chars(at, at + kNumberRoom, *whole).ptr;
    } else if (const auto* word = std::get_if<std::string_view>(&value)) {
      at = PutCsvField(at, *word);
    } else if (const auto* words = std::get_if<Words>(&value)) {
      at = PutCsvField(at, Joined(*words, " "));
    }
  }
  *at++ = '\n';
  out.resize(static_cast<std::size_t>(at - out.data()));
}

Json JsonOf(std::span<const Field> fields, std::span<const Value> values) {
  Json out = Json::object();
  AddToJson(out, fields, values);
  return out;
}

void AddToJson(Json& out, std::span<const Field> fields, std::span<const Value> values) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    Json& slot = out[KeyOf(fields[i])];
    const double* t = std::get_if<double>(&values[i]);
    if (fields[i].temperature && t != nullptr) {
      slot = FromCelsius(*t, fields[i].shown);
      continue;
    }
    std::visit(
        [&slot](const auto& value) {
          using Type = std::decay_t<decltype(value)>;
          if constexpr (std::is_same_v<Type, std::string_view>) {
            slot = std::string(value);
          } else if constexpr (std::is_same_v<Type, Words>) {
            slot = Json::array();
            for (const std::string& word : value) slot.push_back(word);
          } else if constexpr (!std::is_same_v<Type, std::monostate>) {
            slot = value;
          }
        },
        values[i]);
  }
}

std::string RenderRecord(std::span<const Field> fields, std::span<const Value> values,
                         Format format) {
  switch (format) {
    case Format::Json:
      return JsonText(JsonOf(fields, values));
    case Format::Csv: {
      std::string out;
      AppendCsvHeader(out, fields);
      AppendCsvRow(out, Shown(fields, values));
      return out;
    }
    case Format::Text: {
      TextTable table({TextTable::Align::Left, TextTable::Align::Left});
      for (std::size_t i = 0; i < fields.size(); ++i) {
        const Field& field = fields[i];
        const bool shown =
            !std::holds_alternative<std::monostate>(values[i]) || !field.none.empty();
        if (field.label.empty() || !shown) continue;
        std::string text = TextOf(field, values[i]);
        if (!field.unit.empty()) text += " " + UnitOf(field);
        table.Add({std::string(field.label), std::move(text)});
      }
      return table.Render();
    }
  }
  return {};
}

std::string RenderRows(std::span<const Field> fields, const std::vector<std::vector<Value>>& rows,
                       Format format) {
  switch (format) {
    case Format::Json: {
      Json out = Json::array();
      for (const std::vector<Value>& row : rows) out.push_back(JsonOf(fields, row));
      return JsonText(out);
    }
    case Format::Csv: {
      std::string out;
      AppendCsvHeader(out, fields);
      for (const std::vector<Value>& row : rows) AppendCsvRow(out, Shown(fields, row));
      return out;
    }
    case Format::Text: {
      std::vector<TextTable::Align> align(fields.size(), TextTable::Align::Right);
      std::vector<std::string> labels, units;
      for (const Field& field : fields) {
        labels.emplace_back(field.label);
        units.push_back(UnitOf(field));
      }
      std::vector<std::vector<std::string>> cells;
      for (const std::vector<Value>& row : rows) {
        std::vector<std::string>& line = cells.emplace_back();
        for (std::size_t i = 0; i < fields.size(); ++i) {
          if (std::holds_alternative<std::string_view>(row[i]) ||
              std::holds_alternative<Words>(row[i])) {
            align[i] = TextTable::Align::Left;
          }
          line.push_back(TextOf(fields[i], row[i]));
        }
      }
      TextTable table(std::move(align));
      table.Add(std::move(labels));
      table.Add(std::move(units));
      for (std::vector<std::string>& line : cells) table.Add(std::move(line));
      return table.Render();
    }
  }
  return {};
}

void AppendTextCell(std::string& out, std::string_view text, std::size_t width, bool left) {
  const std::size_t shown = DisplayWidth(text);
  const std::string pad(shown < width ? width - shown : 0, ' ');
  out += "  ";
  if (left) {
    out += text;
    out += pad;
  } else {
    out += pad;
    out += text;
  }
}

void WriteAll(int fd, std::string_view bytes, std::string_view what) {
  const std::error_code error = platform::WriteAll(platform::HandleOfDescriptor(fd), bytes);
  if (error) {
    throw Error(ErrorKind::File,
                "Cannot write " + std::string(what) + ": " + error.message() + ".");
  }
}

void FdSink::Drain() {
  WriteAll(fd_, buffer, what_);
  buffer.clear();
}

}  // namespace project1::cli
