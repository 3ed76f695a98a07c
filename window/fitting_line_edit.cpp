#include "window/fitting_line_edit.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QStyle>
#include <QStyleOptionFrame>
#include <cmath>

namespace project1 {

namespace {
constexpr double kSmallestPoints = 6;
constexpr double kStepPoints = 0.5;
// The gap a line box keeps between its contents rectangle and its text, on each side.
constexpr int kHorizontalMargin = 2;
}  // namespace

FittingLineEdit::FittingLineEdit(QWidget* parent) : QLineEdit(parent), given_(font()) {
  connect(this, &QLineEdit::textChanged, this, [this] { Fit(); });
}

int FittingLineEdit::TextRoom() const {
  QStyleOptionFrame option;
  initStyleOption(&option);
  const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
  const int cursor = style()->pixelMetric(QStyle::PM_TextCursorWidth, &option, this);
  // The box scrolls once the text and its cursor (one pixel to spare) pass this width.
  return contents.marginsRemoved(textMargins()).width() - 2 * kHorizontalMargin - 1 - cursor;
}

void FittingLineEdit::Fit() {
  if (displayText().isEmpty() && font() == given_) return;  // nothing to measure
  QFont drawn = given_;
  const int room = TextRoom();
  const QString shown = displayText();
  while (std::ceil(QFontMetricsF(drawn).horizontalAdvance(shown)) > room &&
         drawn.pointSizeF() - kStepPoints >= kSmallestPoints) {
    drawn.setPointSizeF(drawn.pointSizeF() - kStepPoints);
  }
  if (drawn == font() && drawn.resolveMask() == font().resolveMask()) return;
  fitting_ = true;
  setFont(drawn);
  fitting_ = false;
}

void FittingLineEdit::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  if (event->type() == QEvent::FontChange && !fitting_) {
    given_ = font();
    Fit();
  } else if (event->type() == QEvent::StyleChange) {
    Fit();
  }
}

void FittingLineEdit::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  Fit();
}

}  // namespace project1
