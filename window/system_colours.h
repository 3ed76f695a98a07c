#pragma once
// Colour values of the window (0x00BBGGRR or a system colour index) turned into Qt colours.
// System colours follow the palette of the running style.

#include <QColor>
#include <QPalette>
#include <optional>

#include "window/controls.h"

namespace project1 {

// The palette role that stands for a system colour value; nullopt for a fixed colour or a
// system colour the window does not know.
std::optional<QPalette::ColorRole> SystemColourRole(ColourValue colour);

// The colour a value denotes under `palette`. Throws Error(ControlError) for a value that is
// neither a fixed colour nor a known system colour.
QColor ColourFromValue(ColourValue colour, const QPalette& palette);

}  // namespace project1
