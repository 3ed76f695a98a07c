// The user's own oils in the window: the Lubricant List with and without them, "Save as my
// oil…" from the boxes to the file and to the tool, and the "My oils" window's changes.

#include <QComboBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>
#include <filesystem>

#include "catalogue/catalogue.h"
#include "user_oils/user_oils.h"
#include "window/main_window.h"
#include "window/my_oils_dialog.h"
#include "window/window_menu.h"
#include "window_test_support.h"

using namespace project1;

class UserOilsWindowTest : public WindowTest {
  Q_OBJECT

 private slots:
  void initTestCase() { StartHome(); }
  void cleanup() {
    CloseWindow();
    std::filesystem::remove_all(OilsFile().parent_path());
  }

  void theListHoldsTheCatalogueThenTheUsersOilsByNameThenOther_data();
  void theListHoldsTheCatalogueThenTheUsersOilsByNameThenOther();
  void pickingAUsersOilFillsTheThreeBoxes();
  void anOilSavedInTheWindowIsFoundByTheTool();
  void aBadValueIsReportedNamingItsBoxAndNothingIsSaved();
  void myOilsRenamesEditsAndRemovesAndTheListFollows();
  void myOilsShowsValuesInTheProgramsStyleAndAnUntouchedEditKeepsEveryDigit();

 private:
  std::filesystem::path OilsFile() const {
    return std::filesystem::path(home_.path().toStdString()) / "data" / "Project1" / "oils.csv";
  }
  void WriteOils(const char* text) {
    std::filesystem::create_directories(OilsFile().parent_path());
    QVERIFY(WriteFileBytes(QString::fromStdString(OilsFile().string()), text));
  }
  QComboBox* List() { return Find<QComboBox>(QStringLiteral("lubricantList")); }
  QStringList Items() {
    QStringList items;
    for (int i = 0; i < List()->count(); ++i) items << List()->itemText(i);
    return items;
  }
  static QStringList Catalogue() {
    QStringList names;
    for (const Lubricant& oil : LubricantCatalogue) {
      names << QString::fromUtf8(oil.name.data(), static_cast<qsizetype>(oil.name.size()));
    }
    return names;
  }
  void Pick(const QString& name) {
    List()->setCurrentIndex(List()->findText(name));
    window_->OnLubricantPicked();
  }
  QStringList Boxes() {
    return {Box("visc40")->text(), Box("visc100")->text(), Box("gravity")->text()};
  }
};

void UserOilsWindowTest::theListHoldsTheCatalogueThenTheUsersOilsByNameThenOther_data() {
  QTest::addColumn<QByteArray>("file");  // empty: no file
  QTest::addColumn<QStringList>("users");
  QTest::newRow("no file") << QByteArray() << QStringList{};
  QTest::newRow("a header only") << QByteArray("name,v40,v100,sg,note\n") << QStringList{};
  QTest::newRow("three, one named like a catalogue oil, one bad row")
      << QByteArray(
             "name,v40,v100,sg,note\nzeta,46,6.8,,\nshc 632,1,0.5,,\nÄlpha,68,8.8,0.9,\n"
             "bad,x,1,,\nbeta,100,11,,\n")
      << QStringList{"beta", "zeta", "Älpha"};
}

void UserOilsWindowTest::theListHoldsTheCatalogueThenTheUsersOilsByNameThenOther() {
  QFETCH(QByteArray, file);
  QFETCH(QStringList, users);
  if (!file.isEmpty()) WriteOils(file.constData());
  OpenWindow();
  QCOMPARE(Items(), Catalogue() + users + QStringList{"OTHER"});
  QCOMPARE(List()->currentText(), QStringLiteral("Lubricant List"));
  // A row that cannot be read is named with its file and line.
  const QString notice = Find<QLabel>(QStringLiteral("notice"))->text();
  QCOMPARE(notice.contains(QStringLiteral("oils.csv line 5: v40 \"x\" is not a number.")),
           file.contains("bad"));
}

