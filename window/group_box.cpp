#include "window/group_box.h"

#include <qdrawutil.h>
#include <QImage>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QStylePainter>
#include <algorithm>
#include <cstdint>

namespace project1 {

namespace {

// The Fusion style's group box frame, ARGB: its 6-pixel corners and edges around one pixel of
// the inside, which the drawing stretches.
constexpr int kFrameSide = 13;
constexpr int kFrameMargin = 6;
const std::uint32_t kFramePixels[kFrameSide * kFrameSide] = {
    0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff,
    0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x00ffffff, 0x0d272727, 0x345d5d5d,
    0x346c6c6c, 0x32757575, 0x32757575, 0x32757575, 0x32757575, 0x32757575, 0x32757575, 0x346c6c6c,
    0x37666666, 0x0c151515, 0x00ffffff, 0x39626262, 0x1f5a5a5a, 0x0a000000, 0x08000000, 0x07000000,
    0x07000000, 0x07000000, 0x07000000, 0x08000000, 0x0a000000, 0x1e5e5e5e, 0x355b5b5b, 0x00ffffff,
    0x346c6c6c, 0x09000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
    0x03000000, 0x03000000, 0x09000000, 0x346c6c6c, 0x00ffffff, 0x32757575, 0x08000000, 0x03000000,
    0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x08000000,
    0x32757575, 0x00ffffff, 0x32757575, 0x07000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
    0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x07000000, 0x32757575, 0x00ffffff, 0x32757575,
    0x07000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
    0x03000000, 0x07000000, 0x32757575, 0x00ffffff, 0x32757575, 0x07000000, 0x03000000, 0x03000000,
    0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x07000000, 0x32757575,
    0x00ffffff, 0x32757575, 0x07000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
    0x03000000, 0x03000000, 0x03000000, 0x07000000, 0x32757575, 0x00ffffff, 0x32757575, 0x08000000,
    0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000,
    0x08000000, 0x32757575, 0x00ffffff, 0x346c6c6c, 0x09000000, 0x03000000, 0x03000000, 0x03000000,
    0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x03000000, 0x09000000, 0x346c6c6c, 0x00ffffff,
    0x355b5b5b, 0x1e5e5e5e, 0x0a000000, 0x08000000, 0x07000000, 0x07000000, 0x07000000, 0x07000000,
    0x08000000, 0x0a000000, 0x1f5a5a5a, 0x39626262, 0x00ffffff, 0x0c151515, 0x37666666, 0x346c6c6c,
    0x32757575, 0x32757575, 0x32757575, 0x32757575, 0x32757575, 0x32757575, 0x346c6c6c, 0x345d5d5d,
    0x0d272727,
};

// The Fusion style's space between the title and the frame, in pixels.
constexpr int kTitleGap = 3;

}  // namespace

void GroupBox::paintEvent(QPaintEvent* event) {
  if (style()->name() != QLatin1String("fusion")) {
    QGroupBox::paintEvent(event);
    return;
  }
  QStylePainter painter(this);
  QStyleOptionGroupBox option;
  initStyleOption(&option);
  QRect frame =
      style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, this);
  const int top = isCheckable() || !title().isEmpty()
                      ? std::max(style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight),
                                 option.fontMetrics.height()) +
                            kTitleGap
                      : kTitleGap;
  const QImage picture(reinterpret_cast<const uchar*>(kFramePixels), kFrameSide, kFrameSide,
                       QImage::Format_ARGB32);
  qDrawBorderPixmap(&painter, frame.adjusted(0, top, 0, 0),
                    QMargins(kFrameMargin, kFrameMargin, kFrameMargin, kFrameMargin),
                    QPixmap::fromImage(picture));
  // The title and the check box as the style draws them.
  option.subControls &= ~QStyle::SC_GroupBoxFrame;
  painter.drawComplexControl(QStyle::CC_GroupBox, option);
}

}  // namespace project1
