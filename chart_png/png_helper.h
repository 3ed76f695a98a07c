#pragma once
// Rendering an SVG picture to PNG through the separate helper program, so that a tool that only
// sometimes writes PNG never loads a rasteriser itself. No Qt here.

#include <filesystem>
#include <string>
#include <string_view>

namespace project1 {

// The helper program, found relative to the calling program's own folder: <prefix>/bin/viscosity
// finds <prefix>/libexec/project1/project1-chart-png, installed or in the build folder, wherever
// that lies. Error(FileError) when it is not there.
std::filesystem::path ChartPngHelper();

// The PNG of `svg` drawn by `helper`. Error(FileError) naming the helper and its message when
// it fails.
std::string SvgToPng(std::string_view svg, const std::filesystem::path& helper = ChartPngHelper());

}  // namespace project1
