#include "window/system_colours.h"

#include <QApplication>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
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

// The fifth root of x in (0, 1], by Newton's steps down from 1 until they stop falling.
constexpr double FifthRoot(double x) {
  double root = 1.0;
  for (;;) {
    const double fourth = root * root * root * root;
    const double next = root - (fourth * root - x) / (5.0 * fourth);
    if (!(next < root)) return root;
    root = next;
  }
}

// An sRGB channel (0 to 1) as linear light. The power 2.4 is t² · (t²)^(1/5), so that the table
// below is computed when the program is compiled.
constexpr double LinearChannel(double channel) {
  if (channel <= 0.04045) return channel / 12.92;
  const double t = (channel + 0.055) / 1.055;
  return t * t * FifthRoot(t * t);
}

// The 256 channels of 8-bit colours as linear light: the window's colours and the themes' are all
// 8-bit, so that they need no power function, whose code and tables would be read from the disk
// at start-up for the few colours the window sets.
constexpr auto kLinear8 = [] {
  std::array<double, 256> table{};
  for (std::size_t i = 0; i < table.size(); ++i) {
    table[i] = LinearChannel(static_cast<double>(i) / 255.0);
  }
  return table;
}();

double Linear(int channel16) {
  if (channel16 % 257 == 0) return kLinear8[static_cast<std::size_t>(channel16 / 257)];
  const double channel = channel16 / 65535.0;
  return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

// Relative luminance of an sRGB colour.
double Luminance(const QColor& colour) {
  const QRgba64 rgb = colour.toRgb().rgba64();
  return 0.2126 * Linear(rgb.red()) + 0.7152 * Linear(rgb.green()) + 0.0722 * Linear(rgb.blue());
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
  // Only a fixed colour brings its own text colour.
  const QColor readable =
      fixed && ContrastRatio(back, black) < ContrastRatio(back, white) ? white : black;
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
