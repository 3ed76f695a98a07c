// The main window on the offscreen platform, driven by real key and mouse events.

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>
#include <optional>

#include "catalogue/catalogue.h"
#include "caught.h"
#include "engine/calculate.h"
#include "window/fitting_label.h"
#include "window/form1.h"
#include "window/qt_controls.h"
#include "window/system_colours.h"
#include "window_test_support.h"

using namespace project1;

namespace {

// What the window shows, for comparing before and after a failed command.
struct Shown {
  QStringList texts;
  QList<QColor> backs;
  QString notice;
  bool operator==(const Shown&) const = default;
};

const char* const kBoxes[] = {"vc",    "vh",     "tref",    "tref2",   "SG",
                              "vcalc", "vcalc2", "DynVisc", "DynVisc2"};
const char* const kResultBoxes[] = {"vcalc", "vcalc2", "DynVisc", "DynVisc2"};
const char* const kLabels[] = {"Label2_0", "Label2_1", "Label2_2", "Label2_3",
                               "Label1",   "Label3",   "Label4"};

// Whether the label's whole text, as drawn, lies inside its box.
bool TextFitsLabel(const FittingLabel& label) {
  const int flags = static_cast<int>(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0);
  const QRect box = label.contentsRect();
  const QRect needed = QFontMetrics(label.DrawnFont()).boundingRect(box, flags, label.text());
  return box.contains(needed);
}

}  // namespace

class Form1Test : public WindowTest {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();

  void colourValuesBecomeQtColours_data();
  void colourValuesBecomeQtColours();
  void unknownColourValuesAreRefusedWithAPlainMessage_data();
  void unknownColourValuesAreRefusedWithAPlainMessage();
  void theNoticeRefusesAFontSizeOutsideItsRange_data();
  void theNoticeRefusesAFontSizeOutsideItsRange();

  void everyControlSitsWhereTheLayoutPutsIt_data();
  void everyControlSitsWhereTheLayoutPutsIt();
  void theWindowHasItsCaptionAndAFixedClientSize();
  void controlsOverTheFirstFrameAreDrawnAboveIt();
  void namedFontsAreBoldAtTheirSizesAndOthersKeepTheDefault_data();
  void namedFontsAreBoldAtTheirSizesAndOthersKeepTheDefault();
  void everyCaptionFitsItsLabelWhateverTheFont();
  void theWindowStartsWithTheTypicalOilAndGreyEmptyResults();
  void everyBoxTellsItsNameAndUnit();
  void tabFromTrefVisitsTheControlsInOrder();
  void enterInATextBoxDoesNotCalculate();

  void arrowKeysInTheListPickAnOil_data();
  void arrowKeysInTheListPickAnOil();
  void aMouseClickInThePopupPicksAnOilAndOtherKeepsIt();
  void typingANameInTheListThenEnterOrLeavingChangesNothing_data();
  void typingANameInTheListThenEnterOrLeavingChangesNothing();

  void clickingCalculateGivesTheTypicalResultsAndTheTableFile();
  void anEmptySpecificGravityIsReportedAndTheWindowStaysUsable();
  void theWindowRendersToAPicture();

 private:
  QString Text(const char* name) { return Box(name)->text(); }
  Shown WhatIsShown();
  void ClickInPopup(QComboBox* combo, int row);
};

void Form1Test::initTestCase() { StartHome(); }
void Form1Test::init() { OpenWindow(); }
void Form1Test::cleanup() { CloseWindow(); }

// --- Colours and fonts of the controls surface ---------------------------------------------

void Form1Test::colourValuesBecomeQtColours_data() {
  QTest::addColumn<uint>("value");
  QTest::addColumn<QColor>("expected");
  // System colours are read from a palette with these roles (see the test).
  QTest::newRow("light green is red 128, green 255, blue 128")
      << 0x0080FF80u << QColor(128, 255, 128);
  QTest::newRow("red sits in the low byte") << 0x000000FFu << QColor(255, 0, 0);
  QTest::newRow("blue sits in the third byte") << 0x00FF0000u << QColor(0, 0, 255);
  QTest::newRow("white") << 0x00FFFFFFu << QColor(255, 255, 255);
  QTest::newRow("menu is the window colour") << 0x80000004u << QColor(1, 2, 3);
  QTest::newRow("window text") << 0x80000008u << QColor(4, 5, 6);
  QTest::newRow("active border is the mid grey") << 0x8000000Au << QColor(7, 8, 9);
}

