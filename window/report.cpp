#include "window/report.h"

#include <QMessageBox>
#include <exception>

#include "numtext/error.h"

namespace project1 {

void ReportError(QWidget* parent, const std::string& message) {
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Tervane"), QString::fromStdString(message),
                  QMessageBox::Ok, parent);
  box.setObjectName(QStringLiteral("ErrorReport"));
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

void RunHandler(QWidget* parent, const std::function<void()>& handler) {
  try {
    handler();
  } catch (const Error& error) {
    ReportError(parent, error.what());
  } catch (const std::exception& error) {
    ReportError(parent, std::string("The command stopped on an unexpected error: ") + error.what());
  }
}

}  // namespace project1
