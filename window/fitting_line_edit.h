#pragma once
// A text box that shows its whole text: when the text is wider than the box, the box takes a
// smaller size of the font it was given, in half-point steps, until the text fits; when the text
// fits again, it goes back to the given font.

#include <QFont>
#include <QLineEdit>

namespace project1 {

class FittingLineEdit : public QLineEdit {
 public:
  explicit FittingLineEdit(QWidget* parent = nullptr);

  // The font the box was given; font() is this or, while the text needs it, a smaller size.
  QFont GivenFont() const { return given_; }
  // The width in pixels the box has for its text without scrolling.
  int TextRoom() const;

 protected:
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Fit();

  QFont given_;
  bool fitting_ = false;  // inside Fit(): the font change is the box's own
};

}  // namespace project1
