#include "engine/fit_points.h"

#include <algorithm>
#include <cmath>

#include "engine/oil_properties.h"
#include "numtext/numtext.h"

namespace project1 {

std::vector<FitPoint> FitPointsOf(const ViscosityLine& line,
                                  std::span<const ViscosityPoint> points) {
  std::vector<FitPoint> out;
  if (points.size() < 3) return out;
  const std::vector<double> deviations = DeviationsPercent(line, points);
  for (std::size_t i = 0; i < points.size(); ++i) {
    out.push_back({points[i].temperature_c, points[i].kinematic_cst,
                   KinematicAt(line, points[i].temperature_c), deviations[i]});
  }
  return out;
}

const FitPoint& FarthestFromLine(std::span<const FitPoint> points) {
  return *std::max_element(points.begin(), points.end(), [](const FitPoint& a, const FitPoint& b) {
    return std::fabs(a.deviation_percent) < std::fabs(b.deviation_percent);
  });
}

std::string FitNote(std::span<const FitPoint> points, TemperatureUnit unit) {
  if (points.empty()) return {};
  const FitPoint& farthest = FarthestFromLine(points);
  return "Fitted through " + std::to_string(points.size()) + " points; the line is within " +
         ShownNumber(std::fabs(farthest.deviation_percent), kDeviationText) +
         " % of each. Farthest from it: the point at " +
         ShownNumber(FromCelsius(farthest.temperature_c, unit), kTemperatureText) + " " +
         std::string(UnitSymbol(unit)) + ", " + ShownNumber(farthest.measured_cst, kKinematicText) +
         " cSt measured, " + ShownNumber(farthest.line_cst, kKinematicText) + " cSt on the line (" +
         (farthest.deviation_percent > 0 ? "+" : "") +
         ShownNumber(farthest.deviation_percent, kDeviationText) + " %).\n";
}

void CheckEachThinnerWhenHotter(std::vector<ViscosityPoint> points) {
  std::stable_sort(points.begin(), points.end(),
                   [](const auto& a, const auto& b) { return a.temperature_c < b.temperature_c; });
  for (std::size_t i = 1; i < points.size(); ++i) CheckThinnerWhenHotter(points[i - 1], points[i]);
}

}  // namespace project1
