#pragma once
// How much room a text of the chart takes: the advance widths and the ascent and descent of the
// font the chart names first (DejaVu Sans, regular and bold), as the SVG renderers and the
// window's painter lay the text out. Used to keep labels apart and inside the picture.

#include <string>
#include <string_view>

#include "chart/chart_scene.h"

namespace project1 {

// The font families the chart's texts are drawn in, first choice first.
inline constexpr const char* kChartFontFamilies = "DejaVu Sans, Verdana, sans-serif";

// The font's ascent and descent (from its horizontal header), as shares of the font size.
inline constexpr double kChartFontAscent = 1901.0 / 2048;
inline constexpr double kChartFontDescent = 483.0 / 2048;

// The width in pixels of `text` (UTF-8) at `size` pixels: the sum of its characters' advances,
// without kerning. A character the table does not hold counts one em, wider than any it holds.
double TextAdvance(std::string_view text, double size, bool bold);

// `text`, or where it is wider than `width` pixels, its longest start that fits followed by "…"
// (whole characters, trailing blanks dropped); "…" alone where nothing more fits.
std::string TextWithin(std::string_view text, double size, bool bold, double width);

// A rectangle in the picture's pixels.
struct TextBox {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
};

// The room `text` takes: its advance across, and from the font's ascent above the baseline to
// its descent below it; turned with the text when it is vertical.
TextBox BoxOf(const TextShape& text);

// Whether two boxes overlap or come closer than `gap_x` across or `gap_y` up and down.
bool BoxesTouch(const TextBox& a, const TextBox& b, double gap_x, double gap_y);

// Whether `inner` lies wholly inside `outer`.
bool BoxInside(const TextBox& inner, const TextBox& outer);

}  // namespace project1
