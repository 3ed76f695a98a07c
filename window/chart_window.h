#pragma once
// The viscosity-temperature chart window: the chart of the last successful calculation, drawn
// at the window's size, the oil's properties beside it, a bearing box (mean diameter and speed:
// the bearing's rated viscosity and four times it drawn across the chart, its viscosity ratio at
// the reference temperatures and the temperature of ratio 1; with its type, loads, cleanliness
// and reliability, its basic rating life L10h and at both reference temperatures a_ISO and the
// modified rating life L_nmh) and buttons that save the chart as
// SVG or PNG. Separate, resizable and not modal; it is built only when the user opens it, and
// Ctrl+W closes it.

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <optional>
#include <string>
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
  QComboBox* bearing_type() const { return bearing_type_; }
  QLineEdit* bearing_rating() const { return bearing_rating_; }
  QLineEdit* bearing_load() const { return bearing_load_; }
  QLineEdit* bearing_fatigue_load() const { return bearing_fatigue_load_; }
  QComboBox* bearing_cleanliness() const { return bearing_cleanliness_; }
  QComboBox* bearing_reliability() const { return bearing_reliability_; }

 private:
  void AskAndSave(bool svg);
  // Redraws the chart and the bearing box from the record and the two bearing boxes.
  void UpdateChart();
  void ClearBearing(const QString& message);
  // Shows the lives the life boxes allow at the rated viscosity; a message for a box that is wrong.
  void UpdateLife(double mean_diameter_mm, double speed_rpm, double rated_cst);
  // The bearing box's row `name`: its value, and the text of its label.
  void SetRow(const char* name, const std::string& text);
  void SetRowLabel(const char* name, const std::string& text);
  void ShowLifeRows(bool basic, bool modified);
  // Adds a line to the bearing box's message.
  void AddBearingMessage(const std::string& message);

  std::optional<CalculationRecord> record_;
  QLineEdit* bearing_diameter_ = nullptr;
  QLineEdit* bearing_speed_ = nullptr;
  QComboBox* bearing_type_ = nullptr;
  QLineEdit* bearing_rating_ = nullptr;
  QLineEdit* bearing_load_ = nullptr;
  QLineEdit* bearing_fatigue_load_ = nullptr;
  QComboBox* bearing_cleanliness_ = nullptr;
  QComboBox* bearing_reliability_ = nullptr;
  QFormLayout* bearing_results_ = nullptr;
  QLabel* bearing_message_ = nullptr;

  ChartView* view_ = nullptr;
  QFormLayout* properties_ = nullptr;
  QPushButton* save_svg_ = nullptr;
  QPushButton* save_png_ = nullptr;
};

}  // namespace project1
