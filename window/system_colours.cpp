#include "window/system_colours.h"

#include <cstdio>
#include <string>

namespace project1 {

namespace {
constexpr ColourValue kSystemColourFlag = 0x80000000;
}  // namespace

std::optional<QPalette::ColorRole> SystemColourRole(ColourValue colour) {
  switch (colour) {
    case kSystemMenu:
      return QPalette::Window;
    case kSystemWindowText:
      return QPalette::WindowText;
    case kSystemActiveBorder:
      return QPalette::Mid;
    default:
      return std::nullopt;
  }
}

QColor ColourFromValue(ColourValue colour, const QPalette& palette) {
  if ((colour & 0xFF000000u) == 0) {
    return QColor(static_cast<int>(colour & 0xFFu), static_cast<int>((colour >> 8) & 0xFFu),
                  static_cast<int>((colour >> 16) & 0xFFu));
  }
  if (const auto role = SystemColourRole(colour)) {
    return palette.color(QPalette::Active, *role);
  }
  char hex[16];
  std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(colour));
  const bool system = (colour & kSystemColourFlag) != 0;
  throw Error(ErrorKind::ControlError,
              std::string(system ? "The system colour 0x" : "The colour value 0x") + hex +
                  " is not a colour this window can show.");
}

}  // namespace project1
