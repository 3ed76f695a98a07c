#pragma once
// The viscosity-temperature chart window: the chart of the last successful calculation, drawn
// at the window's size, the oil's properties beside it, a bearing box (mean diameter and speed:
// the bearing's rated viscosity and four times it drawn across the chart, its viscosity ratio at
// the reference temperatures and the temperature of ratio 1) and buttons that save the chart as
// SVG or PNG. Separate, resizable and not modal; it is built only when the user opens it, and
// Ctrl+W closes it.

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <optional>
#include <vector>

#include "chart/chart.h"
#include "record/calculation_record.h"

namespace project1 {

inline constexpr const char* kChartWindowTitle = "Viscosity-temperature chart";

// Draws a chart description at the widget's size.
class ChartView : public QWidget {
  Q_OBJECT

 public:
  explicit ChartView(QWidget* parent = nullptr);
  void SetChart(const ChartDescription& chart);
  const std::optional<ChartDescription>& chart() const { return chart_; }
  // How many times the chart has been painted.
  int paints() const { return paints_; }
  // The chart at `size`, as the view paints it.
  QImage Picture(QSize size) const;

 signals:
  void painted();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<ChartDescription> chart_;
  int paints_ = 0;
};

class ChartWindow : public QWidget {
  Q_OBJECT

 public:
  explicit ChartWindow(QWidget* parent = nullptr);

  // Shows the chart and the properties of `record`'s oil.
  void ShowCalculation(const CalculationRecord& record);

  // Write the chart at the view's size; Error(FileError) naming the file when it cannot be
  // written, the previous file then left as it was.
  void SaveSvg(const QString& path) const;
  void SavePng(const QString& path) const;

  ChartView* view() const { return view_; }
  QLineEdit* bearing_diameter() const { return bearing_diameter_; }
  QLineEdit* bearing_speed() const { return bearing_speed_; }

 private:
  void AskAndSave(bool svg);
  // Redraws the chart and the bearing box from the record and the two bearing boxes.
  void UpdateChart();
  void ClearBearing(const QString& message);

  std::optional<CalculationRecord> record_;
  QLineEdit* bearing_diameter_ = nullptr;
  QLineEdit* bearing_speed_ = nullptr;
  QFormLayout* bearing_results_ = nullptr;
  QLabel* bearing_message_ = nullptr;

  ChartView* view_ = nullptr;
  QFormLayout* properties_ = nullptr;
  QPushButton* save_svg_ = nullptr;
  QPushButton* save_png_ = nullptr;
};

}  // namespace project1
