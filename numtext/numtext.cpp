#include "numtext/numtext.h"

#include <fast_float/fast_float.h>
#include <fmt/format.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <system_error>

namespace project1 {
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

[[noreturn]] void Fail(Fault kind, std::string_view text, std::string_view what) {
  std::string message;
  if (what.empty()) {
    message = QuoteForMessage(text);
  } else {
    message = "The " + std::string(what) + " " + QuoteForMessage(text);
  }
  if (kind == Fault::Overflow) {
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
  if (!Parse(text.substr(begin, end - begin), parts)) Fail(Fault::TypeMismatch, text, what);

  const double zero = parts.negative ? -0.0 : 0.0;
  std::string significant = parts.integer + parts.fraction;
  significant.erase(0, std::min(significant.find_first_not_of('0'), significant.size()));
  if (significant.empty()) return zero;

  // value = 0.<significant> * 10^position; far outside the double range, decide directly.
  const long position = LeadingDigitPosition(parts);
  if (position > 400) Fail(Fault::Overflow, text, what);
  if (position < -400) return zero;

  std::string plain = parts.negative ? "-0." : "0.";
  plain += significant;
  plain += "e" + std::to_string(position);
  double value = 0;
  const char* const last = plain.data() + plain.size();
  auto [ptr, ec] = fast_float::from_chars(plain.data(), last, value);
  if (ec != std::errc() || ptr != last) Fail(Fault::TypeMismatch, text, what);
  // Beyond the largest double the reading gives infinity, below the smallest one zero.
  if (std::isinf(value)) Fail(Fault::Overflow, text, what);
  if (value == 0) return zero;
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
    throw Error(Fault::TypeMismatch,
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

// Appends `zeros` zeros and then `digits`, grouped in threes by "," when `grouping`.
void AppendInteger(std::string& out, std::size_t zeros, std::string_view digits, bool grouping) {
  const std::size_t size = zeros + digits.size();
  if (!grouping || size <= 3) {
    out.append(zeros, '0');
    out += digits;
    return;
  }
  for (std::size_t i = 0; i < size; ++i) {
    if (grouping && i > 0 && (size - i) % 3 == 0) out += ',';
    out += i < zeros ? '0' : digits[i - zeros];
  }
}

char* PutZerosBefore(char* at, int count) {
  for (int i = 0; i < count; ++i) *at++ = '0';
  return at;
}

// Powers of ten up to 10^19, the most a 64-bit unsigned integer holds.
constexpr std::uint64_t kPowersOfTen[] = {1U,
                                          10U,
                                          100U,
                                          1000U,
                                          10000U,
                                          100000U,
                                          1000000U,
                                          10000000U,
                                          100000000U,
                                          1000000000U,
                                          10000000000U,
                                          100000000000U,
                                          1000000000000U,
                                          10000000000000U,
                                          100000000000000U,
                                          1000000000000000U,
                                          10000000000000000U,
                                          100000000000000000U,
                                          1000000000000000000U,
                                          10000000000000000000U};

// The exact decimal expansion of `magnitude` (finite, not negative) rounded to `decimals`
// places, an exact half to the even digit, as "<integer>[.<decimals>]", the way
// fmt::format("{:.Nf}") writes it: in 128-bit integers, for a magnitude below 2^53 and up to 19
// decimals. False, with nothing written, for any other.
bool ExactExpansion(double magnitude, int decimals, fmt::memory_buffer& out) {
  if (!(magnitude < 9007199254740992.0) || decimals < 0 || decimals > 19) return false;
  std::uint64_t bits = 0;
  std::memcpy(&bits, &magnitude, sizeof bits);
  const auto biased = static_cast<int>(bits >> 52);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  int exponent = -1074;
  if (biased != 0) {
    mantissa |= std::uint64_t{1} << 52;
    exponent = biased - 1075;
  }
  __extension__ using Wide = unsigned __int128;
  const std::uint64_t scale = kPowersOfTen[decimals];
  Wide scaled = 0;  // magnitude * 10^decimals, rounded to a whole number
  if (exponent >= 0) {
    scaled = Wide{mantissa << exponent} * scale;
  } else if (exponent > -128) {
    const Wide exact = Wide{mantissa} * scale;  // below 2^117
    const int shift = -exponent;
    scaled = exact >> shift;
    const Wide rest = exact & ((Wide{1} << shift) - 1);
    const Wide half = Wide{1} << (shift - 1);
    if (rest > half || (rest == half && (scaled & 1U) != 0)) ++scaled;
  }  // else below 2^-74: nothing shows in 19 decimals, and nothing rounds up to show
  std::uint64_t whole = 0;
  std::uint64_t fraction = 0;
  if (scaled >> 64 == 0) {  // mostly: a 64-bit division is the cheaper
    whole = static_cast<std::uint64_t>(scaled) / scale;
    fraction = static_cast<std::uint64_t>(scaled) % scale;
  } else {
    whole = static_cast<std::uint64_t>(scaled / scale);
    fraction = static_cast<std::uint64_t>(scaled - Wide{whole} * scale);
  }
  char digits[48];
  const int whole_digits = fmt::detail::count_digits(whole);
  char* at = fmt::detail::format_decimal(digits, whole, whole_digits).end;
  if (decimals > 0) {
    *at++ = '.';
    const int fraction_digits = fraction == 0 ? 1 : fmt::detail::count_digits(fraction);
    at = PutZerosBefore(at, decimals - fraction_digits);
    at = fmt::detail::format_decimal(at, fraction, fraction_digits).end;
  }
  out.append(digits, at);
  return true;
}

// The shortest digits that read back as `value` (not zero, finite) and where the decimal point
// goes: value = 0.<digits> * 10^point, from {fmt}'s shortest algorithm (Dragonbox) called
// directly, so that nothing is allocated and no format string is read. The digits are written
// straight to where they go.
struct ShortestDigits {
  bool negative = false;
  std::uint64_t significand = 0;  // the digits, no trailing zero
  int count = 0;                  // of digits
  long point = 0;
};

ShortestDigits Shortest(double value) {
  ShortestDigits out;
  out.negative = std::signbit(value);
  const auto decimal = fmt::detail::dragonbox::to_decimal(std::fabs(value));
  out.significand = decimal.significand;
  long exponent = decimal.exponent;
  while (out.significand % 10 == 0) {  // Dragonbox leaves none, but its contract does not say so
    out.significand /= 10;
    ++exponent;
  }
  out.count = fmt::detail::count_digits(out.significand);
  out.point = out.count + exponent;
  return out;
}

// Eight decimal digits of `value` (below 10^8), leading zeros included, at `at`. The four pairs,
// then the eight digits, are split at once in one 64-bit word, each step a multiplication and a
// shift in place of a division: x / 100 is (x * 10486) >> 20 below 10^4, and x / 10 is
// (x * 103) >> 10 below 100, exactly.
void PutEightDigits(char* at, std::uint32_t value) {
  if constexpr (std::endian::native == std::endian::little) {
    const std::uint64_t halves = (value / 10000) | (std::uint64_t{value % 10000} << 32);
    const std::uint64_t hundreds = ((halves * 10486) >> 20) & 0x0000007F0000007FU;
    const std::uint64_t pairs = hundreds | ((halves - hundreds * 100) << 16);
    const std::uint64_t tens = ((pairs * 103) >> 10) & 0x000F000F000F000FU;
    const std::uint64_t digits = (tens | ((pairs - tens * 10) << 8)) | 0x3030303030303030U;
    std::memcpy(at, &digits, sizeof digits);
  } else {
    for (int i = 7; i >= 0; --i, value /= 10) at[i] = static_cast<char>('0' + value % 10);
  }
}

// A significand's digits, right-aligned in a fixed place with leading zeros: they end at
// kSignificandEnd and start kSignificandEnd - count bytes in. The room after them lets a writer
// copy them in blocks of a fixed size.
constexpr int kSignificandEnd = 17;  // a double's shortest digits are at most 17
struct SignificandText {
  char bytes[kSignificandEnd + 32];
  const char* digits(int count) const { return bytes + kSignificandEnd - count; }
};

SignificandText DigitsOf(std::uint64_t significand) {
  SignificandText text;
  const std::uint64_t high = significand / 100000000;
  PutEightDigits(text.bytes + 9, static_cast<std::uint32_t>(significand - high * 100000000));
  PutEightDigits(text.bytes + 1, static_cast<std::uint32_t>(high % 100000000));
  text.bytes[0] = static_cast<char>('0' + high / 100000000);
  std::memset(text.bytes + kSignificandEnd, '0', sizeof text.bytes - kSignificandEnd);
  return text;
}

char* PutDigits(char* at, const ShortestDigits& s) {
  const SignificandText text = DigitsOf(s.significand);
  std::memcpy(at, text.digits(s.count), static_cast<std::size_t>(s.count));
  return at + s.count;
}

// Copies the 17 bytes at `from` to `at`: a significand's digits and what follows them, in two
// copies of a fixed size.
void Put17(char* at, const char* from) {
  std::memcpy(at, from, 16);
  at[16] = from[16];
}

char* PutZeros(char* at, long count) {
  std::memset(at, '0', static_cast<std::size_t>(count));
  return at + count;
}

// The shortest digits written without an exponent, and their length.
std::size_t PlainLength(const ShortestDigits& s) {
  const std::size_t sign = s.negative ? 1 : 0;
  if (s.point <= 0) return sign + 2 + static_cast<std::size_t>(-s.point + s.count);
  if (s.point >= s.count) return sign + static_cast<std::size_t>(s.point);
  return sign + static_cast<std::size_t>(s.count) + 1;
}

char* PutPlain(char* at, const ShortestDigits& s) {
  if (s.negative) *at++ = '-';
  if (s.point <= 0) {
    *at++ = '0';
    *at++ = '.';
    return PutDigits(PutZeros(at, -s.point), s);
  }
  if (s.point >= s.count) return PutZeros(PutDigits(at, s), s.point - s.count);
  // The digits one place up, then those before the point moved down for it.
  char* const end = PutDigits(at + 1, s);
  for (long i = 0; i < s.point; ++i) at[i] = at[i + 1];
  at[s.point] = '.';
  return end;
}

// The same digits with an exponent of at least two digits ("6.5e-06", "-1e+300"), and their
// length.
std::size_t ExponentLength(const ShortestDigits& s) {
  const long exponent = s.point - 1;
  const long magnitude = exponent < 0 ? -exponent : exponent;
  const std::size_t exponent_digits = magnitude >= 100 ? 3 : 2;
  return (s.negative ? 1 : 0) + static_cast<std::size_t>(s.count) + (s.count > 1 ? 1 : 0) + 2 +
         exponent_digits;
}

char* PutExponent(char* at, const ShortestDigits& s) {
  if (s.negative) *at++ = '-';
  // The digits one place up, the first moved down before the point.
  at = PutDigits(at + 1, s);
  at[-s.count - 1] = at[-s.count];
  if (s.count > 1) {
    at[-s.count] = '.';
  } else {
    --at;
  }
  const long exponent = s.point - 1;
  *at++ = 'e';
  *at++ = exponent < 0 ? '-' : '+';
  const long magnitude = exponent < 0 ? -exponent : exponent;
  if (magnitude >= 100) *at++ = static_cast<char>('0' + magnitude / 100);
  *at++ = static_cast<char>('0' + magnitude / 10 % 10);
  *at++ = static_cast<char>('0' + magnitude % 10);
  return at;
}

// From 2^53 on every double is a whole number, and one is written with all its digits
// ("99999999999999991611392" for 1e23), not as its shortest digits padded with zeros.
constexpr double kWholeNumbersFrom = 9007199254740992.0;

// The shortest form of `s`, of a value below 2^53, plain or with an exponent (whichever is
// shorter, plain on a tie), written at `at` in copies of a fixed size; it needs kShortestTextRoom
// bytes of room.
char* PutShortestInRoom(char* at, const ShortestDigits& s) {
  const bool plain = ExponentLength(s) >= PlainLength(s);
  const SignificandText text = DigitsOf(s.significand);
  const char* const digits = text.digits(s.count);
  const long point = s.point;
  if (s.negative) *at++ = '-';
  if (plain && point >= s.count) {  // a whole number: the digits, then zeros (the text's own)
    std::memcpy(at, digits, 32);
    return at + point;
  }
  if (plain && point > 0) {
    std::memcpy(at, digits, 16);
    at[point] = '.';
    std::memcpy(at + point + 1, digits + point, 16);
    return at + s.count + 1;
  }
  if (plain) {  // 0.0...0<digits>
    std::memcpy(at, "0.000000000000000000000000", 26);
    Put17(at + 2 - point, digits);
    return at + 2 - point + s.count;
  }
  at[0] = digits[0];
  at[1] = '.';
  Put17(at + 2, digits + 1);
  at += s.count > 1 ? s.count + 1 : 1;
  const long exponent = point - 1;
  *at++ = 'e';
  *at++ = exponent < 0 ? '-' : '+';
  const long magnitude = exponent < 0 ? -exponent : exponent;
  if (magnitude >= 100) *at++ = static_cast<char>('0' + magnitude / 100);
  *at++ = static_cast<char>('0' + magnitude / 10 % 10);
  *at++ = static_cast<char>('0' + magnitude % 10);
  return at;
}

// The shortest digits that read back as `value` (not zero, finite), written without an exponent.
std::string PlainShortest(double value) {
  if (std::fabs(value) >= kWholeNumbersFrom) return fmt::format("{:.0f}", value);
  const ShortestDigits s = Shortest(value);
  std::string out(PlainLength(s), '\0');
  PutPlain(out.data(), s);
  return out;
}

std::string ExponentShortest(double value) {
  const ShortestDigits s = Shortest(value);
  std::string out(ExponentLength(s), '\0');
  PutExponent(out.data(), s);
  return out;
}

}  // namespace

double TextToNumber(std::string_view text) { return ToDouble(text, {}); }

double TextToNumber(std::string_view text, std::string_view what) {
  return ToDouble(text, what.empty() ? std::string_view("input") : what);
}

std::string NumberToText(double value) {
  if (std::isnan(value)) return "not a number";
  if (std::isinf(value)) return value > 0 ? "infinite" : "minus infinite";
  if (value == 0) return "0";
  return PlainShortest(value);
}

std::string ScientificShortestText(double value) { return ExponentShortest(value); }

std::string ShortestText(double value) {
  std::string out;
  AppendShortestText(out, value);
  return out;
}

void AppendShortestText(std::string& out, double value) {
  char text[kShortestTextRoom];
  out.append(text, static_cast<std::size_t>(PutShortestText(text, value) - text));
}

char* PutShortestText(char* at, double value) {
  const auto put = [&at](std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
  };
  if (std::isnan(value)) return put(std::signbit(value) ? "-nan" : "nan");
  if (std::isinf(value)) return put(value > 0 ? "inf" : "-inf");
  if (value == 0) return put(std::signbit(value) ? "-0" : "0");
  const ShortestDigits s = Shortest(value);
  const std::size_t exponent = ExponentLength(s);
  if (std::fabs(value) < kWholeNumbersFrom) {
    return PutShortestInRoom(at, s);
  }
  // A whole number with all its digits: shorter than the exponent form only below 10^24, whose
  // digits fit the room.
  if (std::fabs(value) < 1e24) {
    char whole[kShortestTextRoom];
    const auto written = fmt::format_to_n(whole, sizeof whole, "{:.0f}", value);
    if (written.size <= sizeof whole && written.size <= exponent) {
      return put(std::string_view(whole, written.size));
    }
  }
  return PutExponent(at, s);
}

namespace {

// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Digits with an optional fraction, at most 15 in all ("46", "0.85", "320.5"): the digits as a
// whole number, exactly a double, divided by an exact power of ten, which is one correctly rounded
// operation and so the nearest double, as fast_float reads it. False for any other text.
bool ReadShortDecimal(std::string_view text, double& value) {
  constexpr std::size_t kExactDigits = 15;
  std::uint64_t whole = 0;
  std::size_t digits = 0;
  std::size_t i = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) {
    whole = whole * 10 + static_cast<std::uint64_t>(text[i] - '0');
  }
  if (digits == 0) return false;
  std::size_t decimals = 0;
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && IsDigit(text[i]); ++i, ++decimals) {
      whole = whole * 10 + static_cast<std::uint64_t>(text[i] - '0');
    }
  }
  if (i != text.size() || digits + decimals > kExactDigits) return false;
  value = static_cast<double>(whole) / kExactPowersOfTen[decimals];
  return true;
}

}  // namespace

