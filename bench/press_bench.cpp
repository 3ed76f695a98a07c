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
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "window/form1.h"

namespace {

// The inode of `path`, or 0 when it is missing: a safe replace gives the file a new one.
ino_t InodeOf(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const int presses = argc > 1 ? std::atoi(argv[1]) : 200;
  if (presses < 1) {
    std::fprintf(stderr, "press_bench: the number of presses must be positive\n");
    return 2;
  }

  QApplication app(argc, argv);
  QTemporaryDir home;
  if (!home.isValid()) {
    std::fprintf(stderr, "press_bench: cannot create a temporary home folder\n");
    return 1;
  }
  qputenv("HOME", QFile::encodeName(home.path()));
  const std::string table =
      QFile::encodeName(home.filePath(QStringLiteral("Viscosity.txt"))).toStdString();

  project1::Form1Window window;
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) {
    std::fprintf(stderr, "press_bench: the window was not shown\n");
    return 1;
  }
  auto* button = window.findChild<QPushButton*>(QStringLiteral("Command1"));
  auto* notice = window.findChild<QLabel*>(QStringLiteral("Label4"));
  if (button == nullptr || notice == nullptr) {
    std::fprintf(stderr, "press_bench: the window has no Command1 or Label4\n");
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

  const double first = times_ms.front();
  std::sort(times_ms.begin(), times_ms.end());
  const std::size_t n = times_ms.size();
  const double median = n % 2 != 0 ? times_ms[n / 2] : (times_ms[n / 2 - 1] + times_ms[n / 2]) / 2;
  std::printf(
      "{\"presses\": %zu, \"median_ms\": %.4f, \"min_ms\": %.4f, \"max_ms\": %.4f, "
      "\"first_ms\": %.4f}\n",
      n, median, times_ms.front(), times_ms.back(), first);
  return 0;
}
