#pragma once
// The built-in catalogue of lubricants offered in the window's list.

#include <array>
#include <string_view>

namespace project1 {

struct Lubricant {
  std::string_view name;
  double vc;  // cSt at 40 C
  double vh;  // cSt at 100 C
  double sg;  // specific gravity
};

// The ten named oils, in list order. "OTHER" follows them in the list and carries no data.
inline constexpr std::array<Lubricant, 10> LubricantCatalogue{{
    {"SHC 624", 31, 5.8, 0.85},
    {"SHC 625", 46, 7.7, 0.85},
    {"SHC 626", 66, 10.3, 0.86},
    {"SHC 627", 97, 7.7, 0.85},
    {"SHC 629", 149, 19, 0.86},
    {"SHC 630", 222, 25.7, 0.87},
    {"SHC 632", 320, 35, 0.87},
    {"SHC 634", 454, 46.5, 0.87},
    {"SHC 636", 652, 61.2, 0.87},
    {"SHC 639", 968, 78.5, 0.85},
}};
inline constexpr std::string_view kOtherLubricant = "OTHER";

// The catalogue's oil named exactly `name`; nullptr for any other name.
constexpr const Lubricant* FindLubricant(std::string_view name) {
  for (const Lubricant& lubricant : LubricantCatalogue) {
    if (lubricant.name == name) return &lubricant;
  }
  return nullptr;
}

// Fills LubList with the ten names and "OTHER" last, once: does nothing if it holds items.
void FillList();

// Writes vc, vh and SG from the catalogue row whose name equals LubList's text exactly; nothing
// for "OTHER" or any other text.
void SelectLubricant();

}  // namespace project1