bool ReadDecimal(std::string_view text, double& value) {
  if (ReadShortDecimal(text, value)) return true;
  const char* const last = text.data() + text.size();
  double read = 0;
  const auto [ptr, ec] =
      fast_float::from_chars(text.data(), last, read, fast_float::chars_format::general);
  if (ec != std::errc() || ptr != last || text.empty() || text.front() == '-') return false;
  if (!std::isfinite(read)) return false;  // "inf", "nan", or beyond the largest double
  if (read == 0 && text.find_first_of("123456789") < text.find_first_of("eE")) return false;
  value = read;
  return true;
}

void AppendFormattedNumber(std::string& out, double value, std::string_view pattern) {
  if (!std::isfinite(value)) {
    throw Error(Fault::InvalidOperation, "The result is not a finite number.");
  }
  const Pattern p = ParsePattern(pattern);

  // Exact decimal expansion of |value|, rounded to the pattern's decimals.
  fmt::memory_buffer expansion;
  if (!ExactExpansion(std::fabs(value), p.decimals, expansion)) {
    fmt::format_to(std::back_inserter(expansion), "{:.{}f}", std::fabs(value), p.decimals);
  }
  const std::string_view text(expansion.data(), expansion.size());

  const std::size_t dot = text.find('.');
  std::string_view integer = text.substr(0, dot);
  std::string_view fraction =
      dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);

  integer.remove_prefix(std::min(integer.find_first_not_of('0'), integer.size()));
  const std::size_t zeros = static_cast<int>(integer.size()) < p.min_integer_digits
                                ? static_cast<std::size_t>(p.min_integer_digits) - integer.size()
                                : 0;
  while (static_cast<int>(fraction.size()) > p.min_decimals && fraction.back() == '0') {
    fraction.remove_suffix(1);
  }

  const bool shows_nonzero =
      !integer.empty() || fraction.find_first_not_of('0') != std::string_view::npos;
  if (value < 0 && shows_nonzero) out += '-';
  AppendInteger(out, zeros, integer, p.grouping);
  if (!fraction.empty()) {
    out += '.';
    out += fraction;
  }
  if (integer.empty() && zeros == 0 && fraction.empty()) out += '0';
}