void Form1Test::colourValuesBecomeQtColours() {
  QFETCH(uint, value);
  QFETCH(QColor, expected);
  QPalette palette;
  palette.setColor(QPalette::Window, QColor(1, 2, 3));
  palette.setColor(QPalette::WindowText, QColor(4, 5, 6));
  palette.setColor(QPalette::Mid, QColor(7, 8, 9));
  QCOMPARE(ColourFromValue(value, palette), expected);
}

void Form1Test::unknownColourValuesAreRefusedWithAPlainMessage_data() {
  QTest::addColumn<uint>("value");
  QTest::addColumn<QString>("message");
  QTest::newRow("a system colour the window does not know")
      << 0x80000005u << "The system colour 0x80000005 is not a colour this window can show.";
  QTest::newRow("a value with a stray high byte")
      << 0x01000000u << "The colour value 0x01000000 is not a colour this window can show.";
}

void Form1Test::unknownColourValuesAreRefusedWithAPlainMessage() {
  QFETCH(uint, value);
  QFETCH(QString, message);
  const std::optional<Error> error = Caught([&] { ColourFromValue(value, QPalette()); });
  QVERIFY2(error.has_value(), "no error");
  QCOMPARE(error->kind(), ErrorKind::ControlError);
  QCOMPARE(QString::fromUtf8(error->what()), message);
  // A text box given such a colour keeps the one it had.
  QLineEdit* box = Box("vcalc");
  const QColor before = box->palette().color(QPalette::Base);
  QtTextBox text_box(box);
  QVERIFY_THROWS_EXCEPTION(Error, text_box.SetBackColor(value));
  QCOMPARE(box->palette().color(QPalette::Base), before);
}

void Form1Test::theNoticeRefusesAFontSizeOutsideItsRange_data() {
  QTest::addColumn<double>("points");
  QTest::addColumn<QString>("message");
  QTest::newRow("14 points") << 14.0 << QString();
  QTest::newRow("a fraction of a point") << 0.5 << QString();
  QTest::newRow("zero") << 0.0
                        << "The font size 0 points is not valid: it must be more than 0 and at "
                           "most 2048.";
  QTest::newRow("negative") << -3.0
                            << "The font size -3 points is not valid: it must be more than 0 and "
                               "at most 2048.";
  QTest::newRow("huge") << 5000.0
                        << "The font size 5000 points is not valid: it must be more than 0 and "
                           "at most 2048.";
}

void Form1Test::theNoticeRefusesAFontSizeOutsideItsRange() {
  QFETCH(double, points);
  QFETCH(QString, message);
  auto* notice = Find<QLabel>(QStringLiteral("Label4"));
  const double before = notice->font().pointSizeF();
  QtLabel label(notice);
  if (message.isEmpty()) {
    label.SetFontSize(points);
    QCOMPARE(notice->font().pointSizeF(), points);
    return;
  }
  const std::optional<Error> error = Caught([&] { label.SetFontSize(points); });
  QVERIFY2(error.has_value(), "no error");
  QCOMPARE(QString::fromUtf8(error->what()), message);
  QCOMPARE(notice->font().pointSizeF(), before);
}

// --- Layout --------------------------------------------------------------------------------

