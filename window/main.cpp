// The program: the main window and the event loop; closing the window ends it.

#include <QApplication>

#include "window/main_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Project1"));
  project1::MainWindow window;
  window.show();
  return QApplication::exec();
}
