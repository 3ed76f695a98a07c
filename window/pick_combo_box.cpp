#include "window/pick_combo_box.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QResizeEvent>
#include <QTimer>
#include <QWheelEvent>

namespace project1 {

PickComboBox::PickComboBox(QWidget* parent) : QComboBox(parent) {
  // Editable as setEditable(true) makes it, without the popup list it would build.
  auto* field = new QLineEdit(this);
  field->setPalette(palette());
  setLineEdit(field);
  connect(this, &QComboBox::activated, this, &PickComboBox::OnActivated);
}

void PickComboBox::OnActivated() {
  if (navigating_ || popup_closing_) {
    popup_closing_ = false;
    emit picked();
  }
}

void PickComboBox::hidePopup() {
  QComboBox::hidePopup();
  // The popup closes before it reports the chosen item, in the same event. A close without a
  // choice (Escape, a click outside) leaves the flag to be cleared on the next turn of the loop.
  popup_closing_ = true;
  QTimer::singleShot(0, this, [this] { popup_closing_ = false; });
}

void PickComboBox::changeEvent(QEvent* event) {
  // Before the popup list is built, a new font moves the edit field and repaints the box;
  // QComboBox would also build the list to give it the font, which the list takes from the box
  // when it is built. A size hint already computed is renewed only by QComboBox.
  if (event->type() == QEvent::FontChange && !size_asked_ &&
      findChild<QAbstractItemView*>() == nullptr) {
    QResizeEvent same_size(size(), size());
    QComboBox::resizeEvent(&same_size);
    QWidget::changeEvent(event);
    return;
  }
  QComboBox::changeEvent(event);
}

QSize PickComboBox::sizeHint() const {
  size_asked_ = true;
  return QComboBox::sizeHint();
}

QSize PickComboBox::minimumSizeHint() const {
  size_asked_ = true;
  return QComboBox::minimumSizeHint();
}

void PickComboBox::keyPressEvent(QKeyEvent* event) {
  const bool plain = (event->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) == 0;
  switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      navigating_ = plain;
      break;
    default:
      navigating_ = false;
  }
  QComboBox::keyPressEvent(event);
  navigating_ = false;
}

void PickComboBox::wheelEvent(QWheelEvent* event) {
  navigating_ = true;
  QComboBox::wheelEvent(event);
  navigating_ = false;
}

}  // namespace project1
