#include "cli/batch.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "cli/batch_bearing.h"
#include "cli/fields.h"
#include "cli/within_data.h"
#include "csv/csv.h"
#include "engine/oil_properties.h"
#include "engine/temperature_unit.h"
#include "error/error.h"
#include "numtext/numtext.h"
#include "oils/name_key.h"
#include "oils/oil_limits.h"

namespace project1::cli {

namespace {

bool IsBlank(std::string_view text) { return TrimBlanks(text).empty(); }

// The number in `field` of the column `column`, with the window's rules and messages.
double FieldNumber(std::string_view column, std::string_view field) {
  if (const std::optional<double> plain = PlainNumber(field)) return *plain;
  try {
    return TextToNumber(field);
  } catch (const Error& error) {
    throw Error(error.kind(), std::string(column) + " " + error.what());
  }
}

constexpr std::size_t kLineWidth = 6;
constexpr std::size_t kNameWidth = 16;
constexpr std::size_t kIndexWidth = 5;
constexpr std::size_t kGradeWidth = 8;
constexpr std::size_t kNumberWidth = 16;

// The columns every answer row starts with, and the error's, which ends it.
constexpr Field kLineField{"line", "", "line"};
constexpr Field kBatchNameField = Labelled(kNameField, "", "name");
constexpr Field kBatchIndexField = Labelled(kIndexField, "", "VI", "-");
constexpr Field kBatchGradeField = Labelled(kGradeField, "", "ISO VG");
constexpr Field kErrorField{"error"};
constexpr std::size_t kStartColumns = 4;

}  // namespace

std::optional<double> PlainNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  if (i == 0 || (text[0] == '0' && i > 1)) return std::nullopt;
  if (i < text.size()) {
    if (text[i] != '.') return std::nullopt;
    const std::size_t point = ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    if (i == point || i != text.size()) return std::nullopt;
  }
  double value = 0;
  if (!ReadDecimal(text, value)) return std::nullopt;
  return value;
}

double BatchFieldNumber(std::string_view column, std::string_view field) {
  return FieldNumber(column, field);
}

std::string AtName(std::string_view typed) {
  typed = TrimBlanks(typed);
  char letter = 'c';
  if (!typed.empty()) {
    const char last = typed.back();
    if (last == 'C' || last == 'c' || last == 'F' || last == 'f' || last == 'K' || last == 'k') {
      letter = static_cast<char>(last | 0x20);  // lower case
      typed.remove_suffix(1);
    }
  }
  return NumberToText(TextToNumber(typed)) + letter;
}

BatchRun::BatchRun(BatchSettings settings, OutputSink& sink)
    : settings_(std::move(settings)),
      sink_(sink),
      point_fields_(InUnit(kPointFields, settings_.unit)) {
  for (const double t : settings_.at) within_.push_back(kRange40To100.Contains(t));
  for (const double t : settings_.at) {
    try {
      prepared_.emplace_back(PrepareTemperature(settings_.law, t));
    } catch (const Error&) {
      prepared_.emplace_back();  // refused on every row, with the row's line number
    }
  }
}

void BatchRun::Feed(std::string_view bytes) {
  while (!bytes.empty()) {
    const void* found = std::memchr(bytes.data(), '\n', bytes.size());
    if (found == nullptr) {
      if (!overlong_ && pending_.size() + bytes.size() > settings_.line_limit) {
        overlong_ = true;
        pending_.clear();
        pending_.shrink_to_fit();
      }
      if (!overlong_) pending_ += bytes;
      return;
    }
    const auto length = static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data());
    const std::string_view piece = bytes.substr(0, length);
    bytes.remove_prefix(length + 1);
    ++line_number_;
    if (overlong_ || pending_.size() + piece.size() > settings_.line_limit) {
      overlong_ = false;
      pending_.clear();
      TooLong();
      continue;
    }
    if (pending_.empty()) {
      Line(piece);
    } else {
      pending_ += piece;
      Line(pending_);
      pending_.clear();
    }
  }
}

