#include "window/qt_controls.h"

#include "window/system_colours.h"

namespace project1 {

namespace {
// Largest font size a label accepts, in points.
constexpr double kMaxFontPoints = 2048;
}  // namespace

std::string QtTextBox::Text() const { return edit_->text().toStdString(); }

void QtTextBox::SetText(const std::string& text) {
  edit_->setText(QString::fromStdString(text));
  edit_->setCursorPosition(0);
}

void QtTextBox::SetBackColor(ColourValue colour) {
  SetBackgroundColour(*edit_, QPalette::Base, colour);
}

void QtLabel::SetCaption(const std::string& caption) {
  label_->setText(QString::fromStdString(caption));
}

void QtLabel::SetFontBold(bool bold) {
  QFont font = label_->font();
  font.setBold(bold);
  label_->setFont(font);
}

void QtLabel::SetFontSize(double points) {
  if (!(points > 0 && points <= kMaxFontPoints)) {
    throw Error(ErrorKind::ControlError,
                "The font size " + QString::number(points).toStdString() +
                    " points is not valid: it must be more than 0 and at most " +
                    QString::number(kMaxFontPoints).toStdString() + ".");
  }
  QFont font = label_->font();
  font.setPointSizeF(points);
  label_->setFont(font);
}

std::string QtComboBox::Text() const { return combo_->currentText().toStdString(); }

int QtComboBox::ListCount() const { return combo_->count(); }

void QtComboBox::AddItem(const std::string& item) {
  const bool free_text = combo_->currentIndex() < 0;
  const QString edit_text = combo_->currentText();
  combo_->addItem(QString::fromStdString(item));
  if (free_text && combo_->isEditable()) {
    combo_->setCurrentIndex(-1);
    combo_->setEditText(edit_text);
  }
}

QtForm1Controls::QtForm1Controls(const Form1Widgets& w)
    : vc_(w.vc),
      vh_(w.vh),
      tref_(w.tref),
      tref2_(w.tref2),
      sg_(w.SG),
      vcalc_(w.vcalc),
      vcalc2_(w.vcalc2),
      dyn_visc_(w.DynVisc),
      dyn_visc2_(w.DynVisc2),
      label4_(w.Label4),
      lub_list_(w.LubList) {}

}  // namespace project1
