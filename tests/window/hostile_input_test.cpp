// Hostile text pasted into each input box of the main window, then a mouse click on the calculate
// button. A text that is no number, or too large a one, gives the error report with its exact
// message; the program never crashes, the window stays usable, and a report leaves the previous
// table file byte for byte as it was. Unusual spellings of numbers give the known figures. Every
// box gets one text of each kind; the number parser's own tests go through every text.

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <memory>
#include <vector>

#include "engine/calculate.h"
#include "engine/model.h"
#include "engine/table_text.h"
#include "numtext/numtext.h"
#include "table_file/table_file.h"
#include "test_support.h"
#include "window/main_window.h"
#include "window_test_support.h"

using namespace project1;

namespace {

struct InputBox {
  const char* name;
  const char* what;  // as the report names it
  const char* start;
};

constexpr std::array<InputBox, 5> kInputs = {{
    {"visc40", "viscosity at 40 °C", "320"},
    {"visc100", "viscosity at 100 °C", "35"},
    {"temp1", "first reference temperature", "71"},
    {"temp2", "second reference temperature", "150"},
    {"gravity", "specific gravity", "0.87"},
}};

const char* const kResultBoxes[] = {"visc1", "visc2", "dynamic1", "dynamic2"};
const QStringList kTypicalResults{"85.642", "11.987", ".0000108", ".00000151"};
const QColor kLightGreenColour(128, 255, 128);

// How the reading of a hostile text ends.
enum class Reading { NotANumber, TooLarge };

struct Hostile {
  const char* label;
  QString text;
  Reading reading;
  QString quoted;  // the text as the report quotes it
  QString after;   // what the report says after the sentence that quotes the text
};

Hostile Bad(const char* label, const QString& text, const QString& quoted) {
  return {label, text, Reading::NotANumber, quoted, {}};
}
Hostile Bad(const char* label, const QString& text) { return Bad(label, text, text); }
// A text with a comma that is no thousands separator: the report tells how to write numbers.
Hostile Comma(const char* label, const QString& text) {
  return {label, text, Reading::NotANumber, text,
          QStringLiteral(" Use \".\" for decimals and \",\" only between groups of three digits.")};
}
Hostile Big(const char* label, const QString& text, const QString& quoted) {
  return {label, text, Reading::TooLarge, quoted, {}};
}
Hostile Big(const char* label, const QString& text) { return Big(label, text, text); }

QString U(const char* utf8) { return QString::fromUtf8(utf8); }
QString WithChar(const char* before, char16_t c, const char* after) {
  return QString::fromLatin1(before) + QChar(c) + QString::fromLatin1(after);
}

// A long text is quoted by its first 40 characters and an ellipsis.
QString QuotedStart(QChar c) { return QString(40, c) + U("…"); }

// The hostile texts by kind.
struct Kind {
  const char* name;
  std::vector<Hostile> texts;
};

std::vector<Kind> HostileKinds() {
  return {
      {"empty or blank", {Bad("empty", ""), Bad("blanks", "   "), Bad("a tab alone", "\t", "?")}},
      {"out of range",
       {Big("1e309", "1e309"), Big("-1e309", "-1e309"),
        Big("just above the largest double", "1.8e308"),
        Big("an exponent beyond any limit", "1e99999999999"),
        Big("400 digits", "1" + QString(399, QLatin1Char('0')),
            "1" + QString(39, QLatin1Char('0')) + U("…"))}},
      {"grouping and separators",
       {Comma("decimal comma", "5,5"), Comma("two commas", "1,,0"),
        Comma("a group of two", "12,34"), Comma("a leading comma", ",100"),
        Comma("a decimal comma after a zero", "0,320"), Bad("a blank inside", "1 000"),
        Bad("an underscore inside", "1_000"), Bad("two points", "1.2.3"),
        Bad("a fractional exponent", "1e3.5")}},
      {"signs and exponents",
       {Bad("two minus signs", "--71"), Bad("plus then minus", "+-71"), Bad("a sign alone", "-"),
        Bad("a plus alone", "+"), Bad("a point alone", "."),
        Bad("an exponent without digits", "1e"), Bad("an exponent sign without digits", "1e+"),
        Bad("an exponent alone", "e5")}},
      {"other spellings",
       {Bad("hexadecimal", "0x1A"), Bad("nan", "nan"), Bad("NaN", "NaN"), Bad("inf", "inf"),
        Bad("minus Infinity", "-Infinity"), Bad("a unit after the number", U("71 °C")),
        Bad("a format string", "%s%n%x"), Bad("markup", "<b>71</b>")}},
      {"unicode",
       {Bad("Arabic-Indic digits", U("٧١")), Bad("full-width digits", U("７１")),
        Bad("a minus sign U+2212", U("−71")), Bad("a trailing non-breaking space", U("71\u00A0")),
        Bad("a zero-width space inside", U("7\u200B1")), Bad("an emoji", U("😀")),
        Bad("digits then an emoji", U("71😀")), Bad("right-to-left text", U("שבעים ואחד")),
        Bad("a right-to-left mark before digits", U("\u200F71"))}},
      {"control characters",
       {Bad("a tab inside", "7\t1", "7?1"), Bad("a newline after", "71\n", "71?"),
        Bad("CR LF after", "71\r\n", "71??"), Bad("a newline inside", "7\n1", "7?1"),
        Bad("escape before",
            "\x1b"
            "71",
            "?71"),
        Bad("delete after", "71\x7f", "71?"), Bad("a NUL inside", WithChar("7", u'\0', "1"), "7?1"),
        Bad("a NUL alone", WithChar("", u'\0', ""), "?")}},
      // Pastes of a megabyte (the box keeps its first 32767 characters).
      {"a megabyte",
       {Big("a megabyte of digits", QString(1 << 20, QLatin1Char('1')),
            QuotedStart(QLatin1Char('1'))),
        Bad("a megabyte of letters", QString(1 << 20, QLatin1Char('x')),
            QuotedStart(QLatin1Char('x')))}},
  };
}

// What a click on the calculate button must lead to: a report with `message`, or the four
// results and the table file.
struct Outcome {
  QString message;
  QStringList results;
  QByteArray table;
};

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

// The table of a fitted line through two viscosities.
QByteArray TableFor(double visc40, double visc100) {
  CalcState s = FittedLine(visc40, visc100);
  return QByteArray::fromStdString(ViscosityTableText(s));
}

const InputBox& InputNamed(const QString& name) {
  for (const InputBox& box : kInputs) {
    if (name == QLatin1String(box.name)) return box;
  }
  qFatal("no input box named %s", qPrintable(name));
}

}  // namespace

