#include "window/fitting_label.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QTextOption>
#include <cmath>

namespace project1 {

namespace {
constexpr double kSmallestPoints = 6;
constexpr double kStepPoints = 0.5;

bool Fits(const QFont& font, const QRect& box, int flags, const QString& text) {
  const QRect needed = QFontMetrics(font).boundingRect(box, flags, text);
  return needed.width() <= box.width() && needed.height() <= box.height();
}
}  // namespace

int FittingLabel::Flags() const {
  return static_cast<int>(alignment()) | (wordWrap() ? Qt::TextWordWrap : 0);
}

bool FittingLabel::Selectable() const {
  return (textInteractionFlags() & Qt::TextSelectableByMouse) != 0 && textFormat() == Qt::PlainText;
}

QFont FittingLabel::DrawnFont() const {
  QFont drawn = font();
  const int flags = Flags();
  const QRect box = contentsRect();
  while (!Fits(drawn, box, flags, text()) && drawn.pointSizeF() - kStepPoints >= kSmallestPoints) {
    drawn.setPointSizeF(drawn.pointSizeF() - kStepPoints);
  }
  return drawn;
}

void FittingLabel::LayOut(QTextLayout& layout) const {
  // Lines are placed as QPainter::drawText places them for a top-left aligned, wrapped text.
  const QFont drawn = DrawnFont();
  layout.setText(text());
  layout.setFont(drawn);
  QTextOption option(alignment());
  option.setWrapMode(wordWrap() ? QTextOption::WordWrap : QTextOption::NoWrap);
  layout.setTextOption(option);
  const qreal leading = QFontMetricsF(drawn).leading();
  qreal height = -leading;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(contentsRect().width());
    height = std::ceil(height + leading);
    line.setPosition(QPointF(0, height));
    height += line.height();
  }
  layout.endLayout();
}

int FittingLabel::PositionAt(const QPoint& point) const {
  QTextLayout layout;
  LayOut(layout);
  const QPointF at = point - contentsRect().topLeft();
  for (int i = 0; i < layout.lineCount(); ++i) {
    const QTextLine line = layout.lineAt(i);
    if (at.y() < line.y() + line.height() || i == layout.lineCount() - 1) {
      return line.xToCursor(at.x());
    }
  }
  return 0;
}

void FittingLabel::paintEvent(QPaintEvent* event) {
  if (textFormat() != Qt::PlainText || text().isEmpty()) {
    QLabel::paintEvent(event);
    return;
  }
  QPainter painter(this);
  if (Selectable() && hasSelectedText()) {
    QTextLayout layout;
    LayOut(layout);
    QTextLayout::FormatRange selection;
    selection.start = selectionStart();
    selection.length = static_cast<int>(selectedText().size());
    selection.format.setBackground(palette().brush(QPalette::Highlight));
    selection.format.setForeground(palette().brush(QPalette::HighlightedText));
    painter.setPen(palette().color(foregroundRole()));
    layout.draw(&painter, contentsRect().topLeft(), {selection});
    return;
  }
  painter.setFont(DrawnFont());
  style()->drawItemText(&painter, contentsRect(), Flags(), palette(), isEnabled(), text(),
                        foregroundRole());
}

void FittingLabel::SelectTo(int position) {
  setSelection(std::min(anchor_, position), std::abs(position - anchor_));
  update();
}

void FittingLabel::mousePressEvent(QMouseEvent* event) {
  if (!Selectable() || event->button() != Qt::LeftButton) {
    QLabel::mousePressEvent(event);
    return;
  }
  anchor_ = PositionAt(event->position().toPoint());
  SelectTo(anchor_);
  event->accept();
}

void FittingLabel::mouseMoveEvent(QMouseEvent* event) {
  if (anchor_ < 0) {
    QLabel::mouseMoveEvent(event);
    return;
  }
  SelectTo(PositionAt(event->position().toPoint()));
  event->accept();
}

void FittingLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (anchor_ < 0) {
    QLabel::mouseReleaseEvent(event);
    return;
  }
  SelectTo(PositionAt(event->position().toPoint()));
  anchor_ = -1;
  QClipboard* clipboard = QApplication::clipboard();
  if (hasSelectedText() && clipboard->supportsSelection()) {
    clipboard->setText(selectedText(), QClipboard::Selection);
  }
  event->accept();
}

void FittingLabel::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!Selectable() || event->button() != Qt::LeftButton) {
    QLabel::mouseDoubleClickEvent(event);
    return;
  }
  anchor_ = 0;
  SelectTo(static_cast<int>(text().size()));
  anchor_ = -1;
  event->accept();
}

}  // namespace project1
