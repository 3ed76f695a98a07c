#pragma once
// Colour values of the window (0x00BBGGRR or a system colour index) turned into Qt colours.
// System colours follow the palette of the running style.

#include <QColor>
#include <QPalette>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "error/error.h"

namespace project1 {

// A colour value: 0x00BBGGRR for a fixed colour, 0x80000000 plus an index for a system colour.
using ColourValue = std::uint32_t;

inline constexpr ColourValue kLightGreen = 0x0080FF80;
inline constexpr ColourValue kWhite = 0x00FFFFFF;
inline constexpr ColourValue kRed = 0x000000FF;
inline constexpr ColourValue kSystemMenu = 0x80000004;
inline constexpr ColourValue kSystemWindowText = 0x80000008;
inline constexpr ColourValue kSystemActiveBorder = 0x8000000A;

// The palette role that stands for a system colour value; nullopt for a fixed colour or a
// system colour the window does not know.
std::optional<QPalette::ColorRole> SystemColourRole(ColourValue colour);

// The colour a value denotes under `palette`. Throws Error(Internal) for a value that is
// neither a fixed colour nor a known system colour.
QColor ColourFromValue(ColourValue colour, const QPalette& palette);

// The contrast ratio of two colours as the Web Content Accessibility Guidelines define it: from
// 1 (the same) to 21 (black on white). Text reads well from 4.5 up.
double ContrastRatio(const QColor& first, const QColor& second);

// The palette role of the text drawn on `background`: Text on Base, ButtonText on Button,
// WindowText on Window.
QPalette::ColorRole TextRoleOn(QPalette::ColorRole background);

// Sets `background` of `widget` to the colour `colour` denotes, in every state (active,
// inactive, disabled). A fixed colour brings its own text colour, black or white, whichever
// reads better on it, and on a box's Base also fixed selection colours, so that nothing the
// theme draws on it is unreadable; a system colour takes the theme's text and selection
// colours. Throws like ColourFromValue and then leaves the widget as it was.
void SetBackgroundColour(QWidget& widget, QPalette::ColorRole background, ColourValue colour);

}  // namespace project1