class HostileInputTest : public WindowTest {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();
  void cleanupTestCase();

  void hostileTextOfEachKindInEachBoxGivesTheReport_data();
  void hostileTextOfEachKindInEachBoxGivesTheReport();
  void unusualSpellingsGiveTheKnownFigures_data();
  void unusualSpellingsGiveTheKnownFigures();

 private:
  QStringList Results();
  QString TablePath() const { return QDir(home_.path()).filePath(QStringLiteral("Viscosity.txt")); }
  void Paste(QLineEdit* box, const QString& text);
  void EnterAndCalculate(const QString& box_name, const QString& text, const Outcome& expected);
  void CheckUsableAgain(const QString& box_name);

  QByteArray previous_table_;
  QByteArray typical_table_;
  int tried_ = 0;
  int reported_ = 0;
};

void HostileInputTest::initTestCase() {
  StartHome();
  // The file a user already has: the table of another oil.
  previous_table_ = TableFor(46, 7.7);
  typical_table_ = TableFor(320, 35);
  QVERIFY(previous_table_ != typical_table_);
}

void HostileInputTest::init() {
  QVERIFY(WriteFileBytes(TablePath(), previous_table_));
  OpenWindow();
}

void HostileInputTest::cleanup() { CloseWindow(); }

void HostileInputTest::cleanupTestCase() {
  qInfo("hostile inputs tried: %d (%d reported, %d calculated)", tried_, reported_,
        tried_ - reported_);
}

QStringList HostileInputTest::Results() {
  QStringList results;
  for (const char* name : kResultBoxes) results << Box(QLatin1String(name))->text();
  return results;
}

