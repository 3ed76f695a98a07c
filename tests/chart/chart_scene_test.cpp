// The chart laid out in pixels: no text touching another or leaving the picture, measured by the
// font's advance widths; every oil named beside its line in the lines' order; tick labels left
// out only where they crowd; each band drawn and labelled beside itself; nothing drawn off the
// axis.

#include "chart/chart_scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "chart/text_metrics.h"
#include "sample_charts.h"

using namespace project1;

namespace {

std::string Where(const SampleChart& sample, const PictureSize& size) {
  return sample.what + " at " + std::to_string(static_cast<int>(size.width)) + "x" +
         std::to_string(static_cast<int>(size.height));
}

// The drawn texts that are one of `labels`, in drawing order.
std::vector<TextShape> TextsAmong(const ChartScene& scene, const std::vector<std::string>& labels) {
  std::vector<TextShape> found;
  for (const TextShape& text : TextsOf(scene)) {
    if (std::find(labels.begin(), labels.end(), text.text) != labels.end()) found.push_back(text);
  }
  return found;
}

std::vector<std::string> LabelsOf(const std::vector<ChartTick>& ticks) {
  std::vector<std::string> labels;
  for (const ChartTick& tick : ticks) labels.push_back(tick.label);
  return labels;
}

}  // namespace

TEST(ChartTextBoxes, SpanTheAdvanceAcrossAndTheFontsAscentAndDescent) {
  // "10" is two digits of 1303 font units each, 2048 to the em; the ascent is 1901, the descent
  // 483.
  const double two_digits = 2 * 1303.0 / 2048 * 11;
  const double ascent = 1901.0 / 2048 * 11;
  const double descent = 483.0 / 2048 * 11;
  const struct {
    TextAnchor anchor;
    bool vertical;
    TextBox box;
  } cases[] = {
      {TextAnchor::Start, false, {100, 50 - ascent, 100 + two_digits, 50 + descent}},
      {TextAnchor::Middle,
       false,
       {100 - two_digits / 2, 50 - ascent, 100 + two_digits / 2, 50 + descent}},
      {TextAnchor::End, false, {100 - two_digits, 50 - ascent, 100, 50 + descent}},
      // Turned a quarter anticlockwise: the text runs up from its anchor, its top to the left.
      {TextAnchor::Start, true, {100 - ascent, 50 - two_digits, 100 + descent, 50}},
      {TextAnchor::Middle,
       true,
       {100 - ascent, 50 - two_digits / 2, 100 + descent, 50 + two_digits / 2}},
  };
  for (const auto& c : cases) {
    const TextBox box =
        BoxOf(MakeText({100, 50}, "10", 11, c.anchor, "#000000", false, c.vertical));
    EXPECT_NEAR(box.left, c.box.left, 1e-9);
    EXPECT_NEAR(box.top, c.box.top, 1e-9);
    EXPECT_NEAR(box.right, c.box.right, 1e-9);
    EXPECT_NEAR(box.bottom, c.box.bottom, 1e-9);
  }
}

TEST(ChartTextBoxes, AdvancesAddUpPerCharacterInEachWeight) {
  const struct {
    const char* text;
    bool bold;
    double units;  // font units, 2048 to the em
  } cases[] = {
      {"", false, 0},
      {"1,000", false, 4 * 1303 + 651},
      {"1,000", true, 4 * 1425 + 778},
      {"°C", false, 1024 + 1430},
      {"ν1", false, 1144 + 1303},
      {"中", false, 2048},    // not in the table: one em
      {"\xff", false, 2048},  // not UTF-8: one em for the byte
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(TextAdvance(c.text, 12, c.bold), c.units / 2048 * 12, 1e-9) << c.text;
  }
}

TEST(ChartLayout, NoTextTouchesAnotherOrLeavesThePicture) {
  for (const SampleChart& sample : SampleCharts()) {
    for (const PictureSize& size : kPictureSizes) {
      SCOPED_TRACE(Where(sample, size));
      const std::vector<TextShape> texts =
          TextsOf(LayOutChart(sample.chart, size.width, size.height));
      ASSERT_GT(texts.size(), 10u);
      const TextBox picture{0, 0, size.width, size.height};
      for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_TRUE(BoxInside(BoxOf(texts[i]), picture)) << texts[i].text;
        for (std::size_t j = i + 1; j < texts.size(); ++j) {
          EXPECT_FALSE(BoxesTouch(BoxOf(texts[i]), BoxOf(texts[j]), 0, 0))
              << '"' << texts[i].text << "\" and \"" << texts[j].text << '"';
        }
      }
    }
  }
}

