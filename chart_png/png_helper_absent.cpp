// Where no PNG helper program is built (Windows): asking for a PNG is refused saying so, and an
// SVG is written as everywhere.
#include "chart_png/png_helper.h"

#include "error/error.h"

namespace project1 {

namespace {

[[noreturn]] void NoPng() {
  throw Error(ErrorKind::File,
              "PNG is not available in the Windows build; SVG is: give the chart a name ending "
              "in .svg.");
}

}  // namespace

std::filesystem::path ChartPngHelper() { NoPng(); }

std::string SvgToPng(std::string_view, const std::filesystem::path&) { NoPng(); }

}  // namespace project1
