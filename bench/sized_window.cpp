// A bare window of the main window's size (891 x 431) that shows one line of text and does
// nothing else: the benchmark's former floor, to show what the size alone costs at start-up.

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Sized window"));
  window.setFixedSize(891, 431);
  QLabel line(QStringLiteral("Viscosity of lubricating oils"), &window);
  line.move(8, 8);
  window.show();
  return QApplication::exec();
}
