// The name key, and finding a typed name among names: exactly, by its key, or the nearest.
#include "oils/name_key.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace project1 {
namespace {

using Indexes = std::vector<std::size_t>;

TEST(NameKey, FoldsCaseInLatinGreekAndCyrillicAndDropsEveryBlank) {
  struct Same {
    const char* a;
    const char* b;
    bool same;
  };
  for (const Same& c :
       {Same{"ÖLWERK ÆØÅ", "ölwerk æøå", true}, Same{"ŁÓDŹ Ž", "łódź ž", true},
        Same{"ΛΆΔΙ ΌΎΏ", "λάδι όύώ", true}, Same{"ΛΑΔΙ", "λαδι", true},
        Same{"МАСЛО", "масло", true}, Same{"ЁЖ", "ёж", true},
        Same{"Hydraulic HV 46", " hydraulic\thv46 ", true}, Same{"Öl", "Ol", false},
        Same{"×", "÷", false}, Same{"潤滑油", "潤滑油", true}, Same{"HV 46", "HV 4 7", false}}) {
    EXPECT_EQ(NameKey(c.a) == NameKey(c.b), c.same) << c.a << " / " << c.b;
  }
}

TEST(MatchName, FindsOneNameOrOffersTheNearest) {
  const std::vector<std::string_view> oils = {"SHC 624", "SHC 629",  "SHC 632",
                                              "SHC 639", "Gear 220", "gear220"};
  struct Case {
    std::string typed;
    std::optional<std::size_t> found;
    Indexes nearest;
    bool several;
  };
  const std::vector<Case> cases = {
      {"SHC 632", 2, {}, false},
      {"shc 632", 2, {}, false},
      {"SHC632", 2, {}, false},
      {" s h c 6 3 2\t", 2, {}, false},
      {"gear220", 5, {}, false},  // spelled exactly so, though another differs only in case
      {"GEAR 220", std::nullopt, {4, 5}, true},
      {"SHC 999", std::nullopt, {1, 3}, false},  // two slips each, in list order
      {"SHC 633", std::nullopt, {2, 3, 0}, false},
      {"SCH 632", std::nullopt, {2, 3}, false},  // a swap is one slip
      {"Hydraulic 46", std::nullopt, {}, false},
      {"", std::nullopt, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    const NameMatch match = MatchName(c.typed, oils);
    EXPECT_EQ(match.found, c.found);
    EXPECT_EQ(match.nearest, c.nearest);
    EXPECT_EQ(match.several, c.several);
  }
}

TEST(MatchName, OffersTheNearestCommand) {
  const std::vector<std::string_view> commands = {"at",    "table", "temperature-for", "index",
                                                  "blend", "oils",  "batch",           "chart"};
  EXPECT_EQ(MatchName("tabel", commands).nearest, Indexes{1});
  EXPECT_EQ(MatchName("indx", commands).nearest, Indexes{3});
  EXPECT_EQ(MatchName("frobnicate", commands).nearest, Indexes{});
}

TEST(QuotedChoices, JoinsNamesForASentence) {
  const std::vector<std::string_view> names = {"a", "b", "c"};
  EXPECT_EQ(QuotedChoices(names, Indexes{1}), "\"b\"");
  EXPECT_EQ(QuotedChoices(names, Indexes{2, 0}), "\"c\" or \"a\"");
  EXPECT_EQ(QuotedChoices(names, Indexes{0, 1, 2}, "`"), "`a`, `b` or `c`");
}

}  // namespace
}  // namespace project1
