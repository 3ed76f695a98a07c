// The main window's context menu and the chart window, on the offscreen platform.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <array>
#include <memory>

#include "../chart/line_pixels.h"
#include "bearing/bearing.h"
#include "chart/chart_scene.h"
#include "error/error.h"
#include "project1/version.h"
#include "window/chart_window.h"
#include "window/main_window.h"
#include "window/window_menu.h"
#include "window_test_support.h"

using namespace project1;

// Receives the URLs the program asks the desktop to open.
class UrlCatcher : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> urls;

 public slots:
  void open(const QUrl& url) { urls << url; }
};

class ChartWindowTest : public WindowTest {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();

  void nothingOfTheChartIsBuiltAtStart();
  void entriesAreGreyedUntilACalculationSucceeds();
  void aRightClickOnFreeAreaFramesAndLabelsOpensTheMenu_data();
  void aRightClickOnFreeAreaFramesAndLabelsOpensTheMenu();
  void ctrlGOpensTheChartWindowWithTheOilsProperties();
  void theChartFollowsASecondCalculation();
  void theDrawnLinePassesThroughItsPointsAt40And100C();
  void copyResultsPutsTheInputsAndResultsOnTheClipboard();
  void openTableFileAsksTheDesktopForTheTable();
  void aboutTellsNameVersionAndPurpose();
  void theChartIsSavedAsSvgAndPng();
  void theBearingBoxDrawsTheRatedViscosityAndGivesKappa();
  void theBearingBoxNamesWhatIsWrongAndDrawsNoLevel_data();
  void theBearingBoxNamesWhatIsWrongAndDrawsNoLevel();
  void anOilThickerWhenHotterStillOpensItsChart();
  void theBearingBoxGivesTheLivesItsBoxesAllow_data();
  void theBearingBoxGivesTheLivesItsBoxesAllow();

 private:
  void SetBox(const char* name, const QString& text) { Box(name)->setText(text); }
  WindowMenu& Menu() { return *window_->window_menu(); }
  ChartWindow* OpenChart() {
    QTest::keyClick(window_.get(), Qt::Key_G, Qt::ControlModifier);
    ChartWindow* chart = Menu().chart_window();
    if (chart != nullptr && !QTest::qWaitForWindowExposed(chart, kEventDeadlineMs)) return nullptr;
    return chart;
  }
};

void ChartWindowTest::initTestCase() { StartHome(); }
void ChartWindowTest::init() { OpenWindow(); }
void ChartWindowTest::cleanup() { CloseWindow(); }

void ChartWindowTest::nothingOfTheChartIsBuiltAtStart() {
  QVERIFY(Menu().menu() == nullptr);
  QVERIFY(Menu().chart_window() == nullptr);
  QVERIFY(window_->findChildren<ChartWindow*>().isEmpty());
  QVERIFY(window_->findChildren<ChartView*>().isEmpty());
  // Ctrl+G before any calculation opens nothing.
  QTest::keyClick(window_.get(), Qt::Key_G, Qt::ControlModifier);
  QVERIFY(Menu().chart_window() == nullptr);
  QVERIFY(Find<QPushButton>(QStringLiteral("calculateButton"))->toolTip().contains("Right-click"));
}

