#include "chart/chart_scene.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>

#include "chart/text_metrics.h"

namespace project1 {

namespace {

constexpr double kLeftMargin = 72;
constexpr double kRightMargin = 24;
constexpr double kTopMargin = 40;
constexpr double kBottomMargin = 52;

constexpr const char* kBackground = "#ffffff";
constexpr const char* kGrid = "#e2e2e2";
constexpr const char* kFrame = "#8a8a8a";
constexpr const char* kInk = "#303030";
constexpr const char* kBandText = "#6b5200";

constexpr double kTickTextSize = 11;
constexpr double kTitleSize = 15;
constexpr double kAxisTitleSize = 12;
constexpr double kLineWidth = 2;
constexpr double kFittedRadius = 5;
constexpr double kReferenceSide = 7;

// The y axis's title: its baseline's distance from the picture's left edge.
constexpr double kYTitleX = 18;
// The viscosity labels end this far left of the plot; the temperature labels' baseline sits this
// far below it.
constexpr double kYLabelOffset = 6;
constexpr double kXLabelBaseline = 16;
// The least room between two labels side by side, and one above the other, in pixels.
constexpr double kLabelGapX = 4;
constexpr double kLabelGapY = 1;
// A label beside a marker is tried at most this far up or down from its first place, a band's
// label this far, in steps of kShiftStep pixels.
constexpr double kNearShift = 14;
constexpr double kBandShift = 2;
constexpr double kShiftStep = 1;
// The oils' names stand in the margin right of the plot, this far from its edge, each joined by
// a leader to its line's end; the margin ends this far from the picture's edge. A name takes at
// most kNameShare of the picture's width, or kLeastNameRoom, and is cut short with "…" beyond.
constexpr double kNameLeaderRun = 14;
constexpr double kNameEdge = 6;
constexpr double kNameShare = 0.2;
constexpr double kLeastNameRoom = 48;
// A band's label is tried beside the band and these many pixels further out, each at the height
// nearest the band's middle where it is clear; from kLeaderOffset out it may also stand above or
// below the band, and a leader joins it to the band.
constexpr double kBandOffsets[] = {0, 8, 16, 32, 64};
constexpr double kLeaderOffset = 8;
// The least room between two viscosity labels one above the other: more than between other
// texts, so that the axis reads as a scale, not a column of numbers.
constexpr double kViscosityLabelGapY = 5;

// 0 for a power of ten, 1 for 2 or 5 times one, 2 for any other value.
int RoundnessRank(double value) {
  const double mantissa = value / std::pow(10.0, std::floor(std::log10(value) + 1e-9));
  auto near = [&](double m) { return std::abs(mantissa - m) < 1e-6; };
  if (near(1) || near(10)) return 0;
  if (near(2) || near(5)) return 1;
  return 2;
}

// The lines drawn, in pixels, for texts to keep clear of. Each line's points run left to right
// (its temperatures rise), so the part of it across a text is found by halving.
class LinesInPixels {
 public:
  void Add(std::vector<PixelPoint> points) { lines_.push_back(std::move(points)); }
  // Whether a line passes through `box` widened by `gap`.
  bool Cross(const TextBox& box, double gap) const {
    const double top = box.top - gap, bottom = box.bottom + gap;
    bool crossed = false;
    Spans(box.left - gap, box.right + gap,
          [&](double low, double high) { crossed = crossed || (high >= top && low <= bottom); });
    return crossed;
  }
  // For each line across the columns from `left` to `right`, the lowest and highest y it takes
  // there.
  template <typename Take>
  void Spans(double left, double right, Take take_span) const {
    for (const std::vector<PixelPoint>& points : lines_) {
      if (points.size() < 2 || points.back().x < left || points.front().x > right) continue;
      // y at x on the segment from a to b.
      const auto at = [](const PixelPoint& a, const PixelPoint& b, double x) {
        return b.x == a.x ? a.y : a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x);
      };
      auto next = std::lower_bound(points.begin() + 1, points.end(), left,
                                   [](const PixelPoint& p, double x) { return p.x < x; });
      if (next == points.end()) next = points.end() - 1;
      double low = INFINITY, high = -INFINITY;
      const auto take = [&](double y) {
        low = std::min(low, y);
        high = std::max(high, y);
      };
      take(at(*(next - 1), *next, std::max(left, (next - 1)->x)));
      for (; next != points.end() && next->x <= right; ++next) take(next->y);
      if (next != points.end()) take(at(*(next - 1), *next, right));
      take_span(low, high);
    }
  }

