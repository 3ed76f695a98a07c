#pragma once
// The key a name is judged by, and finding a name a person typed among a list of names: oils by
// their names, commands by theirs. A name matches without regard to case and blanks ("shc 632",
// "SHC632" for "SHC 632"); when none does, the nearest names are offered instead.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace project1 {

// What two names are judged equal by: the name without its blanks (spaces and tabs, inside and
// around it), its capitals in lower case (Latin, with the accented letters of Latin-1 and Latin
// Extended-A, Greek and Cyrillic; other letters as they are). "Hydraulic HV 46" and
// "hydraulic hv46" have one key.
std::string NameKey(std::string_view name);

struct NameMatch {
  // The one name the text denotes: the name spelled exactly so, or else the only name of the
  // same NameKey.
  std::optional<std::size_t> found;
  // Without one: the names of the same NameKey when more than one has it, otherwise the names a
  // few typing slips away, nearest first (at most three).
  std::vector<std::size_t> nearest;
  // Whether `nearest` holds several names of the text's NameKey.
  bool several = false;
};

NameMatch MatchName(std::string_view typed, std::span<const std::string_view> names);

// The names at `indexes` of `names`, quoted and joined for a sentence: "\"a\"", "\"a\" or \"b\"",
// "\"a\", \"b\" or \"c\"".
std::string QuotedChoices(std::span<const std::string_view> names,
                          std::span<const std::size_t> indexes, std::string_view quote = "\"");

}  // namespace project1
