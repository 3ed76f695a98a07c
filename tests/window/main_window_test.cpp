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
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include "catalogue/catalogue.h"
#include "caught.h"
#include "engine/calculate.h"
#include "table_file/table_file.h"
#include "window/fitting_label.h"
#include "window/main_window.h"
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

const char* const kBoxes[] = {"visc40", "visc100", "temp1",    "temp2",   "gravity",
                              "visc1",  "visc2",   "dynamic1", "dynamic2"};
const char* const kResultBoxes[] = {"visc1", "visc2", "dynamic1", "dynamic2"};
const char* const kLabels[] = {"visc40Label", "visc100Label", "temperatureLabel",
                               "resultLabel", "gravityLabel", "dynamicLabel",
                               "notice"};

// Whether the label's whole text, as drawn, lies inside its box.
bool TextFitsLabel(const FittingLabel& label) {
  const int flags = static_cast<int>(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0);
  const QRect box = label.contentsRect();
  const QRect needed = QFontMetrics(label.DrawnFont()).boundingRect(box, flags, label.text());
  return box.contains(needed);
}

}  // namespace

class MainWindowTest : public WindowTest {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();

  // First: any later test may load image plugins (a report's icon does).
  void theWindowIsDrawnWithoutImagePlugins();

  void colourValuesBecomeQtColours_data();
  void colourValuesBecomeQtColours();
  void unknownColourValuesAreRefusedWithAPlainMessage_data();
  void unknownColourValuesAreRefusedWithAPlainMessage();