void BatchRun::Finish() {
  if (overlong_ || !pending_.empty()) {
    ++line_number_;
    if (overlong_) {
      overlong_ = false;
      TooLong();
    } else {
      const std::string last = std::move(pending_);
      pending_.clear();
      Line(last);
    }
  }
  CloseOpenRecord(true);
  if (!header_seen_) {
    throw Error(ErrorKind::BadInput,
                "The input is empty: its first line must be a header naming v40 and v100.");
  }
  if (settings_.format == Format::Json) sink_.buffer += rows_ == 0 ? "]\n" : "\n]\n";
  if (settings_.format == Format::Text &&
      std::find(within_.begin(), within_.end(), false) != within_.end()) {
    sink_.buffer += OutsideDataNote(kRange40To100, settings_.unit, "each oil's");
  }
}

void BatchRun::TooLong() {
  CloseOpenRecord(true);
  record_line_ = line_number_;
  // The line's bytes are gone; only its number is left.
  const std::string problem = "longer than " + std::to_string(settings_.line_limit) + " bytes.";
  if (!header_seen_) throw Error(ErrorKind::BadInput, "line 1: the header is " + problem);
  ++rows_;
  name_ = {};
  WriteError("line " + std::to_string(line_number_) + ": the line is " + problem);
}

void BatchRun::Line(std::string_view line) {
  if (!record_open_) {
    if (!header_seen_ && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
    record_line_ = line_number_;
    Record(line, true);
    return;
  }
  if (open_record_.size() + 1 + line.size() > settings_.line_limit) {
    // A quote left open would otherwise take every line after it into one record.
    CloseOpenRecord(false);
    Line(line);  // after what is still open of the lines read again
    return;
  }
  open_record_ += '\n';
  open_record_ += line;
  std::string problem;
  switch (Split(open_record_, problem)) {
    case CsvSplitter::Outcome::OpenQuote:
      return;  // it goes on
    case CsvSplitter::Outcome::Malformed:
      CloseOpenRecord(false);  // its quote held no line break after all
      return;
    case CsvSplitter::Outcome::Record:
      break;
  }
  record_open_ = false;
  const std::string record = std::move(open_record_);
  open_record_.clear();
  Record(record, false);
}

void BatchRun::CloseOpenRecord(bool at_end) {
  do {
    if (!record_open_) return;
    record_open_ = false;
    const std::string record = std::move(open_record_);
    open_record_.clear();
    const std::size_t first_end = record.find('\n');
    const std::size_t first_line = record_line_;
    Record(std::string_view(record).substr(0, first_end), false);  // its open quote named
    if (first_end == std::string::npos) continue;
    // The lines after it are read again, each as a record of its own: one quote left open
    // hides no other row.
    const std::size_t current = line_number_;
    std::string_view rest = std::string_view(record).substr(first_end + 1);
    for (line_number_ = first_line + 1;; ++line_number_) {
      const std::size_t end = rest.find('\n');
      Line(rest.substr(0, end));
      if (end == std::string_view::npos) break;
      rest.remove_prefix(end + 1);
    }
    line_number_ = current;
  } while (at_end);
}

void BatchRun::Record(std::string_view record, bool may_go_on) {
  std::string problem;
  const CsvSplitter::Outcome outcome = Split(record, problem);
  if (outcome == CsvSplitter::Outcome::OpenQuote && may_go_on &&
      record.size() < settings_.line_limit) {
    record_open_ = true;  // the record goes on in the next line
    open_record_ = record;
    return;
  }
  if (outcome != CsvSplitter::Outcome::Record) {
    if (!header_seen_) throw Error(ErrorKind::BadInput, "line 1, " + problem);
    ++rows_;
    name_ = {};
    WriteError("line " + std::to_string(record_line_) + ", " + problem);
    return;
  }
  if (!header_seen_) {
    Header();
    return;
  }
  if (splitter_.Blank()) return;
  Row();
}

CsvSplitter::Outcome BatchRun::Split(std::string_view record, std::string& problem) {
  const CsvSplitter::Outcome outcome = splitter_.Split(record);
  fields_ = splitter_.fields();
  if (outcome == CsvSplitter::Outcome::Record) return outcome;
  const std::size_t at = splitter_.problem_at();
  const std::string_view before = record.substr(0, at);
  const std::size_t last_break = before.rfind('\n');
  const std::size_t line_start = last_break == std::string_view::npos ? 0 : last_break + 1;
  std::size_t column = 1;
  for (std::size_t i = line_start; i < at; ++i) {
    if ((static_cast<unsigned char>(record[i]) & 0xC0) != 0x80) ++column;
  }
  problem =
      "column " + std::to_string(column) + ": " +
      std::string(outcome == CsvSplitter::Outcome::OpenQuote ? kCsvOpenQuote : kCsvTextAfterQuote);
  return outcome;
}

void BatchRun::Header() {
  header_seen_ = true;
  if (const std::optional<std::string> semicolons =
          SemicolonHeaderProblem({{fields_.begin(), fields_.end()}, 1})) {
    throw Error(ErrorKind::BadInput, "line 1: " + *semicolons);
  }
  header_columns_ = fields_.size();
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    const std::string name = NameKey(fields_[i]);
    std::optional<std::size_t>* slot = nullptr;
    if (name == "name") slot = &name_column_;
    if (name == "v40") slot = &v40_column_;
    if (name == "v100") slot = &v100_column_;
    if (name == "sg") slot = &sg_column_;
    if (name == "vi") slot = &vi_column_;
    if (slot == nullptr) {
      bearing_.Take(name, i);
      continue;
    }
    if (slot->has_value()) {
      throw Error(ErrorKind::BadInput, "line 1: the header names the column " + name + " twice.");
    }
    *slot = i;
  }
  if (!v40_column_) {
    throw Error(ErrorKind::BadInput,
                "line 1: the header names no v40 column; it must name at least v40 and v100.");
  }
  if (!v100_column_ && !vi_column_) {
    throw Error(ErrorKind::BadInput,
                "line 1: the header names no v100 column; it must name at least v40 and v100 (or "
                "vi).");
  }
  WriteStart();
}

