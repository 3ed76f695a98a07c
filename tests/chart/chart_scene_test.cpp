// The chart laid out in pixels: no text touching another or leaving the picture, measured by the
// font's advance widths; every oil named right of the plot in the lines' order, joined to its
// line's end; no name or band label crossed by a line; tick labels left out only where they
// crowd; each band drawn and labelled beside itself or by a leader; nothing drawn off the axis.

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

TEST(ChartTextBoxes, ATextTooWideIsCutShortAtAWholeCharacterWithAnEllipsis) {
  // At 2048 px a font unit is a pixel: "a" is 1255, "b" 1300, a blank 651, "…" and "中" 2048.
  const struct {
    const char* text;
    double width;
    const char* within;
  } cases[] = {
      {"ab", 2555, "ab"},           // fits exactly
      {"abab", 5109, "ab…"},        // "aba…" would take 5858
      {"ab ab", 5000, "ab…"},       // the blank before the cut dropped
      {"a中b", 4000, "a…"},         // a character of three bytes kept whole or not at all
      {"abc", 1000, "…"},           // nothing fits
      {"\xce\xbd\xce", 2000, "…"},  // a broken last character
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextWithin(c.text, 2048, false, c.width), c.within) << c.text;
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

TEST(ChartLayout, NoNameOrBandLabelIsCrossedByALine) {
  for (const SampleChart& sample : SampleCharts()) {
    std::vector<std::string> kept;  // the names and the bands' labels
    for (const ChartLine& line : sample.chart.lines) kept.push_back(line.name);
    for (const ChartBand& band : sample.chart.iso_bands) kept.push_back(band.label);
    for (const PictureSize& size : kPictureSizes) {
      SCOPED_TRACE(Where(sample, size));
      const ChartScene scene = LayOutChart(sample.chart, size.width, size.height);
      std::vector<const PolylineShape*> lines;
      for (const Shape& shape : scene.shapes) {
        if (const auto* line = std::get_if<PolylineShape>(&shape)) lines.push_back(line);
      }
      const double right = scene.area.left + scene.area.width;
      for (const TextShape& text : TextsOf(scene)) {
        const bool name = text.bold && text.at.x > right;
        if (!name && std::find(kept.begin(), kept.end(), text.text) == kept.end()) continue;
        for (const PolylineShape* line : lines) {
          EXPECT_FALSE(Crosses(*line, BoxOf(text))) << '"' << text.text << '"';
        }
      }
    }
  }
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

// The leaders drawn from a point to a text: the lines that are not grid lines or levels, which
// run across the whole plot.
std::vector<LineShape> LeadersOf(const ChartScene& scene) {
  const PlotArea& area = scene.area;
  const auto at = [](double a, double b) { return std::abs(a - b) < 1e-9; };
  std::vector<LineShape> leaders;
  for (const Shape& shape : scene.shapes) {
    const auto* line = std::get_if<LineShape>(&shape);
    if (line == nullptr) continue;
    const bool across = at(line->from.x, area.left) && at(line->to.x, area.left + area.width);
    const bool down = at(line->from.y, area.top) && at(line->to.y, area.top + area.height);
    if (!across && !down) leaders.push_back(*line);
  }
  return leaders;
}

TEST(ChartLayout, EveryOilIsNamedRightOfThePlotInTheOrderOfItsLineAndJoinedToItsEnd) {
  for (const SampleChart& sample : SampleCharts()) {
    const ChartDescription& chart = sample.chart;
    // The lines from the top of the plot down at their hot ends.
    std::vector<const ChartLine*> lines;
    for (const ChartLine& line : chart.lines) lines.push_back(&line);
    std::stable_sort(lines.begin(), lines.end(), [](const ChartLine* a, const ChartLine* b) {
      return a->points.back().y > b->points.back().y;
    });
    for (const PictureSize& size : kPictureSizes) {
      SCOPED_TRACE(Where(sample, size));
      const ChartScene scene = LayOutChart(chart, size.width, size.height);
      const double right = scene.area.left + scene.area.width;
      std::vector<TextShape> drawn;
      for (const TextShape& text : TextsOf(scene)) {
        if (text.bold && text.at.x > right) drawn.push_back(text);
      }
      ASSERT_EQ(drawn.size(), lines.size());
      std::stable_sort(drawn.begin(), drawn.end(),
                       [](const TextShape& a, const TextShape& b) { return a.at.y < b.at.y; });
      const std::vector<LineShape> leaders = LeadersOf(scene);
      for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& name = lines[i]->name;
        // The whole name, or its start and "…" where it is wider than a fifth of the picture.
        if (drawn[i].text != name) {
          const std::string start = drawn[i].text.substr(0, drawn[i].text.size() - 3);
          EXPECT_EQ(drawn[i].text.substr(start.size()), "…");
          EXPECT_EQ(name.substr(0, start.size()), start);
          EXPECT_GT(TextAdvance(name, drawn[i].size, true), 0.2 * size.width);
        }
        EXPECT_EQ(drawn[i].colour, lines[i]->colour);
        EXPECT_LE(BoxOf(drawn[i]).right, size.width);
        // A leader from the line's end to the name's middle, in the line's colour.
        const PixelPoint end = ToPixels(chart, scene.area, lines[i]->points.back());
        const TextBox box = BoxOf(drawn[i]);
        const auto leader = std::find_if(leaders.begin(), leaders.end(), [&](const LineShape& l) {
          return std::abs(l.from.x - end.x) < 1e-6 && std::abs(l.from.y - end.y) < 1e-6 &&
                 l.stroke.colour == lines[i]->colour;
        });
        ASSERT_NE(leader, leaders.end()) << name;
        EXPECT_NEAR(leader->to.x, box.left - 2, 1e-6) << name;
        EXPECT_GT(leader->to.y, box.top) << name;
        EXPECT_LT(leader->to.y, box.bottom) << name;
      }
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

TEST(ChartLayout, EveryBandIsSeenAroundItsRingsAndLabelledBesideItOrByALeader) {
  for (const SampleChart& sample : SampleCharts()) {
    const ChartDescription& chart = sample.chart;
    for (const PictureSize& size : kPictureSizes) {
      SCOPED_TRACE(Where(sample, size));
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
      for (const RectShape* band : bands) {
        EXPECT_EQ(band->fill, kChartBandColour);
        for (const CircleShape* ring : rings) {
          if (std::abs(ring->centre.x - (band->x + band->width / 2)) > 0.5) continue;
          EXPECT_GT(band->width, 2 * ring->radius + ring->stroke.width + 2);
        }
      }
      const std::vector<LineShape> leaders = LeadersOf(scene);
      for (const ChartBand& band : chart.iso_bands) {
        const std::vector<TextShape> label = TextsAmong(scene, {band.label});
        ASSERT_EQ(label.size(), 1U) << band.label;
        const PixelPoint high = ToPixels(chart, scene.area, {band.x, band.y_high});
        const PixelPoint low = ToPixels(chart, scene.area, {band.x, band.y_low});
        const TextBox box = BoxOf(label.front());
        const double middle = (box.top + box.bottom) / 2;
        const double gap = std::min(std::abs(box.left - high.x), std::abs(box.right - high.x));
        const bool beside = std::abs(middle - (high.y + low.y) / 2) < 2.5 ||
                            (middle >= high.y && middle <= low.y && gap < kChartBandHalfWidth + 4);
        if (beside && gap < kChartBandHalfWidth + 4) continue;
        // Else a leader from the band's side to the label's.
        const bool led = std::any_of(leaders.begin(), leaders.end(), [&](const LineShape& l) {
          const auto at_band = [&](PixelPoint p) {
            return std::abs(std::abs(p.x - high.x) - kChartBandHalfWidth) < 1e-6 &&
                   p.y >= high.y - 1e-6 && p.y <= low.y + 1e-6;
          };
          const auto at_label = [&](PixelPoint p) {
            return (std::abs(p.x - box.left) < 1.5 || std::abs(p.x - box.right) < 1.5) &&
                   std::abs(p.y - middle) < 1e-6;
          };
          return (at_band(l.from) && at_label(l.to)) || (at_band(l.to) && at_label(l.from));
        });
        EXPECT_TRUE(led) << band.label;
      }
    }
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