 private:
  std::vector<std::vector<PixelPoint>> lines_;
};

// The texts placed so far, no two touching. Their boxes are filed in a grid of square cells over
// the picture (a box beyond it in the cells of its edge), so that a new box is tried only against
// those in the cells it comes near, not against every box placed.
class Labels {
 public:
  Labels(double width, double height)
      : columns_(CellsAcross(width)), rows_(CellsAcross(height)), cells_(columns_ * rows_) {}

  // Places `text` where it lies inside `bounds` and clear of every text placed; false when it
  // does not.
  bool Place(const TextShape& text, const TextBox& bounds) {
    return PlaceShifted(text, {0}, bounds);
  }
  // Places `text` where it lies inside `bounds` and at least `gap_y` above or below every text
  // placed; false when it does not.
  bool PlaceApart(TextShape text, const TextBox& bounds, double gap_y) {
    const TextBox box = BoxOf(text);
    if (!BoxInside(box, bounds) || !Clear(box, gap_y)) return false;
    File(box);
    texts_.push_back(std::move(text));
    return true;
  }
  // Places the first of `choices` that fits; false when none does.
  bool PlaceFirst(const std::vector<TextShape>& choices, const TextBox& bounds) {
    return std::any_of(choices.begin(), choices.end(),
                       [&](const TextShape& text) { return Place(text, bounds); });
  }
  // Places `text` moved down by the first of `shifts` at which it fits; false when none does.
  // The text is measured once.
  // Given `lines`, the text keeps clear of them too.
  bool PlaceShifted(TextShape text, const std::vector<double>& shifts, const TextBox& bounds,
                    const LinesInPixels* lines = nullptr) {
    const TextBox measured = BoxOf(text);
    for (double shift : shifts) {
      TextBox box = measured;
      box.top += shift;
      box.bottom += shift;
      if (BoxInside(box, bounds) && Clear(box) && (lines == nullptr || !lines->Cross(box, 1))) {
        text.at.y += shift;
        File(box);
        texts_.push_back(std::move(text));
        return true;
      }
    }
    return false;
  }
  // Calls `take` with each placed box that comes within the gaps of the columns from `left` to
  // `right` (a box may come more than once).
  template <typename Take>
  void BoxesAcross(double left, double right, double top, double bottom, Take take) const {
    const TextBox column{left, top, right, bottom};
    AnyCell(column, kLabelGapX, kLabelGapY, [&](std::size_t cell) {
      for (std::size_t placed : cells_[cell]) {
        const TextBox& box = boxes_[placed];
        if (box.left < right + kLabelGapX && left < box.right + kLabelGapX) take(box);
      }
      return false;
    });
  }
  std::vector<TextShape>& texts() { return texts_; }

 private:
  static constexpr double kCell = 48;

  static std::size_t CellsAcross(double length) {
    return std::max<std::size_t>(
        1, static_cast<std::size_t>(std::ceil(std::max(length, 0.0) / kCell)));
  }
  // The cells from `low` to `high` along one side of `count` cells, those beyond at its edges.
  static std::pair<std::size_t, std::size_t> Span(double low, double high, std::size_t count) {
    const auto cell = [count](double at) {
      const double index = std::floor(at / kCell);
      if (!(index > 0)) return std::size_t{0};
      return std::min(count - 1, static_cast<std::size_t>(index));
    };
    return {cell(low), cell(high)};
  }
  template <typename Visit>
  bool AnyCell(const TextBox& box, double gap_x, double gap_y, Visit visit) const {
    const auto [first_column, last_column] = Span(box.left - gap_x, box.right + gap_x, columns_);
    const auto [first_row, last_row] = Span(box.top - gap_y, box.bottom + gap_y, rows_);
    for (std::size_t row = first_row; row <= last_row; ++row) {
      for (std::size_t column = first_column; column <= last_column; ++column) {
        if (visit(row * columns_ + column)) return true;
      }
    }
    return false;
  }
  bool Clear(const TextBox& box, double gap_y = kLabelGapY) const {
    return !AnyCell(box, kLabelGapX, gap_y, [&](std::size_t cell) {
      return std::any_of(cells_[cell].begin(), cells_[cell].end(), [&](std::size_t placed) {
        return BoxesTouch(box, boxes_[placed], kLabelGapX, gap_y);
      });
    });
  }
  void File(const TextBox& box) {
    AnyCell(box, 0, 0, [&](std::size_t cell) {
      cells_[cell].push_back(boxes_.size());
      return false;
    });
    boxes_.push_back(box);
  }