void UserOilsWindowTest::pickingAUsersOilFillsTheThreeBoxes() {
  WriteOils("name,v40,v100,sg,note\nGear B,220,19.4,0.89,\nNo gravity,46,6.8,,\n");
  OpenWindow();
  Pick(QStringLiteral("Gear B"));
  QCOMPARE(Boxes(), (QStringList{"220", "19.4", "0.89"}));
  Pick(QStringLiteral("No gravity"));
  QCOMPARE(Boxes(), (QStringList{"46", "6.8", ""}));
  Pick(QStringLiteral("SHC 632"));
  QCOMPARE(Boxes(), (QStringList{"320", "35", "0.87"}));
}

void UserOilsWindowTest::anOilSavedInTheWindowIsFoundByTheTool() {
  OpenWindow();
  Box("visc40")->setText(QStringLiteral("1,003.5"));
  Box("visc100")->setText(QStringLiteral("61.25"));
  Box("gravity")->setText(QStringLiteral("0.9"));
  watch_->Expect([](QWidget* dialog) {
    auto* form = qobject_cast<OilForm*>(dialog);
    if (form == nullptr) return;
    // The values it saves, shown as the window shows numbers.
    const auto shown = [form](const char* name) {
      return form->findChild<QLabel*>(QString::fromLatin1(name))->text();
    };
    QCOMPARE(shown("shown40"), QStringLiteral("1,003.5"));
    QCOMPARE(shown("shown100"), QStringLiteral("61.25"));
    QCOMPARE(shown("shownGravity"), QStringLiteral("0.9"));
    form->Box("name")->setText(QStringLiteral("Site oil, Ölwerk"));
    form->Box("note")->setText(QStringLiteral("lab \"17\""));
    form->accept();
  });
  window_->window_menu()->save_oil_action()->trigger();
  QVERIFY(!watch_->Expecting());
  QCOMPARE(Items().at(10), QStringLiteral("Site oil, Ölwerk"));
  QCOMPARE(FileBytes(QString::fromStdString(OilsFile().string())),
           QByteArray("name,v40,v100,sg,note\n\"Site oil, Ölwerk\",1003.5,61.25,0.9,\"lab "
                      "\"\"17\"\"\"\n"));

  // The tool finds it, and the window finds what the tool adds.
  QProcess tool;
  tool.start(QStringLiteral(VISCOSITY_TOOL),
             {"index", "--oil", "site oil, ölwerk", "--format", "json"});
  QVERIFY(tool.waitForFinished(kEventDeadlineMs));
  QCOMPARE(tool.exitCode(), 0);
  const QJsonObject index = QJsonDocument::fromJson(tool.readAllStandardOutput()).object();
  QCOMPARE(index.value(QStringLiteral("kinematic_40c_cst")).toDouble(), 1003.5);
  QCOMPARE(index.value(QStringLiteral("kinematic_100c_cst")).toDouble(), 61.25);
  tool.start(QStringLiteral(VISCOSITY_TOOL),
             {"oils", "add", "From the tool", "--v40", "46", "--v100", "6.8"});
  QVERIFY(tool.waitForFinished(kEventDeadlineMs));
  QCOMPARE(tool.exitCode(), 0);
  CloseWindow();
  OpenWindow();
  QCOMPARE(Items().mid(10), (QStringList{"From the tool", "Site oil, Ölwerk", "OTHER"}));
}

void UserOilsWindowTest::aBadValueIsReportedNamingItsBoxAndNothingIsSaved() {
  OpenWindow();
  Box("visc40")->setText(QStringLiteral("46"));
  Box("visc100")->setText(QStringLiteral("6.8"));
  Box("gravity")->setText(QStringLiteral("0,87"));
  QString message;
  watch_->Expect([&](QWidget* dialog) {
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
      message = box->text();
      box->accept();
    }
  });
  window_->window_menu()->save_oil_action()->trigger();
  QVERIFY(message.startsWith(QStringLiteral("The specific gravity \"0,87\"")));
  QTRY_COMPARE_WITH_TIMEOUT(window_->focusWidget(), Box("gravity"), kEventDeadlineMs);
  QCOMPARE(Box("gravity")->selectedText(), QStringLiteral("0,87"));
  QVERIFY(!std::filesystem::exists(OilsFile()));
  QCOMPARE(Items().size(), 11);
}

