#include "window/window_menu.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QMessageBox>
#include <QUrl>

#include "error/error.h"
#include "project1/version.h"
#include "window/chart_window.h"
#include "window/report.h"

namespace project1 {

namespace {

const QString kNotYet = QStringLiteral("Available after a successful calculation");

QAction* MakeAction(QWidget* form, const QString& text, const QKeySequence& shortcut,
                    const QString& tip) {
  auto* action = new QAction(text, form);
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  action->setToolTip(tip);
  form->addAction(action);
  return action;
}

}  // namespace

WindowMenu::WindowMenu(QWidget* form, QWidget* button)
    : QObject(form),
      form_(form),
      chart_(MakeAction(form, QStringLiteral("Viscosity-temperature chart"),
                        QKeySequence(Qt::CTRL | Qt::Key_G), kNotYet)),
      copy_(MakeAction(form, QStringLiteral("Copy results"),
                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), kNotYet)),
      open_table_(MakeAction(form, QStringLiteral("Open table file"), {},
                             QStringLiteral("Available once a table file has been written"))),
      about_(MakeAction(form, QStringLiteral("About"), {},
                        QStringLiteral("The program's name and version"))),
      save_oil_(MakeAction(form, QStringLiteral("Save as my oil…"), {},
                           QStringLiteral("Keeps the three values in the boxes as one of your "
                                          "own oils, in the Lubricant List from then on"))),
      my_oils_(MakeAction(form, QStringLiteral("My oils…"), {},
                          QStringLiteral("Lists your own oils to rename, edit or remove them"))) {
  for (QAction* action : {chart_, copy_, open_table_}) action->setEnabled(false);
  connect(chart_, &QAction::triggered, this, &WindowMenu::OpenChart);
  connect(copy_, &QAction::triggered, this, &WindowMenu::CopyResults);
  connect(open_table_, &QAction::triggered, this, &WindowMenu::OpenTable);
  connect(about_, &QAction::triggered, this, &WindowMenu::ShowAbout);

  form->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(form, &QWidget::customContextMenuRequested, this, &WindowMenu::ShowMenu);
  if (button != nullptr) {
    button->setToolTip(
        QStringLiteral("Calculates both reference viscosities and writes the table file. "
                       "Right-click the window for the viscosity-temperature chart and for "
                       "copying the results."));
  }
}

WindowMenu::~WindowMenu() = default;

ChartWindow* WindowMenu::chart_window() const { return chart_window_.data(); }

void WindowMenu::Calculated(const CalculationRecord& record) {
  RunHandler(form_, [this, &record] {
    last_ = record;
    chart_->setEnabled(true);
    chart_->setToolTip(QStringLiteral("Opens the chart of the oil of the last calculation"));
    copy_->setEnabled(true);
    copy_->setToolTip(
        QStringLiteral("Copies the inputs and results of the last calculation as a table row"));
    open_table_->setEnabled(true);
    open_table_->setToolTip(QString::fromStdString(last_->table.string()));
    if (chart_window_) chart_window_->ShowCalculation(*last_);
  });
}

void WindowMenu::ShowMenu(const QPoint& at) {
  if (menu_ == nullptr) {
    menu_ = new QMenu(form_);
    menu_->setObjectName(QStringLiteral("WindowMenu"));
    menu_->setAccessibleName(QStringLiteral("Window menu"));
    menu_->setToolTipsVisible(true);
    menu_->addAction(chart_);
    menu_->addAction(copy_);
    menu_->addAction(open_table_);
    menu_->addSeparator();
    menu_->addAction(save_oil_);
    menu_->addAction(my_oils_);
    menu_->addSeparator();
    menu_->addAction(about_);
  }
  menu_->popup(form_->mapToGlobal(at));
}

void WindowMenu::OpenChart() {
  if (!last_) return;
  RunHandler(form_, [this] {
    if (!chart_window_) {
      chart_window_ = new ChartWindow(form_);
      chart_window_->setAttribute(Qt::WA_DeleteOnClose);
      chart_window_->ShowCalculation(*last_);
    }
    chart_window_->show();
    chart_window_->raise();
    chart_window_->activateWindow();
  });
}

void WindowMenu::CopyResults() {
  if (!last_) return;
  QApplication::clipboard()->setText(QString::fromStdString(ResultsText(*last_)));
}

void WindowMenu::OpenTable() {
  if (!last_) return;
  RunHandler(form_, [this] {
    const QString path = QFile::decodeName(last_->table.c_str());
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
      throw Error(ErrorKind::File,
                  "The table file " + last_->table.string() + " could not be opened.");
    }
  });
}

void WindowMenu::ShowAbout() {
  QMessageBox box(
      QMessageBox::Information, QStringLiteral("About Project1"),
      QStringLiteral("Project1 %1\n\nComputes the kinematic and dynamic viscosity of "
                     "a lubricating oil at any temperature from its viscosities at "
                     "40 °C and 100 °C.")
          .arg(QString::fromUtf8(kVersion.data(), static_cast<qsizetype>(kVersion.size()))),
      QMessageBox::Ok, form_);
  box.setObjectName(QStringLiteral("About"));
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace project1
