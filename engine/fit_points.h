#pragma once
// A line fitted through three or more measured points, told point by point: each point, the
// line's viscosity there and how far the line lies from it, and a sentence for a person naming
// the point farthest from the line. The tool and the page both say it so.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/temperature_unit.h"
#include "engine/viscosity_line.h"

namespace project1 {

struct FitPoint {
  double temperature_c = 0;
  double measured_cst = 0;
  double line_cst = 0;
  double deviation_percent = 0;  // (line / measured - 1) x 100, as DeviationsPercent
};

// The points of a line fitted through three or more of them, in their order; none for fewer,
// which the line passes through.
std::vector<FitPoint> FitPointsOf(const ViscosityLine& line,
                                  std::span<const ViscosityPoint> points);

// The point farthest from the line, the largest |deviation|, the first of equals; `points` is
// not empty.
const FitPoint& FarthestFromLine(std::span<const FitPoint> points);

// "Fitted through 4 points; the line is within 0.512 % of each. Farthest from it: the point at
// 60.0 °C, ..." with its line end, the temperature in `unit`; empty for no points.
std::string FitNote(std::span<const FitPoint> points, TemperatureUnit unit);

// A measured point as the tool and the page take one typed: T=CST ("40=320", "160F=90").
inline constexpr std::string_view kPointForm = "T=CST (a temperature, \"=\" and a viscosity)";
// The texts of a point's temperature and viscosity, either side of its first "="; nullopt for a
// text without one.
constexpr std::optional<std::pair<std::string_view, std::string_view>> SplitPoint(
    std::string_view text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return std::pair{text.substr(0, equals), text.substr(equals + 1)};
}

// Refuses points unless each hotter one is thinner, naming two of them (CheckThinnerWhenHotter):
// their line would not fall as the oil warms.
void CheckEachThinnerWhenHotter(std::vector<ViscosityPoint> points);

}  // namespace project1
