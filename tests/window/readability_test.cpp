// The main window reads well whatever the desktop: contrast on every fixed background under a
// light and a dark palette, whole results in their boxes, errors that lead back to their box,
// and a notice that can be copied.

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <memory>

#include "window/fitting_label.h"
#include "window/main_window.h"
#include "window/system_colours.h"
#include "window_test_support.h"

using namespace project1;

namespace {

// A dark desktop palette: light text on dark grey, as dark themes set it, in every state.
QPalette DarkPalette() {
  QPalette dark;
  const std::pair<QPalette::ColorRole, QColor> roles[] = {
      {QPalette::Window, QColor(0x35, 0x35, 0x35)},
      {QPalette::WindowText, QColor(0xEE, 0xEE, 0xEE)},
      {QPalette::Base, QColor(0x2D, 0x2D, 0x2D)},
      {QPalette::AlternateBase, QColor(0x35, 0x35, 0x35)},
      {QPalette::Text, QColor(0xEE, 0xEE, 0xEE)},
      {QPalette::Button, QColor(0x35, 0x35, 0x35)},
      {QPalette::ButtonText, QColor(0xEE, 0xEE, 0xEE)},
      {QPalette::BrightText, Qt::white},
      {QPalette::Light, QColor(0x50, 0x50, 0x50)},
      {QPalette::Midlight, QColor(0x45, 0x45, 0x45)},
      {QPalette::Mid, QColor(0x2A, 0x2A, 0x2A)},
      {QPalette::Dark, QColor(0x20, 0x20, 0x20)},
      {QPalette::Shadow, Qt::black},
      {QPalette::Highlight, QColor(0x15, 0x53, 0x9E)},
      {QPalette::HighlightedText, Qt::white},
  };
  for (const auto& [role, colour] : roles) dark.setColor(role, colour);
  dark.setColor(QPalette::Disabled, QPalette::Text, QColor(0x9A, 0x9A, 0x9A));
  dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x9A, 0x9A, 0x9A));
  dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x9A, 0x9A, 0x9A));
  return dark;
}

struct Pair {
  QPalette::ColorRole background;
  QPalette::ColorRole text;
};

}  // namespace

class ReadabilityTest : public WindowTest {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanup();

  void contrastRatiosMatchThePublishedOnes_data();
  void contrastRatiosMatchThePublishedOnes();
  void contrastRatiosFollowTheSrgbCurveAtEveryChannelValue();
  void textOnEveryFixedBackgroundReadsUnderAnyPalette_data();
  void textOnEveryFixedBackgroundReadsUnderAnyPalette();
  void aResultWiderThanItsBoxIsShownWhole_data();
  void aResultWiderThanItsBoxIsShownWhole();
  void afterAReportTheFocusIsInTheNamedBoxWithItsTextSelected_data();
  void afterAReportTheFocusIsInTheNamedBoxWithItsTextSelected();
  void theNoticeCanBeSelectedWithTheMouseAndCopied();

 private:
  QByteArray home_path_;
  QPalette default_palette_;
  QFont default_font_;
};

void ReadabilityTest::initTestCase() {
  StartHome();
  home_path_ = QFile::encodeName(home_.path());
  default_palette_ = QApplication::palette();
  default_font_ = QApplication::font();
}

void ReadabilityTest::cleanup() {
  CloseWindow();
  if (QApplication::palette() != default_palette_) QApplication::setPalette(default_palette_);
  if (QApplication::font() != default_font_) QApplication::setFont(default_font_);
  qputenv("HOME", home_path_);
}

// --- Contrast ----------------------------------------------------------------------------------

void ReadabilityTest::contrastRatiosMatchThePublishedOnes_data() {
  QTest::addColumn<QColor>("first");
  QTest::addColumn<QColor>("second");
  QTest::addColumn<double>("ratio");
  QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
  QTest::newRow("the same colour") << QColor(0x80, 0xFF, 0x80) << QColor(0x80, 0xFF, 0x80) << 1.0;
  QTest::newRow("grey 777 on white, just below 4.5")
      << QColor(0x77, 0x77, 0x77) << QColor(Qt::white) << 4.48;
  QTest::newRow("red on white") << QColor(Qt::red) << QColor(Qt::white) << 4.0;
  QTest::newRow("white on the light green")
      << QColor(Qt::white) << QColor(0x80, 0xFF, 0x80) << 1.27;
}