// Replaces the box's whole text through the clipboard, as a user pastes.
void HostileInputTest::Paste(QLineEdit* box, const QString& text) {
  QGuiApplication::clipboard()->setText(text);
  box->setFocus();
  QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
}

void HostileInputTest::EnterAndCalculate(const QString& box_name, const QString& text,
                                         const Outcome& expected) {
  QLineEdit* box = Box(box_name);
  Paste(box, text);
  // A line box holds at most maxLength() characters; everything else arrives as pasted.
  const QString held = text.left(box->maxLength());
  QCOMPARE(box->text(), held);

  QString reported;
  bool report_was_modal = false;
  if (!expected.message.isEmpty()) {
    watch_->Expect([&](QWidget* dialog) {
      auto* report = qobject_cast<QMessageBox*>(dialog);
      if (report == nullptr) return;
      reported = report->text();
      report_was_modal = report->isModal();
      QTest::mouseClick(report->button(QMessageBox::Ok), Qt::LeftButton);
    });
  }
  Calculate();
  ++tried_;
  // The handler refers to this function's locals: it must not outlive the call.
  const bool report_appeared = !watch_->Expecting();
  watch_->Expect(nullptr);
  const QStringList unexpected = watch_->TakeUnexpected();
  QVERIFY2(unexpected.isEmpty(),
           qPrintable("unexpected report: " + unexpected.join(QStringLiteral(" | "))));

  const QString notice = Find<QLabel>(QStringLiteral("notice"))->text();
  if (!expected.message.isEmpty()) {
    ++reported_;
    QVERIFY2(report_appeared, "no report appeared");
    QCOMPARE(reported, expected.message);
    QVERIFY(report_was_modal);
    QVERIFY(FileBytes(TablePath()) == previous_table_);
    QCOMPARE(QDir(home_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("Viscosity.txt")});
    QVERIFY(notice.isEmpty());
    for (const char* name : kResultBoxes) {
      QVERIFY2(Box(QLatin1String(name))->palette().color(QPalette::Base) != kLightGreenColour,
               name);
    }
    QCOMPARE(box->text(), held);  // the user's text is kept
  } else {
    QCOMPARE(Results(), expected.results);
    QVERIFY(FileBytes(TablePath()) == expected.table);
    QCOMPARE(notice, FromStd(CompletionNotice(QDir(home_.path()).absolutePath().toStdString())));
    for (const char* name : kResultBoxes) {
      QCOMPARE(Box(QLatin1String(name))->palette().color(QPalette::Base), kLightGreenColour);
    }
  }
}

// Types the box's start value back and calculates: the typical oil's results and table.
void HostileInputTest::CheckUsableAgain(const QString& box_name) {
  QLineEdit* box = Box(box_name);
  box->setFocus();
  QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(box, QLatin1String(InputNamed(box_name).start));
  Calculate();
  QCOMPARE(Results(), kTypicalResults);
  QVERIFY(FileBytes(TablePath()) == typical_table_);
  QVERIFY(window_->isVisible());
}

void HostileInputTest::hostileTextOfEachKindInEachBoxGivesTheReport_data() {
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("reading");
  QTest::addColumn<QString>("quoted");
  QTest::addColumn<QString>("after");
  // Box i gets the kind's text i (round the list again for a short kind): every box sees every
  // kind, and the boxes between them see up to five texts of each.
  for (const Kind& kind : HostileKinds()) {
    for (std::size_t i = 0; i < kInputs.size(); ++i) {
      const InputBox& box = kInputs[i];
      const Hostile& h = kind.texts[i % kind.texts.size()];
      QTest::addRow("%s: %s in %s", kind.name, h.label, box.name)
          << QString::fromLatin1(box.name) << h.text << static_cast<int>(h.reading) << h.quoted
          << h.after;
    }
  }
}

void HostileInputTest::hostileTextOfEachKindInEachBoxGivesTheReport() {
  QFETCH(QString, box);
  QFETCH(QString, text);
  QFETCH(int, reading);
  QFETCH(QString, quoted);
  QFETCH(QString, after);

  const InputBox& input = InputNamed(box);
  Outcome expected;
  switch (static_cast<Reading>(reading)) {
    case Reading::NotANumber:
      expected.message = U("The ") + U(input.what) + " \"" + quoted + "\" is not a number." + after;
      break;
    case Reading::TooLarge:
      expected.message = U("The ") + U(input.what) + " \"" + quoted + "\" is too large.";
      break;
  }
  EnterAndCalculate(box, text, expected);
  if (QTest::currentTestFailed()) return;
  CheckUsableAgain(box);
}

