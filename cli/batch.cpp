#include "cli/batch.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <nlohmann/json.hpp>

#include "engine/oil_properties.h"
#include "numtext/error.h"
#include "numtext/numtext.h"

namespace project1::cli {

namespace {

using Json = nlohmann::ordered_json;

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

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

// Room for any number to_chars writes: a double's shortest form or a 64-bit integer.
constexpr std::size_t kNumberRoom = 32;

template <typename Number>
char* PutNumber(char* at, Number value) {
  return std::to_chars(at, at + kNumberRoom, value).ptr;
}

// `field` as one CSV field (see AppendCsvField); needs room for 2 * size + 2 characters.
char* PutCsvField(char* at, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    if (!field.empty()) std::memcpy(at, field.data(), field.size());
    return at + field.size();
  }
  *at++ = '"';
  for (char c : field) {
    if (c == '"') *at++ = '"';
    *at++ = c;
  }
  *at++ = '"';
  return at;
}

// A cell of the text format: `text` right-aligned in `width` characters, after two blanks.
void AppendCell(std::string& out, std::string_view text, std::size_t width, bool left = false) {
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

constexpr std::size_t kLineWidth = 6;
constexpr std::size_t kNameWidth = 16;
constexpr std::size_t kIndexWidth = 5;
constexpr std::size_t kGradeWidth = 8;
constexpr std::size_t kNumberWidth = 16;

// The start of a text row: the input's line number, right-aligned, and the oil's name.
void AppendTextRowStart(std::string& out, std::size_t line_number, std::string_view name) {
  const std::string number = std::to_string(line_number);
  out += std::string(number.size() < kLineWidth ? kLineWidth - number.size() : 0, ' ');
  out += number;
  AppendCell(out, name, kNameWidth, true);
}

// The start of a JSON row: the input's line number and, when the input has names, the oil's.
Json JsonRowStart(std::size_t line_number, bool name_column, std::string_view name) {
  Json row;
  row["line"] = line_number;
  if (name_column) row["name"] = std::string(name);
  return row;
}

// Appends the `rows`th row to the JSON array, on a line of its own.
void AppendJsonRow(std::string& out, std::size_t rows, const Json& row) {
  out += rows == 1 ? "\n" : ",\n";
  out += row.dump(-1, ' ', false, Json::error_handler_t::replace);
}

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
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

BatchRun::BatchRun(BatchSettings settings, OutputSink& sink)
    : settings_(std::move(settings)), sink_(sink) {
  for (double t : settings_.at) at_labels_.push_back(NumberToText(t));
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
  if (!header_seen_) {
    throw Error(ErrorKind::TypeMismatch,
                "The input is empty: its first line must be a header naming v40 and v100.");
  }
  if (settings_.format == Format::Json) sink_.buffer += rows_ == 0 ? "]\n" : "\n]\n";
}

void BatchRun::TooLong() {
  // The line's bytes are gone; only its number is left.
  const std::string problem = "longer than " + std::to_string(settings_.line_limit) + " bytes.";
  if (!header_seen_) throw Error(ErrorKind::TypeMismatch, "line 1: the header is " + problem);
  ++rows_;
  name_ = {};
  WriteError("line " + std::to_string(line_number_) + ": the line is " + problem);
}

void BatchRun::Line(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (!header_seen_) {
    Header(line);
    return;
  }
  if (line.empty()) return;
  Row(line);
}

bool BatchRun::Split(std::string_view line, std::string& problem) {
  fields_.clear();
  std::size_t i = 0;
  while (true) {
    const std::size_t column = fields_.size();
    // A quoted field may have blanks before its opening quote.
    std::size_t start = i;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
    if (start < line.size() && line[start] == '"') {
      if (unquoted_.size() <= column) unquoted_.resize(column + 1);
      std::string& text = unquoted_[column];
      text.clear();
      std::size_t j = start + 1;
      bool closed = false;
      while (j < line.size()) {
        const char c = line[j++];
        if (c == '"') {
          if (j < line.size() && line[j] == '"') {
            text += '"';
            ++j;
          } else {
            closed = true;
            break;
          }
        } else {
          text += c;
        }
      }
      if (!closed) {
        problem = "the quote that opens field " + std::to_string(column + 1) + " is not closed.";
        return false;
      }
      while (j < line.size() && (line[j] == ' ' || line[j] == '\t')) ++j;
      if (j < line.size() && line[j] != ',') {
        problem = "text follows the closing quote of field " + std::to_string(column + 1) + ".";
        return false;
      }
      fields_.emplace_back(text);
      if (j >= line.size()) return true;
      i = j + 1;
    } else {
      const std::size_t comma = line.find(',', i);
      const std::string_view field =
          line.substr(i, comma == std::string_view::npos ? std::string_view::npos : comma - i);
      if (field.find('"') != std::string_view::npos) {
        problem = "field " + std::to_string(column + 1) + " has a quote inside it.";
        return false;
      }
      fields_.push_back(field);
      if (comma == std::string_view::npos) return true;
      i = comma + 1;
    }
  }
}

void BatchRun::Header(std::string_view line) {
  header_seen_ = true;
  if (line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);  // a byte order mark
  std::string problem;
  if (!Split(line, problem)) throw Error(ErrorKind::TypeMismatch, "line 1: " + problem);
  columns_ = fields_.size();
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    const std::string name = Lower(TrimBlanks(fields_[i]));
    std::optional<std::size_t>* slot = nullptr;
    if (name == "name") slot = &name_column_;
    if (name == "v40") slot = &v40_column_;
    if (name == "v100") slot = &v100_column_;
    if (name == "sg") slot = &sg_column_;
    if (slot == nullptr) continue;
    if (slot->has_value()) {
      throw Error(ErrorKind::TypeMismatch,
                  "line 1: the header names the column " + name + " twice.");
    }
    *slot = i;
  }
  for (auto [slot, name] : {std::pair{&v40_column_, "v40"}, std::pair{&v100_column_, "v100"}}) {
    if (!slot->has_value()) {
      throw Error(ErrorKind::TypeMismatch, std::string("line 1: the header names no ") + name +
                                               " column; it must name at least v40 and v100.");
    }
  }
  WriteStart();
}

void BatchRun::WriteStart() {
  std::string& out = sink_.buffer;
  const bool dynamic = sg_column_.has_value();
  switch (settings_.format) {
    case Format::Csv:
      out += "line,name,viscosity_index,iso_vg";
      for (const std::string& t : at_labels_) {
        out += ",kinematic_cst_at_" + t + "c";
        if (dynamic) out += ",dynamic_reyn_at_" + t + "c,dynamic_mpa_s_at_" + t + "c";
      }
      out += ",error\n";
      break;
    case Format::Json:
      out += "[";
      break;
    case Format::Text: {
      std::string first, second;
      first += std::string(kLineWidth, ' ');
      second += std::string(kLineWidth - 4, ' ') + "line";
      AppendCell(first, "", kNameWidth, true);
      AppendCell(second, "name", kNameWidth, true);
      AppendCell(first, "", kIndexWidth);
      AppendCell(second, "VI", kIndexWidth);
      AppendCell(first, "", kGradeWidth);
      AppendCell(second, "ISO VG", kGradeWidth);
      for (const std::string& t : at_labels_) {
        AppendCell(first, "at " + t + " °C", kNumberWidth);
        AppendCell(second, "cSt", kNumberWidth);
        if (dynamic) {
          AppendCell(first, "at " + t + " °C", kNumberWidth);
          AppendCell(second, "reyn", kNumberWidth);
          AppendCell(first, "at " + t + " °C", kNumberWidth);
          AppendCell(second, "mPa·s", kNumberWidth);
        }
      }
      out += first + "\n" + second + "\n";
      break;
    }
  }
}

void BatchRun::Row(std::string_view line) {
  ++rows_;
  name_ = {};
  std::string problem;
  if (!Split(line, problem)) {
    WriteError("line " + std::to_string(line_number_) + ": " + problem);
    return;
  }
  if (name_column_ && *name_column_ < fields_.size()) name_ = fields_[*name_column_];
  std::size_t needed = std::max(*v40_column_, *v100_column_) + 1;
  if (sg_column_) needed = std::max(needed, *sg_column_ + 1);
  if (fields_.size() < needed) {
    WriteError("line " + std::to_string(line_number_) + ": " + std::to_string(fields_.size()) +
               (fields_.size() == 1 ? " field" : " fields") + " where the header has " +
               std::to_string(columns_) + ".");
    return;
  }
  try {
    const double v40 = FieldNumber("v40", fields_[*v40_column_]);
    const double v100 = FieldNumber("v100", fields_[*v100_column_]);
    std::optional<double> sg;
    if (sg_column_ && !IsBlank(fields_[*sg_column_])) sg = FieldNumber("sg", fields_[*sg_column_]);
    WriteResult(v40, v100, sg);
  } catch (const Error& error) {
    WriteError("line " + std::to_string(line_number_) + ": " + error.what());
  }
}

void BatchRun::WriteResult(double v40, double v100, std::optional<double> sg) {
  // Everything is computed before anything is written, so a failure leaves no partial row.
  const ViscosityLine line = FitLine40100(settings_.law, v40, v100);
  const std::optional<ViscosityIndex> index = ViscosityIndexOf(v40, v100);
  const std::optional<int> grade = IsoGrade(v40);
  const std::size_t n = settings_.at.size();
  double nu[16], reyn[16], mpa[16];
  std::vector<double> heap;
  double* values[3] = {nu, reyn, mpa};
  if (n > 16) {
    heap.resize(3 * n);
    values[0] = heap.data();
    values[1] = heap.data() + n;
    values[2] = heap.data() + 2 * n;
  }
  for (std::size_t i = 0; i < n; ++i) {
    const double t = settings_.at[i];
    values[0][i] = KinematicAt(line, t);
    if (sg) {
      const double gravity = settings_.expansion ? GravityAt(*sg, *settings_.expansion, t) : *sg;
      values[1][i] = DynamicReyn(values[0][i], gravity);
      values[2][i] = ReynToMpaS(values[1][i]);
    }
  }

  const bool dynamic_columns = sg_column_.has_value();
  std::string& out = sink_.buffer;
  switch (settings_.format) {
    case Format::Csv: {
      // Written straight into the buffer, within room reserved for the longest row.
      const std::size_t start = out.size();
      out.resize(start + 2 * name_.size() + 8 + (3 + 3 * n) * kNumberRoom);
      char* at = out.data() + start;
      at = PutNumber(at, line_number_);
      *at++ = ',';
      at = PutCsvField(at, name_);
      *at++ = ',';
      if (index) at = PutNumber(at, index->rounded);
      *at++ = ',';
      if (grade) at = PutNumber(at, *grade);
      for (std::size_t i = 0; i < n; ++i) {
        *at++ = ',';
        at = PutNumber(at, values[0][i]);
        if (dynamic_columns) {
          *at++ = ',';
          if (sg) at = PutNumber(at, values[1][i]);
          *at++ = ',';
          if (sg) at = PutNumber(at, values[2][i]);
        }
      }
      *at++ = ',';
      *at++ = '\n';
      out.resize(static_cast<std::size_t>(at - out.data()));
      break;
    }
    case Format::Json: {
      Json row = JsonRowStart(line_number_, name_column_.has_value(), name_);
      row["viscosity_index"] = index ? Json(index->rounded) : Json(nullptr);
      row["iso_vg"] = grade ? Json(*grade) : Json(nullptr);
      Json at = Json::array();
      for (std::size_t i = 0; i < n; ++i) {
        Json point;
        point["temperature_c"] = settings_.at[i];
        point["kinematic_cst"] = values[0][i];
        if (sg) {
          point["dynamic_reyn"] = values[1][i];
          point["dynamic_mpa_s"] = values[2][i];
        }
        at.push_back(std::move(point));
      }
      row["at"] = std::move(at);
      AppendJsonRow(out, rows_, row);
      break;
    }
    case Format::Text: {
      AppendTextRowStart(out, line_number_, name_);
      AppendCell(out, index ? std::to_string(index->rounded) : "-", kIndexWidth);
      AppendCell(out, grade ? "VG " + std::to_string(*grade) : "none", kGradeWidth);
      for (std::size_t i = 0; i < n; ++i) {
        AppendCell(out, TextNumber(values[0][i], kKinematicText), kNumberWidth);
        if (dynamic_columns) {
          AppendCell(out, sg ? TextNumber(values[1][i], kReynText) : "-", kNumberWidth);
          AppendCell(out, sg ? TextNumber(values[2][i], kMpaSText) : "-", kNumberWidth);
        }
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
  std::string& out = sink_.buffer;
  switch (settings_.format) {
    case Format::Csv: {
      out += std::to_string(line_number_);
      out += ',';
      AppendCsvField(out, name_);
      const std::size_t empty = 2 + settings_.at.size() * (sg_column_ ? 3 : 1);
      out.append(empty, ',');
      out += ',';
      AppendCsvField(out, message);
      out += '\n';
      break;
    }
    case Format::Json: {
      Json row = JsonRowStart(line_number_, name_column_.has_value(), name_);
      row["error"] = message;
      AppendJsonRow(out, rows_, row);
      break;
    }
    case Format::Text: {
      AppendTextRowStart(out, line_number_, name_);
      out += "  error: ";
      for (char c : message) out += c == '\n' || c == '\r' ? ' ' : c;
      out += '\n';
      break;
    }
  }
  sink_.MaybeDrain();
}

}  // namespace project1::cli