void BatchRun::WriteStart() {
  const bool dynamic = sg_column_.has_value();
  columns_ = {kLineField, kBatchNameField, kBatchIndexField, kBatchGradeField};
  std::vector<std::string> at_names;
  for (std::size_t i = 0; i < settings_.at.size(); ++i) {
    const std::string at =
        at_names.emplace_back(i < settings_.at_names.size() ? settings_.at_names[i]
                                                            : NumberToText(settings_.at[i]) + "c");
    const std::string_view label = texts_.emplace_back(
        "at " + DegreesText(at.substr(0, at.size() - 1), UnitOfLetter(at.back())) +
        (within_[i] ? "" : " " + std::string(kOutsideMark)));
    for (const Field& field : {kKinematicField, kReynField, kMpaSField}) {
      if (!dynamic && field.key != kKinematicField.key) continue;
      const std::string_view key = texts_.emplace_back(std::string(field.key) + "_at_" + at);
      columns_.push_back({key, label, field.unit, field.pattern, "-"});
    }
  }
  bearing_.AddColumns(at_names, columns_, texts_);
  // The law and whether each temperature lies within the data, in CSV and JSON only: the text
  // names the law above its columns and marks a temperature outside the data in its heading.
  text_columns_ = columns_.size();
  columns_.push_back(kLawField);
  for (std::size_t i = 0; i < settings_.at.size(); ++i) {
    columns_.push_back(
        {texts_.emplace_back(std::string(kWithinDataField.key) + "_at_" + at_names[i])});
  }
  columns_.push_back(kErrorField);
  values_.resize(columns_.size());

  std::string& out = sink_.buffer;
  switch (settings_.format) {
    case Format::Csv:
      AppendCsvHeader(out, columns_);
      break;
    case Format::Json:
      out += "[";
      break;
    case Format::Text: {
      // The law, then two heading lines: the columns' labels, then their units.
      std::string first(kLineWidth, ' ');
      std::string second(kLineWidth - kLineField.unit.size(), ' ');
      second += kLineField.unit;
      for (std::size_t i = 1; i < text_columns_; ++i) {
        AppendTextCell(first, columns_[i].label, TextWidth(i), i == 1);
        AppendTextCell(second, columns_[i].unit, TextWidth(i), i == 1);
      }
      out += LawHeading(settings_.law) + first + "\n" + second + "\n";
      break;
    }
  }
}

