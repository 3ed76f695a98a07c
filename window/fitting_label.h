#pragma once
// A label that draws its text smaller when the text does not fit its fixed box.
//
// The layout was made for a narrow font; where the installed font is wider, a caption would be
// cut off. The label keeps the font it was given (font() reports it unchanged) and only draws
// with a smaller size, in half-point steps, until the wrapped text fits.

#include <QLabel>

namespace project1 {

class FittingLabel : public QLabel {
 public:
  using QLabel::QLabel;

  // The font the text is drawn with now: font() or a smaller size of it.
  QFont DrawnFont() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace project1
