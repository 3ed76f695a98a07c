#pragma once
// Draws the chart's shapes with QPainter: the window's own renderer of the chart, so that the
// program needs no SVG library.

#include <QPainter>

#include "chart/chart_scene.h"

namespace project1 {

// Paints `scene` with its top-left corner at the painter's origin.
void PaintChartScene(QPainter& painter, const ChartScene& scene);

}  // namespace project1