  std::size_t columns_;
  std::size_t rows_;
  std::vector<std::vector<std::size_t>> cells_;  // the boxes in each cell, by their index
  std::vector<TextBox> boxes_;
  std::vector<TextShape> texts_;
};

// 0, then kShiftStep down, up, two steps down, up, ... to `reach` either way.
std::vector<double> ShiftsWithin(double reach) {
  std::vector<double> shifts = {0};
  for (double d = kShiftStep; d <= reach; d += kShiftStep) {
    shifts.push_back(d);
    shifts.push_back(-d);
  }
  return shifts;
}

// The temperature labels: every m-th tick labelled, for the smallest m of kThinning at which
// no two labels touch; a label that would leave the picture is left out.
void PlaceTemperatureLabels(const ChartDescription& chart, const PlotArea& area,
                            const TextBox& picture, Labels& labels) {
  static constexpr std::int64_t kThinning[] = {1, 2, 4, 5, 10, 20, 40, 50, 100};
  const std::vector<ChartTick>& ticks = chart.x_ticks;
  const double step = ticks.size() > 1 ? ticks[1].value - ticks[0].value : 1;
  const double bottom = area.top + area.height;
  for (std::int64_t every : kThinning) {
    Labels trial = labels;
    bool clear = true;
    for (const ChartTick& tick : ticks) {
      if (std::llround(tick.value / step) % every != 0) continue;
      const double x = ToPixels(chart, area, {tick.position, chart.y_min}).x;
      const TextShape text = MakeText({x, bottom + kXLabelBaseline}, tick.label, kTickTextSize,
                                      TextAnchor::Middle, kInk, false, false);
      if (!BoxInside(BoxOf(text), picture)) continue;
      if (!trial.Place(text, picture)) {
        clear = false;
        break;
      }
    }
    if (clear) {
      labels = std::move(trial);
      return;
    }
  }
}

// The viscosity labels: each kept unless it would touch a label of a rounder value: powers of
// ten first, then 2 and 5 times them, then the rest.
void PlaceViscosityLabels(const ChartDescription& chart, const PlotArea& area,
                          const TextBox& picture, Labels& labels) {
  std::vector<const ChartTick*> ticks;
  for (const ChartTick& tick : chart.y_ticks) ticks.push_back(&tick);
  std::stable_sort(ticks.begin(), ticks.end(), [](const ChartTick* a, const ChartTick* b) {
    return RoundnessRank(a->value) < RoundnessRank(b->value);
  });
  for (const ChartTick* tick : ticks) {
    const double y = ToPixels(chart, area, {chart.x_min, tick->position}).y;
    labels.PlaceApart(MakeText({area.left - kYLabelOffset, y + 4}, tick->label, kTickTextSize,
                               TextAnchor::End, kInk, false, false),
                      picture, kViscosityLabelGapY);
  }
}

// The most room a name takes across in a picture `width` pixels wide.
double NameRoom(double width) { return std::max(kLeastNameRoom, kNameShare * width); }

// The widest name drawn, in pixels, each cut to the room there is.
double WidestName(const ChartDescription& chart, double width) {
  double widest = 0;
  for (const ChartLine& line : chart.lines) {
    if (line.points.empty()) continue;
    widest = std::max(widest, TextAdvance(line.name, kAxisTitleSize, true));
  }
  return std::min(widest, NameRoom(width));
}

// `wanted` (ascending) moved apart to at least `pitch` from each other and kept within
// [lowest, highest] where they fit: runs that would come too close are set as one, centred on
// where their members want to be, so that each moves as little as it can. The order stays.
std::vector<double> SpreadApart(const std::vector<double>& wanted, double pitch, double lowest,
                                double highest) {
  struct Run {
    std::size_t first;
    std::size_t count;
    double start;
  };
  std::vector<Run> runs;
  const auto settle = [&](Run& run) {
    double sum = 0;
    for (std::size_t k = 0; k < run.count; ++k) {
      sum += wanted[run.first + k] - static_cast<double>(k) * pitch;
    }
    const double last_start = highest - static_cast<double>(run.count - 1) * pitch;
    run.start = std::max(lowest, std::min(sum / static_cast<double>(run.count), last_start));
  };
  for (std::size_t i = 0; i < wanted.size(); ++i) {
    runs.push_back({i, 1, 0});
    settle(runs.back());
    while (runs.size() > 1) {
      Run& before = runs[runs.size() - 2];
      const Run& after = runs.back();
      if (before.start + static_cast<double>(before.count) * pitch <= after.start) break;
      before.count += after.count;
      runs.pop_back();
      settle(runs.back());
    }
  }
  std::vector<double> placed;
  placed.reserve(wanted.size());
  for (const Run& run : runs) {
    for (std::size_t k = 0; k < run.count; ++k) {
      placed.push_back(run.start + static_cast<double>(k) * pitch);
    }
  }
  return placed;
}

// The value in [lowest, highest] nearest `wanted` that lies in none of the open intervals
// `taken`; none when every value there is taken.
std::optional<double> NearestFree(std::vector<std::pair<double, double>>& taken, double wanted,
                                  double lowest, double highest) {
  if (!(lowest <= highest)) return std::nullopt;
  // Sorted and merged, so that few remain to try.
  std::sort(taken.begin(), taken.end());
  std::size_t merged = 0;
  for (const auto& span : taken) {
    if (merged > 0 && span.first < taken[merged - 1].second) {
      taken[merged - 1].second = std::max(taken[merged - 1].second, span.second);
    } else {
      taken[merged++] = span;
    }
  }
  taken.resize(merged);
  const auto free = [&](double at) {
    return std::none_of(taken.begin(), taken.end(),
                        [at](const auto& span) { return span.first < at && at < span.second; });
  };
  std::optional<double> best;
  const auto consider = [&](double at) {
    at = std::max(lowest, std::min(at, highest));
    if ((!best || std::abs(at - wanted) < std::abs(*best - wanted)) && free(at)) best = at;
  };
  consider(wanted);
  for (const auto& [start, end] : taken) {
    consider(start);
    consider(end);
  }
  return best;
}

}  // namespace