std::size_t BatchRun::TextWidth(std::size_t column) {
  constexpr std::size_t kStartWidths[kStartColumns] = {kLineWidth, kNameWidth, kIndexWidth,
                                                       kGradeWidth};
  return column < kStartColumns ? kStartWidths[column] : kNumberWidth;
}

void BatchRun::Row() {
  ++rows_;
  name_ = {};
  if (name_column_ && *name_column_ < fields_.size()) name_ = fields_[*name_column_];
  std::size_t needed = *v40_column_ + 1;
  for (const auto& column : {v100_column_, vi_column_, sg_column_}) {
    if (column) needed = std::max(needed, *column + 1);
  }
  needed = std::max(needed, bearing_.needed());
  if (fields_.size() < needed) {
    WriteError("line " + std::to_string(record_line_) + ": " + std::to_string(fields_.size()) +
               (fields_.size() == 1 ? " field" : " fields") + " where the header has " +
               std::to_string(header_columns_) + ".");
    return;
  }
  try {
    const double v40 = FieldNumber("v40", fields_[*v40_column_]);
    const bool by_v100 = v100_column_ && !IsBlank(fields_[*v100_column_]);
    const bool by_index = vi_column_ && !IsBlank(fields_[*vi_column_]);
    if (by_v100 == by_index) {
      throw Error(ErrorKind::BadInput,
                  by_index ? "give v100 or vi, not both." : "the row gives neither v100 nor vi.");
    }
    double v100 = 0;
    if (by_v100) {
      v100 = FieldNumber("v100", fields_[*v100_column_]);
    } else {
      const double index = FieldNumber("vi", fields_[*vi_column_]);
      const std::optional<double> solved = Nu100ForIndex(v40, index);
      if (!solved) {
        throw Error(ErrorKind::BadInput,
                    "no v100 from 2 cSt up gives an oil of " + NumberToText(v40) +
                        " cSt at 40 °C a viscosity index of " + NumberToText(index) + ".");
      }
      v100 = *solved;
    }
    std::optional<double> sg;
    if (sg_column_ && !IsBlank(fields_[*sg_column_])) {
      const std::string_view text = TrimBlanks(fields_[*sg_column_]);
      sg = CheckedGravity("sg", FieldNumber("sg", text), text);
    }
    WriteResult(v40, v100, sg);
  } catch (const Error& error) {
    WriteError("line " + std::to_string(record_line_) + ": " + error.what());
  }
}

