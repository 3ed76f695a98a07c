#pragma once
// Pieces shared by the benchmarks that drive the main window on Qt's offscreen platform.

#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>
#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace project1::bench {

// Chooses the offscreen platform unless one is set, and reads the number of repeats from the
// first argument (`fallback` without one). Returns 0, after a message, when it is not positive.
inline int RepeatsArgument(int argc, char* argv[], int fallback, const char* program,
                           const char* repeats) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const int count = argc > 1 ? std::atoi(argv[1]) : fallback;
  if (count < 1) {
    std::fprintf(stderr, "%s: the number of %s must be positive\n", program, repeats);
    return 0;
  }
  return count;
}

// Makes `home` the home folder, where the window writes its table file; false, after a
// message, when it could not be created.
inline bool UseHome(const QTemporaryDir& home, const char* program) {
  if (!home.isValid()) {
    std::fprintf(stderr, "%s: cannot create a temporary home folder\n", program);
    return false;
  }
  qputenv("HOME", QFile::encodeName(home.path()));
  return true;
}

// Shows the window and waits until it is; false, after a message, when it is not shown.
inline bool Show(QWidget& window, const char* program) {
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) {
    std::fprintf(stderr, "%s: the window was not shown\n", program);
    return false;
  }
  return true;
}

// The first, median, fastest and slowest of a benchmark's times.
struct Timings {
  std::size_t count = 0;
  double first_ms = 0;
  double median_ms = 0;
  double min_ms = 0;
  double max_ms = 0;
};

// `times_ms` must not be empty.
inline Timings Summarise(std::vector<double> times_ms) {
  Timings timings;
  timings.first_ms = times_ms.front();
  std::sort(times_ms.begin(), times_ms.end());
  const std::size_t n = times_ms.size();
  timings.count = n;
  timings.median_ms = n % 2 != 0 ? times_ms[n / 2] : (times_ms[n / 2 - 1] + times_ms[n / 2]) / 2;
  timings.min_ms = times_ms.front();
  timings.max_ms = times_ms.back();
  return timings;
}

}  // namespace project1::bench