void UserOilsWindowTest::myOilsRenamesEditsAndRemovesAndTheListFollows() {
  WriteOils("name,v40,v100,sg,note\nA,46,6.8,,\nB,68,8.8,0.86,n\n");
  OpenWindow();
  window_->window_menu()->my_oils_action()->trigger();
  MyOilsDialog* dialog = window_->my_oils_dialog();
  QVERIFY(dialog != nullptr);
  QCOMPARE(dialog->table()->rowCount(), 2);
  QCOMPARE(dialog->table()->item(1, 3)->text(), QStringLiteral("0.86"));

  dialog->Rename(0, "C");
  QCOMPARE(Items().mid(10), (QStringList{"B", "C", "OTHER"}));
  dialog->Edit(1, {"", 100, 11, std::nullopt, "edited"});
  QCOMPARE(dialog->table()->item(1, 1)->text(), QStringLiteral("100"));
  Pick(QStringLiteral("B"));
  QCOMPARE(Boxes(), (QStringList{"100", "11", ""}));
  dialog->Remove(0);
  QCOMPARE(Items().mid(10), (QStringList{"B", "OTHER"}));

  // A refused rename is reported and changes nothing.
  QString message;
  watch_->Expect([&](QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      message = box->text();
      box->accept();
    }
  });
  dialog->Rename(0, "Other");
  QCOMPARE(message, QStringLiteral("\"Other\" is the list's own entry; choose another name."));
  QCOMPARE(FileBytes(QString::fromStdString(OilsFile().string())),
           QByteArray("name,v40,v100,sg,note\nB,100,11,,edited\n"));
}

void UserOilsWindowTest::myOilsShowsValuesInTheProgramsStyleAndAnUntouchedEditKeepsEveryDigit() {
  // A gravity worked out from a density, and viscosities a rounding away from round numbers.
  const QByteArray file =
      "name,v40,v100,sg,note\nD,1003.4999999999999,6.800000000000001,0.8707837053347011,n\n";
  WriteOils(file.constData());
  OpenWindow();
  window_->window_menu()->my_oils_action()->trigger();
  MyOilsDialog* dialog = window_->my_oils_dialog();
  QVERIFY(dialog != nullptr);
  const QStringList shown = {dialog->table()->item(0, 1)->text(),
                             dialog->table()->item(0, 2)->text(),
                             dialog->table()->item(0, 3)->text()};
  QCOMPARE(shown, (QStringList{"1,003.5", "6.8", "0.87078371"}));

  // Edit…, its boxes as the table shows them and wide enough for them; OK untouched keeps the
  // file's digits, and a box changed is read as typed.
  for (const QString& typed : {QString(), QStringLiteral("7.25")}) {
    watch_->Expect([&](QWidget* modal) {
      auto* form = qobject_cast<OilForm*>(modal);
      if (form == nullptr) return;
      QCOMPARE(form->Box("visc40")->text(), QStringLiteral("1,003.5"));
      QCOMPARE(form->Box("gravity")->text(), QStringLiteral("0.87078371"));
      const QLineEdit* box = form->Box("visc40");
      QVERIFY(box->width() > box->fontMetrics().horizontalAdvance(QStringLiteral("1,003.4999999")));
      if (!typed.isEmpty()) form->Box("visc100")->setText(typed);
      form->accept();
    });
    dialog->table()->selectRow(0);
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
      if (button->text() == QStringLiteral("Edit…")) button->click();
    }
    QVERIFY(!watch_->Expecting());
  }
  QCOMPARE(FileBytes(QString::fromStdString(OilsFile().string())),
           QByteArray("name,v40,v100,sg,note\nD,1003.4999999999999,7.25,0.8707837053347011,n\n"));
}

QTEST_MAIN(UserOilsWindowTest)
#include "user_oils_window_test.moc"
