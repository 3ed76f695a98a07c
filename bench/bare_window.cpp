// The floor for start-up time and memory: a plain Qt window, one label and nothing else, built
// with the same flags as the program and with nothing of the project.

#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QLabel window(QStringLiteral("Viscosity of lubricating oils"));
  window.setWindowTitle(QStringLiteral("Bare window"));
  window.show();
  return QApplication::exec();
}