void ReadabilityTest::contrastRatiosMatchThePublishedOnes() {
  QFETCH(QColor, first);
  QFETCH(QColor, second);
  QFETCH(double, ratio);
  QVERIFY2(qAbs(ContrastRatio(first, second) - ratio) < 0.01,
           qPrintable(QString::number(ContrastRatio(first, second))));
  QCOMPARE(ContrastRatio(second, first), ContrastRatio(first, second));
}

void ReadabilityTest::contrastRatiosFollowTheSrgbCurveAtEveryChannelValue() {
  // The curve as published, on each channel alone, at every 8-bit value and at 16-bit values
  // between them.
  const auto linear = [](double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  const double weights[3] = {0.2126, 0.7152, 0.0722};
  QStringList failures;
  for (int value = 0; value <= 65535; value += 257) {
    for (const int channel16 : {value, std::min(value + 128, 65535)}) {
      for (int channel = 0; channel < 3; ++channel) {
        quint16 rgb[3] = {0, 0, 0};
        rgb[channel] = static_cast<quint16>(channel16);
        const QColor colour = QColor::fromRgba64(rgb[0], rgb[1], rgb[2]);
        const double expected = (weights[channel] * linear(channel16 / 65535.0) + 0.05) / 0.05;
        const double ratio = ContrastRatio(colour, QColor(Qt::black));
        if (qAbs(ratio - expected) > 1e-12 * expected) {
          failures << QStringLiteral("channel %1 at %2: %3, not %4")
                          .arg(channel)
                          .arg(channel16)
                          .arg(ratio, 0, 'g', 17)
                          .arg(expected, 0, 'g', 17);
        }
      }
    }
  }
  QVERIFY2(failures.isEmpty(), qPrintable(failures.mid(0, 5).join(QLatin1Char('\n'))));
}

void ReadabilityTest::textOnEveryFixedBackgroundReadsUnderAnyPalette_data() {
  QTest::addColumn<bool>("dark");
  QTest::newRow("default palette") << false;
  QTest::newRow("dark palette") << true;
}

void ReadabilityTest::textOnEveryFixedBackgroundReadsUnderAnyPalette() {
  QFETCH(bool, dark);
  if (dark) QApplication::setPalette(DarkPalette());
  OpenWindow();
  const QPalette theme = QApplication::palette();

  // Every colour pair a control on a fixed background draws text with, in every state.
  const auto check = [&](const char* when, const QStringList& names) {
    QStringList failures;
    for (const QString& name : names) {
      auto* widget = Find<QWidget>(name);
      const bool button = qobject_cast<QPushButton*>(widget) != nullptr;
      QList<Pair> pairs{{QPalette::Button, QPalette::ButtonText}};
      if (!button) {
        pairs = {{QPalette::Base, QPalette::Text},
                 {QPalette::Highlight, QPalette::HighlightedText}};
      }
      const QPalette& palette = widget->palette();
      for (const Pair& pair : pairs) {
        for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
          const double ratio =
              ContrastRatio(palette.color(group, pair.background), palette.color(group, pair.text));
          if (ratio < 4.5) {
            failures << QStringLiteral("%1 %2 group %3 role %4: %5")
                            .arg(QLatin1String(when), name)
                            .arg(int(group))
                            .arg(int(pair.text))
                            .arg(ratio, 0, 'f', 2);
          }
        }
      }
    }
    return failures;
  };

  // The white second temperature and the green button from the start.
  const QStringList at_start = check("at start:", {"temp2", "calculateButton"});
  QVERIFY2(at_start.isEmpty(), qPrintable(at_start.join(QLatin1Char('\n'))));
  // The grey result boxes are the theme's: they take the theme's text colours.
  QCOMPARE(Box(QStringLiteral("visc1"))->palette().color(QPalette::Inactive, QPalette::Text),
           theme.color(QPalette::Inactive, QPalette::Text));

  Calculate();
  QCOMPARE(Box(QStringLiteral("visc1"))->text(), QStringLiteral("85.642"));
  const QStringList after = check("after a calculation:", {"temp2", "calculateButton", "visc1",
                                                           "visc2", "dynamic1", "dynamic2"});
  QVERIFY2(after.isEmpty(), qPrintable(after.join(QLatin1Char('\n'))));
  for (const char* name : {"temp2", "visc1", "visc2", "dynamic1", "dynamic2"}) {
    QCOMPARE(Box(QLatin1String(name))->palette().color(QPalette::Inactive, QPalette::Text),
             QColor(Qt::black));
  }
  // Texts on the theme's own backgrounds keep the theme's colours; the notice keeps its red.
  QCOMPARE(Box(QStringLiteral("visc40"))->palette().color(QPalette::Text),
           theme.color(QPalette::Text));
  QCOMPARE(Find<QLabel>(QStringLiteral("notice"))->palette().color(QPalette::WindowText),
           QColor(Qt::red));
}

