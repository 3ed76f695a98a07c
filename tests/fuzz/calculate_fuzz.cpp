// Any five input texts through the whole calculation against the in-memory window. Either the
// window shows four result texts that read back as finite numbers and the table file is a
// complete table, or a typed error stops the calculation in its documented state: the notice
// and the colours unchanged and the previous table file byte-identical.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/calculate.h"
#include "engine/table_file.h"
#include "fake_form.h"
#include "numtext/numtext.h"

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
  const char* names[] = {"vc", "vh", "tref", "tref2", "SG"};
  FakeForm form;
  for (const char* name : names) {
    auto end = input.find('\n');
    form.Box(name).shown = std::string(input.substr(0, end));
    input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
  }
  const auto table = TableFolder() / kTableFileName;
  const auto before = ReadBytes(table);
  try {
    CalculateViscosity();
  } catch (const Error& e) {
    Require(std::string_view(e.what()).size() > 0);
    Require(form.Notice().caption.empty());
    Require(form.Box("vcalc").back_colour != kLightGreen);
    Require(ReadBytes(table) == before);
    return 0;
  }
  for (const char* box : {"vcalc", "vcalc2", "DynVisc", "DynVisc2"}) {
    const std::string& text = form.Box(box).shown;
    Require(IsShowable(text));
    Require(std::isfinite(TextToNumber(text)));
    Require(form.Box(box).back_colour == kLightGreen);
  }
  Require(TextToNumber(form.Box("vcalc").shown) > 0);
  Require(TextToNumber(form.Box("vcalc2").shown) > 0);
  Require(IsCompleteTable(ReadBytes(table)));
  return 0;
}
