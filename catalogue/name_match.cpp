#include "catalogue/name_match.h"

#include <algorithm>
#include <utility>

namespace project1 {

namespace {

// The text in lower case (ASCII letters) without blanks.
std::string Folded(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == ' ' || c == '\t') continue;
    out += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return out;
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

NameMatch MatchName(std::string_view typed, std::span<const std::string_view> names) {
  NameMatch match;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == typed) {
      match.found = i;
      return match;
    }
  }
  const std::string folded = Folded(typed);
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (Folded(names[i]) == folded) match.nearest.push_back(i);
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
    const std::size_t slips = Slips(folded, Folded(names[i]));
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
