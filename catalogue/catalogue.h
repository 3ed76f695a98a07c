#pragma once
// The built-in catalogue of lubricants, offered in the window's list and by the tool's name.

#include <array>
#include <string_view>

namespace project1 {

struct Lubricant {
  std::string_view name;
  double nu40;     // cSt at 40 C
  double nu100;    // cSt at 100 C
  double gravity;  // specific gravity
};

// The ten named oils, in list order. "OTHER" follows them in the window's list and carries no
// data.
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

// The catalogue oil whose name is exactly `name`; nullptr for "OTHER" or any other text. A name
// a person types is found by the oil directory (oils/oil_directory.h).
const Lubricant* FindOil(std::string_view name);

}  // namespace project1
