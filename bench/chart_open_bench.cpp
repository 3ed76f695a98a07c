// Chart window open: the time from choosing "Viscosity-temperature chart" in the main window's
// menu to the chart window's first paint, on Qt's offscreen platform with a temporary home folder.
// Each open builds the chart window afresh (closing it deletes it); the first open also pays for
// whatever Qt loads on first use.
//
//   chart_open_bench [OPENS]
//
// Prints one JSON object with the first open, the median, the fastest and the slowest in ms.
// Exits non-zero when the calculation or an open fails.

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "window/chart_window.h"
#include "window/form1.h"
#include "window/window_menu.h"

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const int opens = argc > 1 ? std::atoi(argv[1]) : 50;
  if (opens < 1) {
    std::fprintf(stderr, "chart_open_bench: the number of opens must be positive\n");
    return 2;
  }
  QApplication app(argc, argv);
  QTemporaryDir home;
  if (!home.isValid()) {
    std::fprintf(stderr, "chart_open_bench: cannot create a temporary home folder\n");
    return 1;
  }
  qputenv("HOME", QFile::encodeName(home.path()));

  project1::Form1Window window;
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) {
    std::fprintf(stderr, "chart_open_bench: the window was not shown\n");
    return 1;
  }
  QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
  project1::WindowMenu& menu = *window.window_menu();
  if (!menu.chart_action()->isEnabled()) {
    std::fprintf(stderr, "chart_open_bench: the calculation did not succeed\n");
    return 1;
  }

  std::vector<double> times_ms;
  for (int i = 0; i < opens; ++i) {
    QElapsedTimer timer;
    timer.start();
    menu.chart_action()->trigger();
    project1::ChartWindow* chart = menu.chart_window();
    while (chart != nullptr && chart->view()->paints() == 0 && timer.elapsed() < 10000) {
      QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    if (chart == nullptr || chart->view()->paints() == 0) {
      std::fprintf(stderr, "chart_open_bench: open %d did not paint the chart\n", i + 1);
      return 1;
    }
    times_ms.push_back(ms);
    chart->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
  }

  const double first = times_ms.front();
  std::sort(times_ms.begin(), times_ms.end());
  const std::size_t n = times_ms.size();
  const double median = n % 2 != 0 ? times_ms[n / 2] : (times_ms[n / 2 - 1] + times_ms[n / 2]) / 2;
  std::printf(
      "{\"opens\": %zu, \"first_ms\": %.4f, \"median_ms\": %.4f, \"min_ms\": %.4f, "
      "\"max_ms\": %.4f}\n",
      n, first, median, times_ms.front(), times_ms.back());
  return 0;
}
