#pragma once
// What a right-click on the main window's free area, its frames and its labels offers: the
// viscosity-temperature chart (Ctrl+G), copying the results (Ctrl+Shift+C), opening the table
// file, saving the oil in the boxes as one of the user's own, the user's oils, and the About box.
// The entries' shortcuts work without the menu. Nothing of the chart is built until the chart is
// opened.

#include <QAction>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <optional>

#include "record/calculation_record.h"

namespace project1 {

class ChartWindow;

class WindowMenu : public QObject {
  Q_OBJECT

 public:
  // Gives `form` the context menu and the entries' shortcuts; `button` gets a tooltip that tells
  // users about the menu.
  WindowMenu(QWidget* form, QWidget* button);
  ~WindowMenu() override;

  // Records the calculation that has just succeeded; the chart window, when open, follows it.
  void Calculated(const CalculationRecord& record);

  QAction* chart_action() const { return chart_; }
  QAction* copy_action() const { return copy_; }
  QAction* open_table_action() const { return open_table_; }
  QAction* about_action() const { return about_; }
  // "Save as my oil…" and "My oils…", whose handlers the main window connects.
  QAction* save_oil_action() const { return save_oil_; }
  QAction* my_oils_action() const { return my_oils_; }
  // The menu, built at the first right-click; nullptr before.
  QMenu* menu() const { return menu_; }
  // The chart window while it is open; nullptr otherwise.
  ChartWindow* chart_window() const;

  void OpenChart();
  void CopyResults();
  void OpenTable();
  void ShowAbout();

 private:
  void ShowMenu(const QPoint& at);

  QWidget* form_;
  QAction* chart_;
  QAction* copy_;
  QAction* open_table_;
  QAction* about_;
  QAction* save_oil_;
  QAction* my_oils_;
  QMenu* menu_ = nullptr;
  QPointer<ChartWindow> chart_window_;
  std::optional<CalculationRecord> last_;
};

}  // namespace project1
