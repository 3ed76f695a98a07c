// The program: the main window and the event loop; closing the window ends it.

#include <QApplication>

#include "window/form1.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Project1"));
  project1::Form1Window window;
  window.show();
  return QApplication::exec();
}