void Form1Test::everyControlSitsWhereTheLayoutPutsIt_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("container");
  QTest::addColumn<QRect>("twips");
  const auto row = [](const char* name, const char* container, int l, int t, int w, int h) {
    QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(container)
                        << QRect(l, t, w, h);
  };
  row("Frame1", "Form1", 60, 360, 7155, 5655);
  row("Frame2", "Form1", 7890, 360, 5085, 5655);
  row("Label2_0", "Frame1", 360, 690, 2835, 405);
  row("vc", "Form1", 3090, 1020, 1155, 435);
  row("Label2_1", "Frame1", 360, 1230, 2835, 405);
  row("vh", "Form1", 3090, 1590, 1155, 435);
  row("LubList", "Frame1", 4860, 630, 1905, 360);
  row("Label2_2", "Frame1", 330, 1920, 2835, 405);
  row("tref", "Form1", 420, 2640, 1125, 435);
  row("tref2", "Frame1", 1860, 2280, 1095, 435);
  row("Command1", "Form1", 3450, 3000, 3375, 795);
  row("Label2_3", "Frame1", 270, 3150, 2835, 405);
  row("vcalc", "Form1", 420, 3870, 1155, 435);
  row("vcalc2", "Frame1", 1860, 3510, 1155, 465);
  row("Label4", "Frame1", 270, 4770, 6645, 525);
  row("Label1", "Frame2", 300, 690, 2205, 465);
  row("SG", "Frame2", 2640, 690, 1575, 465);
  row("Label3", "Frame2", 240, 2250, 4305, 375);
  row("DynVisc", "Frame2", 510, 2850, 1335, 435);
  row("DynVisc2", "Frame2", 2370, 2850, 1395, 465);
}

void Form1Test::everyControlSitsWhereTheLayoutPutsIt() {
  QFETCH(QString, name);
  QFETCH(QString, container);
  QFETCH(QRect, twips);
  auto* control = Find<QWidget>(name);
  QVERIFY(control->parentWidget() != nullptr);
  QCOMPARE(control->parentWidget()->objectName(), container);
  QCOMPARE(control->geometry(),
           QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
  QVERIFY(control->isVisible());
}

void Form1Test::theWindowHasItsCaptionAndAFixedClientSize() {
  QCOMPARE(window_->windowTitle(), QStringLiteral("Tervane"));
  QCOMPARE(window_->size(), QSize(13365 / 15, 6465 / 15));
  QCOMPARE(window_->minimumSize(), window_->maximumSize());
}

void Form1Test::controlsOverTheFirstFrameAreDrawnAboveIt() {
  auto* frame = Find<QWidget>(QStringLiteral("Frame1"));
  for (const char* name : {"vc", "vh", "tref", "vcalc", "Command1"}) {
    auto* control = Find<QWidget>(QLatin1String(name));
    QVERIFY2(frame->geometry().contains(control->geometry()), name);
    // The window draws its children in list order: later ones lie on top.
    QVERIFY2(window_->children().indexOf(control) > window_->children().indexOf(frame), name);
    QCOMPARE(window_->childAt(control->geometry().center())->objectName(), control->objectName());
  }
}

void Form1Test::namedFontsAreBoldAtTheirSizesAndOthersKeepTheDefault_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<double>("points");  // 0: the platform's default font
  for (const char* frame : {"Frame1", "Frame2"}) QTest::newRow(frame) << frame << 13.5;
  for (const char* label :
       {"Label2_0", "Label2_1", "Label2_2", "Label2_3", "Label1", "Label3", "LubList"}) {
    QTest::newRow(label) << label << 9.75;
  }
  QTest::newRow("Command1") << "Command1" << 12.0;
  for (const char* plain : {"tref2", "vcalc2", "Label4", "SG", "DynVisc", "vc", "tref"}) {
    QTest::newRow(plain) << plain << 0.0;
  }
}

void Form1Test::namedFontsAreBoldAtTheirSizesAndOthersKeepTheDefault() {
  QFETCH(QString, name);
  QFETCH(double, points);
  const QFont font = Find<QWidget>(name)->font();
  if (points == 0) {
    QCOMPARE(font.pointSizeF(), QApplication::font().pointSizeF());
    QCOMPARE(font.bold(), QApplication::font().bold());
  } else {
    QCOMPARE(font.pointSizeF(), points);
    QVERIFY(font.bold());
  }
}

