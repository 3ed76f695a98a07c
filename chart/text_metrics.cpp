#include "chart/text_metrics.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace project1 {

namespace {

// The advance widths of DejaVu Sans (Book and Bold) in font units, 2048 to the em: printable
// ASCII, Latin-1, the Greek letters and a few signs, ascending by code point.
struct Advance {
  char32_t code;
  std::uint16_t regular;
  std::uint16_t bold;
};
constexpr Advance kAdvances[] = {
    {0x20, 651, 713},     {0x21, 821, 934},     {0x22, 942, 1067},    {0x23, 1716, 1716},
    {0x24, 1303, 1425},   {0x25, 1946, 2052},   {0x26, 1597, 1786},   {0x27, 563, 627},
    {0x28, 799, 936},     {0x29, 799, 936},     {0x2A, 1024, 1071},   {0x2B, 1716, 1716},
    {0x2C, 651, 778},     {0x2D, 739, 850},     {0x2E, 651, 778},     {0x2F, 690, 748},
    {0x30, 1303, 1425},   {0x31, 1303, 1425},   {0x32, 1303, 1425},   {0x33, 1303, 1425},
    {0x34, 1303, 1425},   {0x35, 1303, 1425},   {0x36, 1303, 1425},   {0x37, 1303, 1425},
    {0x38, 1303, 1425},   {0x39, 1303, 1425},   {0x3A, 690, 819},     {0x3B, 690, 819},
    {0x3C, 1716, 1716},   {0x3D, 1716, 1716},   {0x3E, 1716, 1716},   {0x3F, 1087, 1188},
    {0x40, 2048, 2048},   {0x41, 1401, 1585},   {0x42, 1405, 1561},   {0x43, 1430, 1503},
    {0x44, 1577, 1700},   {0x45, 1294, 1399},   {0x46, 1178, 1399},   {0x47, 1587, 1681},
    {0x48, 1540, 1714},   {0x49, 604, 762},     {0x4A, 604, 762},     {0x4B, 1343, 1587},
    {0x4C, 1141, 1305},   {0x4D, 1767, 2038},   {0x4E, 1532, 1714},   {0x4F, 1612, 1741},
    {0x50, 1235, 1501},   {0x51, 1612, 1741},   {0x52, 1423, 1577},   {0x53, 1300, 1475},
    {0x54, 1251, 1397},   {0x55, 1499, 1663},   {0x56, 1401, 1585},   {0x57, 2025, 2259},
    {0x58, 1403, 1579},   {0x59, 1251, 1483},   {0x5A, 1403, 1485},   {0x5B, 799, 936},
    {0x5C, 690, 748},     {0x5D, 799, 936},     {0x5E, 1716, 1716},   {0x5F, 1024, 1024},
    {0x60, 1024, 1024},   {0x61, 1255, 1382},   {0x62, 1300, 1466},   {0x63, 1126, 1214},
    {0x64, 1300, 1466},   {0x65, 1260, 1389},   {0x66, 721, 891},     {0x67, 1300, 1466},
    {0x68, 1298, 1458},   {0x69, 569, 702},     {0x6A, 569, 702},     {0x6B, 1186, 1362},
    {0x6C, 569, 702},     {0x6D, 1995, 2134},   {0x6E, 1298, 1458},   {0x6F, 1253, 1407},
    {0x70, 1300, 1466},   {0x71, 1300, 1466},   {0x72, 842, 1010},    {0x73, 1067, 1219},
    {0x74, 803, 979},     {0x75, 1298, 1458},   {0x76, 1212, 1335},   {0x77, 1675, 1892},
    {0x78, 1212, 1321},   {0x79, 1212, 1335},   {0x7A, 1075, 1192},   {0x7B, 1303, 1458},
    {0x7C, 690, 748},     {0x7D, 1303, 1458},   {0x7E, 1716, 1716},   {0xA0, 651, 713},
    {0xA1, 821, 934},     {0xA2, 1303, 1425},   {0xA3, 1303, 1425},   {0xA4, 1303, 1303},
    {0xA5, 1303, 1425},   {0xA6, 690, 748},     {0xA7, 1024, 1024},   {0xA8, 1024, 1024},
    {0xA9, 2048, 2048},   {0xAA, 965, 1155},    {0xAB, 1253, 1323},   {0xAC, 1716, 1716},
    {0xAD, 739, 850},     {0xAE, 2048, 2048},   {0xAF, 1024, 1024},   {0xB0, 1024, 1024},
    {0xB1, 1716, 1716},   {0xB2, 821, 897},     {0xB3, 821, 897},     {0xB4, 1024, 1024},
    {0xB5, 1303, 1507},   {0xB6, 1303, 1303},   {0xB7, 651, 778},     {0xB8, 1024, 1024},
    {0xB9, 821, 897},     {0xBA, 965, 1155},    {0xBB, 1253, 1323},   {0xBC, 1985, 2120},
    {0xBD, 1985, 2120},   {0xBE, 1985, 2120},   {0xBF, 1087, 1188},   {0xC0, 1401, 1585},
    {0xC1, 1401, 1585},   {0xC2, 1401, 1585},   {0xC3, 1401, 1585},   {0xC4, 1401, 1585},
    {0xC5, 1401, 1585},   {0xC6, 1995, 2222},   {0xC7, 1430, 1503},   {0xC8, 1294, 1399},
    {0xC9, 1294, 1399},   {0xCA, 1294, 1399},   {0xCB, 1294, 1399},   {0xCC, 604, 762},
    {0xCD, 604, 762},     {0xCE, 604, 762},     {0xCF, 604, 762},     {0xD0, 1587, 1716},
    {0xD1, 1532, 1714},   {0xD2, 1612, 1741},   {0xD3, 1612, 1741},   {0xD4, 1612, 1741},
    {0xD5, 1612, 1741},   {0xD6, 1612, 1741},   {0xD7, 1716, 1716},   {0xD8, 1612, 1741},
    {0xD9, 1499, 1663},   {0xDA, 1499, 1663},   {0xDB, 1499, 1663},   {0xDC, 1499, 1663},
    {0xDD, 1251, 1483},   {0xDE, 1239, 1511},   {0xDF, 1290, 1473},   {0xE0, 1255, 1382},
    {0xE1, 1255, 1382},   {0xE2, 1255, 1382},   {0xE3, 1255, 1382},   {0xE4, 1255, 1382},
    {0xE5, 1255, 1382},   {0xE6, 2011, 2146},   {0xE7, 1126, 1214},   {0xE8, 1260, 1389},
    {0xE9, 1260, 1389},   {0xEA, 1260, 1389},   {0xEB, 1260, 1389},   {0xEC, 569, 702},
    {0xED, 569, 702},     {0xEE, 569, 702},     {0xEF, 569, 702},     {0xF0, 1253, 1407},
    {0xF1, 1298, 1458},   {0xF2, 1253, 1407},   {0xF3, 1253, 1407},   {0xF4, 1253, 1407},
    {0xF5, 1253, 1407},   {0xF6, 1253, 1407},   {0xF7, 1716, 1716},   {0xF8, 1253, 1407},
    {0xF9, 1298, 1458},   {0xFA, 1298, 1458},   {0xFB, 1298, 1458},   {0xFC, 1298, 1458},
    {0xFD, 1212, 1335},   {0xFE, 1300, 1466},   {0xFF, 1212, 1335},   {0x391, 1401, 1585},
    {0x392, 1405, 1561},  {0x393, 1141, 1305},  {0x394, 1401, 1585},  {0x395, 1294, 1399},
    {0x396, 1403, 1485},  {0x397, 1540, 1714},  {0x398, 1612, 1741},  {0x399, 604, 762},
    {0x39A, 1343, 1587},  {0x39B, 1401, 1585},  {0x39C, 1767, 2038},  {0x39D, 1532, 1714},
    {0x39E, 1294, 1294},  {0x39F, 1612, 1741},  {0x3A0, 1540, 1714},  {0x3A1, 1235, 1501},
    {0x3A3, 1294, 1399},  {0x3A4, 1251, 1397},  {0x3A5, 1251, 1483},  {0x3A6, 1612, 1741},
    {0x3A7, 1403, 1579},  {0x3A8, 1612, 1740},  {0x3A9, 1565, 1741},  {0x3B1, 1350, 1407},
    {0x3B2, 1307, 1466},  {0x3B3, 1212, 1395},  {0x3B4, 1253, 1407},  {0x3B5, 1107, 1140},
    {0x3B6, 1114, 1210},  {0x3B7, 1298, 1458},  {0x3B8, 1253, 1407},  {0x3B9, 693, 798},
    {0x3BA, 1207, 1455},  {0x3BB, 1212, 1296},  {0x3BC, 1303, 1507},  {0x3BD, 1144, 1395},
    {0x3BE, 1142, 1210},  {0x3BF, 1253, 1407},  {0x3C0, 1233, 1620},  {0x3C1, 1300, 1466},
    {0x3C2, 1202, 1214},  {0x3C3, 1298, 1595},  {0x3C4, 1233, 1307},  {0x3C5, 1185, 1383},
    {0x3C6, 1351, 1602},  {0x3C7, 1183, 1321},  {0x3C8, 1351, 1626},  {0x3C9, 1715, 1780},
    {0x2013, 1024, 1024}, {0x2014, 2048, 2048}, {0x2018, 651, 778},   {0x2019, 651, 778},
    {0x201C, 1061, 1346}, {0x201D, 1061, 1346}, {0x2022, 1208, 1309}, {0x2026, 2048, 2048},
    {0x2032, 465, 540},   {0x2033, 765, 915},   {0x2212, 1716, 1716}, {0x221E, 1706, 1706},
    {0x2248, 1716, 1716}, {0x2260, 1716, 1716}, {0x2264, 1716, 1716}, {0x2265, 1716, 1716},
};
constexpr double kUnitsPerEm = 2048;

// Printable ASCII, from the blank to the tilde, is the table's first rows, one a code point.
constexpr char32_t kFirstPrintable = 0x20;
constexpr char32_t kLastPrintable = 0x7E;
static_assert(kAdvances[0].code == kFirstPrintable &&
              kAdvances[kLastPrintable - kFirstPrintable].code == kLastPrintable);

static_assert(std::is_sorted(std::begin(kAdvances), std::end(kAdvances),
                             [](const Advance& a, const Advance& b) { return a.code < b.code; }));

// The next code point of UTF-8 `text` from `at`, which it moves past it; a byte that does not
// start a well-formed sequence counts as one character of its own.
char32_t NextCodePoint(std::string_view text, std::size_t& at) {
  const auto lead = static_cast<unsigned char>(text[at++]);
  int more = 0;
  char32_t code = lead;
  if (lead >= 0xF0 && lead < 0xF8) {
    more = 3;
    code = lead & 0x07U;
  } else if (lead >= 0xE0) {
    more = 2;
    code = lead & 0x0FU;
  } else if (lead >= 0xC0) {
    more = 1;
    code = lead & 0x1FU;
  } else {
    return lead;  // ASCII, or a stray continuation byte
  }
  for (; more > 0 && at < text.size(); --more) {
    const auto next = static_cast<unsigned char>(text[at]);
    if ((next & 0xC0U) != 0x80U) break;
    code = code << 6 | (next & 0x3FU);
    ++at;
  }
  return more == 0 ? code : U'\uFFFD';
}

}  // namespace

