#pragma once
// The window's controls surface over Qt widgets.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "window/controls.h"

namespace project1 {

class QtTextBox : public TextBox {
 public:
  explicit QtTextBox(QLineEdit* edit) : edit_(edit) {}
  std::string Text() const override;
  void SetText(const std::string& text) override;
  void SetBackColor(ColourValue colour) override;

 private:
  QLineEdit* edit_;
};

class QtLabel : public Label {
 public:
  explicit QtLabel(QLabel* label) : label_(label) {}
  void SetCaption(const std::string& caption) override;
  void SetFontBold(bool bold) override;
  void SetFontSize(double points) override;

 private:
  QLabel* label_;
};

class QtComboBox : public ComboBox {
 public:
  explicit QtComboBox(QComboBox* combo) : combo_(combo) {}
  std::string Text() const override;
  int ListCount() const override;
  // Appends without touching the edit field: an edit text that is not an item stays.
  void AddItem(const std::string& item) override;

 private:
  QComboBox* combo_;
};

// The named controls of the main window over its widgets.
struct Form1Widgets {
  QLineEdit* vc;
  QLineEdit* vh;
  QLineEdit* tref;
  QLineEdit* tref2;
  QLineEdit* SG;
  QLineEdit* vcalc;
  QLineEdit* vcalc2;
  QLineEdit* DynVisc;
  QLineEdit* DynVisc2;
  QLabel* Label4;
  QComboBox* LubList;
};

class QtForm1Controls : public Form1Controls {
 public:
  explicit QtForm1Controls(const Form1Widgets& w);

  TextBox& vc() override { return vc_; }
  TextBox& vh() override { return vh_; }
  TextBox& tref() override { return tref_; }
  TextBox& tref2() override { return tref2_; }
  TextBox& SG() override { return sg_; }
  TextBox& vcalc() override { return vcalc_; }
  TextBox& vcalc2() override { return vcalc2_; }
  TextBox& DynVisc() override { return dyn_visc_; }
  TextBox& DynVisc2() override { return dyn_visc2_; }
  Label& Label4() override { return label4_; }
  ComboBox& LubList() override { return lub_list_; }

 private:
  QtTextBox vc_, vh_, tref_, tref2_, sg_, vcalc_, vcalc2_, dyn_visc_, dyn_visc2_;
  QtLabel label4_;
  QtComboBox lub_list_;
};

}  // namespace project1