LineShape MakeLine(PixelPoint from, PixelPoint to, const Stroke& stroke) {
  LineShape shape;
  shape.from = from;
  shape.to = to;
  shape.stroke = stroke;
  return shape;
}

CircleShape MakeCircle(PixelPoint centre, double radius, const Stroke& stroke,
                       const std::string& fill) {
  CircleShape shape;
  shape.centre = centre;
  shape.radius = radius;
  shape.stroke = stroke;
  shape.fill = fill;
  return shape;
}

RectShape MakeRect(double x, double y, double width, double height, const Stroke& stroke,
                   const std::string& fill, double fill_opacity) {
  RectShape shape;
  shape.x = x;
  shape.y = y;
  shape.width = width;
  shape.height = height;
  shape.stroke = stroke;
  shape.fill = fill;
  shape.fill_opacity = fill_opacity;
  return shape;
}

TextShape MakeText(PixelPoint at, const std::string& text, double size, TextAnchor anchor,
                   const std::string& colour, bool bold, bool vertical) {
  TextShape shape;
  shape.at = at;
  shape.text = text;
  shape.size = size;
  shape.anchor = anchor;
  shape.colour = colour;
  shape.bold = bold;
  shape.vertical = vertical;
  return shape;
}

PlotArea PlotAreaFor(const ChartDescription& chart, double width, double height) {
  double widest = 0;
  for (const ChartTick& tick : chart.y_ticks) {
    widest = std::max(widest, TextAdvance(tick.label, kTickTextSize, false));
  }
  const double left = std::max(kLeftMargin, kYTitleX + kChartFontDescent * kAxisTitleSize +
                                                kLabelGapX + widest + kYLabelOffset);
  const double right =
      std::max(kRightMargin, kNameLeaderRun + WidestName(chart, width) + kNameEdge);
  return {left, kTopMargin, std::max(1.0, width - left - right),
          std::max(1.0, height - kTopMargin - kBottomMargin)};
}

PixelPoint ToPixels(const ChartDescription& chart, const PlotArea& area, ChartPoint point) {
  return {area.left + (point.x - chart.x_min) / (chart.x_max - chart.x_min) * area.width,
          area.top + (chart.y_max - point.y) / (chart.y_max - chart.y_min) * area.height};
}

