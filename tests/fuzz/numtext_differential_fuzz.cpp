// The numbers layer against its earlier <charconv> form: every input is read as a text (with and
// without a named input) and its first eight bytes as a double, written as its shortest text and
// under a display pattern the next byte picks, or under the input's own tail as a pattern. Results,
// error kinds, subjects and messages must be the same; any difference aborts. The shortest text
// with an exponent and the plain decimal reading are compared with std::to_chars and
// std::from_chars.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "numtext/numtext.h"
#include "numtext_charconv_reference.h"

namespace {

namespace reference = project1::charconv_reference;

// A result or the error that stood in its place.
template <typename T>
struct Outcome {
  std::optional<T> value;
  project1::ErrorKind kind{};
  std::string message;
  std::string subject;
};

template <typename T, typename Call>
Outcome<T> Run(Call call) {
  Outcome<T> out;
  try {
    out.value = call();
  } catch (const project1::Error& e) {
    out.kind = e.kind();
    out.message = e.what();
    out.subject = e.subject();
  }
  return out;
}

bool SameDouble(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

template <typename T>
bool Same(const Outcome<T>& a, const Outcome<T>& b) {
  if (a.value.has_value() != b.value.has_value()) return false;
  if (!a.value) return a.kind == b.kind && a.message == b.message && a.subject == b.subject;
  if constexpr (std::is_same_v<T, double>) {
    return SameDouble(*a.value, *b.value);
  } else {
    return *a.value == *b.value;
  }
}

void CompareReading(std::string_view text) {
  if (!Same(Run<double>([&] { return project1::TextToNumber(text); }),
            Run<double>([&] { return reference::TextToNumber(text); }))) {
    std::abort();
  }
  if (!Same(Run<double>([&] { return project1::TextToNumber(text, "specific gravity"); }),
            Run<double>([&] { return reference::TextToNumber(text, "specific gravity"); }))) {
    std::abort();
  }
}

// The plain reading of files other programs write, against std::from_chars.
void CompareDecimalReading(std::string_view text) {
  double expected = 0;
  const char* const last = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), last, expected);
  const bool accepted = ec == std::errc() && ptr == last && !text.empty() && text.front() != '-' &&
                        std::isfinite(expected);
  double value = 0;
  if (project1::ReadDecimal(text, value) != accepted) std::abort();
  if (accepted && !SameDouble(value, expected)) std::abort();
}

void CompareFormatting(double value, std::string_view pattern) {
  if (!Same(Run<std::string>([&] { return project1::FormatNumber(value, pattern); }),
            Run<std::string>([&] { return reference::FormatNumber(value, pattern); }))) {
    std::abort();
  }
}

constexpr std::string_view kPatterns[] = {project1::kKinematicPattern,
                                          project1::kDynamicPattern,
                                          project1::kTemperaturePattern,
                                          project1::kTableViscosityPattern,
                                          "0",
                                          "#,##0.00000000000000000000"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CompareReading(text);
  CompareDecimalReading(text);
  if (size < sizeof(double)) return 0;

  double value = 0;
  std::memcpy(&value, data, sizeof value);
  const std::string shortest = project1::NumberToText(value);
  if (shortest != reference::NumberToText(value)) std::abort();
  // The shortest text read back, both ways round.
  CompareReading(shortest);
  // The shortest text with or without exponent, against std::to_chars.
  char buffer[64];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
  const std::string general = project1::ShortestText(value);
  if (general != std::string_view(buffer, static_cast<std::size_t>(written.ptr - buffer))) {
    std::abort();
  }
  CompareDecimalReading(general);
  // One display pattern, picked by the next byte, or the tail itself as a pattern: any text,
  // most of them refused alike.
  const std::size_t pick = size > sizeof(double) ? data[sizeof(double)] : 0;
  if (pick < std::size(kPatterns)) {
    CompareFormatting(value, kPatterns[pick]);
  } else if (pick < 2 * std::size(kPatterns)) {
    CompareFormatting(value, kPatterns[pick - std::size(kPatterns)]);
  } else {
    CompareFormatting(value, text.substr(sizeof(double) + 1, 40));
  }
  const auto small = static_cast<short>(data[0] | (data[1] << 8));
  if (project1::NumberToText(small) != reference::NumberToText(small)) std::abort();
  return 0;
}
