#pragma once
// Drives modal windows from a test: a list of steps, each run once on the
// window that is modal at the time when it is the expected kind. The
// script is polled from the event loop that the modal window runs, so a
// call that opens dialogs can be made directly in the test.

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace zentrova::testing {

class ModalScript {
 public:
  using Step = std::function<void(QWidget*)>;

  ModalScript() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start(1);
  }
  ~ModalScript() { timer_.stop(); }

  // The next modal window must carry this title; `step` then works on it.
  ModalScript& On(const std::string& title, Step step) {
    steps_.push_back({title, std::move(step)});
    return *this;
  }
  // A message box with this title: its text is kept, then it is closed with "OK".
  ModalScript& Message(const std::string& title = "Zentrova") {
    return On(title, [this](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      texts.push_back(box ? box->text().toStdString() : std::string("(not a message box)"));
      if (box) box->accept();
    });
  }

  bool Done() const { return steps_.empty(); }
  // What went wrong: a window that came when another was expected, or a
  // script that never got its windows.
  std::vector<std::string> faults;
  // The texts of the message boxes seen.
  std::vector<std::string> texts;

 private:
  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || pending_) return;
    if (steps_.empty() || modal->windowTitle().toStdString() != steps_.front().title) {
      // Give a window that is closing, or one that is about to follow, its time.
      if (++idle_ > kPatience) {
        CloseStray(modal, steps_.empty() ? "the script had ended" : "expected \"" + steps_.front().title + "\"");
      }
      return;
    }
    // The step runs outside this timer's handler: a timer does not fire
    // again while its handler runs, and a step may open a nested window.
    pending_ = true;
    idle_ = 0;
    QPointer<QWidget> target = modal;
    QTimer::singleShot(0, &timer_, [this, target, step = std::move(steps_.front().step)] {
      pending_ = false;
      if (target) step(target);
    });
    steps_.pop_front();
  }
  void CloseStray(QWidget* modal, const std::string& why) {
    faults.push_back("\"" + modal->windowTitle().toStdString() + "\": " + why);
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    idle_ = 0;
  }

  static constexpr int kPatience = 2000;  // polls of a window without a step before it is closed as stray
  struct Entry {
    std::string title;
    Step step;
  };
  std::deque<Entry> steps_;
  QTimer timer_;
  int idle_ = 0;
  bool pending_ = false;
};

// The child with the control number `id`.
template <typename W = QWidget>
W* Control(QWidget* window, int id) {
  return window->findChild<W*>(QString::number(id));
}

// Types `text` into the edit with the control number `id`.
inline void SetText(QWidget* window, int id, const std::string& text) {
  if (auto* edit = Control<QLineEdit>(window, id)) edit->setText(QString::fromStdString(text));
}
inline std::string Text(QWidget* window, int id) {
  auto* edit = Control<QLineEdit>(window, id);
  return edit ? edit->text().toStdString() : std::string("(no edit ") + std::to_string(id) + ")";
}

}  // namespace zentrova::testing