void HostileInputTest::unusualSpellingsGiveTheKnownFigures_data() {
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QStringList>("shown");  // the four results, or the one message
  const auto typical = [](const char* box, const char* text) {
    QTest::addRow("%s in %s", text, box) << box << text << kTypicalResults;
  };
  for (const char* text :
       {" 71 ", "\t71\t", "+71", "7.1e1", "7.1E+1", "0071", "00000071", "71.", "71.000"}) {
    typical("temp1", text);
  }
  for (const char* text : {"150.", "1.5E2", "+150", "1.50e2", " 150\t"}) typical("temp2", text);
  for (const char* text : {"3.2e2", "320.0", " +320 ", "0320"}) typical("visc40", text);
  for (const char* text : {"35.", "3.5e1", "0035", "\t+35"}) typical("visc100", text);
  for (const char* text : {".87", "0.870", "8.7e-1", "+0.87", "87e-2"}) typical("gravity", text);

  // Zero, however spelt, and numbers too small for a double, which read as zero.
  for (const char* text : {"0", "+0", "-0", "1e-400", "-1e-400", "1e-99999999999"}) {
    QTest::addRow("a gravity of %s is refused", text)
        << "gravity" << text << QStringList{U("The specific gravity must be above 0; it is 0.")};
  }
  for (const char* text : {"0", "+0", "-0", "1e-400", "-1e-400"}) {
    QTest::addRow("a viscosity at 40 C of %s", text)
        << "visc40" << text
        << QStringList{U("The viscosity at 40 °C must be above 0.4 cSt; it is 0.")};
  }
  QTest::newRow("a viscosity at 100 C of 1e-5")
      << "visc100"
      << "1e-5" << QStringList{U("The viscosity at 100 °C must be above 0.4 cSt; it is 0.00001.")};
  QTest::newRow("a negative viscosity at 100 C")
      << "visc100"
      << "-1" << QStringList{U("The viscosity at 100 °C must be above 0.4 cSt; it is -1.")};

  QTest::newRow("far above any temperature the viscosity tends to 0.4 cSt")
      << "temp1"
      << "1e308" << QStringList{".4", "11.987", ".00000005", ".00000151"};
  QTest::newRow("0.4 cSt at 40 C")
      << "visc40"
      << "0.4" << QStringList{U("The viscosity at 40 °C must be above 0.4 cSt; it is 0.4.")};
  QTest::newRow("0.3999 cSt at 100 C")
      << "visc100"
      << "0.3999" << QStringList{U("The viscosity at 100 °C must be above 0.4 cSt; it is 0.3999.")};
  QTest::newRow("absolute zero of the model")
      << "temp1"
      << "-273.16"
      << QStringList{U("The first reference temperature must be above -273.16 °C; it is -273.16.")};
  QTest::newRow("below absolute zero")
      << "temp2"
      << "-300"
      << QStringList{U("The second reference temperature must be above -273.16 °C; it is -300.")};
  QTest::newRow("a hundredth of a degree above absolute zero")
      << "temp1"
      << "-273.15"
      << QStringList{U("The viscosity at the first reference temperature (-273.15 °C) is too "
                       "large to compute: the viscosity-temperature line is too steep there.")};
}

void HostileInputTest::unusualSpellingsGiveTheKnownFigures() {
  QFETCH(QString, box);
  QFETCH(QString, text);
  QFETCH(QStringList, shown);
  Outcome expected;
  if (shown.size() == 1) {
    expected.message = shown.front();
  } else {
    expected.results = shown;
    expected.table = typical_table_;  // the table depends on the two viscosities only
  }
  EnterAndCalculate(box, text, expected);
  if (QTest::currentTestFailed()) return;
  CheckUsableAgain(box);
}

QTEST_MAIN(HostileInputTest)
#include "hostile_input_test.moc"