// Whether the polyline passes through `box`, sampled every half pixel along it.
bool Crosses(const PolylineShape& line, const TextBox& box) {
  for (std::size_t i = 1; i < line.points.size(); ++i) {
    const PixelPoint a = line.points[i - 1], b = line.points[i];
    const double steps = std::max(1.0, 2 * std::hypot(b.x - a.x, b.y - a.y));
    for (double k = 0; k <= steps; ++k) {
      const double x = a.x + (b.x - a.x) * k / steps, y = a.y + (b.y - a.y) * k / steps;
      if (x >= box.left && x <= box.right && y >= box.top && y <= box.bottom) return true;
    }
  }
  return false;
}

TEST(ChartLayout, ViscosityLabelsStandApartAndBandLabelsClearOfLinesWhereThereIsRoom) {
  for (const SampleChart& sample : SampleCharts()) {
    for (const PictureSize& size : kPictureSizes) {
      SCOPED_TRACE(Where(sample, size));
      const ChartScene scene = LayOutChart(sample.chart, size.width, size.height);
      std::vector<TextBox> scale;
      for (const TextShape& text : TextsAmong(scene, LabelsOf(sample.chart.y_ticks))) {
        if (text.anchor == TextAnchor::End && text.at.x < scene.area.left) {
          scale.push_back(BoxOf(text));
        }
      }
      std::sort(scale.begin(), scale.end(),
                [](const TextBox& a, const TextBox& b) { return a.top < b.top; });
      ASSERT_GT(scale.size(), 2U);
      for (std::size_t i = 1; i < scale.size(); ++i) {
        EXPECT_GE(scale[i].top - scale[i - 1].bottom, 5) << i;
      }
    }
  }
  // One oil, its grade's label beside the band and off the line, whatever the size.
  const ChartDescription one = BuildChart({CatalogueOils()[6]});
  for (const PictureSize& size : kPictureSizes) {
    const ChartScene scene = LayOutChart(one, size.width, size.height);
    const std::vector<TextShape> label = TextsAmong(scene, {one.iso_bands.at(0).label});
    ASSERT_EQ(label.size(), 1U) << size.width;
    for (const Shape& shape : scene.shapes) {
      if (const auto* line = std::get_if<PolylineShape>(&shape)) {
        EXPECT_FALSE(Crosses(*line, BoxOf(label[0]))) << size.width;
      }
    }
  }
}

TEST(ChartLayout, EveryOilIsNamedAtTheHotEndInTheOrderOfItsLine) {
  const ChartDescription chart = BuildChart(CatalogueOils());
  // The lines from the top of the plot down at their hot ends.
  std::vector<const ChartLine*> lines;
  for (const ChartLine& line : chart.lines) lines.push_back(&line);
  std::stable_sort(lines.begin(), lines.end(), [](const ChartLine* a, const ChartLine* b) {
    return a->points.back().y > b->points.back().y;
  });
  std::vector<std::string> names;
  for (const ChartLine* line : lines) names.push_back(line->name);
  for (const PictureSize& size : kPictureSizes) {
    SCOPED_TRACE(size.width);
    const ChartScene scene = LayOutChart(chart, size.width, size.height);
    std::vector<TextShape> drawn = TextsAmong(scene, names);
    ASSERT_EQ(drawn.size(), names.size());
    std::stable_sort(drawn.begin(), drawn.end(),
                     [](const TextShape& a, const TextShape& b) { return a.at.y < b.at.y; });
    for (std::size_t i = 0; i < names.size(); ++i) {
      EXPECT_EQ(drawn[i].text, names[i]);
      EXPECT_EQ(drawn[i].colour, lines[i]->colour);
      // Right-aligned at the plot's right edge, inside it.
      EXPECT_NEAR(drawn[i].at.x, scene.area.left + scene.area.width - 4, 1e-9);
      EXPECT_GE(BoxOf(drawn[i]).top, scene.area.top);
      EXPECT_LE(BoxOf(drawn[i]).bottom, scene.area.top + scene.area.height);
    }
  }
}

