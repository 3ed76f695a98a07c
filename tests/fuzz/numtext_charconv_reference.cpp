#include "numtext_charconv_reference.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace project1::charconv_reference {
namespace {

constexpr std::size_t kQuotedTextLimit = 40;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The user's text as it may appear in a message: at most kQuotedTextLimit bytes (cut on a UTF-8
// character boundary), control characters shown as "?".
std::string QuoteForMessage(std::string_view text) {
  bool cut = text.size() > kQuotedTextLimit;
  std::size_t end = std::min(text.size(), kQuotedTextLimit);
  if (cut) {
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0U) == 0x80U) --end;
  }
  std::string out = "\"";
  for (char c : text.substr(0, end)) {
    auto u = static_cast<unsigned char>(c);
    out += (u < 0x20 || u == 0x7F) ? '?' : c;
  }
  if (cut) out += "\xE2\x80\xA6";  // ellipsis
  out += '"';
  return out;
}

[[noreturn]] void Fail(ErrorKind kind, std::string_view text, std::string_view what) {
  std::string message;
  if (what.empty()) {
    message = QuoteForMessage(text);
  } else {
    message = "The " + std::string(what) + " " + QuoteForMessage(text);
  }
  if (kind == ErrorKind::Overflow) {
    message += " is too large.";
  } else {
    message += " is not a number.";
    if (text.find(',') != std::string_view::npos) {
      message += " Use \".\" for decimals and \",\" only between groups of three digits.";
    }
  }
  throw Error(kind, message, what);
}

// A number in the accepted grammar, taken apart.
struct NumberParts {
  bool negative = false;
  std::string integer;   // digits, grouping removed
  std::string fraction;  // digits
  long exponent = 0;     // clamped to +-kExponentLimit
};

constexpr long kExponentLimit = 1000000000;

// Integer digits, plain ("12345") or grouped in threes after a first group of one to three
// digits that does not start with zero ("12,345"). Returns false on a malformed grouping.
bool ReadInteger(std::string_view s, std::size_t& i, std::string& digits) {
  std::size_t start = i;
  while (i < s.size() && IsDigit(s[i])) digits += s[i++];
  if (i >= s.size() || s[i] != ',') return true;
  std::size_t first_group = i - start;
  if (first_group < 1 || first_group > 3) return false;
  // "0,870" is a decimal comma, not a thousands group: grouped numbers start with 1 to 9.
  if (s[start] == '0') return false;
  while (i < s.size() && s[i] == ',') {
    ++i;
    for (int k = 0; k < 3; ++k, ++i) {
      if (i >= s.size() || !IsDigit(s[i])) return false;
      digits += s[i];
    }
  }
  return i >= s.size() || !IsDigit(s[i]);
}

bool Parse(std::string_view s, NumberParts& parts) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) parts.negative = s[i++] == '-';
  if (!ReadInteger(s, i, parts.integer)) return false;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) parts.fraction += s[i++];
  }
  if (parts.integer.empty() && parts.fraction.empty()) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    bool negative_exponent = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative_exponent = s[i++] == '-';
    if (i >= s.size() || !IsDigit(s[i])) return false;
    while (i < s.size() && IsDigit(s[i])) {
      parts.exponent = std::min(parts.exponent * 10 + (s[i++] - '0'), kExponentLimit);
    }
    if (negative_exponent) parts.exponent = -parts.exponent;
  }
  return i == s.size();
}

// Decimal position of the first significant digit (1 for "1", 0 for "0.5", -1 for "0.05"),
// exponent included; 0 when every digit is zero.
long LeadingDigitPosition(const NumberParts& parts) {
  auto nonzero = parts.integer.find_first_not_of('0');
  if (nonzero != std::string::npos) {
    return static_cast<long>(parts.integer.size() - nonzero) + parts.exponent;
  }
  nonzero = parts.fraction.find_first_not_of('0');
  if (nonzero != std::string::npos) return -static_cast<long>(nonzero) + parts.exponent;
  return 0;
}

