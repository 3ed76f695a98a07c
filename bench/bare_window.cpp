// The floor for start-up time and memory: a bare window of the main window's size that shows one
// line of text and does nothing else.

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include "window/main_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Bare window"));
  window.setFixedSize(project1::kClientWidthTwips / project1::kTwipsPerPixel,
                      project1::kClientHeightTwips / project1::kTwipsPerPixel);
  QLabel line(QStringLiteral("Viscosity of lubricating oils"), &window);
  line.move(8, 8);
  window.show();
  return QApplication::exec();
}