TEST(ChartLayout, TemperatureLabelsAreThinnedEvenlyAndOnlyWhereTheyWouldTouch) {
  const ChartDescription chart = BuildChart(CatalogueOils());
  const struct {
    PictureSize size;
    std::vector<std::string> shown;
  } cases[] = {
      {{800, 560}, LabelsOf(chart.x_ticks)},
      {{480, 336}, {"-40", "0", "40", "80", "120", "160", "200", "240"}},
      {{300, 300}, {"0", "80", "160", "240"}},
  };
  for (const auto& c : cases) {
    const ChartScene scene = LayOutChart(chart, c.size.width, c.size.height);
    std::vector<std::string> shown;
    for (const TextShape& text : TextsAmong(scene, LabelsOf(chart.x_ticks))) {
      if (text.anchor == TextAnchor::Middle) shown.push_back(text.text);
    }
    EXPECT_EQ(shown, c.shown) << c.size.width;
  }
}

TEST(ChartLayout, EachBandIsDrawnAndItsLabelLiesBesideIt) {
  const ChartDescription chart = BuildChart(CatalogueOils());
  ASSERT_EQ(chart.iso_bands.size(), 10u);
  for (const PictureSize& size : kPictureSizes) {
    SCOPED_TRACE(size.width);
    const ChartScene scene = LayOutChart(chart, size.width, size.height);
    // Each band in its own colour, and wider than the ring of a point at 40 °C, which it shows
    // around.
    std::vector<const RectShape*> bands;
    std::vector<const CircleShape*> rings;
    for (const Shape& shape : scene.shapes) {
      const auto* rect = std::get_if<RectShape>(&shape);
      if (rect != nullptr && !rect->fill.empty() && rect->fill_opacity < 1) bands.push_back(rect);
      if (const auto* ring = std::get_if<CircleShape>(&shape)) rings.push_back(ring);
    }
    EXPECT_EQ(bands.size(), chart.iso_bands.size());
    std::size_t rings_on_bands = 0;
    for (const RectShape* band : bands) {
      EXPECT_EQ(band->fill, kChartBandColour);
      for (const CircleShape* ring : rings) {
        if (std::abs(ring->centre.x - (band->x + band->width / 2)) > 0.5) continue;
        ++rings_on_bands;
        EXPECT_GT(band->width, 2 * ring->radius + ring->stroke.width + 2);
      }
    }
    EXPECT_GT(rings_on_bands, 0U);
    std::size_t labelled = 0;
    for (const ChartBand& band : chart.iso_bands) {
      const std::vector<TextShape> label = TextsAmong(scene, {band.label});
      if (label.empty()) continue;
      ++labelled;
      const PixelPoint high = ToPixels(chart, scene.area, {band.x, band.y_high});
      const PixelPoint low = ToPixels(chart, scene.area, {band.x, band.y_low});
      const TextBox box = BoxOf(label.front());
      EXPECT_NEAR((box.top + box.bottom) / 2, (high.y + low.y) / 2, 2.5) << band.label;
      EXPECT_LT(std::min(std::abs(box.left - high.x), std::abs(box.right - high.x)),
                kChartBandHalfWidth + 4)
          << band.label;
    }
    // Adjacent grades lie closer than a label's height: at least every other one is labelled.
    EXPECT_GE(labelled, chart.iso_bands.size() / 2);
  }
}

TEST(ChartLayout, NothingOffTheAxisIsDrawn) {
  const struct {
    ChartSpan span;
    std::size_t circles;  // fitted points on the axis
  } cases[] = {{{}, 20}, {{50, 80}, 0}, {{60, 120}, 10}};
  for (const auto& c : cases) {
    const ChartDescription chart = BuildChart(CatalogueOils({}), c.span);
    const ChartScene scene = LayOutChart(chart, 800, 560);
    const double left = scene.area.left;
    const double right = scene.area.left + scene.area.width;
    std::size_t circles = 0;
    for (const Shape& shape : scene.shapes) {
      circles += std::holds_alternative<CircleShape>(shape);
      if (const auto* line = std::get_if<PolylineShape>(&shape)) {
        EXPECT_NEAR(line->points.front().x, left, 1e-9);
        EXPECT_NEAR(line->points.back().x, right, 1e-9);
      }
    }
    EXPECT_EQ(circles, c.circles);
  }
}
