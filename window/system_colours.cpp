#include "window/system_colours.h"

#include <QApplication>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace project1 {

namespace {

constexpr ColourValue kSystemColourFlag = 0x80000000;

// The selection on a fixed background: white on a dark blue, 8:1 whatever lies around it.
const QColor kSelection(0x1C, 0x4F, 0x9C);
const QColor kSelectedText(Qt::white);

constexpr QPalette::ColorGroup kGroups[] = {QPalette::Active, QPalette::Inactive,
                                            QPalette::Disabled};

// Relative luminance of an sRGB colour.
double Luminance(const QColor& colour) {
  const auto linear = [](double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
         0.0722 * linear(colour.blueF());
}

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
  throw Error(ErrorKind::Internal,
              std::string(system ? "The system colour 0x" : "The colour value 0x") + hex +
                  " is not a colour this window can show.");
}

double ContrastRatio(const QColor& first, const QColor& second) {
  const double a = Luminance(first);
  const double b = Luminance(second);
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QPalette::ColorRole TextRoleOn(QPalette::ColorRole background) {
  switch (background) {
    case QPalette::Base:
      return QPalette::Text;
    case QPalette::Button:
      return QPalette::ButtonText;
    default:
      return QPalette::WindowText;
  }
}

void SetBackgroundColour(QWidget& widget, QPalette::ColorRole background, ColourValue colour) {
  QPalette palette = widget.palette();
  const QColor back = ColourFromValue(colour, palette);
  const QPalette::ColorRole text = TextRoleOn(background);
  const bool fixed = !SystemColourRole(colour).has_value();
  const QPalette theme = QApplication::palette(&widget);
  const QColor black(Qt::black);
  const QColor white(Qt::white);
  const QColor readable = ContrastRatio(back, black) >= ContrastRatio(back, white) ? black : white;
  for (const QPalette::ColorGroup group : kGroups) {
    palette.setColor(group, background, back);
    palette.setColor(group, text, fixed ? readable : theme.color(group, text));
    if (background == QPalette::Base) {
      palette.setColor(group, QPalette::Highlight,
                       fixed ? kSelection : theme.color(group, QPalette::Highlight));
      palette.setColor(group, QPalette::HighlightedText,
                       fixed ? kSelectedText : theme.color(group, QPalette::HighlightedText));
    }
  }
  widget.setPalette(palette);
}

}  // namespace project1