std::string FormatNumber(double value, std::string_view pattern) {
  std::string out;
  AppendFormattedNumber(out, value, pattern);
  return out;
}

bool IsShownInScientific(double value) {
  constexpr double kScientificFrom = 1e15;
  return std::isfinite(value) && std::fabs(value) >= kScientificFrom;
}

std::string MessageNumber(double value) {
  constexpr double kScientificBelow = 1e-6;
  const bool tiny = value != 0 && std::fabs(value) < kScientificBelow;
  return std::isfinite(value) && (IsShownInScientific(value) || tiny)
             ? ScientificShortestText(value)
             : NumberToText(value);
}

std::string ShownNumber(double value, std::string_view pattern) {
  return IsShownInScientific(value) ? ScientificShortestText(value) : FormatNumber(value, pattern);
}

void AppendDrawingCoordinate(std::string& out, double value) {
  const double hundredths = std::round(value * 100);
  if (!(std::fabs(hundredths) < 1e15)) {  // very large, or not finite: the general way
    double rounded = hundredths / 100;
    if (rounded == 0) rounded = 0;
    if (std::isfinite(rounded)) {
      AppendFormattedNumber(out, rounded, kDrawingCoordinatePattern);
    } else {
      AppendShortestText(out, rounded);
    }
    return;
  }
  // Below 10^15 hundredths, the double nearest to hundredths / 100 lies within 0.002 of it, so
  // the pattern's exact rounding to two decimals gives back these very digits.
  auto whole = static_cast<long long>(hundredths);
  if (whole == 0) {
    out += '0';
    return;
  }
  if (whole < 0) {
    out += '-';
    whole = -whole;
  }
  char digits[24];
  out.append(digits, std::to_chars(digits, digits + sizeof digits, whole / 100).ptr);
  const auto fraction = static_cast<int>(whole % 100);
  if (fraction == 0) return;
  out += '.';
  out += static_cast<char>('0' + fraction / 10);
  if (fraction % 10 != 0) out += static_cast<char>('0' + fraction % 10);
}

}  // namespace project1
