#pragma once
// The chart as an SVG 1.1 document: text as text, no external resources, the same bytes for the
// same chart and size.

#include <string>
#include <string_view>

#include "chart/chart.h"
#include "chart/chart_scene.h"

namespace project1 {

std::string ChartSvg(const ChartDescription& chart, double width = kChartDefaultWidth,
                     double height = kChartDefaultHeight);

// `text` with the five characters XML reserves written as entities.
std::string XmlEscaped(std::string_view text);

}  // namespace project1
