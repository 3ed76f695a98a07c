#pragma once
// An editable combo box that tells a pick from its list apart from typing in its edit field.
//
// QComboBox emits activated() for a pick in the popup and for arrow keys, but an editable one
// also emits it when Enter is pressed in the edit field or the field loses focus with a text
// that matches an item. Only the first two are picks: picked() is emitted for them alone.

#include <QComboBox>

namespace project1 {

class PickComboBox : public QComboBox {
  Q_OBJECT

 public:
  explicit PickComboBox(QWidget* parent = nullptr);

  void hidePopup() override;

 signals:
  // The user picked an item from the list (popup, arrow keys or wheel).
  void picked();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void OnActivated();

  bool navigating_ = false;     // inside an arrow key or wheel step
  bool popup_closing_ = false;  // the popup has just closed; a pick may follow at once
};

}  // namespace project1
