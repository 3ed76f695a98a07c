// Any bytes as the batch command's input, fed in pieces of varying size, in CSV and in JSON:
// either the header is refused (a typed error and no output at all), or the output is the header
// line then exactly one row for every line after the first that is not blank, in the order of the
// lines, each naming its line's number, and nothing else. Also: the batch's fast path for plain
// numbers reads the whole input and its first field as TextToNumber does, whenever it takes them.
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/batch.h"
#include "error/error.h"
#include "numtext/numtext.h"

namespace {

using namespace project1;
using namespace project1::cli;

void Require(bool ok) {
  if (!ok) std::abort();
}

class StringSink : public OutputSink {
 public:
  StringSink() : OutputSink(256) {}
  void Drain() override {
    all += buffer;
    buffer.clear();
  }
  std::string all;
};

// The numbers of the lines that must each give one row: every line after the first that is
// neither empty nor a lone CR, counting a last line without a line end.
std::vector<std::size_t> ExpectedLines(std::string_view input) {
  std::vector<std::size_t> lines;
  std::size_t number = 0;
  while (!input.empty()) {
    const std::size_t end = input.find('\n');
    const std::string_view line = input.substr(0, end);
    ++number;
    if (number > 1 && !line.empty() && line != "\r") lines.push_back(number);
    if (end == std::string_view::npos) break;
    input.remove_prefix(end + 1);
  }
  return lines;
}

// Runs the batch; false when the header was refused.
bool RunBatch(std::string_view input, Format format, std::string& output) {
  BatchSettings settings;
  settings.at = {40, -20};
  settings.format = format;
  settings.line_limit = 48;  // small, so that the fuzzer meets overlong lines
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
  const std::vector<std::size_t> expected = ExpectedLines(input);

  std::string csv;
  const bool accepted = RunBatch(input, Format::Csv, csv);
  if (accepted) {
    // The header line, then rows that each start with their line's number and a comma. No field
    // holds an LF, so the output's lines are its rows.
    std::vector<std::string_view> rows;
    std::string_view rest = csv;
    while (!rest.empty()) {
      const std::size_t end = rest.find('\n');
      Require(end != std::string_view::npos);  // every row ends with LF
      rows.push_back(rest.substr(0, end));
      rest.remove_prefix(end + 1);
    }
    Require(!rows.empty() && rows[0].rfind("line,name,", 0) == 0);
    Require(rows.size() == expected.size() + 1);
    for (std::size_t i = 0; i < expected.size(); ++i) {
      Require(rows[i + 1].rfind(std::to_string(expected[i]) + ",", 0) == 0);
    }
  }

  std::string json;
  Require(RunBatch(input, Format::Json, json) == accepted);
  if (accepted) {
    const nlohmann::json rows = nlohmann::json::parse(json);
    Require(rows.is_array() && rows.size() == expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      Require(rows[i]["line"] == expected[i]);
      Require(rows[i].contains("error") != rows[i].contains("viscosity_index"));
    }
  }
  return 0;
}
