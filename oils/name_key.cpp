#include "oils/name_key.h"

#include <algorithm>
#include <utility>

namespace project1 {

namespace {

// The lower-case letter of a capital in the alphabets that have cases most used for oil names
// (Latin with its accents, Greek, Cyrillic); any other code point as it is.
char32_t LowerLetter(char32_t c) {
  if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
      (c >= 0x391 && c <= 0x3AB && c != 0x3A2) || (c >= 0x410 && c <= 0x42F)) {
    return c + 0x20;
  }
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  // The Greek capitals with an accent.
  if (c == 0x386) return 0x3AC;
  if (c >= 0x388 && c <= 0x38A) return c + 0x25;
  if (c == 0x38C) return 0x3CC;
  if (c == 0x38E || c == 0x38F) return c + 0x3F;
  // Latin Extended-A pairs capitals and small letters, the capital first, except in the runs
  // U+0139-U+0148 and U+0179-U+017E, where the capital has the odd code point.
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c | 1;
  if (((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) && (c & 1)) return c + 1;
  return c;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The number of typing slips (a character added, left out, changed, or two neighbours swapped)
// between a and b.
std::size_t Slips(std::string_view a, std::string_view b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t changed = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + changed});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

constexpr std::size_t kMostNearest = 3;

}  // namespace

// Only two- and one-byte UTF-8 sequences hold the capitals LowerLetter knows; every other byte is
// kept as it is.
std::string NameKey(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto byte = static_cast<unsigned char>(name[i]);
    if (byte == ' ' || byte == '\t') continue;
    if (byte < 0x80) {
      AppendUtf8(out, LowerLetter(byte));
    } else if ((byte & 0xE0) == 0xC0 && i + 1 < name.size() &&
               (static_cast<unsigned char>(name[i + 1]) & 0xC0) == 0x80) {
      const char32_t c =
          (char32_t{byte & 0x1Fu} << 6) | (static_cast<unsigned char>(name[i + 1]) & 0x3Fu);
      AppendUtf8(out, LowerLetter(c));
      ++i;
    } else {
      out += name[i];
    }
  }
  return out;
}

NameMatch MatchName(std::string_view typed, std::span<const std::string_view> names) {
  NameMatch match;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == typed) {
      match.found = i;
      return match;
    }
  }
  const std::string folded = NameKey(typed);
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (NameKey(names[i]) == folded) match.nearest.push_back(i);
  }
  if (match.nearest.size() == 1) {
    match.found = match.nearest.front();
    match.nearest.clear();
    return match;
  }
  if (!match.nearest.empty()) {
    match.several = true;
    return match;
  }
  // A slip for every three characters typed, and two at least.
  const std::size_t allowed = std::max<std::size_t>(2, folded.size() / 3);
  std::vector<std::pair<std::size_t, std::size_t>> near;  // slips, index
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::size_t slips = Slips(folded, NameKey(names[i]));
    if (slips <= allowed) near.emplace_back(slips, i);
  }
  std::stable_sort(near.begin(), near.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 0; i < near.size() && i < kMostNearest; ++i) {
    match.nearest.push_back(near[i].second);
  }
  return match;
}

std::string QuotedChoices(std::span<const std::string_view> names,
                          std::span<const std::size_t> indexes, std::string_view quote) {
  std::string out;
  for (std::size_t i = 0; i < indexes.size(); ++i) {
    if (i > 0) out += i + 1 == indexes.size() ? " or " : ", ";
    out += quote;
    out += names[indexes[i]];
    out += quote;
  }
  return out;
}

}  // namespace project1
