#pragma once
// The main window: the input and result boxes in two frames, the lubricant list, the calculate
// button and the notice line, with the window's three event handlers.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <memory>

#include "engine/model.h"

#include "numtext/error.h"
#include "window/pick_combo_box.h"
#include "window/qt_controls.h"

namespace project1 {

class WindowMenu;

// Client area of the window in twips.
inline constexpr int kClientWidthTwips = 13365;
inline constexpr int kClientHeightTwips = 6465;
// Twips per device-independent pixel: 1440 twips per inch at 96 pixels per inch.
inline constexpr int kTwipsPerPixel = 15;

class Form1Window : public QWidget {
  Q_OBJECT

 public:
  // Builds the window, makes it the single instance of the controls and runs Form_Load.
  explicit Form1Window(QWidget* parent = nullptr);
  ~Form1Window() override;

  // Fills the lubricant list and greys the four result boxes.
  void Form_Load();
  // Runs the calculate command. After the report of a failure about one input, the keyboard
  // focus is in that input's box with its text selected; after any other it stays where it was.
  void Command1_Click();
  // Writes the picked lubricant's values into the input boxes.
  void LubList_Click();

  // The context menu and its shortcuts.
  WindowMenu* window_menu() const { return window_menu_; }

 signals:
  // A calculation ran to its end.
  void calculated();

 private:
  // A new control named `name`, in its container and at its place in the layout table.
  template <typename Control, typename... Args>
  Control* Create(const char* name, Args&&... args);
  QLineEdit* CreateTextBox(const char* name, const QString& text, const QString& accessible_name,
                           const QString& tooltip);
  QLineEdit* CreateResultBox(const char* name, const QString& accessible_name, const char* unit,
                             double CalcState::*temperature);
  void BuildControls();
  void SetTabOrder();
  // Puts the focus in the box of the input `error` is about, its text selected.
  void LeadBackTo(const Error& error);

  QGroupBox* frame1_ = nullptr;
  QGroupBox* frame2_ = nullptr;
  std::array<QLabel*, 4> label2_{};
  QLabel* label1_ = nullptr;
  QLabel* label3_ = nullptr;
  QLabel* label4_ = nullptr;
  QLineEdit* vc_ = nullptr;
  QLineEdit* vh_ = nullptr;
  QLineEdit* tref_ = nullptr;
  QLineEdit* tref2_ = nullptr;
  QLineEdit* sg_ = nullptr;
  QLineEdit* vcalc_ = nullptr;
  QLineEdit* vcalc2_ = nullptr;
  QLineEdit* dyn_visc_ = nullptr;
  QLineEdit* dyn_visc2_ = nullptr;
  PickComboBox* lub_list_ = nullptr;
  QPushButton* command1_ = nullptr;
  std::unique_ptr<QtForm1Controls> controls_;
  WindowMenu* window_menu_ = nullptr;
};

}  // namespace project1
