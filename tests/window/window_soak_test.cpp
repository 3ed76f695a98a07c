// A thousand calculations by mouse clicks in the offscreen main window: the open file
// descriptors stay the same and the resident memory does not grow beyond noise.

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "test_support.h"
#include "window/main_window.h"
#include "window_test_support.h"

using namespace project1;

namespace {

constexpr int kWarmUpClicks = 20;
constexpr int kSoakClicks = 1000;

// Allowed growth of the resident memory over the soak. Each calculation builds a table text of
// about 1 kB; keeping one per click would add about 1 MB over the soak, twice the bound of 512 kB
// (measured growth in an optimised build: 0 to 12 kB). Under the address sanitizer freed blocks
// wait in a quarantine, kept at 4 MB below, before reuse; the bound adds it (measured: about 2 MB
// after 1,000 clicks and after 4,000 alike, so it does not grow with the clicks). Leaks there are
// LeakSanitizer's to find at exit.
#ifdef PROJECT1_ASAN
constexpr long kRssGrowthBoundKb = 512 + 4096;
#else
constexpr long kRssGrowthBoundKb = 512;
#endif

// Entries of /proc/self/fd; sockets and pipes show as links to nothing, hence System.
int OpenDescriptors() {
  const QDir fds(QStringLiteral("/proc/self/fd"), QString(), QDir::NoSort,
                 QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
  return static_cast<int>(fds.count());
}

long ResidentKb() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').front().toLong();
  }
  return -1;
}

}  // namespace

#ifdef PROJECT1_ASAN
// A 4 MB quarantine instead of 256 MB, so that freed memory is reused within the soak and the
// resident size shows what is kept rather than what waits for reuse. Options given in
// ASAN_OPTIONS still take precedence.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=4"; }
#endif

class WindowSoakTest : public QObject {
  Q_OBJECT

 private slots:
  void aThousandCalculationsKeepNoDescriptorAndNoMemory();
};

void WindowSoakTest::aThousandCalculationsKeepNoDescriptorAndNoMemory() {
  QTemporaryDir home;
  QVERIFY(home.isValid());
  qputenv("HOME", QFile::encodeName(home.path()));
  DialogWatch watch;
  MainWindow window;
  window.show();
  QVERIFY2(QTest::qWaitForWindowActive(&window, kEventDeadlineMs),
           "the main window did not become active");
  auto* button = window.findChild<QPushButton*>(QStringLiteral("calculateButton"));
  auto* temp1 = window.findChild<QLineEdit*>(QStringLiteral("temp1"));
  auto* visc1 = window.findChild<QLineEdit*>(QStringLiteral("visc1"));
  QVERIFY(button != nullptr && temp1 != nullptr && visc1 != nullptr);

  // The first reference temperature alternates, so every click changes what is drawn.
  struct Case {
    const char* temp1;
    const char* visc1;
  };
  const Case cases[] = {{"71", "85.642"}, {"40", "320"}, {"100", "35"}};
  int clicks = 0;
  const auto click = [&] {
    const Case& c = cases[clicks % 3];
    temp1->setText(QLatin1String(c.temp1));
    QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::processEvents();  // paint the new results
    ++clicks;
    return visc1->text() == QLatin1String(c.visc1);
  };

  for (int i = 0; i < kWarmUpClicks; ++i) QVERIFY(click());
  const int fds_before = OpenDescriptors();
  const long rss_before = ResidentKb();
  QVERIFY(rss_before > 0);

  QElapsedTimer timer;
  timer.start();
  int wrong = 0;
  for (int i = 0; i < kSoakClicks; ++i) wrong += click() ? 0 : 1;
  const qint64 elapsed_ms = timer.elapsed();

  const int fds_after = OpenDescriptors();
  const long rss_after = ResidentKb();
  qInfo(
      "soak: %d calculations in %lld ms; open descriptors %d -> %d; VmRSS %ld kB -> %ld kB "
      "(%+ld kB, bound %ld kB)",
      kSoakClicks, static_cast<long long>(elapsed_ms), fds_before, fds_after, rss_before, rss_after,
      rss_after - rss_before, kRssGrowthBoundKb);

  QCOMPARE(wrong, 0);
  QVERIFY(watch.TakeUnexpected().isEmpty());
  QCOMPARE(QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
           QStringList{QStringLiteral("Viscosity.txt")});
  // Qt's own descriptors may close while the clicks run (two did on a busy machine); only growth
  // is a leak.
  QVERIFY2(
      fds_after <= fds_before,
      qPrintable(
          QStringLiteral("open descriptors grew from %1 to %2").arg(fds_before).arg(fds_after)));
  QVERIFY2(rss_after - rss_before < kRssGrowthBoundKb,
           qPrintable(QStringLiteral("resident memory grew by %1 kB").arg(rss_after - rss_before)));
}

QTEST_MAIN(WindowSoakTest)
#include "window_soak_test.moc"
