// Press-to-result: the time from a mouse click on the calculate button of the real main window to
// the return of its handler, the table file included, on Qt's offscreen platform with a temporary
// home folder. The click is delivered synchronously, so the time around it is the handler's.
//
//   press_bench [PRESSES]
//
// Prints one JSON object with the median, the fastest, the slowest and the first press in ms.
// Exits non-zero when a press did not replace the table file or an error report appeared.

#include <sys/stat.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "window/main_window.h"
#include "window_bench.h"

namespace {

// The inode of `path`, or 0 when it is missing: a safe replace gives the file a new one.
ino_t InodeOf(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  const char* const program = "press_bench";
  const int presses = project1::bench::RepeatsArgument(argc, argv, 200, program, "presses");
  if (presses == 0) return 2;

  QApplication app(argc, argv);
  QTemporaryDir home;
  if (!project1::bench::UseHome(home, program)) return 1;
  const std::string table =
      QFile::encodeName(home.filePath(QStringLiteral("Viscosity.txt"))).toStdString();

  project1::MainWindow window;
  if (!project1::bench::Show(window, program)) return 1;
  auto* button = window.findChild<QPushButton*>(QStringLiteral("calculateButton"));
  auto* notice = window.findChild<QLabel*>(QStringLiteral("notice"));
  if (button == nullptr || notice == nullptr) {
    std::fprintf(stderr, "press_bench: the window has no calculate button or notice\n");
    return 1;
  }

  // An error report is modal and would wait for a user: close it and count the press as failed.
  int reports = 0;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&reports] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      ++reports;
      modal->close();
    }
  });
  watch.start(50);

  using Clock = std::chrono::steady_clock;
  std::vector<double> times_ms;
  times_ms.reserve(static_cast<std::size_t>(presses));
  for (int i = 0; i < presses; ++i) {
    notice->clear();
    const ino_t before = InodeOf(table);
    const auto start = Clock::now();
    QTest::mouseClick(button, Qt::LeftButton);
    const auto end = Clock::now();
    times_ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    // Let the window repaint the results before the next press, outside the timed part.
    QApplication::processEvents();
    const ino_t after = InodeOf(table);
    if (reports > 0 || after == 0 || after == before || notice->text().isEmpty()) {
      std::fprintf(stderr, "press_bench: press %d did not write the table and show the notice\n",
                   i + 1);
      return 1;
    }
  }

  const project1::bench::Timings t = project1::bench::Summarise(times_ms);
  std::printf(
      "{\"presses\": %zu, \"median_ms\": %.4f, \"min_ms\": %.4f, \"max_ms\": %.4f, "
      "\"first_ms\": %.4f}\n",
      t.count, t.median_ms, t.min_ms, t.max_ms, t.first_ms);
  return 0;
}