// --- Whole results -----------------------------------------------------------------------------

void ReadabilityTest::aResultWiderThanItsBoxIsShownWhole_data() {
  QTest::addColumn<double>("desktop_points");  // 0: the default font
  QTest::addColumn<QString>("temp1");
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("shown");
  QTest::addColumn<QString>("tooltip");
  QTest::newRow("the default oil at -40 °C")
      << 0.0 << "-40"
      << "visc1"
      << "412,753.932" << QString::fromUtf8("412,753.932 cSt at -40 °C");
  QTest::newRow("a 14-point desktop font")
      << 14.0 << "71"
      << "dynamic2"
      << ".00000151" << QString::fromUtf8(".00000151 reyn (lbf·s/in²) at 150 °C");
  QTest::newRow("a 14-point desktop font at -40 °C")
      << 14.0 << "-40"
      << "visc1"
      << "412,753.932" << QString::fromUtf8("412,753.932 cSt at -40 °C");
}

void ReadabilityTest::aResultWiderThanItsBoxIsShownWhole() {
  QFETCH(double, desktop_points);
  QFETCH(QString, temp1);
  QFETCH(QString, box);
  QFETCH(QString, shown);
  QFETCH(QString, tooltip);
  if (desktop_points > 0) {
    QFont font = QApplication::font();
    font.setPointSizeF(desktop_points);
    QApplication::setFont(font);
  }
  OpenWindow();
  Box(QStringLiteral("temp1"))->setText(temp1);
  Calculate();

  QLineEdit* result = Box(box);
  QCOMPARE(result->text(), shown);
  QCOMPARE(result->toolTip(), tooltip);
  // The whole text shows at once: the last character lies inside the box while the text starts
  // at its left edge, and the first while the box shows its end.
  const QRect contents = result->contentsRect();
  const QPoint right(contents.right() - 2, contents.center().y());
  const QPoint left(contents.left() + 2, contents.center().y());
  result->setCursorPosition(0);
  QCOMPARE(result->cursorPositionAt(right), int(shown.size()));
  result->setCursorPosition(int(shown.size()));
  QCOMPARE(result->cursorPositionAt(left), 0);
  // In a smaller size of the same font.
  QCOMPARE(result->font().family(), QApplication::font().family());
  QVERIFY(result->font().pointSizeF() <= QApplication::font().pointSizeF());

  // A short text goes back to the box's font; an empty box names its unit again.
  result->setText(QStringLiteral("1"));
  QCOMPARE(result->font().pointSizeF(), QApplication::font().pointSizeF());
  result->clear();
  QVERIFY(result->toolTip().endsWith(QStringLiteral("reference temperature")));
}

// --- Errors lead back to their box -------------------------------------------------------------

