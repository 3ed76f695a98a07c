#pragma once
// Pieces shared by the tests that drive the main window on the offscreen platform.

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QObject>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <utility>

#include "window/main_window.h"

namespace project1 {

// How long a test waits for something the window is to do (a window shown, a menu open, a
// repaint) before it fails: far more than any machine needs, however busy, so that only a
// window that never does it fails.
inline constexpr int kEventDeadlineMs = 60'000;

// Looks for a modal dialog every 20 ms. An expected one goes to the test's handler; any other
// is closed and recorded, so that a test fails instead of hanging on it.
class DialogWatch : public QObject {
 public:
  using Handler = std::function<void(QWidget*)>;

  DialogWatch() {
    connect(&timer_, &QTimer::timeout, this, [this] { Check(); });
    timer_.start(20);
  }
  void Expect(Handler handler) { handler_ = std::move(handler); }
  bool Expecting() const { return static_cast<bool>(handler_); }
  QStringList TakeUnexpected() { return std::exchange(unexpected_, {}); }

  // Ends a test: drops the handler (so that no later test can reach a finished test's state)
  // and returns what went wrong with dialogs, or an empty text.
  QString Finish() {
    const QStringList unexpected = TakeUnexpected();
    const bool still_expecting = Expecting();
    Expect(nullptr);
    if (!unexpected.isEmpty()) {
      return "unexpected dialog: " + unexpected.join(QStringLiteral(" | "));
    }
    return still_expecting ? QStringLiteral("an expected dialog never appeared") : QString();
  }

 private:
  void Check() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) return;
    if (handler_) {
      const Handler handler = std::exchange(handler_, nullptr);
      handler(modal);
      return;
    }
    const auto* box = qobject_cast<QMessageBox*>(modal);
    unexpected_ << (box != nullptr ? box->text() : modal->objectName());
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->done(QDialog::Rejected);
    } else {
      modal->close();
    }
  }

  QTimer timer_;
  Handler handler_;
  QStringList unexpected_;
};

// The whole content of a file; an empty array when it cannot be read.
inline QByteArray FileBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

// Replaces the content of a file; false when it cannot be written.
inline bool WriteFileBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// The main window in a home folder of its own, with a dialog watch: the base of the tests that
// drive it. Each test class calls StartHome from initTestCase and OpenWindow and CloseWindow
// around its tests.
class WindowTest : public QObject {
 protected:
  // A fresh home folder, where the window writes its table file, and the dialog watch.
  void StartHome() {
    QVERIFY(home_.isValid());
    qputenv("HOME", QFile::encodeName(home_.path()));
    // The user's oils too, never the real ones.
    qputenv("XDG_DATA_HOME", QFile::encodeName(home_.path() + QStringLiteral("/data")));
    watch_ = new DialogWatch;
    watch_->setParent(this);
  }
  void OpenWindow() {
    window_ = std::make_unique<MainWindow>();
    window_->show();
    QVERIFY2(QTest::qWaitForWindowActive(window_.get(), kEventDeadlineMs),
             "the main window did not become active");
  }
  // Closes the window; the test fails on any dialog that was not expected or never came.
  void CloseWindow() {
    window_.reset();
    const QString problem = watch_->Finish();
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
  }

  // The window's control of type T named `name`; the run stops when there is none.
  template <typename T>
  T* Find(const QString& name) {
    T* widget = window_->findChild<T*>(name);
    if (widget == nullptr) qFatal("no control named %s", qPrintable(name));
    return widget;
  }
  QLineEdit* Box(const QString& name) { return Find<QLineEdit>(name); }
  QLineEdit* Box(const char* name) { return Box(QLatin1String(name)); }
  // A mouse click on the calculate button.
  void Calculate() {
    QTest::mouseClick(Find<QPushButton>(QStringLiteral("calculateButton")), Qt::LeftButton);
  }

  QTemporaryDir home_;
  DialogWatch* watch_ = nullptr;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace project1