void Form1Test::everyCaptionFitsItsLabelWhateverTheFont() {
  auto* notice = dynamic_cast<FittingLabel*>(Find<QLabel>(QStringLiteral("Label4")));
  QVERIFY(notice != nullptr);
  notice->setText(
      QStringLiteral("the file Viscosity.txt was created in /home/a-rather-long-user-name/"));
  QFont big = notice->font();
  big.setBold(true);
  big.setPointSizeF(14);
  notice->setFont(big);
  for (const char* name : kLabels) {
    auto* label = dynamic_cast<FittingLabel*>(Find<QLabel>(QLatin1String(name)));
    QVERIFY2(label != nullptr, name);
    QVERIFY2(TextFitsLabel(*label), name);
    QVERIFY2(label->DrawnFont().pointSizeF() <= label->font().pointSizeF(), name);
  }
  // The label reports the font it was given, whatever size it draws with.
  QCOMPARE(notice->font().pointSizeF(), 14.0);
}

// --- Start -----------------------------------------------------------------------------------

void Form1Test::theWindowStartsWithTheTypicalOilAndGreyEmptyResults() {
  QCOMPARE(Text("vc"), QStringLiteral("320"));
  QCOMPARE(Text("vh"), QStringLiteral("35"));
  QCOMPARE(Text("tref"), QStringLiteral("71"));
  QCOMPARE(Text("tref2"), QStringLiteral("150"));
  QCOMPARE(Text("SG"), QStringLiteral("0.87"));
  const QColor grey = QApplication::palette().color(QPalette::Active, QPalette::Mid);
  QVERIFY(grey != Box("vc")->palette().color(QPalette::Base));
  for (const char* name : kResultBoxes) {
    QVERIFY2(Text(name).isEmpty(), name);
    QVERIFY2(Box(name)->isReadOnly(), name);
    QCOMPARE(Box(name)->palette().color(QPalette::Base), grey);
  }
  for (const char* name : {"vc", "vh", "tref", "tref2", "SG"})
    QVERIFY2(!Box(name)->isReadOnly(), name);
  QCOMPARE(Box("tref2")->palette().color(QPalette::Base), QColor(Qt::white));

  auto* notice = Find<QLabel>(QStringLiteral("Label4"));
  QVERIFY(notice->text().isEmpty());
  QCOMPARE(notice->palette().color(QPalette::WindowText), QColor(Qt::red));

  auto* list = Find<QComboBox>(QStringLiteral("LubList"));
  QVERIFY(list->isEditable());
  QCOMPARE(list->currentText(), QStringLiteral("Lubricant List"));
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
  QStringList expected;
  for (const Lubricant& oil : LubricantCatalogue) {
    expected << QString::fromUtf8(oil.name.data(), static_cast<qsizetype>(oil.name.size()));
  }
  expected << QStringLiteral("OTHER");
  QCOMPARE(items.size(), 11);
  QCOMPARE(items, expected);

  auto* button = Find<QPushButton>(QStringLiteral("Command1"));
  QCOMPARE(button->palette().color(QPalette::Button), QColor(128, 255, 128));
  QCOMPARE(button->text().replace(QLatin1Char('\n'), QLatin1Char(' ')),
           QStringLiteral("Calculate Viscosity at Reference Temperature"));
  QVERIFY(!button->isDefault());
  QVERIFY(!button->autoDefault());
  QCOMPARE(Find<QGroupBox>(QStringLiteral("Frame1"))->title(),
           QStringLiteral("Kinematic Viscosity"));
  QCOMPARE(Find<QGroupBox>(QStringLiteral("Frame2"))->title(), QStringLiteral("Dynamic Viscosity"));

  QCOMPARE(QApplication::focusWidget(), Box("tref"));
}

