#pragma once
// Rendering an SVG picture to PNG through the separate helper program, so that a tool that only
// sometimes writes PNG never loads a rasteriser itself. No Qt here.

#include <filesystem>
#include <string>
#include <string_view>

namespace project1 {

// The helper program: beside the calling program's installed folder
// (<prefix>/libexec/project1/project1-chart-png), else the one built with it. Error(FileError)
// when neither exists.
std::filesystem::path ChartPngHelper();

// The PNG of `svg` drawn by `helper`. Error(FileError) naming the helper and its message when
// it fails.
std::string SvgToPng(std::string_view svg, const std::filesystem::path& helper = ChartPngHelper());

}  // namespace project1
