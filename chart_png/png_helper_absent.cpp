// Where no PNG helper program is built (Windows): asking for a PNG gives the helper's own
// refusal, and an SVG is written as everywhere.
#include "chart_png/png_helper.h"

#include "error/error.h"

namespace project1 {

std::filesystem::path ChartPngHelper() {
  throw Error(ErrorKind::FileError,
              "The PNG helper project1-chart-png is not installed beside this program.");
}

std::string SvgToPng(std::string_view, const std::filesystem::path& helper) {
  throw Error(ErrorKind::FileError, "The PNG helper " + helper.string() + " could not be started.");
}

}  // namespace project1
