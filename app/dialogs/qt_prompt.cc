#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include "app/dialogs/model_dialog.h"
#include "app/dialogs/qt_dialogs.h"

namespace zentrova {
namespace {

bool OnGuiThread() { return QThread::currentThread() == qApp->thread(); }

// Runs `show` on the GUI thread; from another thread it waits for it only
// when `wait` is set.
template <typename F>
void OnGui(F show, bool wait) {
  if (OnGuiThread()) {
    show();
  } else {
    QMetaObject::invokeMethod(qApp, show, wait ? Qt::BlockingQueuedConnection : Qt::QueuedConnection);
  }
}

}  // namespace

void QtPrompt::Show(const std::string& text) {
  if (qApp == nullptr) return;
  QPointer<QWidget> parent = parent_;
  OnGui(
      [parent, text] {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Zentrova"), ToQt(text), QMessageBox::Ok, parent.data());
        box.exec();
      },
      false);
}

bool QtPrompt::AskYesNo(const std::string& text) {
  if (qApp == nullptr) return false;
  QPointer<QWidget> parent = parent_;
  bool yes = false;
  OnGui(
      [parent, text, &yes] {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Zentrova"), ToQt(text),
                        QMessageBox::Yes | QMessageBox::No, parent.data());
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        yes = box.exec() == QMessageBox::Yes;
      },
      true);
  return yes;
}

bool QtPrompt::AskOkCancel(const std::string& text) {
  if (qApp == nullptr) return false;
  QPointer<QWidget> parent = parent_;
  bool ok = false;
  OnGui(
      [parent, text, &ok] {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Zentrova"), ToQt(text),
                        QMessageBox::Ok | QMessageBox::Cancel, parent.data());
        box.setDefaultButton(QMessageBox::Ok);
        ok = box.exec() == QMessageBox::Ok;
      },
      true);
  return ok;
}

std::optional<int> QtPrompt::AskInteger(const std::string& text, int initial) {
  if (qApp == nullptr) return std::nullopt;
  QPointer<QWidget> parent = parent_;
  std::optional<int> value;
  OnGui([parent, text, initial, &value] { value = zentrova::AskInteger(parent.data(), text, "", initial); }, true);
  return value;
}

}  // namespace zentrova