void Form1Test::everyBoxTellsItsNameAndUnit() {
  struct Row {
    const char* box;
    const char* name;
    const char* unit;
  };
  const Row rows[] = {
      {"vc", "Viscosity at 40 °C", "cSt at 40 °C"},
      {"vh", "Viscosity at 100 °C", "cSt at 100 °C"},
      {"tref", "First reference temperature", "°C"},
      {"tref2", "Second reference temperature", "°C"},
      {"vcalc", "Viscosity at the first reference temperature",
       "cSt at the first reference temperature"},
      {"vcalc2", "Viscosity at the second reference temperature",
       "cSt at the second reference temperature"},
      {"DynVisc", "Dynamic viscosity at the first reference temperature",
       "reyn (lbf·s/in²) at the first reference temperature"},
      {"DynVisc2", "Dynamic viscosity at the second reference temperature",
       "reyn (lbf·s/in²) at the second reference temperature"},
  };
  for (const Row& row : rows) {
    QCOMPARE(Box(row.box)->accessibleName(), QString::fromUtf8(row.name));
    QCOMPARE(Box(row.box)->toolTip(), QString::fromUtf8(row.unit));
  }
  QCOMPARE(Box("SG")->accessibleName(), QStringLiteral("Specific gravity"));
  QVERIFY(Box("SG")->toolTip().contains(QStringLiteral("no unit")));
}

void Form1Test::tabFromTrefVisitsTheControlsInOrder() {
  const QStringList order{"tref",    "Command1", "vcalc", "vc",     "vh",       "SG",
                          "DynVisc", "LubList",  "tref2", "vcalc2", "DynVisc2", "tref"};
  const auto focused = [] {
    QWidget* widget = QApplication::focusWidget();
    if (widget == nullptr) return QString();
    // The list's edit field has the focus on behalf of the list.
    if (qobject_cast<QComboBox*>(widget->parentWidget()) != nullptr)
      widget = widget->parentWidget();
    return widget->objectName();
  };
  QCOMPARE(focused(), order.front());
  for (qsizetype i = 1; i < order.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(focused(), order[i]);
  }
}

void Form1Test::enterInATextBoxDoesNotCalculate() {
  for (const char* name : {"tref", "tref2", "vc", "SG"}) {
    Box(name)->setFocus();
    QTest::keyClick(Box(name), Qt::Key_Return);
    QTest::keyClick(Box(name), Qt::Key_Enter);
  }
  QTest::qWait(50);
  for (const char* name : kResultBoxes) QVERIFY2(Text(name).isEmpty(), name);
  QVERIFY(Find<QLabel>(QStringLiteral("Label4"))->text().isEmpty());
}

// --- The lubricant list ------------------------------------------------------------------------

void Form1Test::arrowKeysInTheListPickAnOil_data() {
  QTest::addColumn<QList<int>>("keys");
  QTest::addColumn<QStringList>("shown");  // list text, vc, vh, SG
  const int down = Qt::Key_Down;
  const int up = Qt::Key_Up;
  QTest::newRow("one Down picks the first oil")
      << QList<int>{down} << QStringList{"SHC 624", "31", "5.8", "0.85"};
  QTest::newRow("three Downs pick the third oil")
      << QList<int>{down, down, down} << QStringList{"SHC 626", "66", "10.3", "0.86"};
  QTest::newRow("Up goes back one oil")
      << QList<int>{down, down, down, up} << QStringList{"SHC 625", "46", "7.7", "0.85"};
  QTest::newRow("ten Downs reach the last oil")
      << QList<int>(10, down) << QStringList{"SHC 639", "968", "78.5", "0.85"};
  QTest::newRow("OTHER keeps the values of the oil before it")
      << QList<int>(11, down) << QStringList{"OTHER", "968", "78.5", "0.85"};
  QTest::newRow("Down past the end stays on OTHER")
      << QList<int>(13, down) << QStringList{"OTHER", "968", "78.5", "0.85"};
}

void Form1Test::arrowKeysInTheListPickAnOil() {
  QFETCH(QList<int>, keys);
  QFETCH(QStringList, shown);
  auto* list = Find<QComboBox>(QStringLiteral("LubList"));
  list->setFocus();
  for (int key : keys) QTest::keyClick(list, static_cast<Qt::Key>(key));
  QCOMPARE((QStringList{list->currentText(), Text("vc"), Text("vh"), Text("SG")}), shown);
  QCOMPARE(Text("tref"), QStringLiteral("71"));
  QCOMPARE(Text("tref2"), QStringLiteral("150"));
}

