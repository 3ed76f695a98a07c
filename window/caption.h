#pragma once
// The caption of the program's windows and reports.

namespace project1 {

inline constexpr char kCaption[] = "Tervane";

}  // namespace project1
