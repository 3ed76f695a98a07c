// Any five input texts through the whole calculation. Every result text shown reads back as a
// finite number; either all four are shown and the table file is a complete table, or a typed
// error stops the calculation and the previous table file stays byte-identical.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/calculate.h"
#include "numtext/numtext.h"
#include "table_file/table_file.h"
#include "test_support.h"

namespace {

using namespace project1;

void Require(bool ok) {
  if (!ok) std::abort();
}

bool IsShowable(const std::string& text) {
  return !text.empty() && text.find("inf") == std::string::npos &&
         text.find("nan") == std::string::npos;
}

bool IsCompleteTable(const std::optional<std::string>& bytes) {
  if (!bytes || bytes->rfind(" Temp, C\t viscosity, cSt\r\n", 0) != 0) return false;
  std::size_t lines = 0;
  for (std::size_t i = 0; i + 1 < bytes->size(); ++i) lines += (*bytes)[i] == '\r';
  return lines == 60 && bytes->size() >= 2 && bytes->substr(bytes->size() - 2) == "\r\n" &&
         bytes->find("inf") == std::string::npos && bytes->find("nan") == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  CalculationInputs inputs;
  for (std::string* text :
       {&inputs.visc40, &inputs.visc100, &inputs.temp1, &inputs.temp2, &inputs.gravity}) {
    auto end = input.find('\n');
    *text = std::string(input.substr(0, end));
    input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
  }
  const auto table = TableFolder() / kTableFileName;
  const auto before = ReadBytes(table);
  const CalculationOutcome outcome = Calculate(inputs);
  for (const ShownResult& shown : outcome.shown) {
    Require(IsShowable(shown.text));
    Require(std::isfinite(TextToNumber(shown.text)));
  }
  if (outcome.failure) {
    Require(std::string_view(outcome.failure->what()).size() > 0);
    // Once all four results are shown, only the table can fail, and a table names no input.
    Require(outcome.shown.size() < 4 || outcome.failure->subject().empty());
    Require(outcome.table.empty());
    Require(ReadBytes(table) == before);
    return 0;
  }
  Require(outcome.shown.size() == 4);
  Require(TextToNumber(outcome.shown[0].text) > 0);
  Require(TextToNumber(outcome.shown[1].text) > 0);
  Require(IsCompleteTable(ReadBytes(table)));
  return 0;
}