void Form1Test::ClickInPopup(QComboBox* combo, int row) {
  // Open the list with a click on its arrow, as a user does.
  QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(combo->width() - 6, combo->height() / 2));
  QAbstractItemView* view = combo->view();
  QVERIFY2(QTest::qWaitFor([view] { return view->isVisible(); }, kEventDeadlineMs),
           "the list did not open");
  // The popup ignores a release that comes too soon after it opened.
  QTest::qWait(QApplication::doubleClickInterval() + 100);
  const QModelIndex index = view->model()->index(row, 0);
  view->scrollTo(index);  // the popup shows ten rows; a user scrolls to the others
  const QRect item = view->visualRect(index);
  QVERIFY(item.isValid());
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
  QVERIFY2(QTest::qWaitFor([view] { return !view->isVisible(); }, kEventDeadlineMs),
           "the list did not close after the click");
}

void Form1Test::aMouseClickInThePopupPicksAnOilAndOtherKeepsIt() {
  auto* list = Find<QComboBox>(QStringLiteral("LubList"));
  ClickInPopup(list, 5);
  QCOMPARE((QStringList{list->currentText(), Text("vc"), Text("vh"), Text("SG")}),
           (QStringList{"SHC 630", "222", "25.7", "0.87"}));
  ClickInPopup(list, 10);
  QCOMPARE((QStringList{list->currentText(), Text("vc"), Text("vh"), Text("SG")}),
           (QStringList{"OTHER", "222", "25.7", "0.87"}));
  // A popup closed without a pick, then Enter on a typed name, picks nothing.
  QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(list->width() - 6, list->height() / 2));
  QVERIFY2(QTest::qWaitFor([list] { return list->view()->isVisible(); }, kEventDeadlineMs),
           "the list did not open");
  QTest::keyClick(list->view(), Qt::Key_Escape);
  QVERIFY2(QTest::qWaitFor([list] { return !list->view()->isVisible(); }, kEventDeadlineMs),
           "the list did not close on Escape");
  QTest::qWait(20);
  list->setFocus();
  QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(list, QStringLiteral("SHC 639"));
  QTest::keyClick(list, Qt::Key_Return);
  QCOMPARE((QStringList{Text("vc"), Text("vh"), Text("SG")}), (QStringList{"222", "25.7", "0.87"}));
}

void Form1Test::typingANameInTheListThenEnterOrLeavingChangesNothing_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<QString>("typed");
  QTest::newRow("Enter after SHC 625") << int(Qt::Key_Return) << "SHC 625";
  QTest::newRow("keypad Enter after SHC 625") << int(Qt::Key_Enter) << "SHC 625";
  QTest::newRow("Tab away after SHC 625") << int(Qt::Key_Tab) << "SHC 625";
  QTest::newRow("Enter after small letters") << int(Qt::Key_Return) << "shc 624";
}

void Form1Test::typingANameInTheListThenEnterOrLeavingChangesNothing() {
  QFETCH(int, key);
  QFETCH(QString, typed);
  auto* list = Find<QComboBox>(QStringLiteral("LubList"));
  list->setFocus();
  QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(list, typed);
  QCOMPARE(list->currentText(), typed);
  QTest::keyClick(list, static_cast<Qt::Key>(key));
  QTest::qWait(20);
  QCOMPARE((QStringList{Text("vc"), Text("vh"), Text("SG")}), (QStringList{"320", "35", "0.87"}));
}

// --- The calculate command ----------------------------------------------------------------------

