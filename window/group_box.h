#pragma once
// A group box whose frame is drawn from pixels held in the program. The Fusion style draws the
// frame from a picture in Qt's resources, and reading that picture makes Qt load every image
// format plugin (and the SVG and JPEG libraries) at the window's first paint. This box draws the
// same picture, the same way, without reading it; under any other style it is a plain QGroupBox.

#include <QGroupBox>

namespace project1 {

class GroupBox : public QGroupBox {
 public:
  using QGroupBox::QGroupBox;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace project1