void ReadabilityTest::afterAReportTheFocusIsInTheNamedBoxWithItsTextSelected_data() {
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("focused");  // the control with the focus after the report
  QTest::newRow("text in the viscosity at 40 C") << "visc40"
                                                 << "abc"
                                                 << "visc40";
  QTest::newRow("too thin at 100 C") << "visc100"
                                     << "0.3"
                                     << "visc100";
  QTest::newRow("first temperature below absolute zero") << "temp1"
                                                         << "-300"
                                                         << "temp1";
  QTest::newRow("second temperature below absolute zero") << "temp2"
                                                          << "-300"
                                                          << "temp2";
  QTest::newRow("second temperature a decimal comma") << "temp2"
                                                      << "1,5"
                                                      << "temp2";
  QTest::newRow("a gravity of zero") << "gravity"
                                     << "0"
                                     << "gravity";
  QTest::newRow("a gravity too large for the dynamic viscosity") << "gravity"
                                                                 << "1e308"
                                                                 << "gravity";
  // The table file cannot be written: the focus stays on the button that was pressed.
  QTest::newRow("no home folder") << ""
                                  << ""
                                  << "calculateButton";
}

void ReadabilityTest::afterAReportTheFocusIsInTheNamedBoxWithItsTextSelected() {
  QFETCH(QString, box);
  QFETCH(QString, text);
  QFETCH(QString, focused);
  OpenWindow();
  if (box.isEmpty()) {
    qputenv("HOME", home_path_ + "/missing");
  } else {
    Box(box)->setText(text);
  }
  if (text == QStringLiteral("1e308")) Box(QStringLiteral("temp1"))->setText(QStringLiteral("-70"));
  Box(QStringLiteral("visc100"))->setFocus();  // somewhere else than where the focus is to go

  bool reported = false;
  watch_->Expect([&](QWidget* dialog) {
    reported = true;
    QTest::keyClick(dialog, Qt::Key_Return);
  });
  Calculate();
  QVERIFY(reported);
  // The desktop gives the window back its activation once the report has closed.
  QApplication::setActiveWindow(window_.get());
  QVERIFY2(QTest::qWaitForWindowActive(window_.get(), kEventDeadlineMs),
           "the main window did not become active again");

  QVERIFY(QApplication::focusWidget() != nullptr);
  QCOMPARE(QApplication::focusWidget()->objectName(), focused);
  if (!box.isEmpty()) {
    QCOMPARE(Box(box)->selectedText(), text);
    // The correction replaces the text at once.
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("7"));
    QCOMPARE(Box(box)->text(), QStringLiteral("7"));
  }
}

// --- The notice --------------------------------------------------------------------------------

void ReadabilityTest::theNoticeCanBeSelectedWithTheMouseAndCopied() {
  OpenWindow();
  Calculate();
  auto* notice = dynamic_cast<FittingLabel*>(Find<QLabel>(QStringLiteral("notice")));
  QVERIFY(notice != nullptr);
  const QString text = notice->text();
  QVERIFY(text.endsWith(QDir(home_.path()).absolutePath() + QLatin1Char('/')));
  const QImage before = notice->grab().toImage();

  // Drag from the first character of the folder to the end of the text.
  const int folder_at = int(text.indexOf(QLatin1Char('/')));
  QPoint from;
  for (int y = 0; y < notice->height() && from.isNull(); ++y) {
    for (int x = 0; x < notice->width(); ++x) {
      if (notice->PositionAt(QPoint(x, y)) == folder_at) {
        from = QPoint(x, y);
        break;
      }
    }
  }
  QVERIFY(!from.isNull());
  const QPoint to(notice->width() - 1, notice->height() - 1);
  QTest::mousePress(notice, Qt::LeftButton, {}, from);
  QTest::mouseMove(notice, to);
  QTest::mouseRelease(notice, Qt::LeftButton, {}, to);
  QCOMPARE(notice->selectedText(), text.mid(folder_at));
  QTest::keyClick(notice, Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(QApplication::clipboard()->text(), text.mid(folder_at));

  // A double click takes the whole notice.
  QTest::mouseDClick(notice, Qt::LeftButton, {}, from);
  QCOMPARE(notice->selectedText(), text);

  // Without a selection it looks as it did: same pixels, red, the font it was given.
  notice->setSelection(0, 0);
  QCOMPARE(notice->grab().toImage(), before);
  QCOMPARE(notice->palette().color(QPalette::WindowText), QColor(Qt::red));
  QCOMPARE(notice->font().pointSizeF(), 14.0);
}

QTEST_MAIN(ReadabilityTest)
#include "readability_test.moc"
