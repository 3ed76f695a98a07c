#pragma once
// A label that draws its text smaller when the text does not fit its fixed box.
//
// The layout was made for a narrow font; where the installed font is wider, a caption would be
// cut off. The label keeps the font it was given (font() reports it unchanged) and only draws
// with a smaller size, in half-point steps, until the wrapped text fits.
//
// With Qt::TextSelectableByMouse the text drawn can be selected with the mouse, as drawn, and
// copied (Ctrl+C, the context menu, or the X selection).

#include <QLabel>
#include <QTextLayout>

namespace project1 {

class FittingLabel : public QLabel {
 public:
  using QLabel::QLabel;

  // The font the text is drawn with now: font() or a smaller size of it.
  QFont DrawnFont() const;
  // The character position nearest to `point` (in the label's coordinates) in the text as drawn.
  int PositionAt(const QPoint& point) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  bool Selectable() const;
  int Flags() const;
  // Lays the text out as it is drawn: in DrawnFont(), wrapped to the box, from its top-left.
  void LayOut(QTextLayout& layout) const;
  void SelectTo(int position);

  int anchor_ = -1;  // where a mouse selection started; -1 when none is under way
};

}  // namespace project1