double ToDouble(std::string_view text, std::string_view what) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  NumberParts parts;
  if (!Parse(text.substr(begin, end - begin), parts)) Fail(ErrorKind::TypeMismatch, text, what);

  const double zero = parts.negative ? -0.0 : 0.0;
  std::string significant = parts.integer + parts.fraction;
  significant.erase(0, std::min(significant.find_first_not_of('0'), significant.size()));
  if (significant.empty()) return zero;

  // value = 0.<significant> * 10^position; far outside the double range, decide directly.
  const long position = LeadingDigitPosition(parts);
  if (position > 400) Fail(ErrorKind::Overflow, text, what);
  if (position < -400) return zero;

  std::string plain = parts.negative ? "-0." : "0.";
  plain += significant;
  plain += "e" + std::to_string(position);
  double value = 0;
  auto [ptr, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (ec == std::errc::result_out_of_range) {
    if (position > 0) Fail(ErrorKind::Overflow, text, what);
    return zero;  // below the smallest double
  }
  if (ec != std::errc() || ptr != plain.data() + plain.size() || !std::isfinite(value)) {
    Fail(ErrorKind::TypeMismatch, text, what);
  }
  return value;
}

// A display pattern taken apart.
struct Pattern {
  int min_integer_digits = 0;  // placeholders from the first "0" of the integer part
  bool grouping = false;       // "," between integer placeholders
  int decimals = 0;            // placeholders after "."
  int min_decimals = 0;        // placeholders up to the last "0" after "."
};

Pattern ParsePattern(std::string_view pattern) {
  auto bad = [&] {
    throw Error(ErrorKind::TypeMismatch,
                "The display pattern \"" + std::string(pattern) + "\" is not supported.");
  };
  Pattern p;
  auto dot = pattern.find('.');
  std::string_view integer = pattern.substr(0, dot);
  std::string_view fraction =
      dot == std::string_view::npos ? std::string_view() : pattern.substr(dot + 1);

  bool seen_zero = false;
  for (std::size_t i = 0; i < integer.size(); ++i) {
    char c = integer[i];
    if (c == ',') {
      bool between =
          i > 0 && i + 1 < integer.size() && integer[i - 1] != ',' && integer[i + 1] != ',';
      if (!between) bad();
      p.grouping = true;
    } else if (c == '0' || c == '#') {
      seen_zero = seen_zero || c == '0';
      if (seen_zero) ++p.min_integer_digits;
    } else {
      bad();
    }
  }
  for (char c : fraction) {
    if (c != '0' && c != '#') bad();
    ++p.decimals;
    if (c == '0') p.min_decimals = p.decimals;
  }
  return p;
}

std::string Grouped(const std::string& digits) {
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

}  // namespace

double TextToNumber(std::string_view text) { return ToDouble(text, {}); }

double TextToNumber(std::string_view text, std::string_view what) {
  return ToDouble(text, what.empty() ? std::string_view("input") : what);
}

std::string NumberToText(double value) {
  if (std::isnan(value)) return "not a number";
  if (std::isinf(value)) return value > 0 ? "infinity" : "-infinity";
  if (value == 0) return "0";
  char buffer[400];  // a double's longest plain shortest form is under 330 characters
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  return std::string(buffer, result.ptr);
}

std::string NumberToText(short value) { return std::to_string(value); }

std::string FormatNumber(double value, std::string_view pattern) {
  if (!std::isfinite(value)) {
    throw Error(ErrorKind::InvalidOperation, "The result is not a finite number.");
  }
  const Pattern p = ParsePattern(pattern);

  // Exact decimal expansion of |value|, rounded to the pattern's decimals.
  std::string text(330 + static_cast<std::size_t>(p.decimals), '\0');
  auto result = std::to_chars(text.data(), text.data() + text.size(), std::fabs(value),
                              std::chars_format::fixed, p.decimals);
  text.resize(static_cast<std::size_t>(result.ptr - text.data()));

  auto dot = text.find('.');
  std::string integer = text.substr(0, dot);
  std::string fraction = dot == std::string::npos ? std::string() : text.substr(dot + 1);

  integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size()));
  if (static_cast<int>(integer.size()) < p.min_integer_digits) {
    integer.insert(0, static_cast<std::size_t>(p.min_integer_digits) - integer.size(), '0');
  }
  while (static_cast<int>(fraction.size()) > p.min_decimals && fraction.back() == '0') {
    fraction.pop_back();
  }

  bool shows_nonzero = integer.find_first_not_of('0') != std::string::npos ||
                       fraction.find_first_not_of('0') != std::string::npos;
  std::string out = (value < 0 && shows_nonzero) ? "-" : "";
  out += p.grouping ? Grouped(integer) : integer;
  if (!fraction.empty()) out += "." + fraction;
  if (integer.empty() && fraction.empty()) out += "0";
  return out;
}

}  // namespace project1::charconv_reference
