// Any text: either a finite double that reads back the same from its own shortest text, or a
// type-mismatch / overflow error with a message.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "numtext/numtext.h"

using project1::Error;
using project1::Fault;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  double value = 0;
  try {
    value = project1::TextToNumber(text, "specific gravity");
  } catch (const Error& e) {
    if (e.fault() != Fault::TypeMismatch && e.fault() != Fault::Overflow) std::abort();
    if (std::string_view(e.what()).empty()) std::abort();
    return 0;
  }
  if (!std::isfinite(value)) std::abort();
  if (project1::TextToNumber(project1::NumberToText(value)) != value) std::abort();
  return 0;
}