void BatchRun::WriteResult(double v40, double v100, std::optional<double> sg) {
  // Everything is computed before anything is written, so a failure leaves no partial row.
  const ViscosityLine line = FitLine40100(settings_.law, v40, v100);
  const std::optional<long> index = RoundedViscosityIndexOf(v40, v100);  // all the batch shows
  const std::optional<int> grade = IsoGrade(v40);
  const bool dynamic_columns = sg_column_.has_value();
  values_[0] = static_cast<long long>(record_line_);
  values_[1] = name_;
  values_[2] = IndexValue(index);
  values_[3] = GradeValue(grade);
  std::size_t column = kStartColumns;
  for (std::size_t i = 0; i < settings_.at.size(); ++i) {
    const double t = settings_.at[i];
    const double nu = prepared_[i] ? KinematicAt(line, *prepared_[i]) : KinematicAt(line, t);
    values_[column++] = nu;
    if (!dynamic_columns) continue;
    Value reyn, mpa_s;
    if (sg) {
      const double gravity =
          settings_.expansion ? ExpandedGravity(*sg, *settings_.expansion, t) : *sg;
      reyn = DynamicReyn(nu, gravity);
      mpa_s = ReynToMpaS(std::get<double>(reyn));
    }
    values_[column++] = reyn;
    values_[column++] = mpa_s;
  }
  const std::span<Value> bearing = std::span(values_).subspan(column, bearing_.size());
  bearing_.Answer(fields_, line, settings_.at, bearing);
  column += bearing_.size();
  values_[column++] = LawName(settings_.law);
  for (const bool within : within_) values_[column++] = std::string_view(within ? "true" : "false");
  values_[column] = Value();

  std::string& out = sink_.buffer;
  switch (settings_.format) {
    case Format::Csv:
      AppendCsvRow(out, values_);
      break;
    case Format::Json: {
      Json row = JsonStart();
      AddToJson(row, std::span(columns_).subspan(2, 2), std::span(values_).subspan(2, 2));
      row[std::string(kLawField.key)] = LawName(settings_.law);
      row["at"] = Json::array();
      const std::size_t per_t = dynamic_columns ? 3 : 1;
      for (std::size_t i = 0; i < settings_.at.size(); ++i) {
        const Value* nu = &values_[kStartColumns + i * per_t];
        const Value point[] = {settings_.at[i], nu[0], sg ? nu[1] : Value(), sg ? nu[2] : Value()};
        const std::size_t fields = sg ? 4 : 2;
        Json& at = row["at"].emplace_back(
            JsonOf(std::span(point_fields_).first(fields), std::span(point, fields)));
        at[std::string(kWithinDataField.key)] = static_cast<bool>(within_[i]);
      }
      bearing_.AddToJsonRow(bearing, row, row["at"]);
      AppendJsonRow(row);
      break;
    }
    case Format::Text: {
      AppendTextStart();
      if (DisplayWidth(name_) > kNameWidth) {
        // A name wider than its column has the line to itself; the values follow below it, in
        // their columns.
        out += '\n';
        out.append(kLineWidth + 2 + kNameWidth, ' ');
      }
      for (std::size_t i = 2; i < text_columns_; ++i) {
        AppendTextCell(out, TextOf(columns_[i], values_[i]), TextWidth(i));
      }
      while (!out.empty() && out.back() == ' ') out.pop_back();
      out += '\n';
      break;
    }
  }
  sink_.MaybeDrain();
}

void BatchRun::WriteError(const std::string& message) {
  ++failed_;
  std::fill(values_.begin(), values_.end(), Value());
  values_[0] = static_cast<long long>(record_line_);
  values_[1] = name_;
  values_.back() = std::string_view(message);
  std::string& out = sink_.buffer;
  switch (settings_.format) {
    case Format::Csv:
      AppendCsvRow(out, values_);
      break;
    case Format::Json: {
      Json row = JsonStart();
      row[std::string(kErrorField.key)] = message;
      AppendJsonRow(row);
      break;
    }
    case Format::Text: {
      AppendTextStart();
      out += "  error: ";
      for (char c : message) out += c == '\n' || c == '\r' ? ' ' : c;
      out += '\n';
      break;
    }
  }
  sink_.MaybeDrain();
}

Json BatchRun::JsonStart() const {
  // The line's number, the oil's name when the input has names, and no more for an error row.
  const std::size_t start = name_column_ ? 2 : 1;
  Json row = Json::object();
  AddToJson(row, std::span(columns_).first(start), std::span(values_).first(start));
  return row;
}

void BatchRun::AppendJsonRow(const Json& row) {
  std::string& out = sink_.buffer;
  out += rows_ == 1 ? "\n" : ",\n";
  out += row.dump(-1, ' ', false, Json::error_handler_t::replace);
}

void BatchRun::AppendTextStart() {
  // The input's line number, right-aligned, and the oil's name.
  std::string& out = sink_.buffer;
  const std::string number = std::to_string(record_line_);
  out.append(number.size() < kLineWidth ? kLineWidth - number.size() : 0, ' ');
  out += number;
  AppendTextCell(out, name_, kNameWidth, true);
}

}  // namespace project1::cli
