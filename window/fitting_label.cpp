#include "window/fitting_label.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

namespace project1 {

namespace {
constexpr double kSmallestPoints = 6;
constexpr double kStepPoints = 0.5;

bool Fits(const QFont& font, const QRect& box, int flags, const QString& text) {
  const QRect needed = QFontMetrics(font).boundingRect(box, flags, text);
  return needed.width() <= box.width() && needed.height() <= box.height();
}
}  // namespace

QFont FittingLabel::DrawnFont() const {
  QFont drawn = font();
  const int flags = static_cast<int>(alignment()) | (wordWrap() ? Qt::TextWordWrap : 0);
  const QRect box = contentsRect();
  while (!Fits(drawn, box, flags, text()) && drawn.pointSizeF() - kStepPoints >= kSmallestPoints) {
    drawn.setPointSizeF(drawn.pointSizeF() - kStepPoints);
  }
  return drawn;
}

void FittingLabel::paintEvent(QPaintEvent* event) {
  if (textFormat() != Qt::PlainText || text().isEmpty()) {
    QLabel::paintEvent(event);
    return;
  }
  QPainter painter(this);
  painter.setFont(DrawnFont());
  const int flags = static_cast<int>(alignment()) | (wordWrap() ? Qt::TextWordWrap : 0);
  style()->drawItemText(&painter, contentsRect(), flags, palette(), isEnabled(), text(),
                        foregroundRole());
}

}  // namespace project1
