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
#include <cstdio>
#include <vector>

#include "window/chart_window.h"
#include "window/main_window.h"
#include "window/window_menu.h"
#include "window_bench.h"

int main(int argc, char* argv[]) {
  const char* const program = "chart_open_bench";
  const int opens = project1::bench::RepeatsArgument(argc, argv, 50, program, "opens");
  if (opens == 0) return 2;
  QApplication app(argc, argv);
  QTemporaryDir home;
  if (!project1::bench::UseHome(home, program)) return 1;

  project1::MainWindow window;
  if (!project1::bench::Show(window, program)) return 1;
  QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("calculateButton")),
                    Qt::LeftButton);
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

  const project1::bench::Timings t = project1::bench::Summarise(times_ms);
  std::printf(
      "{\"opens\": %zu, \"first_ms\": %.4f, \"median_ms\": %.4f, \"min_ms\": %.4f, "
      "\"max_ms\": %.4f}\n",
      t.count, t.first_ms, t.median_ms, t.min_ms, t.max_ms);
  return 0;
}
