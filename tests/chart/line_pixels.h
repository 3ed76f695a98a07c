#pragma once
// Reading a rendered chart back: whether a line of a given colour passes near a pixel.

#include <QColor>
#include <QImage>
#include <cmath>

#include "chart/chart_scene.h"

namespace project1 {

// Whether a pixel within `radius` pixels of `at` has nearly `colour` (each channel within
// `tolerance`): the line passes there.
inline bool LinePassesNear(const QImage& image, PixelPoint at, const QColor& colour,
                           double radius = 2, int tolerance = 40) {
  const int cx = static_cast<int>(std::lround(at.x));
  const int cy = static_cast<int>(std::lround(at.y));
  const int reach = static_cast<int>(std::ceil(radius));
  for (int y = cy - reach; y <= cy + reach; ++y) {
    for (int x = cx - reach; x <= cx + reach; ++x) {
      if (!image.valid(x, y) || std::hypot(x - at.x, y - at.y) > radius) continue;
      const QColor seen = image.pixelColor(x, y);
      if (std::abs(seen.red() - colour.red()) <= tolerance &&
          std::abs(seen.green() - colour.green()) <= tolerance &&
          std::abs(seen.blue() - colour.blue()) <= tolerance) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace project1