void Form1Test::clickingCalculateGivesTheTypicalResultsAndTheTableFile() {
  QFile::remove(QDir(home_.path()).filePath(QStringLiteral("Viscosity.txt")));
  Calculate();

  QCOMPARE(Text("vcalc"), QStringLiteral("85.642"));
  QCOMPARE(Text("vcalc2"), QStringLiteral("11.987"));
  QCOMPARE(Text("DynVisc"), QStringLiteral(".0000108"));
  QCOMPARE(Text("DynVisc2"), QStringLiteral(".00000151"));
  for (const char* name : kResultBoxes) {
    QCOMPARE(Box(name)->palette().color(QPalette::Base), QColor(128, 255, 128));
  }
  auto* notice = Find<QLabel>(QStringLiteral("Label4"));
  QCOMPARE(notice->text(), QString::fromStdString(CompletionNotice(
                               QDir(home_.path()).absolutePath().toStdString() + "/")));
  QVERIFY(notice->font().bold());
  QCOMPARE(notice->font().pointSizeF(), 14.0);
  QVERIFY(TextFitsLabel(*dynamic_cast<FittingLabel*>(notice)));

  QFile table(QDir(home_.path()).filePath(QStringLiteral("Viscosity.txt")));
  QVERIFY(table.open(QIODevice::ReadOnly));
  const QByteArray bytes = table.readAll();
  QCOMPARE(bytes.count("\r\n"), 60);
  QVERIFY(bytes.endsWith("\r\n"));
}

Shown Form1Test::WhatIsShown() {
  Shown shown;
  for (const char* name : kBoxes) {
    shown.texts << Text(name);
    shown.backs << Box(name)->palette().color(QPalette::Base);
  }
  shown.notice = Find<QLabel>(QStringLiteral("Label4"))->text();
  return shown;
}

void Form1Test::anEmptySpecificGravityIsReportedAndTheWindowStaysUsable() {
  auto* button = Find<QPushButton>(QStringLiteral("Command1"));
  QTest::mouseClick(button, Qt::LeftButton);
  QCOMPARE(Text("vcalc"), QStringLiteral("85.642"));

  // With tref at 40 a calculation would show 320; the empty gravity stops it first.
  Box("tref")->setText(QStringLiteral("40"));
  QLineEdit* sg = Box("SG");
  sg->setFocus();
  QTest::keyClick(sg, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(sg, Qt::Key_Backspace);
  QCOMPARE(sg->text(), QString());
  const Shown before = WhatIsShown();

  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  bool modal = false;
  watch_->Expect([&](QWidget* dialog) {
    auto* box = qobject_cast<QMessageBox*>(dialog);
    if (box == nullptr) return;
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    modal = box->isModal();
    QTest::keyClick(box, Qt::Key_Return);
  });
  QTest::mouseClick(button, Qt::LeftButton);
  QVERIFY2(!watch_->Expecting(), "no report appeared");
  QCOMPARE(text, QStringLiteral("The specific gravity \"\" is not a number."));
  QCOMPARE(title, QStringLiteral("Tervane"));
  QCOMPARE(icon, QMessageBox::Critical);
  QVERIFY(modal);
  QVERIFY(before == WhatIsShown());
  QVERIFY(window_->isVisible());

  // The program goes on: fix the gravity and calculate again.
  QTest::keyClicks(sg, QStringLiteral("0.87"));
  QTest::mouseClick(button, Qt::LeftButton);
  QCOMPARE(Text("vcalc"), QStringLiteral("320"));
  QCOMPARE(Text("vcalc2"), QStringLiteral("11.987"));
  QCOMPARE(Text("DynVisc2"), QStringLiteral(".00000151"));
}

void Form1Test::theWindowRendersToAPicture() {
  const QString folder = QStringLiteral(PROJECT1_SCREENSHOT_DIR);
  QImage start = window_->grab().toImage();
  QCOMPARE(start.size() / start.devicePixelRatio(), window_->size());
  QVERIFY(start.save(folder + QStringLiteral("/form1_start.png")));

  Calculate();
  const QImage results = window_->grab().toImage();
  QVERIFY(results.save(folder + QStringLiteral("/form1_results.png")));
  // The result boxes turned from grey to light green.
  const QPoint inside = Box("vcalc")->geometry().topLeft() + QPoint(3, 3);
  QVERIFY(start.pixelColor(inside) != results.pixelColor(inside));
  QCOMPARE(results.pixelColor(inside), QColor(128, 255, 128));
}

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