double TextAdvance(std::string_view text, double size, bool bold) {
  double units = 0;
  for (std::size_t at = 0; at < text.size();) {
    const char32_t code = NextCodePoint(text, at);
    if (code >= kFirstPrintable && code <= kLastPrintable) {  // the table's first rows, in order
      const Advance& advance = kAdvances[code - kFirstPrintable];
      units += bold ? advance.bold : advance.regular;
      continue;
    }
    const auto* found =
        std::lower_bound(std::begin(kAdvances), std::end(kAdvances), code,
                         [](const Advance& advance, char32_t c) { return advance.code < c; });
    if (found != std::end(kAdvances) && found->code == code) {
      units += bold ? found->bold : found->regular;
    } else {
      units += kUnitsPerEm;
    }
  }
  return units / kUnitsPerEm * size;
}

std::string TextWithin(std::string_view text, double size, bool bold, double width) {
  if (TextAdvance(text, size, bold) <= width) return std::string(text);
  static constexpr std::string_view kEllipsis = "\u2026";
  const double room = width - TextAdvance(kEllipsis, size, bold);
  double used = 0;
  std::size_t fits = 0;  // bytes of whole characters that fit
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t start = at;
    NextCodePoint(text, at);
    used += TextAdvance(text.substr(start, at - start), size, bold);
    if (used > room) break;
    fits = at;
  }
  while (fits > 0 && text[fits - 1] == ' ') --fits;
  return std::string(text.substr(0, fits)) + std::string(kEllipsis);
}

TextBox BoxOf(const TextShape& text) {
  const double width = TextAdvance(text.text, text.size, text.bold);
  double start = 0;  // along the text, from its anchor point
  if (text.anchor == TextAnchor::Middle) start = -width / 2;
  if (text.anchor == TextAnchor::End) start = -width;
  const double ascent = kChartFontAscent * text.size;
  const double descent = kChartFontDescent * text.size;
  if (text.vertical) {  // turned a quarter anticlockwise: the text runs up, its top faces left
    return {text.at.x - ascent, text.at.y - start - width, text.at.x + descent, text.at.y - start};
  }
  return {text.at.x + start, text.at.y - ascent, text.at.x + start + width, text.at.y + descent};
}

bool BoxesTouch(const TextBox& a, const TextBox& b, double gap_x, double gap_y) {
  return a.left < b.right + gap_x && b.left < a.right + gap_x && a.top < b.bottom + gap_y &&
         b.top < a.bottom + gap_y;
}

bool BoxInside(const TextBox& inner, const TextBox& outer) {
  return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
         inner.bottom <= outer.bottom;
}

}  // namespace project1