  void everyControlLiesInsideItsFrameOnScreen_data();
  void everyControlLiesInsideItsFrameOnScreen();
  void everyCaptionIsAboveOrLeftOfItsBox_data();
  void everyCaptionIsAboveOrLeftOfItsBox();
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
  void theListsPopupIsBuiltWhenFirstShownAsSetEditableBuildsIt();
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

void MainWindowTest::initTestCase() { StartHome(); }
void MainWindowTest::init() { OpenWindow(); }
void MainWindowTest::cleanup() { CloseWindow(); }

void MainWindowTest::theWindowIsDrawnWithoutImagePlugins() {
  const QImage drawn = window_->grab().toImage();
  QVERIFY(!drawn.isNull());
  QFile maps(QStringLiteral("/proc/self/maps"));
  QVERIFY(maps.open(QIODevice::ReadOnly));
  const QByteArray mapped = maps.readAll();
  for (const char* library : {"/imageformats/", "libQt6Svg", "libjpeg"}) {
    QVERIFY2(!mapped.contains(library), library);
  }
}

// --- Colours and fonts of the controls surface ---------------------------------------------

void MainWindowTest::colourValuesBecomeQtColours_data() {
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

void MainWindowTest::colourValuesBecomeQtColours() {
  QFETCH(uint, value);
  QFETCH(QColor, expected);
  QPalette palette;
  palette.setColor(QPalette::Window, QColor(1, 2, 3));
  palette.setColor(QPalette::WindowText, QColor(4, 5, 6));
  palette.setColor(QPalette::Mid, QColor(7, 8, 9));
  QCOMPARE(ColourFromValue(value, palette), expected);
}

void MainWindowTest::unknownColourValuesAreRefusedWithAPlainMessage_data() {
  QTest::addColumn<uint>("value");
  QTest::addColumn<QString>("message");
  QTest::newRow("a system colour the window does not know")
      << 0x80000005u << "The system colour 0x80000005 is not a colour this window can show.";
  QTest::newRow("a value with a stray high byte")
      << 0x01000000u << "The colour value 0x01000000 is not a colour this window can show.";
}

void MainWindowTest::unknownColourValuesAreRefusedWithAPlainMessage() {
  QFETCH(uint, value);
  QFETCH(QString, message);
  const std::optional<Error> error = Caught([&] { ColourFromValue(value, QPalette()); });
  QVERIFY2(error.has_value(), "no error");
  QCOMPARE(error->kind(), ErrorKind::Internal);
  QCOMPARE(QString::fromUtf8(error->what()), message);
  // A box given such a colour keeps the one it had.
  QLineEdit* box = Box("visc1");
  const QColor before = box->palette().color(QPalette::Base);
  QVERIFY_THROWS_EXCEPTION(Error, SetBackgroundColour(*box, QPalette::Base, value));
  QCOMPARE(box->palette().color(QPalette::Base), before);
}

// --- Layout --------------------------------------------------------------------------------

void MainWindowTest::everyControlLiesInsideItsFrameOnScreen_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("frame");  // "" for the window's free strip above the frames
  const char* kinematic[] = {"visc40Label",     "visc40",           "visc100Label", "visc100",
                             "lubricantList",   "temperatureLabel", "temp1",        "temp2",
                             "calculateButton", "resultLabel",      "visc1",        "visc2",
                             "notice"};
  for (const char* name : kinematic) QTest::newRow(name) << name << "kinematicFrame";
  for (const char* name : {"gravityLabel", "gravity", "dynamicLabel", "dynamic1", "dynamic2"}) {
    QTest::newRow(name) << name << "dynamicFrame";
  }
}

void MainWindowTest::everyControlLiesInsideItsFrameOnScreen() {
  QFETCH(QString, name);
  QFETCH(QString, frame);
  auto* control = Find<QWidget>(name);
  auto* box = Find<QWidget>(frame);
  const QRect on_screen(control->mapTo(window_.get(), QPoint(0, 0)), control->size());
  // Inside the frame's border, below its title.
  const QRect inside = box->geometry().adjusted(2, box->fontMetrics().height() / 2, -2, -2);
  QVERIFY2(inside.contains(on_screen), qPrintable(name));
  QVERIFY(control->isVisible());
  QVERIFY(!control->size().isEmpty());
}

void MainWindowTest::everyCaptionIsAboveOrLeftOfItsBox_data() {
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("box");
  QTest::newRow("viscosity at 40 C") << "visc40Label"
                                     << "visc40";
  QTest::newRow("viscosity at 100 C") << "visc100Label"
                                      << "visc100";
  QTest::newRow("reference temperatures, first") << "temperatureLabel"
                                                 << "temp1";
  QTest::newRow("reference temperatures, second") << "temperatureLabel"
                                                  << "temp2";
  QTest::newRow("calculated viscosity, first") << "resultLabel"
                                               << "visc1";
  QTest::newRow("calculated viscosity, second") << "resultLabel"
                                                << "visc2";
  QTest::newRow("specific gravity") << "gravityLabel"
                                    << "gravity";
  QTest::newRow("dynamic viscosity, first") << "dynamicLabel"
                                            << "dynamic1";
  QTest::newRow("dynamic viscosity, second") << "dynamicLabel"
                                             << "dynamic2";
}

void MainWindowTest::everyCaptionIsAboveOrLeftOfItsBox() {
  QFETCH(QString, caption);
  QFETCH(QString, box);
  auto* label = dynamic_cast<FittingLabel*>(Find<QLabel>(caption));
  QVERIFY(label != nullptr);
  const QWidget* field = Find<QWidget>(box);
  // The caption's text as drawn, and the box, where they are on screen.
  const int flags = static_cast<int>(label->alignment()) | Qt::TextWordWrap;
  const QRect text = QFontMetrics(label->DrawnFont())
                         .boundingRect(label->contentsRect(), flags, label->text())
                         .translated(label->mapTo(window_.get(), QPoint(0, 0)));
  const QRect place(field->mapTo(window_.get(), QPoint(0, 0)), field->size());
  const bool left =
      text.right() < place.left() && text.top() < place.bottom() && place.top() < text.bottom();
  const bool above = text.bottom() < place.top();
  QVERIFY2(left || above, qPrintable(caption + " and " + box));
}

void MainWindowTest::theWindowHasItsCaptionAndAFixedClientSize() {
  QCOMPARE(window_->windowTitle(), QStringLiteral("Tervane"));
  QCOMPARE(window_->size(), QSize(13365 / 15, 6465 / 15));
  QCOMPARE(window_->minimumSize(), window_->maximumSize());
}

void MainWindowTest::controlsOverTheFirstFrameAreDrawnAboveIt() {
  auto* frame = Find<QWidget>(QStringLiteral("kinematicFrame"));
  for (const char* name : {"visc40", "visc100", "temp1", "visc1", "calculateButton"}) {
    auto* control = Find<QWidget>(QLatin1String(name));
    QVERIFY2(frame->geometry().contains(control->geometry()), name);
    // The window draws its children in list order: later ones lie on top.
    QVERIFY2(window_->children().indexOf(control) > window_->children().indexOf(frame), name);
    QCOMPARE(window_->childAt(control->geometry().center())->objectName(), control->objectName());
  }
}

void MainWindowTest::namedFontsAreBoldAtTheirSizesAndOthersKeepTheDefault_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<double>("points");  // 0: the platform's default font
  for (const char* frame : {"kinematicFrame", "dynamicFrame"})
    QTest::newRow(frame) << frame << 13.5;
  for (const char* label : {"visc40Label", "visc100Label", "temperatureLabel", "resultLabel",
                            "gravityLabel", "dynamicLabel", "lubricantList"}) {
    QTest::newRow(label) << label << 9.75;
  }
  QTest::newRow("calculateButton") << "calculateButton" << 12.0;
  for (const char* plain : {"temp2", "visc2", "notice", "gravity", "dynamic1", "visc40", "temp1"}) {
    QTest::newRow(plain) << plain << 0.0;
  }
}

