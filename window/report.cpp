#include "window/report.h"

#include <QMessageBox>
#include <exception>

#include "window/caption.h"

namespace project1 {

void ReportError(QWidget* parent, const std::string& message) {
  QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kCaption),
                  QString::fromStdString(message), QMessageBox::Ok, parent);
  box.setObjectName(QStringLiteral("ErrorReport"));
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

std::optional<Error> RunHandler(QWidget* parent, const std::function<void()>& handler) {
  try {
    handler();
  } catch (const Error& error) {
    ReportError(parent, error.what());
    return error;
  } catch (const std::exception& error) {
    ReportError(parent, std::string("The command stopped on an unexpected error: ") + error.what());
  }
  return std::nullopt;
}

}  // namespace project1