ChartScene LayOutChart(const ChartDescription& chart, double width, double height) {
  const PlotArea area = PlotAreaFor(chart, width, height);
  ChartScene scene{width, height, kBackground, area, {}};
  std::vector<Shape>& shapes = scene.shapes;
  const double right = area.left + area.width;
  const double bottom = area.top + area.height;
  const TextBox picture{0, 0, width, height};
  const TextBox plot{area.left, area.top, right, bottom};
  auto px = [&](double x, double y) { return ToPixels(chart, area, {x, y}); };
  auto on_axis = [&](const ChartMarker& marker) {
    return marker.at.x >= chart.x_min && marker.at.x <= chart.x_max;
  };

  // The texts, the most needed first: each later one keeps clear of those before it.
  Labels labels(width, height);
  labels.Place(
      MakeText({width / 2, 26}, kChartTitle, kTitleSize, TextAnchor::Middle, kInk, true, false),
      picture);
  labels.Place(MakeText({area.left + area.width / 2, height - 12}, ChartXTitle(chart.unit),
                        kAxisTitleSize, TextAnchor::Middle, kInk, false, false),
               picture);
  labels.Place(MakeText({kYTitleX, area.top + area.height / 2}, kChartYTitle, kAxisTitleSize,
                        TextAnchor::Middle, kInk, false, true),
               picture);
  PlaceTemperatureLabels(chart, area, picture, labels);
  PlaceViscosityLabels(chart, area, picture, labels);

  // Each level labelled above or below its line, at the cold end or else the hot one.
  const std::vector<double> near = ShiftsWithin(kNearShift);
  for (const ChartLevel& level : chart.levels) {
    const double y = px(chart.x_min, level.y).y;
    const double below = y + 4 + kChartFontAscent * kTickTextSize;
    std::vector<TextShape> choices;
    for (const auto& [x, anchor] :
         {std::pair{area.left + 6, TextAnchor::Start}, std::pair{right - 6, TextAnchor::End}}) {
      for (double baseline : {y - 4, below}) {
        choices.push_back(MakeText({x, baseline}, level.label, kTickTextSize, anchor,
                                   kChartLevelColour, false, false));
      }
    }
    labels.PlaceFirst(choices, plot);
  }

  // The names in the margin right of the plot, in the order of their lines' ends from the top,
  // each as near its line's end as the others leave room for and joined to it by a leader.
  std::vector<LineShape> leaders;
  {
    struct Name {
      const ChartLine* line;
      PixelPoint end;
    };
    std::vector<Name> ends;
    for (const ChartLine& line : chart.lines) {
      if (!line.points.empty())
        ends.push_back({&line, px(line.points.back().x, line.points.back().y)});
    }
    std::stable_sort(ends.begin(), ends.end(),
                     [](const Name& a, const Name& b) { return a.end.y < b.end.y; });
    // A name's baseline this far below the middle of its height.
    const double centre_to_baseline = (kChartFontAscent - kChartFontDescent) / 2 * kAxisTitleSize;
    std::vector<double> wanted;
    for (const Name& name : ends) wanted.push_back(name.end.y + centre_to_baseline);
    const double pitch = (kChartFontAscent + kChartFontDescent) * kAxisTitleSize + kLabelGapY;
    const std::vector<double> baselines =
        SpreadApart(wanted, pitch, kChartFontAscent * kAxisTitleSize + kLabelGapY,
                    height - kChartFontDescent * kAxisTitleSize - kLabelGapY);
    const double room = NameRoom(width);
    const double x = right + kNameLeaderRun;
    std::vector<double> anywhere;  // up or down the margin, where a name does not fit as spread
    for (std::size_t i = 0; i < ends.size(); ++i) {
      const ChartLine& line = *ends[i].line;
      TextShape name =
          MakeText({x, baselines[i]}, TextWithin(line.name, kAxisTitleSize, true, room),
                   kAxisTitleSize, TextAnchor::Start, line.colour, true, false);
      if (!labels.Place(name, picture)) {
        if (anywhere.empty()) anywhere = ShiftsWithin(std::max(height, 1.0));
        if (!labels.PlaceShifted(name, anywhere, picture)) continue;
      }
      const double middle = labels.texts().back().at.y - centre_to_baseline;
      leaders.push_back(MakeLine(ends[i].end, {x - 2, middle}, {line.colour, 1}));
    }
  }

  // The lines in pixels, which the bands' labels keep clear of where they can.
  LinesInPixels lines_drawn;
  for (const ChartLine& line : chart.lines) {
    std::vector<PixelPoint> points;
    points.reserve(line.points.size());
    for (const ChartPoint& point : line.points) points.push_back(px(point.x, point.y));
    lines_drawn.Add(std::move(points));
  }
  for (const ChartLevel& level : chart.levels) {
    const double y = px(chart.x_min, level.y).y;
    lines_drawn.Add({{area.left, y}, {right, y}});
  }

  // Each band's grade beside the band, right of it or else left of it, as near its middle as it
  // is clear of the lines and the texts; further out where it is not, with a leader. Where no
  // place is clear of the lines, level with the band's middle clear of the texts.
  const std::vector<double> band_shifts = ShiftsWithin(kBandShift);
  const double label_height = (kChartFontAscent + kChartFontDescent) * kTickTextSize;
  // From the highest grade down, each side's labels in the grades' order, so that no two of
  // their leaders cross.
  std::vector<const ChartBand*> bands;
  for (const ChartBand& band : chart.iso_bands) bands.push_back(&band);
  std::stable_sort(bands.begin(), bands.end(), [](const ChartBand* a, const ChartBand* b) {
    return a->y_high + a->y_low > b->y_high + b->y_low;
  });
  double lowest_label[2] = {-INFINITY, -INFINITY};  // the bottom of the last, right and left
  for (const ChartBand* band_drawn : bands) {
    const ChartBand& band = *band_drawn;
    const PixelPoint high = px(band.x, band.y_high);
    const PixelPoint low = px(band.x, band.y_low);
    const double middle = (high.y + low.y) / 2;
    const double label_width = TextAdvance(band.label, kTickTextSize, false);
    struct Place {
      double cost = INFINITY;
      double left = 0;  // of the label's box
      double top = 0;
      bool right_side = true;
      double offset = 0;
    } best;
    std::vector<std::pair<double, double>> taken;
    // Close beside the band, a label stays level with it, so that one further up or down stands
    // out far enough for its leader to be seen apart from the others; where that leaves no
    // place, it may stand anywhere.
    for (const bool level_when_close : {true, false}) {
      if (std::isfinite(best.cost)) break;
      for (const bool right_side : {true, false}) {
        for (const double offset : kBandOffsets) {
          if (offset >= best.cost) break;  // no place further out is nearer
          const double left = right_side ? high.x + kChartBandHalfWidth + 3 + offset
                                         : high.x - kChartBandHalfWidth - 3 - offset - label_width;
          if (left < plot.left || left + label_width > plot.right) continue;
          const bool close = level_when_close && offset < kLeaderOffset;
          const double lowest = close ? std::max(plot.top, high.y - label_height / 2) : plot.top;
          const double highest =
              (close ? std::min(plot.bottom, low.y + label_height / 2) : plot.bottom) -
              label_height;
          if (!(lowest <= highest)) continue;
          // The tops at which the label would touch a line or a text.
          taken.clear();
          taken.emplace_back(-INFINITY, lowest_label[right_side ? 0 : 1] + kLabelGapY);
          lines_drawn.Spans(left - 1, left + label_width + 1, [&](double y_low, double y_high) {
            taken.emplace_back(y_low - 1 - label_height, y_high + 1);
          });
          labels.BoxesAcross(
              left, left + label_width, lowest, highest + label_height, [&](const TextBox& box) {
                taken.emplace_back(box.top - kLabelGapY - label_height, box.bottom + kLabelGapY);
              });
          const double wanted = middle - label_height / 2;
          const std::optional<double> top = NearestFree(taken, wanted, lowest, highest);
          if (!top) continue;
          // Right of the band first, then the nearest.
          const double cost = std::abs(*top - wanted) + offset + (right_side ? 0 : 0.5);
          if (cost < best.cost) best = {cost, left, *top, right_side, offset};
        }
      }
    }
    if (std::isfinite(best.cost)) {
      const TextShape text =
          MakeText({best.left, best.top + kChartFontAscent * kTickTextSize}, band.label,
                   kTickTextSize, TextAnchor::Start, kBandText, false, false);
      if (labels.Place(text, plot)) {
        lowest_label[best.right_side ? 0 : 1] = best.top + label_height;
        const double text_middle = best.top + label_height / 2;
        if (best.offset > 0 || text_middle < high.y || text_middle > low.y) {
          const double band_edge =
              best.right_side ? high.x + kChartBandHalfWidth : high.x - kChartBandHalfWidth;
          const double text_edge = best.right_side ? best.left - 1 : best.left + label_width + 1;
          const PixelPoint from{band_edge, std::max(high.y, std::min(text_middle, low.y))};
          const PixelPoint to{text_edge, text_middle};
          leaders.push_back(MakeLine(from, to, {kBandText, 1}));
          lines_drawn.Add({best.right_side ? from : to, best.right_side ? to : from});
        }
        continue;
      }
    }
    bool placed = false;
    for (const auto& [x, anchor] : {std::pair{high.x + kChartBandHalfWidth + 3, TextAnchor::Start},
                                    std::pair{high.x - kChartBandHalfWidth - 3, TextAnchor::End}}) {
      const double baseline = middle + (kChartFontAscent - kChartFontDescent) / 2 * kTickTextSize;
      placed = placed || labels.PlaceShifted(MakeText({x, baseline}, band.label, kTickTextSize,
                                                      anchor, kBandText, false, false),
                                             band_shifts, plot);
    }
  }

  // Each reference value beside its marker: to the right, or to the left in the right quarter of
  // the plot, else on the other side.
  for (const ChartLine& line : chart.lines) {
    for (const ChartMarker& marker : line.references) {
      if (!on_axis(marker)) continue;
      const PixelPoint at = px(marker.at.x, marker.at.y);
      const bool left_first = at.x > area.left + 0.75 * area.width;
      for (bool left : {left_first, !left_first}) {
        if (labels.PlaceShifted(
                MakeText({left ? at.x - 8 : at.x + 8, at.y - 6}, marker.label, kTickTextSize,
                         left ? TextAnchor::End : TextAnchor::Start, line.colour, false, false),
                near, plot)) {
          break;
        }
      }
    }
  }

  // The shapes, back to front.
  for (const ChartTick& tick : chart.x_ticks) {
    const double x = px(tick.position, chart.y_min).x;
    shapes.push_back(MakeLine({x, area.top}, {x, bottom}, {kGrid, 1}));
  }
  for (const ChartTick& tick : chart.y_ticks) {
    const double y = px(chart.x_min, tick.position).y;
    shapes.push_back(MakeLine({area.left, y}, {right, y}, {kGrid, 1}));
  }
  for (const ChartBand& band : chart.iso_bands) {
    const PixelPoint high = px(band.x, band.y_high);
    const PixelPoint low = px(band.x, band.y_low);
    shapes.push_back(MakeRect(high.x - kChartBandHalfWidth, high.y, 2 * kChartBandHalfWidth,
                              low.y - high.y, {kChartBandColour, 1}, kChartBandColour, 0.35));
  }
  for (const ChartLevel& level : chart.levels) {
    const double y = px(chart.x_min, level.y).y;
    shapes.push_back(MakeLine({area.left, y}, {right, y}, {kChartLevelColour, 1.5}));
  }
  shapes.push_back(MakeRect(area.left, area.top, area.width, area.height, {kFrame, 1}, "", 1));
  for (const ChartLine& line : chart.lines) {
    PolylineShape polyline{{}, {line.colour, kLineWidth}};
    for (const ChartPoint& point : line.points) polyline.points.push_back(px(point.x, point.y));
    if (!polyline.points.empty()) shapes.push_back(std::move(polyline));
  }
  for (const ChartLine& line : chart.lines) {
    for (const ChartMarker& marker : line.fitted) {
      if (!on_axis(marker)) continue;
      shapes.push_back(
          MakeCircle(px(marker.at.x, marker.at.y), kFittedRadius, {line.colour, 1.5}, ""));
    }
    for (const ChartMarker& marker : line.references) {
      if (!on_axis(marker)) continue;
      const PixelPoint at = px(marker.at.x, marker.at.y);
      shapes.push_back(MakeRect(at.x - kReferenceSide / 2, at.y - kReferenceSide / 2,
                                kReferenceSide, kReferenceSide, {kInk, 1}, line.colour, 1));
    }
  }
  for (LineShape& leader : leaders) shapes.push_back(std::move(leader));
  for (TextShape& text : labels.texts()) shapes.push_back(std::move(text));
  return scene;
}

}  // namespace project1