void MainWindowTest::namedFontsAreBoldAtTheirSizesAndOthersKeepTheDefault() {
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

void MainWindowTest::everyCaptionFitsItsLabelWhateverTheFont() {
  auto* notice = dynamic_cast<FittingLabel*>(Find<QLabel>(QStringLiteral("notice")));
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

void MainWindowTest::theWindowStartsWithTheTypicalOilAndGreyEmptyResults() {
  QCOMPARE(Text("visc40"), QStringLiteral("320"));
  QCOMPARE(Text("visc100"), QStringLiteral("35"));
  QCOMPARE(Text("temp1"), QStringLiteral("71"));
  QCOMPARE(Text("temp2"), QStringLiteral("150"));
  QCOMPARE(Text("gravity"), QStringLiteral("0.87"));
  const QColor grey = QApplication::palette().color(QPalette::Active, QPalette::Mid);
  QVERIFY(grey != Box("visc40")->palette().color(QPalette::Base));
  for (const char* name : kResultBoxes) {
    QVERIFY2(Text(name).isEmpty(), name);
    QVERIFY2(Box(name)->isReadOnly(), name);
    QCOMPARE(Box(name)->palette().color(QPalette::Base), grey);
  }
  for (const char* name : {"visc40", "visc100", "temp1", "temp2", "gravity"})
    QVERIFY2(!Box(name)->isReadOnly(), name);
  QCOMPARE(Box("temp2")->palette().color(QPalette::Base), QColor(Qt::white));

  auto* notice = Find<QLabel>(QStringLiteral("notice"));
  QVERIFY(notice->text().isEmpty());
  QCOMPARE(notice->palette().color(QPalette::WindowText), QColor(Qt::red));

  auto* list = Find<QComboBox>(QStringLiteral("lubricantList"));
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

  auto* button = Find<QPushButton>(QStringLiteral("calculateButton"));
  QCOMPARE(button->palette().color(QPalette::Button), QColor(128, 255, 128));
  QCOMPARE(button->text().replace(QLatin1Char('\n'), QLatin1Char(' ')),
           QStringLiteral("Calculate Viscosity at Reference Temperature"));
  QVERIFY(!button->isDefault());
  QVERIFY(!button->autoDefault());
  QCOMPARE(Find<QGroupBox>(QStringLiteral("kinematicFrame"))->title(),
           QStringLiteral("Kinematic Viscosity"));
  QCOMPARE(Find<QGroupBox>(QStringLiteral("dynamicFrame"))->title(),
           QStringLiteral("Dynamic Viscosity"));

  QCOMPARE(QApplication::focusWidget(), Box("temp1"));
}

void MainWindowTest::everyBoxTellsItsNameAndUnit() {
  struct Row {
    const char* box;
    const char* name;
    const char* unit;
  };
  const Row rows[] = {
      {"visc40", "Viscosity at 40 °C", "cSt at 40 °C"},
      {"visc100", "Viscosity at 100 °C", "cSt at 100 °C"},
      {"temp1", "First reference temperature", "°C"},
      {"temp2", "Second reference temperature", "°C"},
      {"visc1", "Viscosity at the first reference temperature",
       "cSt at the first reference temperature"},
      {"visc2", "Viscosity at the second reference temperature",
       "cSt at the second reference temperature"},
      {"dynamic1", "Dynamic viscosity at the first reference temperature",
       "reyn (lbf·s/in²) at the first reference temperature"},
      {"dynamic2", "Dynamic viscosity at the second reference temperature",
       "reyn (lbf·s/in²) at the second reference temperature"},
  };
  for (const Row& row : rows) {
    QCOMPARE(Box(row.box)->accessibleName(), QString::fromUtf8(row.name));
    QCOMPARE(Box(row.box)->toolTip(), QString::fromUtf8(row.unit));
  }
  QCOMPARE(Box("gravity")->accessibleName(), QStringLiteral("Specific gravity"));
  QVERIFY(Box("gravity")->toolTip().contains(QStringLiteral("no unit")));
}

void MainWindowTest::tabFromTrefVisitsTheControlsInOrder() {
  const QStringList order{"temp1",    "calculateButton", "visc1", "visc40", "visc100",  "gravity",
                          "dynamic1", "lubricantList",   "temp2", "visc2",  "dynamic2", "temp1"};
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

void MainWindowTest::enterInATextBoxDoesNotCalculate() {
  for (const char* name : {"temp1", "temp2", "visc40", "gravity"}) {
    Box(name)->setFocus();
    QTest::keyClick(Box(name), Qt::Key_Return);
    QTest::keyClick(Box(name), Qt::Key_Enter);
  }
  QTest::qWait(50);
  for (const char* name : kResultBoxes) QVERIFY2(Text(name).isEmpty(), name);
  QVERIFY(Find<QLabel>(QStringLiteral("notice"))->text().isEmpty());
}

// --- The lubricant list ------------------------------------------------------------------------

void MainWindowTest::arrowKeysInTheListPickAnOil_data() {
  QTest::addColumn<QList<int>>("keys");
  QTest::addColumn<QStringList>("shown");  // list text, the two viscosities, the gravity
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

void MainWindowTest::arrowKeysInTheListPickAnOil() {
  QFETCH(QList<int>, keys);
  QFETCH(QStringList, shown);
  auto* list = Find<QComboBox>(QStringLiteral("lubricantList"));
  list->setFocus();
  for (int key : keys) QTest::keyClick(list, static_cast<Qt::Key>(key));
  QCOMPARE((QStringList{list->currentText(), Text("visc40"), Text("visc100"), Text("gravity")}),
           shown);
  QCOMPARE(Text("temp1"), QStringLiteral("71"));
  QCOMPARE(Text("temp2"), QStringLiteral("150"));
}

void MainWindowTest::ClickInPopup(QComboBox* combo, int row) {
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

void MainWindowTest::aMouseClickInThePopupPicksAnOilAndOtherKeepsIt() {
  auto* list = Find<QComboBox>(QStringLiteral("lubricantList"));
  ClickInPopup(list, 5);
  QCOMPARE((QStringList{list->currentText(), Text("visc40"), Text("visc100"), Text("gravity")}),
           (QStringList{"SHC 630", "222", "25.7", "0.87"}));
  ClickInPopup(list, 10);
  QCOMPARE((QStringList{list->currentText(), Text("visc40"), Text("visc100"), Text("gravity")}),
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
  QCOMPARE((QStringList{Text("visc40"), Text("visc100"), Text("gravity")}),
           (QStringList{"222", "25.7", "0.87"}));
}

void MainWindowTest::theListsPopupIsBuiltWhenFirstShownAsSetEditableBuildsIt() {
  auto* list = Find<QComboBox>(QStringLiteral("lubricantList"));
  QVERIFY2(list->findChild<QAbstractItemView*>() == nullptr, "the popup was built at start");
  // The same list made editable by QComboBox itself, given the same font afterwards.
  QComboBox reference(list->parentWidget());
  reference.setEditable(true);
  reference.setFont(list->font());
  reference.setGeometry(list->geometry());
  for (int i = 0; i < list->count(); ++i) reference.addItem(list->itemText(i));
  reference.show();
  const auto popup_of = [](QComboBox* combo) {
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    const QWidget* frame = view->parentWidget();
    const auto* container = qobject_cast<const QFrame*>(frame);
    const QStringList traits{QString::fromLatin1(view->metaObject()->className()),
                             QString::fromLatin1(view->itemDelegate()->metaObject()->className()),
                             view->font().toString(),
                             QString::number(view->verticalScrollBarPolicy()),
                             QString::number(view->hasMouseTracking()),
                             QString::number(container != nullptr ? container->frameStyle() : -1),
                             QString::number(container != nullptr ? container->lineWidth() : -1),
                             QStringLiteral("%1x%2").arg(frame->width()).arg(frame->height()),
                             QStringLiteral("%1x%2")
                                 .arg(view->visualRect(view->model()->index(0, 0)).width())
                                 .arg(view->visualRect(view->model()->index(0, 0)).height())};
    combo->hidePopup();
    return traits;
  };
  QCOMPARE(popup_of(list), popup_of(&reference));
}

void MainWindowTest::typingANameInTheListThenEnterOrLeavingChangesNothing_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<QString>("typed");
  QTest::newRow("Enter after SHC 625") << int(Qt::Key_Return) << "SHC 625";
  QTest::newRow("keypad Enter after SHC 625") << int(Qt::Key_Enter) << "SHC 625";
  QTest::newRow("Tab away after SHC 625") << int(Qt::Key_Tab) << "SHC 625";
  QTest::newRow("Enter after small letters") << int(Qt::Key_Return) << "shc 624";
}

void MainWindowTest::typingANameInTheListThenEnterOrLeavingChangesNothing() {
  QFETCH(int, key);
  QFETCH(QString, typed);
  auto* list = Find<QComboBox>(QStringLiteral("lubricantList"));
  list->setFocus();
  QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(list, typed);
  QCOMPARE(list->currentText(), typed);
  QTest::keyClick(list, static_cast<Qt::Key>(key));
  QTest::qWait(20);
  QCOMPARE((QStringList{Text("visc40"), Text("visc100"), Text("gravity")}),
           (QStringList{"320", "35", "0.87"}));
}

// --- The calculate command ----------------------------------------------------------------------

void MainWindowTest::clickingCalculateGivesTheTypicalResultsAndTheTableFile() {
  QFile::remove(QDir(home_.path()).filePath(QStringLiteral("Viscosity.txt")));
  Calculate();

  QCOMPARE(Text("visc1"), QStringLiteral("85.642"));
  QCOMPARE(Text("visc2"), QStringLiteral("11.987"));
  QCOMPARE(Text("dynamic1"), QStringLiteral(".0000108"));
  QCOMPARE(Text("dynamic2"), QStringLiteral(".00000151"));
  for (const char* name : kResultBoxes) {
    QCOMPARE(Box(name)->palette().color(QPalette::Base), QColor(128, 255, 128));
  }
  auto* notice = Find<QLabel>(QStringLiteral("notice"));
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

Shown MainWindowTest::WhatIsShown() {
  Shown shown;
  for (const char* name : kBoxes) {
    shown.texts << Text(name);
    shown.backs << Box(name)->palette().color(QPalette::Base);
  }
  shown.notice = Find<QLabel>(QStringLiteral("notice"))->text();
  return shown;
}

void MainWindowTest::anEmptySpecificGravityIsReportedAndTheWindowStaysUsable() {
  auto* button = Find<QPushButton>(QStringLiteral("calculateButton"));
  QTest::mouseClick(button, Qt::LeftButton);
  QCOMPARE(Text("visc1"), QStringLiteral("85.642"));

  // With the first temperature at 40 a calculation would show 320; the empty gravity stops it
  // first.
  Box("temp1")->setText(QStringLiteral("40"));
  QLineEdit* sg = Box("gravity");
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
  QCOMPARE(Text("visc1"), QStringLiteral("320"));
  QCOMPARE(Text("visc2"), QStringLiteral("11.987"));
  QCOMPARE(Text("dynamic2"), QStringLiteral(".00000151"));
}

void MainWindowTest::theWindowRendersToAPicture() {
  const QString folder = QStringLiteral(PROJECT1_SCREENSHOT_DIR);
  QImage start = window_->grab().toImage();
  QCOMPARE(start.size() / start.devicePixelRatio(), window_->size());
  QVERIFY(start.save(folder + QStringLiteral("/main_window_start.png")));

  Calculate();
  const QImage results = window_->grab().toImage();
  QVERIFY(results.save(folder + QStringLiteral("/main_window_results.png")));
  // The result boxes turned from grey to light green.
  const QPoint inside = Box("visc1")->geometry().topLeft() + QPoint(3, 3);
  QVERIFY(start.pixelColor(inside) != results.pixelColor(inside));
  QCOMPARE(results.pixelColor(inside), QColor(128, 255, 128));
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
