// Any bytes as the batch command's input, fed in pieces of varying size, in CSV and in JSON:
// either the header is refused (a typed error and no output at all), or the output is the header
// then exactly one row for every record after it, as the reader of the program's files reads
// them, in the order of the lines, each naming its first line's number, and nothing else. Also: the
// batch's fast path for plain numbers reads the whole input and its first field as TextToNumber
// does, whenever it takes them.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/batch.h"
#include "csv/csv.h"
#include "error/error.h"
#include "numtext/numtext.h"

namespace {

using namespace project1;
using namespace project1::cli;

// Aborts the run, naming the line of the property that failed.
void Require(bool ok, int line) {
  if (ok) return;
  std::fprintf(stderr, "batch_fuzz.cpp:%d: the property does not hold\n", line);
  std::abort();
}
#define Require(ok) Require(ok, __LINE__)

class StringSink : public OutputSink {
 public:
  StringSink() : OutputSink(256) {}
  void Drain() override {
    all += buffer;
    buffer.clear();
  }
  std::string all;
};

// The numbers of the lines that must each give one row, where the CSV reader of the program's
// files reads the input whole and each of its records is one line within the batch's limit: the
// records after the header. Nothing otherwise.
std::optional<std::vector<std::size_t>> ExpectedLines(std::string_view input,
                                                      std::size_t line_limit) {
  std::vector<CsvRecord> records;
  try {
    ReadCsvRecords(input, "input", records);
  } catch (const Error&) {
    return std::nullopt;
  }
  for (std::string_view rest = input; !rest.empty();) {
    const std::size_t end = rest.find('\n');
    if (rest.substr(0, end).size() > line_limit) return std::nullopt;
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  std::vector<std::size_t> lines;
  for (const CsvRecord& record : records) {
    for (const std::string& field : record.fields) {
      if (field.find('\n') != std::string::npos) return std::nullopt;
    }
    if (record.line > 1) lines.push_back(static_cast<std::size_t>(record.line));
  }
  return lines;
}

constexpr std::size_t kLineLimit = 48;  // small, so that the fuzzer meets overlong lines

// Runs the batch; false when the header was refused.
bool RunBatch(std::string_view input, Format format, std::string& output) {
  BatchSettings settings;
  settings.at = {40, -20};
  settings.format = format;
  settings.line_limit = kLineLimit;
  StringSink sink;
  BatchRun run(settings, sink);
  try {
    // Pieces of 1, 2, 3... bytes, so that lines are cut at every place across calls.
    std::size_t piece = 1;
    while (!input.empty()) {
      const std::size_t n = std::min(piece, input.size());
      run.Feed(input.substr(0, n));
      input.remove_prefix(n);
      piece = piece % 7 + 1;
    }
    run.Finish();
  } catch (const Error& error) {
    Require(error.kind() == ErrorKind::BadInput);
    sink.Drain();
    Require(sink.all.empty());
    return false;
  }
  sink.Drain();
  Require(run.rows() >= run.failed());
  output = std::move(sink.all);
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  for (std::string_view text : {input, input.substr(0, input.find_first_of(",\n"))}) {
    if (const std::optional<double> plain = PlainNumber(text)) {
      Require(*plain == TextToNumber(text));
    }
  }
  const std::optional<std::vector<std::size_t>> expected = ExpectedLines(input, kLineLimit);

  // JSON: one row a record after the header, in the order of the lines, each naming its first
  // line's number; the rows the reader of files finds, where it reads them all.
  std::string json;
  const bool accepted = RunBatch(input, Format::Json, json);
  std::size_t row_count = 0;
  if (accepted) {
    const nlohmann::json rows = nlohmann::json::parse(json);
    Require(rows.is_array());
    row_count = rows.size();
    std::size_t last = 1;
    for (const nlohmann::json& row : rows) {
      const std::size_t line = row["line"];
      Require(line > last);
      last = line;
      Require(row.contains("error") != row.contains("viscosity_index"));
    }
    if (expected) {
      Require(rows.size() == expected->size());
      for (std::size_t i = 0; i < expected->size(); ++i) Require(rows[i]["line"] == (*expected)[i]);
    }
  }

  // CSV: the same header decision, and text the reader of files reads back as the header and the
  // same number of rows, each starting with its line's number.
  std::string csv;
  Require(RunBatch(input, Format::Csv, csv) == accepted);
  if (accepted) {
    std::vector<CsvRecord> rows;
    ReadCsvRecords(csv, "output", rows);  // an error here aborts the run
    Require(!rows.empty() && rows[0].fields.size() > 1 && rows[0].fields[0] == "line" &&
            rows[0].fields[1] == "name");
    Require(rows.size() == row_count + 1);
  }
  return 0;
}
