#pragma once
// An editable combo box that tells a pick from its list apart from typing in its edit field.
//
// QComboBox emits activated() for a pick in the popup and for arrow keys, but an editable one
// also emits it when Enter is pressed in the edit field or the field loses focus with a text
// that matches an item. Only the first two are picks: picked() is emitted for them alone.
//
// Its popup list is built when it is first shown, not with the box: QComboBox builds it when
// made editable and at each change of font, and building it reads much of Qt's item-view code at
// the window's start.

#include <QComboBox>

namespace project1 {

class PickComboBox : public QComboBox {
  Q_OBJECT

 public:
  explicit PickComboBox(QWidget* parent = nullptr);

  void hidePopup() override;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  // The user picked an item from the list (popup, arrow keys or wheel).
  void picked();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void OnActivated();

  bool navigating_ = false;          // inside an arrow key or wheel step
  bool popup_closing_ = false;       // the popup has just closed; a pick may follow at once
  mutable bool size_asked_ = false;  // sizeHint() or minimumSizeHint() has been called
};

}  // namespace project1