void ChartWindowTest::entriesAreGreyedUntilACalculationSucceeds() {
  const QString why = QStringLiteral("Available after a successful calculation");
  auto expect = [&](bool calculated, const char* when) {
    for (QAction* action : {Menu().chart_action(), Menu().copy_action()}) {
      QVERIFY2(action->isEnabled() == calculated, when);
      QVERIFY2((action->toolTip() == why) != calculated, when);
    }
    QVERIFY2(Menu().open_table_action()->isEnabled() == calculated, when);
    QVERIFY2(Menu().about_action()->isEnabled(), when);
  };
  expect(false, "at start");

  // A failed calculation changes nothing.
  SetBox("gravity", QString());
  watch_->Expect([](QWidget* report) { qobject_cast<QMessageBox*>(report)->accept(); });
  Calculate();
  QTRY_VERIFY2_WITH_TIMEOUT(!watch_->Expecting(), "the error report did not appear",
                            kEventDeadlineMs);
  expect(false, "after a failed calculation");

  SetBox("gravity", QStringLiteral("0.87"));
  Calculate();
  expect(true, "after a successful calculation");
  QCOMPARE(Menu().open_table_action()->toolTip(), QDir(home_.path()).filePath("Viscosity.txt"));
  QCOMPARE(Menu().chart_action()->shortcut(), QKeySequence(QStringLiteral("Ctrl+G")));
  QCOMPARE(Menu().copy_action()->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+C")));
}

void ChartWindowTest::aRightClickOnFreeAreaFramesAndLabelsOpensTheMenu_data() {
  QTest::addColumn<QString>("widget");
  QTest::addColumn<QPoint>("at");
  for (const char* name : {"mainWindow", "kinematicFrame", "dynamicFrame", "gravityLabel",
                           "visc40Label", "dynamicLabel"}) {
    QTest::newRow(name) << QString::fromLatin1(name) << QPoint(3, 3);
  }
}

void ChartWindowTest::aRightClickOnFreeAreaFramesAndLabelsOpensTheMenu() {
  QFETCH(QString, widget);
  QFETCH(QPoint, at);
  QWidget* target = widget == QStringLiteral("mainWindow") ? window_.get() : Find<QWidget>(widget);
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
  QApplication::sendEvent(target, &event);
  QMenu* menu = Menu().menu();
  QVERIFY(menu != nullptr);
  QTRY_VERIFY2_WITH_TIMEOUT(menu->isVisible(), "the menu did not open", kEventDeadlineMs);
  QStringList entries;
  for (QAction* action : menu->actions()) {
    if (!action->isSeparator()) entries << action->text();
  }
  QCOMPARE(entries, (QStringList{"Viscosity-temperature chart", "Copy results", "Open table file",
                                 "Save as my oil…", "My oils…", "About"}));
  QVERIFY(menu->toolTipsVisible());
  menu->hide();
}

void ChartWindowTest::ctrlGOpensTheChartWindowWithTheOilsProperties() {
  // The standard's example oil: 73.30 and 8.86 cSt, viscosity index 92, grade VG 68.
  SetBox("visc40", QStringLiteral("73.30"));
  SetBox("visc100", QStringLiteral("8.86"));
  Calculate();
  ChartWindow* chart = OpenChart();
  QVERIFY(chart != nullptr);
  QVERIFY(chart->isVisible());
  QCOMPARE(chart->windowTitle(), QStringLiteral("Viscosity-temperature chart"));
  QVERIFY(chart->isWindow());
  QVERIFY(!chart->isModal());
  QVERIFY(chart->minimumSize() != chart->maximumSize());  // resizable
  QVERIFY(window_->isVisible());

  auto property = [&](const char* name) {
    auto* label = chart->findChild<QLabel*>(QStringLiteral("Property: ") + QString::fromUtf8(name));
    return label != nullptr ? label->text() : QStringLiteral("(missing)");
  };
  QCOMPARE(property("Oil"), QStringLiteral("Oil"));
  QCOMPARE(property("Viscosity index"), QStringLiteral("92"));
  QCOMPARE(property("ISO grade"), QStringLiteral("ISO VG 68"));
  QCOMPARE(property("ν40"), QStringLiteral("73.3 cSt"));
  QCOMPARE(property("ν100"), QStringLiteral("8.86 cSt"));
  // mPa·s = cSt x gravity x density of water (62.37 lb/ft³ = 0.99907 g/cm³).
  const struct {
    const char* property;
    const char* box;
  } dynamic[] = {{"Dynamic viscosity at 71 °C", "visc1"}, {"Dynamic viscosity at 150 °C", "visc2"}};
  for (const auto& row : dynamic) {
    QString text = property(row.property);
    QVERIFY2(text.endsWith(QStringLiteral(" mPa·s")), qPrintable(text));
    text.chop(6);
    const double expected = Box(row.box)->text().toDouble() * 0.87 * 0.99907;
    QVERIFY2(std::abs(text.toDouble() / expected - 1) < 2e-3, qPrintable(text));
  }
  for (QWidget* child : chart->findChildren<QWidget*>()) {
    if (qobject_cast<QLabel*>(child) != nullptr && child->accessibleName().isEmpty()) continue;
    QVERIFY2(!child->accessibleName().isEmpty(), qPrintable(child->objectName()));
  }
  // A second Ctrl+G brings the same window forward.
  QCOMPARE(OpenChart(), chart);
}

void ChartWindowTest::theChartFollowsASecondCalculation() {
  Calculate();
  ChartWindow* chart = OpenChart();
  QVERIFY(chart != nullptr);
  QCOMPARE(chart->view()->accessibleDescription(),
           QStringLiteral("Viscosity-temperature chart from -40 °C to 250 °C. Oil: a straight line "
                          "through 320 cSt at 40 °C and 35 cSt at 100 °C; 85.642 cSt at 71 °C, "
                          "11.987 cSt at 150 °C. ISO VG 320 band at 40 °C: 288 to 352 cSt."));
  const int paints = chart->view()->paints();

  auto* list = Find<QComboBox>(QStringLiteral("lubricantList"));
  list->setCurrentIndex(list->findText(QStringLiteral("SHC 624")));
  window_->OnLubricantPicked();
  Calculate();
  QCOMPARE(
      chart->view()->accessibleDescription(),
      QStringLiteral("Viscosity-temperature chart from -40 °C to 250 °C. SHC 624: a straight "
                     "line through 31 cSt at 40 °C and 5.8 cSt at 100 °C; 11.247 cSt at 71 °C, "
                     "2.685 cSt at 150 °C. ISO VG 32 band at 40 °C: 28.8 to 35.2 cSt."));
  QTRY_VERIFY2_WITH_TIMEOUT(chart->view()->paints() > paints, "the chart was not painted again",
                            kEventDeadlineMs);
  auto* oil = chart->findChild<QLabel*>(QStringLiteral("Property: Oil"));
  QVERIFY(oil != nullptr);
  QCOMPARE(oil->text(), QStringLiteral("SHC 624"));
}

void ChartWindowTest::theDrawnLinePassesThroughItsPointsAt40And100C() {
  Calculate();
  ChartWindow* chart = OpenChart();
  QVERIFY(chart != nullptr);
  for (QSize size : {QSize(1000, 640), QSize(640, 420)}) {
    chart->resize(size);
    QTRY_VERIFY2_WITH_TIMEOUT(chart->view()->width() > 0, "the chart view was not laid out",
                              kEventDeadlineMs);
    QApplication::processEvents();
    ChartView* view = chart->view();
    const QImage image = view->grab().toImage();
    QCOMPARE(image.size(), view->size());
    const ChartDescription& description = *view->chart();
    const PlotArea area = PlotAreaFor(description, view->width(), view->height());
    const ChartLine& line = description.lines.front();
    const QColor colour(QString::fromStdString(line.colour));
    for (const ChartMarker& marker : line.fitted) {
      const PixelPoint at = ToPixels(description, area, marker.at);
      QVERIFY2(LinePassesNear(image, at, colour),
               qPrintable(QString::number(marker.temperature_c)));
      QVERIFY(!LinePassesNear(image, {at.x, at.y - 12}, colour));
    }
  }
}

void ChartWindowTest::copyResultsPutsTheInputsAndResultsOnTheClipboard() {
  QApplication::clipboard()->clear();
  QTest::keyClick(Box("temp1"), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  QCOMPARE(QApplication::clipboard()->text(), QString());  // nothing before a calculation

  SetBox("visc40", QStringLiteral("320.0"));
  Calculate();
  SetBox("visc40", QStringLiteral("999"));  // typed after the calculation: not part of its results
  Box("temp1")->setFocus();
  QTest::keyClick(Box("temp1"), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  QCOMPARE(QApplication::clipboard()->text(),
           QStringLiteral(
               "Viscosity at 40 °C, cSt\tViscosity at 100 °C, cSt\tFirst reference temperature, "
               "°C\tSecond reference temperature, °C\tSpecific gravity\tViscosity at the first "
               "reference temperature, cSt\tViscosity at the second reference temperature, "
               "cSt\tDynamic viscosity at the first reference temperature, reyn\tDynamic "
               "viscosity at the second reference temperature, reyn\n"
               "320.0\t35\t71\t150\t0.87\t85.642\t11.987\t.0000108\t.00000151\n"));
}

void ChartWindowTest::openTableFileAsksTheDesktopForTheTable() {
  UrlCatcher catcher;
  QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
  Menu().open_table_action()->trigger();  // greyed: nothing happens
  QVERIFY(catcher.urls.isEmpty());
  Calculate();
  Menu().open_table_action()->trigger();
  QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
  QCOMPARE(catcher.urls,
           QList<QUrl>{QUrl::fromLocalFile(QDir(home_.path()).filePath("Viscosity.txt"))});
}

void ChartWindowTest::aboutTellsNameVersionAndPurpose() {
  QString text;
  watch_->Expect([&text](QWidget* dialog) {
    auto* box = qobject_cast<QMessageBox*>(dialog);
    text = box != nullptr ? box->windowTitle() + "|" + box->text() : dialog->objectName();
    if (box != nullptr) box->accept();
  });
  Menu().about_action()->trigger();
  QCOMPARE(text, QStringLiteral("About Project1|Project1 ") +
                     QString::fromUtf8(kVersion.data(), static_cast<qsizetype>(kVersion.size())) +
                     QStringLiteral("\n\nComputes the kinematic and dynamic viscosity of a "
                                    "lubricating oil at any temperature from its viscosities at "
                                    "40 °C and 100 °C."));
}

void ChartWindowTest::theChartIsSavedAsSvgAndPng() {
  Calculate();
  ChartWindow* chart = OpenChart();
  QVERIFY(chart != nullptr);
  const QString svg = QDir(home_.path()).filePath("chart.svg");
  const QString png = QDir(home_.path()).filePath("chart.png");
  chart->SaveSvg(svg);
  chart->SavePng(png);
  const QByteArray bytes = FileBytes(svg);
  QVERIFY(bytes.startsWith("<?xml"));
  QVERIFY(bytes.contains("<desc>Viscosity-temperature chart from -40 °C to 250 °C. Oil:"));
  QVERIFY(bytes.contains(QStringLiteral(" width=\"%1\"").arg(chart->view()->width()).toUtf8()));
  const QImage image(png);
  QCOMPARE(image.size(), chart->view()->size());

  // A folder that does not exist: the error names the chart file, and nothing is written.
  const QString missing = QDir(home_.path()).filePath("missing/chart.svg");
  for (bool svg_file : {true, false}) {
    try {
      if (svg_file) {
        chart->SaveSvg(missing);
      } else {
        chart->SavePng(missing);
      }
      QFAIL("saving into a missing folder succeeded");
    } catch (const Error& error) {
      QCOMPARE(QString::fromStdString(error.what()),
               "Cannot write the chart file " + missing + ": No such file or directory.");
    }
  }
}

void ChartWindowTest::theBearingBoxDrawsTheRatedViscosityAndGivesKappa() {
  Calculate();  // 320 and 35 cSt, reference temperatures 71 and 150 °C
  ChartWindow* chart = OpenChart();
  QVERIFY(chart != nullptr);
  QVERIFY(chart->view()->chart()->levels.empty());
  auto value = [&](const char* name) {
    auto* label = chart->findChild<QLabel*>(QString::fromUtf8(name));
    return label != nullptr ? label->text() : QStringLiteral("(missing)");
  };
  QCOMPARE(value("Bearing: κ = 1 temperature"), QStringLiteral("–"));
  auto* results = chart->findChild<QGroupBox*>(QStringLiteral("BearingBox"));
  QVERIFY(results != nullptr);
  // The κ rows name their temperatures before a bearing is entered, and after.
  auto labelled = [&](const char* text) {
    for (QLabel* label : results->findChildren<QLabel*>()) {
      if (label->text() == QString::fromUtf8(text)) return true;
    }
    return false;
  };
  QVERIFY(labelled("κ at 71 °C:"));
  QVERIFY(labelled("κ at 150 °C:"));

  // d = 340, D = 420 mm at 500 r/min.
  chart->bearing_diameter()->setText(QStringLiteral("380"));
  chart->bearing_speed()->setText(QStringLiteral("500"));
  const double rated = RatedViscosity(380, 500);
  const ChartDescription& description = *chart->view()->chart();
  QCOMPARE(description.levels.size(), std::size_t{2});
  QCOMPARE(description.levels[0].kinematic_cst, rated);
  QCOMPARE(description.levels[1].kinematic_cst, 4 * rated);
  QCOMPARE(value("Bearing: rated viscosity"), QStringLiteral("13.279 cSt"));
  const struct {
    const char* row;
    const char* box;
    const char* label;
  } kappas[] = {{"Bearing: κ at the first temperature", "visc1", "κ at 71 °C:"},
                {"Bearing: κ at the second temperature", "visc2", "κ at 150 °C:"}};
  for (const auto& row : kappas) {
    const double expected = Box(row.box)->text().toDouble() / rated;
    QVERIFY2(std::abs(value(row.row).toDouble() - expected) < 1e-3, qPrintable(value(row.row)));
    QVERIFY2(labelled(row.label), row.label);
  }
  QString kappa_one = value("Bearing: κ = 1 temperature");
  QVERIFY2(kappa_one.endsWith(QStringLiteral(" °C")), qPrintable(kappa_one));
  kappa_one.chop(3);
  const double nu_there = KinematicAt(FitLine40100(Law::Walther, 320, 35), kappa_one.toDouble());
  QVERIFY2(std::abs(nu_there / rated - 1) < 1e-4, qPrintable(kappa_one));

  // Both levels are drawn across the plot, at their viscosities.
  chart->resize(QSize(1000, 640));
  QApplication::processEvents();
  const QImage image = chart->view()->grab().toImage();
  const PlotArea area =
      PlotAreaFor(*chart->view()->chart(), chart->view()->width(), chart->view()->height());
  const QColor colour(QString::fromLatin1(kChartLevelColour));
  for (const ChartLevel& level : chart->view()->chart()->levels) {
    for (double share : {0.1, 0.5, 0.9}) {
      const PixelPoint at =
          ToPixels(*chart->view()->chart(), area,
                   {description.x_min + share * (description.x_max - description.x_min), level.y});
      QVERIFY2(LinePassesNear(image, at, colour), qPrintable(QString::fromStdString(level.label)));
    }
  }
  QVERIFY(chart->view()->accessibleDescription().contains(QStringLiteral("κ = 4")));

  // Emptying a box takes the levels and the answers away.
  chart->bearing_speed()->clear();
  QVERIFY(chart->view()->chart()->levels.empty());
  QCOMPARE(value("Bearing: rated viscosity"), QStringLiteral("–"));
}

void ChartWindowTest::theBearingBoxNamesWhatIsWrongAndDrawsNoLevel_data() {
  QTest::addColumn<QString>("diameter");
  QTest::addColumn<QString>("speed");
  QTest::addColumn<QString>("message");
  QTest::newRow("speed not a number")
      << "380"
      << "fast" << QStringLiteral("The speed \"fast\" is not a number.");
  QTest::newRow("no speed") << "380"
                            << "0" << QStringLiteral("The speed must be above 0 r/min; it is 0.");
  QTest::newRow("negative diameter")
      << "-2"
      << "500" << QStringLiteral("The mean diameter must be above 0 mm; it is -2.");
}

void ChartWindowTest::theBearingBoxNamesWhatIsWrongAndDrawsNoLevel() {
  QFETCH(QString, diameter);
  QFETCH(QString, speed);
  QFETCH(QString, message);
  Calculate();
  ChartWindow* chart = OpenChart();
  QVERIFY(chart != nullptr);
  chart->bearing_diameter()->setText(diameter);
  chart->bearing_speed()->setText(speed);
  auto* shown = chart->findChild<QLabel*>(QStringLiteral("BearingMessage"));
  QVERIFY(shown != nullptr);
  QCOMPARE(shown->text(), message);
  QVERIFY(chart->view()->chart()->levels.empty());
  QCOMPARE(chart->findChild<QLabel*>(QStringLiteral("Bearing: rated viscosity"))->text(),
           QStringLiteral("–"));
}

void ChartWindowTest::anOilThickerWhenHotterStillOpensItsChart() {
  // The window calculates such an oil as it always has; its chart says why it has no index and
  // no temperature of κ = 1.
  SetBox("visc40", QStringLiteral("10"));
  SetBox("visc100", QStringLiteral("20"));
  Calculate();
  ChartWindow* chart = OpenChart();
  QVERIFY(chart != nullptr);
  auto text = [&](const QString& name) {
    auto* label = chart->findChild<QLabel*>(name);
    return label != nullptr ? label->text() : QStringLiteral("(missing)");
  };
  QCOMPARE(text(QStringLiteral("Property: Viscosity index")),
           QStringLiteral("The viscosity at 100 °C (20) must be below the one at 40 °C (10)."));
  chart->bearing_diameter()->setText(QStringLiteral("380"));
  chart->bearing_speed()->setText(QStringLiteral("500"));
  QCOMPARE(chart->view()->chart()->levels.size(), std::size_t{2});
  QCOMPARE(text(QStringLiteral("Bearing: κ = 1 temperature")), QStringLiteral("–"));
  QCOMPARE(text(QStringLiteral("BearingMessage")),
           QStringLiteral("The oil's viscosity does not fall as it warms, so no temperature range "
                          "keeps the bearing's film."));
}

// The expected lives come from a separate calculation of the formulas, not from this program;
// an empty expectation means the row is not shown.
void ChartWindowTest::theBearingBoxGivesTheLivesItsBoxesAllow_data() {
  const char* columns[] = {"speed",       "type",        "rating", "load",   "fatigue",
                           "cleanliness", "reliability", "l10h",   "ec",     "aiso1",
                           "life1",       "aiso2",       "life2",  "message"};
  for (const char* column : columns) QTest::addColumn<QString>(column);
  // The oil has 20 cSt at 40 °C and 4 cSt at 100 °C; the bearing's d_m is 72.5 mm. At 3,000 r/min
  // this is the worked example, e_C C_u = 1 x 1.072 as 0.8 x 1.34 there.
  const struct {
    const char* name;
    std::array<const char*, 14> cells;
  } rows[] = {
      {"worked example",
       {"3000", "ball", "55.3", "10", "1.072", "extreme", "90", "939.5 h", "1", "4.821",
        "4,529.2 h", "0.351", "329.6 h", ""}},
      {"roller at 99 %, normal below 100 mm",
       {"3000", "roller", "55.3", "10", "2", "normal", "99", "1,661.4 h", "0.5", "0.523", "217.2 h",
        "0.160", "66.4 h", ""}},
      {"loads only: the basic life",
       {"3000", "ball", "55.3", "10", "1.072", "", "90", "939.5 h", "", "", "", "", "", ""}},
      {"no load: no life",
       {"3000", "ball", "55.3", "", "1.072", "extreme", "90", "", "", "", "", "", "", ""}},
      {"kappa below 0.1 at both temperatures",
       {"30", "ball", "55.3", "10", "1.072", "extreme", "90", "93,951.3 h", "1", "–", "–", "–", "–",
        "κ is below 0.1, outside the life method: no a_ISO and no modified life at 40 °C and "
        "100 °C."}},
      {"load of zero",
       {"3000", "ball", "55.3", "0", "", "", "90", "–", "", "", "", "", "",
        "The load P must be above 0 kN; it is 0."}},
      {"rating below the load",
       {"3000", "thrust-ball", "5", "10", "1", "high", "95", "–", "–", "–", "–", "–", "–",
        "The dynamic load rating C (5 kN) must not be below the load P (10 kN)."}},
      {"C_u not a number",
       {"3000", "ball", "55.3", "10", "abc", "high", "90", "–", "–", "–", "–", "–", "–",
        "The fatigue load limit C_u \"abc\" is not a number."}},
  };
  for (const auto& row : rows) {
    QTestData& data = QTest::newRow(row.name);
    for (const char* cell : row.cells) data << QString::fromUtf8(cell);
  }
}

void ChartWindowTest::theBearingBoxGivesTheLivesItsBoxesAllow() {
  QFETCH(QString, speed);
  QFETCH(QString, type);
  QFETCH(QString, rating);
  QFETCH(QString, load);
  QFETCH(QString, fatigue);
  QFETCH(QString, cleanliness);
  QFETCH(QString, reliability);
  SetBox("visc40", QStringLiteral("20"));
  SetBox("visc100", QStringLiteral("4"));
  SetBox("temp1", QStringLiteral("40"));
  SetBox("temp2", QStringLiteral("100"));
  Calculate();
  ChartWindow* chart = OpenChart();
  QVERIFY(chart != nullptr);
  chart->bearing_diameter()->setText(QStringLiteral("72.5"));
  chart->bearing_speed()->setText(speed);
  chart->bearing_type()->setCurrentText(type);
  chart->bearing_rating()->setText(rating);
  chart->bearing_load()->setText(load);
  chart->bearing_fatigue_load()->setText(fatigue);
  chart->bearing_cleanliness()->setCurrentText(cleanliness);
  chart->bearing_reliability()->setCurrentText(reliability);
  QCOMPARE(chart->bearing_type()->currentText(), type);
  QCOMPARE(chart->bearing_reliability()->currentText(), reliability);
  auto* box = chart->findChild<QGroupBox*>(QStringLiteral("BearingBox"));
  const struct {
    const char* name;
    const char* column;
    const char* label;
  } rows[] = {{"Bearing: L10h", "l10h", "L10h:"},
              {"Bearing: e_C", "ec", "e_C:"},
              {"Bearing: a_ISO at the first temperature", "aiso1", "a_ISO at 40 °C:"},
              {"Bearing: L_nmh at the first temperature", "life1", "L_nmh at 40 °C:"},
              {"Bearing: a_ISO at the second temperature", "aiso2", "a_ISO at 100 °C:"},
              {"Bearing: L_nmh at the second temperature", "life2", "L_nmh at 100 °C:"}};
  for (const auto& row : rows) {
    auto* value = chart->findChild<QLabel*>(QString::fromUtf8(row.name));
    QVERIFY2(value != nullptr, row.name);
    const QString expected =
        *static_cast<const QString*>(QTest::qData(row.column, qMetaTypeId<QString>()));
    QCOMPARE(value->isVisibleTo(box), !expected.isEmpty());
    if (expected.isEmpty()) continue;
    QCOMPARE(value->text(), expected);
    // A shown value has its label, naming its temperature.
    bool labelled = false;
    for (QLabel* label : box->findChildren<QLabel*>()) {
      labelled =
          labelled || (label->isVisibleTo(box) && label->text() == QString::fromUtf8(row.label));
    }
    QVERIFY2(labelled, row.label);
  }
  QFETCH(QString, message);
  auto* shown = chart->findChild<QLabel*>(QStringLiteral("BearingMessage"));
  QCOMPARE(shown->isVisibleTo(box) ? shown->text() : QString(), message);
  // The rated viscosity and its levels stay whatever the life boxes hold.
  QCOMPARE(chart->view()->chart()->levels.size(), std::size_t{2});
}

QTEST_MAIN(ChartWindowTest)
#include "chart_window_test.moc"
