#pragma once
// The main window: the input and result boxes in two frames, the lubricant list, the calculate
// button and the notice line.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <filesystem>
#include <vector>

#include "engine/calculate.h"
#include "error/error.h"
#include "record/calculation_record.h"
#include "table_file/table_file.h"
#include "user_oils/user_oils.h"
#include "window/my_oils_dialog.h"
#include "window/pick_combo_box.h"

namespace project1 {

class WindowMenu;

// Client area of the window in twips.
inline constexpr int kClientWidthTwips = 13365;
inline constexpr int kClientHeightTwips = 6465;
// Twips per device-independent pixel: 1440 twips per inch at 96 pixels per inch.
inline constexpr int kTwipsPerPixel = 15;

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  // Runs the calculation on the five inputs and shows its outcome. After the report of a
  // failure about one input, the keyboard focus is in that input's box with its text selected;
  // after any other it stays where it was.
  void OnCalculate();
  // Writes the picked lubricant's values into the input boxes, a catalogue oil's or one of the
  // user's own; nothing for "OTHER" or a typed text that names no oil.
  void OnLubricantPicked();

  // "Save as my oil…": reads the three values in the boxes with the window's number rules (a bad
  // one is reported, its box focused), asks for a name and a note, and adds the oil to the
  // user's oils file.
  void OnSaveAsMyOil();
  // Adds `oil` to the user's oils file and the list; false, after reporting why, when refused.
  bool SaveAsMyOil(const UserOil& oil);
  // "My oils…": opens the window that lists, renames, edits and removes the user's oils.
  void OnMyOils();
  // Reads the user's oils file again and fills the list with what it holds.
  void ReloadUserOils();

  // The user's oils the list shows, in list order; the "My oils" window while it is open.
  const std::vector<UserOil>& user_oils() const { return user_oils_; }
  MyOilsDialog* my_oils_dialog() const { return my_oils_.data(); }

  // The context menu and its shortcuts.
  WindowMenu* window_menu() const { return window_menu_; }

 signals:
  // A calculation ran to its end.
  void calculated(const project1::CalculationRecord& record);

 private:
  // A new control named `name`, in its container and at its place in the layout table.
  template <typename Control, typename... Args>
  Control* Create(const char* name, Args&&... args);
  QLineEdit* CreateTextBox(const char* name, const QString& text, const QString& accessible_name,
                           const QString& tooltip);
  QLineEdit* CreateResultBox(const char* name, const QString& accessible_name, const char* unit,
                             double CalcState::*temperature);
  void BuildControls();
  void FillLubricantList();
  // Reads the user's oils file, only when it exists; its problems go to the notice line.
  void LoadUserOils();
  void SetTabOrder();
  // Shows the outcome's results, then either the completion notice and fresh colours, or the
  // report of its failure.
  void Show(const CalculationOutcome& outcome);
  QLineEdit* ResultBox(Result result) const;
  QLineEdit* InputBoxOf(const Error& error) const;
  CalculationRecord Record(const CalculationOutcome& outcome) const;

  // The numbers of the latest calculation; the result boxes' tooltips name its temperatures.
  CalcState latest_;

  QGroupBox* kinematic_frame_ = nullptr;
  QGroupBox* dynamic_frame_ = nullptr;
  QLabel* notice_ = nullptr;
  QLineEdit* visc40_box_ = nullptr;
  QLineEdit* visc100_box_ = nullptr;
  QLineEdit* temp1_box_ = nullptr;
  QLineEdit* temp2_box_ = nullptr;
  QLineEdit* gravity_box_ = nullptr;
  QLineEdit* visc1_box_ = nullptr;
  QLineEdit* visc2_box_ = nullptr;
  QLineEdit* dynamic1_box_ = nullptr;
  QLineEdit* dynamic2_box_ = nullptr;
  PickComboBox* lubricant_list_ = nullptr;
  QPushButton* calculate_button_ = nullptr;
  WindowMenu* window_menu_ = nullptr;
  // The user's oils in name order, without those a catalogue name hides.
  std::vector<UserOil> user_oils_;
  QPointer<MyOilsDialog> my_oils_;
};

}  // namespace project1
